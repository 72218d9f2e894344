// Time of painting a whole bar image, a single button and a button-sized blend
// on real GDI, each also as a ratio to filling the same area with one brush.
#include <windows.h>

#include <cstdio>

#include "bench/support/wine_timing.h"

#include "framework/gdi.h"
#include "launcher/render/bar_painter.h"
#include "launcher/render/dc_pixels.h"

namespace {

using benchsupport::perCallMs;

}  // namespace

int main() {
  using namespace vorbin;
  const BarLayout probe = computeBarLayout(LayoutMetrics{}, false, 0);
  const int height = clientHeightForRows(probe, 4);
  const BarLayout layout = computeBarLayout(LayoutMetrics{}, false, height);
  PaintKit kit;
  kit.colours = defaultBarColours();
  kit.loadStrips(GetModuleHandleW(nullptr), layout);
  BarPaintState state;
  state.clockBox = {layout.captionBoxes[0].left - 124, layout.y0 + 1, layout.captionBoxes[0].left - 40,
                    layout.y0 + layout.c + 1};
  state.clockText = L"12/08 01:40";

  fw::WindowDC screen(nullptr);
  fw::MemoryDC dc(screen);
  fw::Bitmap image(CreateCompatibleBitmap(screen, layout.width, height));
  fw::SelectScope use(dc, image.get());
  fw::Brush brush(CreateSolidBrush(RGB(0, 128, 192)));
  const RECT all{0, 0, layout.width, height};

  for (BlendPath path : {BlendPath::kOwn, BlendPath::kSystem}) {
    setBlendPath(path);
    const char* name = path == BlendPath::kOwn ? "own" : "system";
    const double fill = perCallMs(200, [&] { FillRect(dc, &all, brush.get()); });
    const double bar = perCallMs(50, [&] { paintWholeBar(dc, layout.width, height, layout, kit, state); });
    std::printf("whole bar %dx%d (%s blend): %.3f ms, %.0f x a plain fill (%.4f ms)\n", layout.width, height,
                name, bar, bar / fill, fill);

    ButtonPaint b;
    b.cell = b.highlightBox = {layout.grid.left, layout.grid.top, layout.grid.left + layout.H,
                               layout.grid.top + layout.H};
    b.imageRect = {b.cell.left + layout.h - 16, b.cell.top + 3, b.cell.left + layout.h + 16, b.cell.top + 35};
    b.nameBox = RECT{b.cell.left + 2, b.cell.bottom - 2 * layout.t - 3, b.cell.right - 2, b.cell.bottom - 3};
    b.name = L"Program name";
    b.highlighted = true;
    b.highlightColour = Rgb{255, 255, 255};
    const double cellFill = perCallMs(500, [&] { FillRect(dc, &b.cell, brush.get()); });
    const double button = perCallMs(200, [&] { paintButton(dc, kit, b); });
    std::printf("highlighted button %dx%d (%s blend): %.3f ms, %.0f x a plain fill\n", layout.H, layout.H,
                name, button, button / cellFill);

    const double blend = perCallMs(500, [&] {
      const KeptArea kept(dc, b.cell);
      FillRect(dc, &b.cell, brush.get());
      kept.blendBack(dc, 128);
    });
    std::printf("keep, fill and blend back %dx%d (%s blend): %.3f ms\n", layout.H, layout.H, name, blend);
  }
  return 0;
}
