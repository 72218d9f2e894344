// Costs of the painting core: the whole layout, the shades of all nine slots,
// blending a button-sized area, and fitting a name into a button.
#include <benchmark/benchmark.h>

#include <vector>

#include "launcher/render/bar_layout.h"
#include "launcher/render/blend.h"
#include "launcher/render/colour_slots.h"
#include "launcher/render/label_fit.h"

namespace vorbin {
namespace {

void BM_ComputeLayout(benchmark::State& state) {
  LayoutMetrics m;
  int height = 400;
  for (auto _ : state) {
    BarLayout l = computeBarLayout(m, false, height);
    benchmark::DoNotOptimize(l);
    height = height == 400 ? 401 : 400;
  }
}
BENCHMARK(BM_ComputeLayout);

void BM_LayoutWithCellsAndTabs(benchmark::State& state) {
  LayoutMetrics m;
  for (auto _ : state) {
    const BarLayout l = computeBarLayout(m, false, 600);
    int sum = 0;
    for (int mode = 0; mode < 3; ++mode) {
      const CellLayout cells = gridCells(l, mode);
      for (int s = 0; s < visibleSlots(l, cells); ++s) sum += gridCellRect(l, cells, s).left;
    }
    const TabLayout tabs = tabLayout(l, 3);
    for (int n = 1; n <= 40; ++n) sum += tabRect(l, tabs, n, 0).top;
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_LayoutWithCellsAndTabs);

void BM_ShadesOfAllSlots(benchmark::State& state) {
  for (auto _ : state) {
    BarColours c = defaultBarColours();
    benchmark::DoNotOptimize(c);
  }
}
BENCHMARK(BM_ShadesOfAllSlots);

void BM_BlendButtonArea(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  std::vector<Pixel> kept(side * side), drawn(side * side);
  for (std::size_t i = 0; i < kept.size(); ++i) {
    kept[i] = static_cast<Pixel>(i * 2654435761u) & 0x00FFFFFF;
    drawn[i] = static_cast<Pixel>(i * 40503u) & 0x00FFFFFF;
  }
  for (auto _ : state) {
    std::vector<Pixel> work = drawn;
    blendKept(kept, work, 128);
    benchmark::DoNotOptimize(work.data());
  }
  state.SetBytesProcessed(state.iterations() * side * side * 4);
}
BENCHMARK(BM_BlendButtonArea)->Arg(32)->Arg(72);

void BM_FitLongName(benchmark::State& state) {
  const TextMeasure measure = [](std::wstring_view s) { return static_cast<int>(s.size()) * 6; };
  for (auto _ : state) {
    FittedLabel f = fitLabel(L"A fairly long program name that needs two lines and more", 68, 2, measure);
    benchmark::DoNotOptimize(f);
  }
}
BENCHMARK(BM_FitLongName);

}  // namespace
}  // namespace vorbin
