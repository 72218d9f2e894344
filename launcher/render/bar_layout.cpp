// Layout of the bar's areas.
#include "launcher/render/bar_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "launcher/render/dpi_scale.h"

namespace vorbin {

namespace {
// Space under the last row: the grid frame's outer edges and the window frame.
constexpr int kBottomMargin = 4;

double flatFactor(int flatRatio) {
  return flatRatio < 0 ? (flatRatio + 100) / 100.0 : (100 - flatRatio) / 100.0;
}
}  // namespace

int buttonFontAdjustment(int fontSize, bool smallFont) { return 10 * fontSize - (smallFont ? 15 : 5); }
int tabFontAdjustment(int fontSize) { return 10 * fontSize - 5; }
int fontWeight(int weight, int height) {
  if (weight != -1) return weight;
  return height <= 20 ? 600 : 400;
}

int adjustedFontHeight(int height, int adjustTenths, int dpi) {
  if (dpi <= 0) dpi = 96;
  // Work in tenths of a point, rounding to the nearest pixel at the end.
  const long long tenths = static_cast<long long>(std::abs(height)) * 720 / dpi + adjustTenths;
  const long long pixels = std::max<long long>(1, (tenths * dpi + 360) / 720);
  const int h = static_cast<int>(std::min<long long>(pixels, 10000));
  return height < 0 ? -h : h;
}

int buttonHeight(int t, int dpi) {
  return t <= scaleToDpi(15, dpi) ? 2 * t + scaleToDpi(38, dpi) : 4 * t + scaleToDpi(8, dpi);
}

int labelHeight(int menuAscent, int buttonFontHeight, int dpi) {
  const int l = menuAscent + scaleToDpi(2, dpi);
  if (l <= scaleToDpi(10, dpi)) return scaleToDpi(11, dpi);
  return std::min(l, std::abs(buttonFontHeight) + scaleToDpi(4, dpi));
}

CornerSize cornerEllipse(int e, int flatRatio) {
  CornerSize s{e, e};
  if (flatRatio < 0) s.width = e * (flatRatio + 100) / 100;
  if (flatRatio > 0) s.height = e * (100 - flatRatio) / 100;
  return s;
}

int roundedInset(int e, int flatRatio) {
  const double r = flatFactor(flatRatio);
  const double v = r * (r + 1 - std::sqrt(2 * r)) * e / (r * r + 1) / 2;
  return static_cast<int>(std::floor(v)) - 1;
}

int visibleRows(const BarLayout& l, int clientHeight) {
  return std::max(0, (clientHeight - 2 * l.y0 - l.labelH - l.c) / l.H);
}

int clientHeightForRows(const BarLayout& l, int rows) {
  return l.grid.top + rows * l.H + l.y0 + scaleToDpi(kBottomMargin, l.dpi);
}

BarLayout computeBarLayout(const LayoutMetrics& m, bool taskMode, int clientHeight) {
  BarLayout l;
  l.dpi = m.dpi > 0 ? m.dpi : kBaseDpi;
  const auto px = [dpi = l.dpi](int v) { return scaleToDpi(v, dpi); };
  l.t = std::max(1, m.textHeight);
  l.t2 = std::max(1, m.tabTextHeight);
  l.a = std::max(0, m.ascent);
  l.H = buttonHeight(l.t, l.dpi);
  l.h = l.H / 2;
  l.labelH = labelHeight(m.menuAscent, m.buttonFontHeight, l.dpi);
  l.c = m.captionButtonHeight - px(2);
  const int ellipse = std::clamp(m.ellipseWidth, 0, 1000);
  l.ellipseWidth = px(ellipse);
  const int inset = px(roundedInset(ellipse, std::clamp(m.flatRatio, -100, 100)));
  l.x0 = std::max(inset, 0) + m.frameWidth;
  l.y0 = std::max(inset, 0) + m.frameHeight;
  l.width = 7 * l.H + l.h + 2 * l.x0 + px(6);
  l.clockFontHeight = l.a / 2 + px(13);
  l.scrollBtnSize = std::clamp(m.scrollBtnSize, 1, 8);

  const int x0 = l.x0, y0 = l.y0, c = l.c, L = l.labelH, H = l.H, h = l.h, W = l.width;
  const int one = px(1), three = px(3), keyH = px(16);
  l.captionText = {x0 + c + px(5), y0 + one, W - 2 * c - x0 - px(9), y0 + c + one};
  l.controlBox = {x0 + three, y0 + one, x0 + c + three, y0 + c + one};
  const int box0 = W - 2 * c - x0 - px(6), box1 = W - c - x0 - px(4);
  l.captionBoxes[0] = {box0, y0 + one, box0 + c, y0 + c + one};
  l.captionBoxes[1] = {box1, y0 + one, box1 + c, y0 + c + one};

  l.keyWidth = (7 * H + h) / 8;
  const int keyTop = y0 + c + L + px(5);
  for (int k = 0; k < kFunctionKeyCount; ++k)
    l.functionKeys[k] = {x0 + three + k * l.keyWidth, keyTop, x0 + three + (k + 1) * l.keyWidth,
                         keyTop + keyH};
  l.functionRow = {x0 + three, keyTop, x0 + three + kFunctionKeyCount * l.keyWidth, keyTop + keyH};
  l.labelLine = {x0 + three, y0 + c + px(4), l.functionRow.right, y0 + c + L + px(5)};

  l.logoWidth = H >= px(49) ? H + three : px(52);
  const int modeTop = y0 + c + L + px(22);
  l.logoBox = {x0 + px(4), modeTop, x0 + l.logoWidth, y0 + c + L + px(38)};
  l.modeWidth = std::max(px(19), (3 * H - l.logoWidth - px(6)) / 3);
  for (int j = 0; j < kModeButtonCount; ++j) {
    const int left = x0 + l.logoWidth + one + (j + (j >= 3 ? 1 : 0)) * l.modeWidth;
    l.modeButtons[j] = {left, modeTop, left + l.modeWidth, modeTop + keyH};
  }

  // Wide enough for the widest label beside the key mark (one pixel of frame,
  // the mark, two pixels before the label and two after it).
  l.commandWidth = std::max(5 * m.interfaceFontHeight + px(9),
                            m.commandTextWidth > 0 ? m.commandTextWidth + px(14) + px(4) + 1 : 0);
  l.grid = {x0 + 3 * H + three, y0 + c + L + px(26), x0 + 7 * H + three, 0};
  l.visibleRows = visibleRows(l, clientHeight);
  l.grid.bottom = l.grid.top + l.visibleRows * H;

  // Very large interface fonts could push the task-mode tab area past its left edge.
  const int tabTop = y0 + c + L + px(40);
  const int tabRight = std::max(x0 + px(4), taskMode ? W - x0 - l.commandWidth - px(12) : x0 + 3 * H - px(5));
  l.tabArea = {x0 + px(4), tabTop, tabRight, std::max(tabTop, l.grid.bottom)};
  const int sb = m.scrollBarWidth;
  l.groupScroll[0] = {l.tabArea.left, l.tabArea.top, l.tabArea.right, l.tabArea.top + sb};
  l.groupScroll[1] = {l.tabArea.left, l.tabArea.bottom - sb, l.tabArea.right, l.tabArea.bottom};
  if (m.groupScrollBarWidth > 0) {
    const int barLeft = std::max(l.tabArea.left, l.tabArea.right - m.groupScrollBarWidth);
    l.groupScrollBar = {barLeft, l.tabArea.top, l.tabArea.right, l.tabArea.bottom};
    l.tabArea.right = barLeft;
    l.groupScroll[0] = {l.tabArea.left, l.tabArea.top, l.tabArea.right, l.tabArea.top};
    l.groupScroll[1] = {l.tabArea.left, l.tabArea.bottom, l.tabArea.right, l.tabArea.bottom};
  }

  const int colLeft = x0 + 7 * H + three, colRight = colLeft + h;
  const int s = l.scrollBtnSize * h;
  const int f = (s - H / 4) / 2;
  const int numberBottom = l.grid.top + s - 2 * f;
  l.scrollNumber = {colLeft, l.grid.top, colRight, numberBottom};
  l.scrollUp = {colLeft, numberBottom, colRight, numberBottom + f};
  l.scrollDown = {colLeft, numberBottom + f, colRight, numberBottom + 2 * f};
  l.quickList = {colLeft, l.grid.top + l.scrollBtnSize * H / 2, colRight,
                 std::max(l.grid.top + l.scrollBtnSize * H / 2, l.grid.bottom)};

  const int cmdH = 2 * H / 5, cmdRight = W - y0 - three;
  for (int k = 0; k < kCommandButtonCount; ++k) {
    const int top = l.grid.top + three + k * cmdH;
    l.commandButtons[k] = {cmdRight - l.commandWidth, top, cmdRight, top + cmdH};
  }
  return l;
}

CellLayout gridCells(const BarLayout& l, int buttonMode) {
  CellLayout cells;
  const int H = l.H, h = l.h, t = l.t;
  const auto px = [dpi = l.dpi](int v) { return scaleToDpi(v, dpi); };
  if (buttonMode == 1 || buttonMode == 2) {
    cells.slotsPerH = 2;
    cells.imageSize = std::clamp(2 * h / 3, px(16), px(32));
    const int d = (h - cells.imageSize) / 2;
    cells.imageX = cells.imageY = d;
    cells.cellHeight = h;
    if (buttonMode == 1) {
      cells.columns = 1;
      cells.cellWidth = l.grid.width();
      const int x = cells.imageSize + 2 * d, y = (h - 2 * t + 1) / 2;
      cells.nameBox = PixelRect{x, y, x + cells.cellWidth - cells.imageSize - d - px(2), y + 2 * t};
    } else {
      cells.columns = 8;
      cells.cellWidth = h;
    }
    return cells;
  }
  cells.columns = 4;
  cells.cellWidth = cells.cellHeight = H;
  cells.imageSize = px(32);
  cells.imageX = h - px(16);
  cells.imageY = px(3);
  cells.nameBox = PixelRect{px(2), H - 2 * t - px(3), H - px(2), H - px(3)};
  return cells;
}

int visibleSlots(const BarLayout& l, const CellLayout& cells) {
  return l.visibleRows * cells.slotsPerH * cells.columns;
}

PixelRect gridCellRect(const BarLayout& l, const CellLayout& cells, int slot) {
  const int col = slot % cells.columns, row = slot / cells.columns;
  const int x = l.grid.left + col * cells.cellWidth, y = l.grid.top + row * cells.cellHeight;
  return {x, y, x + cells.cellWidth, y + cells.cellHeight};
}

PixelRect quickCellRect(const BarLayout& l, int slot) {
  const int y = l.quickList.top + slot * l.h;
  return {l.quickList.left, y, l.quickList.left + l.h, y + l.h};
}

PixelRect quickImageRect(const BarLayout& l, int slot) {
  const PixelRect cell = quickCellRect(l, slot);
  const int size = 2 * l.H / 6, off = (l.h - size) / 2;
  return {cell.left + off, cell.top + off, cell.left + off + size, cell.top + off + size};
}

ButtonGeometry gridButton(const BarLayout& l, const CellLayout& cells, int slot) {
  ButtonGeometry g;
  g.cell = gridCellRect(l, cells, slot);
  const int x = g.cell.left + cells.imageX, y = g.cell.top + cells.imageY;
  g.image = {x, y, x + cells.imageSize, y + cells.imageSize};
  if (cells.nameBox) {
    const PixelRect& n = *cells.nameBox;
    g.name =
        PixelRect{g.cell.left + n.left, g.cell.top + n.top, g.cell.left + n.right, g.cell.top + n.bottom};
  }
  return g;
}

ButtonGeometry quickButton(const BarLayout& l, int slot) {
  return {quickCellRect(l, slot), quickImageRect(l, slot), std::nullopt};
}

TabLayout tabLayout(const BarLayout& l, int displayMode) {
  TabLayout tabs;
  const auto px = [dpi = l.dpi](int v) { return scaleToDpi(v, dpi); };
  const int width = l.tabArea.width();
  switch (displayMode) {
    case 1:
      tabs.tabHeight = std::max(l.t2 + px(4), px(25));
      tabs.imageSize = px(20);
      tabs.textOffset = px(4);
      break;
    case 2:
      tabs.tabHeight = std::max(l.t2 + px(4), px(20));
      tabs.imageSize = px(16);
      tabs.textOffset = px(2);
      break;
    case 3:
      // A tab area narrower than one tab still holds one column.
      tabs.perRow = std::max(1, width / px(44));
      tabs.tabHeight = px(40);
      tabs.imageSize = px(32);
      break;
    case 4:
      tabs.perRow = std::max(1, width / px(38));
      tabs.tabHeight = px(34);
      tabs.imageSize = px(27);
      break;
    default:
      tabs.tabHeight = std::max(2 * l.t2 + px(4), px(40));
      tabs.imageSize = px(32);
      tabs.textOffset = px(12);
      break;
  }
  tabs.tabWidth = std::max(0, width - 1) / tabs.perRow;
  return tabs;
}

PixelRect tabRect(const BarLayout& l, const TabLayout& tabs, int n, int scrollOffset) {
  const int i = std::max(n, 1) - 1;
  const int col = i % tabs.perRow, row = i / tabs.perRow;
  const int x = l.tabArea.left + 1 + col * tabs.tabWidth;
  const int y = l.tabArea.top + row * tabs.tabHeight - scrollOffset;
  return {x, y, x + tabs.tabWidth, y + tabs.tabHeight};
}

}  // namespace vorbin
