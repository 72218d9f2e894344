// Time of the bar's full paint (the whole bar image painted and copied to the
// window) and of a single-button repaint, on real GDI in this process.
// Run by hand: scripts/wine-run.sh <build>/bin/bar_paint_bench.exe
#include <windows.h>

#include <cstdio>

#include "bench/support/wine_timing.h"

#include "launcher/app/launcher_app.h"
#include "launcher/bar/bar_window.h"

namespace {

using benchsupport::perCallMs;

vorbin::IconImage patterned(uint8_t seed) {
  vorbin::IconImage image;
  image.depth = 24;
  image.bits.assign(vorbin::imageByteSize(24), 0);
  for (size_t i = 128; i < image.bits.size(); ++i) image.bits[i] = static_cast<uint8_t>(i * seed);
  return image;
}

}  // namespace

int main() {
  using namespace vorbin;
  CLauncherApp::registerBarClass(GetModuleHandleW(nullptr));
  MemoryProfile profile;
  Settings settings;
  settings.positionX = settings.positionY = 10;
  settings.dispIconInTray = false;
  settings.actRect = 2;  // the grid holds the keyboard: its selected buttons blend with ActTitle
  Colors colors = defaultColors();
  CmdHistory history;
  GroupTable groups(profile, ModelOptions{});
  groups.loadGroups();
  for (int g = 1; g <= 6; ++g) {
    const std::wstring title = L"Group " + std::to_wstring(g);
    groups.ensureGroup(static_cast<int>(groups.placeholderIndex()), &title, false);
  }
  for (int slot = 0; slot < 28; ++slot) {
    auto item = std::make_unique<Item>();
    item->title = L"Item number " + std::to_wstring(slot);
    item->image = patterned(static_cast<uint8_t>(slot + 1));
    groups.placeItem(1, slot, std::move(item));
  }
  auto quick = std::make_unique<Item>();
  quick->image = patterned(3);
  groups.placeItem(0, 0, std::move(quick));
  groups.activeGroup = 1;
  HWND owner = CreateWindowExW(WS_EX_TOOLWINDOW, kBarClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  CBarWindow bar(BarContext{settings, colors, profile, groups, history, true});
  if (!bar.createBar(owner, L"")) return 1;
  ShowWindow(bar.hwnd(), SW_SHOWNORMAL);
  UpdateWindow(bar.hwnd());

  const int n = 200;
  const double full = perCallMs(n, [&] {
    bar.repaintAll();
    UpdateWindow(bar.hwnd());
  });
  const double copy = perCallMs(n, [&] {
    InvalidateRect(bar.hwnd(), nullptr, FALSE);
    UpdateWindow(bar.hwnd());
  });
  const double plain = perCallMs(n * 10, [&] { bar.repaintButton(1, 5); });
  const double selected =
      perCallMs(n * 10, [&] { bar.repaintButton(1, 5, {.highlighted = true, .selected = true}); });
  RECT r;
  GetClientRect(bar.hwnd(), &r);
  std::printf("bar %ldx%ld, 28 items with images, 6 groups\n", r.right, r.bottom);
  std::printf("full paint of the bar image and copy: %.3f ms\n", full);
  std::printf("window paint from the image only:     %.3f ms\n", copy);
  std::printf("single button, plain:                 %.3f ms\n", plain);
  std::printf("single button, selected (blended):    %.3f ms\n", selected);
  DestroyWindow(bar.hwnd());
  DestroyWindow(owner);
  return 0;
}
