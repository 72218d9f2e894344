// Blits, scrolls and the press animation within one DC.
#include "launcher/render/blit.h"

#include "framework/gdi.h"
#include "framework/trace.h"
#include "launcher/render/dc_pixels.h"
#include "launcher/render/pixel_rect_win.h"

namespace vorbin {

void blitWithin(HDC dc, POINT dest, POINT src, int w, int h) {
  if (w <= 0 || h <= 0) return;
  if (displayFacts().overlapSafe) {
    BitBlt(dc, dest.x, dest.y, w, h, dc, src.x, src.y, SRCCOPY);
    return;
  }
  fw::MemoryDC mem(dc);
  fw::Bitmap temp(fw::createImageBitmap(w, h));
  if (!temp) {
    FW_TRACE_FAILURE("CreateDIBSection");
    return;
  }
  fw::SelectScope use(mem, temp.get());
  BitBlt(mem, 0, 0, w, h, dc, src.x, src.y, SRCCOPY);
  BitBlt(dc, dest.x, dest.y, w, h, mem, 0, 0, SRCCOPY);
}

UncoveredStrips scrollArea(HDC dc, const RECT& area, int dx, int dy, bool useSystem) {
  const UncoveredStrips strips = uncoveredStrips(fromRect(area), dx, dy);
  if (useSystem) {
    RECT update{};
    if (ScrollDC(dc, dx, dy, &area, &area, nullptr, &update)) return strips;
  }
  fw::SaveDCScope save(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  const int w = area.right - area.left - std::abs(dx), h = area.bottom - area.top - std::abs(dy);
  const POINT src{dx >= 0 ? area.left : area.left - dx, dy >= 0 ? area.top : area.top - dy};
  blitWithin(dc, {src.x + dx, src.y + dy}, src, w, h);
  return strips;
}

void pressAnimationStep(HDC dc, const RECT& button, HBITMAP pattern, int step) {
  const PixelRect b = fromRect(button);
  if (step == 0) {
    if (!pattern) return;
    const RECT strip = toRect(pressStrip(b));
    fw::Brush brush(CreatePatternBrush(pattern));
    fw::SaveDCScope save(dc);
    SetBrushOrgEx(dc, button.left, button.top, nullptr);
    fw::SelectScope use(dc, brush.get());
    // Destination AND pattern: every other pixel of the strip darkens.
    PatBlt(dc, strip.left, strip.top, strip.right - strip.left, strip.bottom - strip.top, 0x00A000C9);
    return;
  }
  if (step > kPressShifts) return;
  const PixelRect s = pressShift(b).source;
  blitWithin(dc, {s.left, s.top + 1}, {s.left, s.top}, s.width(), s.height());
}

}  // namespace vorbin
