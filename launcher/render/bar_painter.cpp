// Painting of the bar's areas.
#include "launcher/render/bar_painter.h"

#include <algorithm>
#include <vector>

#include "framework/gdi.h"
#include "launcher/render/bar_fonts.h"
#include "launcher/render/bitmap_ids.h"
#include "launcher/render/clock_text.h"
#include "launcher/render/dc_pixels.h"
#include "launcher/render/dpi_scale.h"
#include "launcher/render/paint_primitives.h"
#include "launcher/render/pixel_rect_win.h"

namespace vorbin {

namespace {

constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255};
// TASK, TOP and LOCK, the keys with lamps, follow EXIT and EXEC.
constexpr int kTaskKey = 2;
constexpr wchar_t kKeyLabelsWithMnemonics[] = L"E&XIT,&EXEC,&TASK,T&OP,&LOCK,O&PTION,&HELP,&CLOSE";
constexpr wchar_t kKeyLabels[] = L"EXIT,EXEC,TASK,TOP,LOCK,OPTION,HELP,CLOSE";

POINT corner(const PixelRect& r) { return {r.left, r.top}; }

// A size designed at 96 DPI, at the layout's DPI.
int px(const BarLayout& l, int value) { return scaleToDpi(value, l.dpi); }

// A vertical line as thick as one pixel at the layout's DPI, from y1 up to y2.
void thickVLine(HDC dc, const BarLayout& l, Rgb colour, int x, int y1, int y2) {
  const RECT r{x - px(l, 1) + 1, y1, x + 1, y2};
  fw::Brush brush(CreateSolidBrush(toColorRef(colour)));
  FillRect(dc, &r, brush.get());
}

void line(HDC dc, Rgb colour, int x1, int y1, int x2, int y2) {
  fw::Pen pen(CreatePen(PS_SOLID, 1, toColorRef(colour)));
  fw::SelectScope use(dc, pen.get());
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

// Splits a comma list into its pieces.
std::vector<std::wstring> splitList(std::wstring_view text) {
  std::vector<std::wstring> out;
  for (;;) {
    const std::size_t comma = text.find(L',');
    out.emplace_back(text.substr(0, comma));
    if (comma == std::wstring_view::npos) return out;
    text.remove_prefix(comma + 1);
  }
}

void drawText(HDC dc, const std::wstring& text, RECT r, UINT format, Rgb colour) {
  SetTextColor(dc, toColorRef(colour));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

}  // namespace

bool PaintKit::loadStrips(HINSTANCE module, const BarLayout& l) {
  const ColourSlot& bord = colours[SlotId::kBord];
  const ColourSlot& fk = colours[SlotId::kFunctionKey];
  const ColourSlot& light = colours[SlotId::kLight];
  // The strips drawn for the nearest scale; the key faces are cut to the
  // key's height as well, so that any DPI gets whole faces.
  const int percent = stripPercent(l.dpi);
  const int keyHeight = l.functionRow.height();
  bool ok = modeGlyphs.load(module, stripResourceId(IDB_MODE_GLYPHS, percent), 16 * percent / 100, &bord);
  ok =
      keyUp.load(module, stripResourceId(IDB_KEY_UP, percent), l.keyWidth - 1, &fk, nullptr, keyHeight) && ok;
  ok =
      keyDown.load(module, stripResourceId(IDB_KEY_DOWN, percent), l.keyWidth - 1, &fk, nullptr, keyHeight) &&
      ok;
  ok = lamps.load(module, stripResourceId(IDB_LAMPS, percent), 20 * percent / 100, &fk, &light) && ok;
  return ok;
}

POINT PaintKit::tileOrigin(SlotId id, POINT areaOrigin) const {
  return pictures ? pictures->tileOrigin(id, {0, 0}, areaOrigin) : areaOrigin;
}

void paintFrame(HDC dc, const RECT& bar, Rgb bordBase, int ellipseWidth, int flatRatio) {
  const CornerSize corner = cornerEllipse(ellipseWidth, flatRatio);
  if (corner.width == 0 && corner.height == 0) {
    bevel(dc, bar, 0, 0, kWhite, kBlack, 1);
    return;
  }
  const int w = bar.right - bar.left, h = bar.bottom - bar.top;
  // The outlines stay within three pixels of the edges except where the
  // corners curve in; only those bands are kept and blended back, not the
  // whole bar (the blend of an untouched pixel with itself is that pixel).
  const int across = std::min(h / 2, std::max(3, corner.height / 2 + 3));
  const int down = std::min(w / 2, std::max(3, corner.width / 2 + 3));
  const RECT bands[4] = {{bar.left, bar.top, bar.right, bar.top + across},
                         {bar.left, bar.bottom - across, bar.right, bar.bottom},
                         {bar.left, bar.top + across, bar.left + down, bar.bottom - across},
                         {bar.right - down, bar.top + across, bar.right, bar.bottom - across}};
  std::vector<KeptArea> kept;
  kept.reserve(4);
  for (const RECT& band : bands) {
    if (band.right > band.left && band.bottom > band.top) kept.emplace_back(dc, band);
  }
  fw::SaveDCScope save(dc);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  const auto shades = frameShades(bordBase);
  for (int i = 0; i < 3; ++i) {
    const RECT r{bar.left + i, bar.top + i, bar.right - i, bar.bottom - i};
    auto round = [&](Rgb colour) {
      fw::Pen pen(CreatePen(PS_SOLID, 1, toColorRef(colour)));
      fw::SelectScope use(dc, pen.get());
      RoundRect(dc, r.left, r.top, r.right, r.bottom, corner.width, corner.height);
    };
    round(shades[i].dark);
    // The light half: above the diagonal from the bottom-left to the top-right corner.
    const POINT upperLeft[3] = {{bar.left, bar.top}, {bar.left + w, bar.top}, {bar.left, bar.top + h}};
    fw::Region clip(CreatePolygonRgn(upperLeft, 3, ALTERNATE));
    SelectClipRgn(dc, clip.get());
    round(shades[i].light);
    SelectClipRgn(dc, nullptr);
  }
  for (const KeptArea& band : kept) band.blendBack(dc, 128);
}

void paintCaptionBoxes(HDC dc, const BarLayout& l, const PaintKit& kit, bool maximized) {
  const ColourSlot& bord = kit.slot(SlotId::kBord);
  const RECT box0 = toRect(l.captionBoxes[0]), box1 = toRect(l.captionBoxes[1]);
  outline(dc, box0, 0, 0);
  outline(dc, box1, 0, 0);
  // The close box's diagonal, one pixel thick at 96 DPI.
  for (int i = 0; i < px(l, 1); ++i) {
    line(dc, bord.light[1], box1.left + 1 + i, box1.top + 1, box1.right - 1, box1.bottom - 1 - i);
    line(dc, bord.dark[2], box1.left + 1, box1.top + 2 + i, box1.right - 2 - i, box1.bottom - 1);
  }
  const int in = px(l, 3);
  const RECT inner{box0.left + in, box0.top + in, box0.right - in, box0.bottom - in};
  if (maximized) {
    fw::Brush green(CreateSolidBrush(RGB(0, 255, 0)));
    FillRect(dc, &inner, green.get());
  } else {
    areaFill(dc, inner, kit.tileOrigin(SlotId::kBord, {inner.left, inner.top}), bord,
             kit.picture(SlotId::kBord));
  }
  bevel(dc, box0, 1, -1, bord.light[1], bord.dark[3], 1);
  bevel(dc, box0, 2, -2, bord.dark[3], bord.light[1], 1);
}

void paintFunctionRow(HDC dc, const BarLayout& l, const PaintKit& kit, const BarPaintState& s) {
  const RECT row = toRect(l.functionRow);
  FillRect(dc, &row, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  outline(dc, row, 0, 0);
  const ColourSlot& bord = kit.slot(SlotId::kBord);
  const ColourSlot& fk = kit.slot(SlotId::kFunctionKey);
  bevel(dc, row, 0, 0, kBlack, bord.light[1], 1);
  const HBITMAP fkPicture = kit.picture(SlotId::kFunctionKey);
  const bool ownPicture = fkPicture && fkPicture != kit.picture(SlotId::kBord);
  for (int k = 0; k < kFunctionKeyCount; ++k) {
    const PixelRect key = l.functionKeys[k];
    const bool released = (s.keyStates[k] & 1) != 0;
    const int shift = released ? 0 : 1;
    const RECT face{key.left, key.top, key.right - 1, key.bottom};
    const POINT origin = ownPicture ? POINT{key.left + shift, key.top + shift} : POINT{0, 0};
    areaFill(dc, face, origin, fk, fkPicture);
    (released ? kit.keyUp : kit.keyDown).draw(dc, key.left, key.top, 0);
    const int pressShift = shift * px(l, 1);
    if (k >= kTaskKey && k < kTaskKey + 3)
      kit.lamps.draw(dc, key.left + l.keyWidth / 2 - kit.lamps.frameWidth() / 2 + pressShift,
                     key.top + px(l, 6) + pressShift, s.lampStates[k - kTaskKey] ? 1 : 0);
    if (released) thickVLine(dc, l, fk.base, key.right - 2, key.top + px(l, 1), key.top + px(l, 12) + 1);
    thickVLine(dc, l, fk.dark[3], key.right - 1, key.top + px(l, 2), key.top + px(l, 14) + 1);
  }

  // Labels above the keys: the mnemonic underlines survive in the shade colour.
  fw::SaveDCScope save(dc);
  SetBkMode(dc, TRANSPARENT);
  FontMaker font(dc, l.labelH, 0, 700, false, L"Arial");
  const auto withMnemonics = splitList(kKeyLabelsWithMnemonics), plain = splitList(kKeyLabels);
  const Rgb exitColour = kit.colours[PlainColourId::kExitKeyLabel];
  const Rgb keyColour = kit.colours[PlainColourId::kFuncKeyLabel];
  for (int k = 0; k < kFunctionKeyCount; ++k) {
    const RECT box{l.functionKeys[k].left, row.top - l.labelH - 1, l.functionKeys[k].right, row.top};
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    drawText(dc, withMnemonics[k], box, format, bord.light[1]);
    drawText(dc, plain[k], box, format | DT_NOPREFIX, k == 0 ? exitColour : keyColour);
  }
}

void paintLogo(HDC dc, const BarLayout& l, const PaintKit& kit) {
  const ColourSlot& bord = kit.slot(SlotId::kBord);
  const RECT box = toRect(l.logoBox);
  outline(dc, box, 0, 0);
  bevel(dc, box, 1, -1, bord.light[1], std::nullopt, 1);
  fw::SaveDCScope save(dc);
  SetBkMode(dc, TRANSPARENT);
  FontMaker font(dc, px(l, 17), 0, 700, true, L"Arial");
  const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
  drawText(dc, kProductName, {box.left - 1, box.top - 1, box.right - 1, box.bottom - 1}, format,
           bord.light[3]);
  drawText(dc, kProductName, box, format, kBlack);
}

void paintModeButtons(HDC dc, const BarLayout& l, const PaintKit& kit, const BarPaintState& s) {
  const ColourSlot& bord = kit.slot(SlotId::kBord);
  const int count = s.taskMode ? kModeButtonCount : 3;
  for (int j = 0; j < count; ++j) {
    const RECT box = toRect(l.modeButtons[j]);
    areaFill(dc, box, kit.tileOrigin(SlotId::kBord, {box.left, box.top}), bord, kit.picture(SlotId::kBord));
    outline(dc, box, 0, 0);
    bevel(dc, box, 1, -1, bord.light[1], std::nullopt, 1);
    if (j == 2 || j == 6) line(dc, bord.dark[1], box.right, box.top, box.right, box.bottom);
    const int frame = s.taskMode ? j : s.dispModeButtons[j];
    kit.modeGlyphs.draw(dc, (box.left + box.right - kit.modeGlyphs.frameWidth()) / 2, box.top + px(l, 3),
                        frame);
    if (j < 3 || j == 6) {
      const bool current = j == 6 ? s.taskDetails : (s.taskMode ? j : s.dispModeButtons[j]) == s.displayMode;
      const Rgb mark = current ? Rgb{255, 0, 0} : Rgb{64, 64, 64};
      const int one = px(l, 1), seven = px(l, 7);
      const POINT tri[3] = {{box.left + one, box.top + one},
                            {box.left + seven, box.top + one},
                            {box.left + one, box.top + seven}};
      fw::Brush brush(CreateSolidBrush(toColorRef(mark)));
      fw::Region region(CreatePolygonRgn(tri, 3, ALTERNATE));
      FillRgn(dc, region.get(), brush.get());
    }
  }
}

void paintReadout(HDC dc, const RECT& box, const BarLayout& l, const PaintKit& kit, const std::wstring& text,
                  Rgb colour) {
  const ColourSlot& bord = kit.slot(SlotId::kBord);
  areaFill(dc, box, kit.tileOrigin(SlotId::kBord, {box.left, box.top}), bord, kit.picture(SlotId::kBord),
           kBlack, 128);
  fw::SaveDCScope save(dc);
  SetBkMode(dc, TRANSPARENT);
  FontMaker font(dc, l.clockFontHeight, 0, -1, false, L"Arial");
  drawText(dc, text, box, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, colour);
}

void paintAmPm(HDC dc, const RECT& box, const BarLayout& l, const PaintKit& kit, int hour) {
  const ColourSlot& bord = kit.slot(SlotId::kBord);
  areaFill(dc, box, kit.tileOrigin(SlotId::kBord, {box.left, box.top}), bord, kit.picture(SlotId::kBord),
           kBlack, 128);
  fw::SaveDCScope save(dc);
  SetBkMode(dc, TRANSPARENT);
  FontMaker font(dc, l.clockFontHeight, -20, 700, false, L"Arial");
  drawText(dc, std::wstring(amPmMark(hour)), box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX,
           kit.colours[PlainColourId::kFuncKeyLabel]);
}

std::vector<int> paintTabs(HDC dc, const BarLayout& l, const PaintKit& kit, const TabLayout& layout,
                           const TabsPaint& t) {
  std::vector<int> shortened;
  const ColourSlot& group = kit.slot(SlotId::kGroupBase);
  const ColourSlot& bord = kit.slot(SlotId::kBord);
  const RECT area = toRect(l.tabArea);
  const HBITMAP picture = kit.picture(SlotId::kGroupBase);
  areaFill(dc, area, kit.tileOrigin(SlotId::kGroupBase, {area.left, area.top}), group, picture);
  if (t.framed) {
    bevel(dc, area, -1, 1, bord.dark[3], bord.light[3], 1);
    bevel(dc, area, -2, 2, bord.dark[3], bord.light[3], 1);
  }
  fw::SaveDCScope save(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  FontMaker font(dc, interfaceFontAt(l.dpi), 0);
  const int count = static_cast<int>(t.tabs.size());
  for (int n = 1; n <= count; ++n) {
    const PixelRect r = tabRect(l, layout, n, t.scrollOffset);
    if (r.bottom <= area.top || r.top >= area.bottom) continue;
    RECT tab = toRect(r);
    if (layout.perRow == 1) tab.right = area.right;
    if (n == t.current || n == t.pressed) {
      RECT box = tab;
      if (layout.perRow > 1) box.top += 1;
      areaFill(dc, box, kit.tileOrigin(SlotId::kGroupBase, {area.left, area.top}), group, picture,
               t.highlightColour, t.actColorAlpha);
    } else if (group.level != 0) {
      line(dc, group.light[1], tab.left, tab.bottom - 1, tab.left, tab.top);
      line(dc, group.light[1], tab.left, tab.top, tab.right - 1, tab.top);
      line(dc, group.dark[1], tab.right - 1, tab.top + 1, tab.right - 1, tab.bottom);
      if (n == count) line(dc, group.dark[1], tab.left, tab.bottom - 1, tab.right, tab.bottom - 1);
    }
    const TabEntry& entry = t.tabs[n - 1];
    const int size = layout.imageSize;
    const bool imageOnly = !layout.textOffset;
    const int ix = imageOnly ? (tab.left + tab.right - size) / 2 : tab.left + px(l, 4);
    const int iy = (tab.top + tab.bottom - size) / 2;
    ImageDrawing how;
    how.x = ix;
    how.y = iy;
    how.size = size;
    how.weight = n == t.current ? 0 : t.imageWeight;
    if (entry.image) {
      drawImage(dc, *entry.image, how);
    } else if (entry.icon) {
      drawIcon(dc, entry.icon, how);
    }
    if (entry.marked) {
      // Marked entries: a two-pixel frame in the title colour inside the row.
      const RECT frame{tab.left + 1, tab.top + 1, tab.right - 1, tab.bottom - 1};
      for (int i = 0; i < px(l, 2); ++i) outline(dc, frame, i, -i, kit.slot(SlotId::kGroupName).base);
    }
    if (entry.topmost) {
      const int eight = px(l, 8);
      const POINT tri[3] = {
          {tab.right - eight, tab.top + 1}, {tab.right - 1, tab.top + 1}, {tab.right - 1, tab.top + eight}};
      fw::Brush brush(CreateSolidBrush(RGB(255, 0, 0)));
      fw::Region region(CreatePolygonRgn(tri, 3, ALTERNATE));
      FillRgn(dc, region.get(), brush.get());
    }
    if (imageOnly) continue;
    LabelStyle style;
    const bool twoLines = layout.tabHeight >= 40;
    style.maxLines = twoLines && entry.details.empty() ? 2 : 1;
    style.centred = false;
    RECT text{ix + size + *layout.textOffset, tab.top + 1, tab.right - 2, tab.bottom - 1};
    if (twoLines && !entry.details.empty()) {
      // The title above, the details line below.
      RECT below = text;
      text.bottom = below.top = (tab.top + tab.bottom) / 2;
      embossedLabel(dc, entry.details, below, style, &kit.slot(SlotId::kGroupName));
    }
    if (embossedLabel(dc, entry.title, text, style, &kit.slot(SlotId::kGroupName))) shortened.push_back(n);
  }
  return shortened;
}

void paintGroupScrollButton(HDC dc, const RECT& box, const PaintKit& kit, bool up) {
  const ColourSlot& group = kit.slot(SlotId::kGroupBase);
  areaFill(dc, box, kit.tileOrigin(SlotId::kGroupBase, {box.left, box.top}), group,
           kit.picture(SlotId::kGroupBase));
  if (group.flat())
    outline(dc, box, 0, 0, group.base);
  else
    bevel(dc, box, 0, 0, group.light[1], group.dark[1], group.level);
  arrowGlyph(dc, box, up, (box.right - box.left) / 2, group);
}

void paintCommandButtons(HDC dc, const BarLayout& l, const PaintKit& kit,
                         const std::vector<CommandLabel>& labels) {
  const ColourSlot& cmd = kit.slot(SlotId::kCommandButton);
  const ColourSlot& name = kit.slot(SlotId::kCommandName);
  FontMaker font(dc, interfaceFontAt(l.dpi), 0);
  const std::size_t n = std::min<std::size_t>(labels.size(), kCommandButtonCount);
  for (std::size_t k = 0; k < n; ++k) {
    const RECT b = toRect(l.commandButtons[k]);
    areaFill(dc, b, kit.tileOrigin(SlotId::kCommandButton, {b.left, b.top}), cmd,
             kit.picture(SlotId::kCommandButton));
    outline(dc, b, 0, 0);
    bevel(dc, b, 1, -1, cmd.light[1], cmd.dark[1], cmd.level);
    const int mark = px(l, 14);
    const RECT markBox{b.right - 1 - mark, b.top + 1, b.right - 1, b.top + 1 + mark};
    bevel(dc, markBox, 0, 0, cmd.light[1], cmd.dark[1], cmd.level);
    embossedLabel(dc, labels[k].label, {b.left + px(l, 2), b.top + 1, markBox.left, b.bottom - 1}, {}, &name);
    embossedLabel(dc, labels[k].mark, markBox, {}, &name);
  }
}

void paintGridFrame(HDC dc, const BarLayout& l, const PaintKit& kit) {
  const ColourSlot& bord = kit.slot(SlotId::kBord);
  const RECT g = toRect(l.grid);
  outline(dc, g, -1, 1);
  line(dc, bord.dark[1], g.right + 2, g.top - 2, g.right + 2, g.bottom + 3);
  line(dc, bord.dark[1], g.left - 2, g.bottom + 2, g.right + 3, g.bottom + 2);
  bevel(dc, g, -2, 4, bord.dark[3], bord.light[3], 1);
}

bool paintButton(HDC dc, const PaintKit& kit, const ButtonPaint& b) {
  const ColourSlot& appl = kit.slot(SlotId::kApplBase);
  if (b.highlighted)
    areaFill(dc, b.highlightBox, b.tileOrigin, appl, kit.picture(SlotId::kApplBase), b.highlightColour,
             b.actColorAlpha);
  if (b.border) {
    outline(dc, b.cell, 0, 0);
    bevel(dc, b.cell, 1, -1, appl.light[1], appl.dark[1], appl.level);
  }
  if (b.image) {
    ImageDrawing how;
    how.x = b.imageRect.left;
    how.y = b.imageRect.top;
    how.size = b.imageRect.right - b.imageRect.left;
    how.weight = b.imageWeight;
    if (b.tint) how.tint = kit.colours[PlainColourId::kActTitle];
    drawImage(dc, *b.image, how);
  }
  if (!b.nameBox || b.name.empty()) return false;
  LabelStyle style;
  style.maxLines = b.nameLines;
  style.centred = b.centred;
  return embossedLabel(dc, b.name, *b.nameBox, style, b.border ? &kit.slot(SlotId::kApplName) : nullptr);
}

void paintBarChrome(HDC dc, int width, int height, const BarLayout& l, const PaintKit& kit,
                    const BarPaintState& s) {
  const RECT bar{0, 0, width, height};
  const ColourSlot& bord = kit.slot(SlotId::kBord);
  areaFill(dc, bar, {0, 0}, bord, kit.picture(SlotId::kBord));
  paintFrame(dc, bar, bord.base, s.ellipseWidth, s.flatRatio);
  {
    fw::SaveDCScope save(dc);
    SetBkMode(dc, TRANSPARENT);
    FontMaker font(dc, interfaceFontAt(l.dpi), 0);
    drawText(dc, s.caption, toRect(l.captionText), DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS,
             bord.light[3]);
  }
  paintCaptionBoxes(dc, l, kit, s.maximized);
  for (const RECT& box : {s.clockBox, s.indicatorBox}) {
    if (box.right <= box.left) continue;
    bevel(dc, box, -1, 1, bord.dark[1], bord.light[1], 1);
  }
  if (s.clockBox.right > s.clockBox.left)
    paintReadout(dc, s.clockBox, l, kit, s.clockText, kit.colours[PlainColourId::kIndicator]);
  if (s.indicatorBox.right > s.indicatorBox.left)
    paintReadout(dc, s.indicatorBox, l, kit, s.indicatorText, s.indicatorColour);
  if (!s.is24Hour && s.amPmBox.right > s.amPmBox.left) paintAmPm(dc, s.amPmBox, l, kit, s.hour);
  BarPaintState state = s;
  if (s.taskMode) state.lampStates[0] = 1;
  paintFunctionRow(dc, l, kit, state);
  paintLogo(dc, l, kit);
  paintModeButtons(dc, l, kit, state);
}

void paintContentGround(HDC dc, const BarLayout& l, const PaintKit& kit, const BarPaintState& s) {
  const ColourSlot& bord = kit.slot(SlotId::kBord);
  const ColourSlot& group = kit.slot(SlotId::kGroupBase);
  const RECT tabs = toRect(l.tabArea);
  areaFill(dc, tabs, kit.tileOrigin(SlotId::kGroupBase, {tabs.left, tabs.top}), group,
           kit.picture(SlotId::kGroupBase));
  bevel(dc, tabs, -1, 1, bord.dark[3], bord.light[3], 1);
  bevel(dc, tabs, -2, 2, bord.dark[3], bord.light[3], 1);
  if (s.taskMode) {
    paintCommandButtons(dc, l, kit, s.commandLabels);
    return;
  }
  const ColourSlot& appl = kit.slot(SlotId::kApplBase);
  const HBITMAP applPicture = kit.picture(SlotId::kApplBase);
  for (const PixelRect& area : {l.grid, l.quickList, l.scrollNumber, l.scrollUp, l.scrollDown}) {
    const RECT r = toRect(area);
    areaFill(dc, r, kit.tileOrigin(SlotId::kApplBase, corner(l.grid)), appl, applPicture);
  }
  paintGridFrame(dc, l, kit);
}

void paintWholeBar(HDC dc, int width, int height, const BarLayout& l, const PaintKit& kit,
                   const BarPaintState& s) {
  paintBarChrome(dc, width, height, l, kit, s);
  paintContentGround(dc, l, kit, s);
}

}  // namespace vorbin
