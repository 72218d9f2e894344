// Costs on the bar's hot paths: the hit test runs on every mouse move, the
// launch decisions once per started item (with a file system that answers at once).
#include <benchmark/benchmark.h>

#include "fuzz/interact/fuzz_system.h"
#include "launcher/interact/hit_layout.h"

namespace vorbin {
namespace {

void BM_HitTestSweep(benchmark::State& state) {
  const BarLayout layout = computeBarLayout(LayoutMetrics{}, false, 600);
  HitState hitState;
  hitState.tabCount = 40;
  const HitGeometry geometry = hitGeometryFor(layout, hitState);
  int hits = 0;
  for (auto _ : state) {
    for (int y = 0; y < 600; y += 7) {
      for (int x = 0; x < layout.width; x += 7) hits += hitTest(geometry, x, y).area;
    }
    benchmark::DoNotOptimize(hits);
  }
  state.SetItemsProcessed(state.iterations() * (600 / 7 + 1) * (layout.width / 7 + 1));
}
BENCHMARK(BM_HitTestSweep);

void BM_PlanLaunch(benchmark::State& state) {
  FuzzSystem sys(0);
  LaunchRequest request;
  request.target = L"\"C:\\Program Files\\Editor\\edit.exe\" /n /x:1";
  request.folder = L"  \"C:\\Work\\Projects\\\" ";
  request.document = L"C:\\Work\\Projects\\notes for today.txt";
  request.flags = 2;
  for (auto _ : state) benchmark::DoNotOptimize(planLaunch(request, sys));
}
BENCHMARK(BM_PlanLaunch);

void BM_SplitCommandLong(benchmark::State& state) {
  FuzzSystem sys(0);
  const std::wstring text = L"C:\\" + std::wstring(240, L'p') + L".exe " + std::wstring(4000, L'a');
  for (auto _ : state) benchmark::DoNotOptimize(splitCommand(text, sys));
}
BENCHMARK(BM_SplitCommandLong);

}  // namespace
}  // namespace vorbin
