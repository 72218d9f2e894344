// Drawing primitives of the bar.
#include "launcher/render/paint_primitives.h"

#include <algorithm>
#include <string>

#include "framework/gdi.h"
#include "launcher/render/dc_pixels.h"
#include "launcher/render/label_fit.h"

namespace vorbin {

namespace {

void line(HDC dc, Rgb colour, std::initializer_list<POINT> points) {
  fw::Pen pen(CreatePen(PS_SOLID, 1, toColorRef(colour)));
  fw::SelectScope use(dc, pen.get());
  auto it = points.begin();
  MoveToEx(dc, it->x, it->y, nullptr);
  for (++it; it != points.end(); ++it) LineTo(dc, it->x, it->y);
}

// First tile position at or before `from` on a grid through `origin`.
int gridStart(int from, int origin, int step) {
  int d = (from - origin) % step;
  if (d < 0) d += step;
  return from - d;
}

}  // namespace

void tilePicture(HDC dc, const RECT& area, POINT origin, HBITMAP picture) {
  BITMAP bm{};
  if (!picture || !GetObjectW(picture, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return;
  fw::MemoryDC src(dc);
  fw::SelectScope use(src, picture);
  for (int y = gridStart(area.top, origin.y, bm.bmHeight); y < area.bottom; y += bm.bmHeight) {
    for (int x = gridStart(area.left, origin.x, bm.bmWidth); x < area.right; x += bm.bmWidth) {
      const int l = std::max<int>(x, area.left), t = std::max<int>(y, area.top);
      const int r = std::min<int>(x + bm.bmWidth, area.right),
                b = std::min<int>(y + bm.bmHeight, area.bottom);
      BitBlt(dc, l, t, r - l, b - t, src, l - x, t - y, SRCCOPY);
    }
  }
}

void areaFill(HDC dc, const RECT& area, POINT tileOrigin, const ColourSlot& slot, HBITMAP picture,
              std::optional<Rgb> highlight, int highlightAlpha) {
  if (!highlight || highlightAlpha != 0) {
    if (picture) {
      tilePicture(dc, area, tileOrigin, picture);
    } else {
      fw::Brush brush(CreateSolidBrush(toColorRef(slot.base)));
      SetBrushOrgEx(dc, tileOrigin.x, tileOrigin.y, nullptr);
      FillRect(dc, &area, brush.get());
    }
  }
  if (!highlight) return;
  const KeptArea kept(dc, area);
  fw::Brush brush(CreateSolidBrush(toColorRef(*highlight)));
  FillRect(dc, &area, brush.get());
  kept.blendBack(dc, highlightAlpha);
}

void outline(HDC dc, const RECT& r, int a, int b, std::optional<Rgb> colour) {
  const int l = r.left + a, t = r.top + a, rr = r.right + b - 1, bb = r.bottom + b - 1;
  line(dc, colour.value_or(Rgb{0, 0, 0}), {{l, t}, {rr, t}, {rr, bb}, {l, bb}, {l, t}});
}

void bevel(HDC dc, const RECT& r, int a, int b, std::optional<Rgb> light, std::optional<Rgb> dark,
           int enable) {
  if (enable == 0) return;
  const int l = r.left + a, t = r.top + a, rr = r.right + b - 1, bb = r.bottom + b - 1;
  if (light) line(dc, *light, {{l, bb}, {l, t}, {rr, t}});
  if (dark) line(dc, *dark, {{rr, t}, {rr, bb}, {l, bb}});
}

bool embossedLabel(HDC dc, std::wstring_view text, const RECT& area, const LabelStyle& style,
                   const ColourSlot* slot) {
  const TextMeasure measure = [dc](std::wstring_view s) {
    SIZE size{};
    GetTextExtentPoint32W(dc, s.data(), static_cast<int>(s.size()), &size);
    return static_cast<int>(size.cx);
  };
  const FittedLabel fitted = fitLabel(text, area.right - area.left, style.maxLines, measure);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  const int lineHeight = std::max<int>(1, tm.tmHeight);
  const int block = lineHeight * static_cast<int>(fitted.lines.size());
  const int top = style.vcentred ? area.top + (area.bottom - area.top - block) / 2 : area.top;
  const UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | (style.centred ? DT_CENTER : DT_LEFT);

  fw::SaveDCScope save(dc);
  SetBkMode(dc, TRANSPARENT);
  auto drawAll = [&](Rgb colour, int dx, int dy) {
    SetTextColor(dc, toColorRef(colour));
    int y = top;
    for (const std::wstring& l : fitted.lines) {
      RECT r{area.left + dx, y + dy, area.right + dx, y + dy + lineHeight};
      DrawTextW(dc, l.c_str(), static_cast<int>(l.size()), &r, format);
      y += lineHeight;
    }
  };
  if (slot) {
    if (const auto relief = labelRelief(*slot)) drawAll(relief->colour, relief->dx, relief->dy);
    drawAll(slot->base, 0, 0);
  } else {
    drawAll({0, 0, 0}, 0, 0);
  }
  return fitted.shortened;
}

void arrowGlyph(HDC dc, const RECT& area, bool up, int halfWidth, const ColourSlot& slot) {
  const int w = std::max(1, halfWidth / 2);
  const int cx = (area.left + area.right) / 2, cy = (area.top + area.bottom) / 2;
  const int tipY = up ? cy - w / 2 : cy + w / 2;
  const int baseY = up ? cy + w / 2 : cy - w / 2;
  Rgb c0 = slot.light[0], c1 = slot.light[1], c2 = slot.dark[1];
  if (slot.flat()) c0 = c1 = c2 = flatArrowColour(slot.base);
  // Left side lit, right side shaded, the base between the two.
  line(dc, c0, {{cx - w, baseY}, {cx, tipY}});
  line(dc, c2, {{cx, tipY}, {cx + w, baseY}});
  line(dc, c1, {{cx + w, baseY}, {cx - w, baseY}});
}

}  // namespace vorbin
