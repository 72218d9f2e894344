// Layout of the bar's areas.
#include "launcher/render/bar_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

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

int buttonHeight(int t) { return t <= 15 ? 2 * t + 38 : 4 * t + 8; }

int labelHeight(int menuAscent, int buttonFontHeight) {
  const int l = menuAscent + 2;
  if (l <= 10) return 11;
  return std::min(l, std::abs(buttonFontHeight) + 4);
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
  return l.grid.top + rows * l.H + l.y0 + kBottomMargin;
}

BarLayout computeBarLayout(const LayoutMetrics& m, bool taskMode, int clientHeight) {
  BarLayout l;
  l.t = std::max(1, m.textHeight);
  l.t2 = std::max(1, m.tabTextHeight);
  l.a = std::max(0, m.ascent);
  l.H = buttonHeight(l.t);
  l.h = l.H / 2;
  l.labelH = labelHeight(m.menuAscent, m.buttonFontHeight);
  l.c = m.captionButtonHeight - 2;
  const int inset = roundedInset(std::clamp(m.ellipseWidth, 0, 1000), std::clamp(m.flatRatio, -100, 100));
  l.x0 = std::max(inset, 0) + m.frameWidth;
  l.y0 = std::max(inset, 0) + m.frameHeight;
  l.width = 7 * l.H + l.h + 2 * l.x0 + 6;
  l.clockFontHeight = l.a / 2 + 13;
  l.scrollBtnSize = std::clamp(m.scrollBtnSize, 1, 8);

  const int x0 = l.x0, y0 = l.y0, c = l.c, L = l.labelH, H = l.H, h = l.h, W = l.width;
  l.captionText = {x0 + c + 5, y0 + 1, W - 2 * c - x0 - 9, y0 + c + 1};
  l.controlBox = {x0 + 3, y0 + 1, x0 + c + 3, y0 + c + 1};
  const int box0 = W - 2 * c - x0 - 6, box1 = W - c - x0 - 4;
  l.captionBoxes[0] = {box0, y0 + 1, box0 + c, y0 + c + 1};
  l.captionBoxes[1] = {box1, y0 + 1, box1 + c, y0 + c + 1};

  l.keyWidth = (7 * H + h) / 8;
  const int keyTop = y0 + c + L + 5;
  for (int k = 0; k < kFunctionKeyCount; ++k)
    l.functionKeys[k] = {x0 + 3 + k * l.keyWidth, keyTop, x0 + 3 + (k + 1) * l.keyWidth, keyTop + 16};
  l.functionRow = {x0 + 3, keyTop, x0 + 3 + kFunctionKeyCount * l.keyWidth, keyTop + 16};
  l.labelLine = {x0 + 3, y0 + c + 4, l.functionRow.right, y0 + c + L + 5};

  l.logoWidth = H >= 49 ? H + 3 : 52;
  const int modeTop = y0 + c + L + 22;
  l.logoBox = {x0 + 4, modeTop, x0 + l.logoWidth, y0 + c + L + 38};
  l.modeWidth = std::max(19, (3 * H - l.logoWidth - 6) / 3);
  for (int j = 0; j < kModeButtonCount; ++j) {
    const int left = x0 + l.logoWidth + 1 + (j + (j >= 3 ? 1 : 0)) * l.modeWidth;
    l.modeButtons[j] = {left, modeTop, left + l.modeWidth, modeTop + 16};
  }

  l.commandWidth = 5 * m.interfaceFontHeight + 9;
  l.grid = {x0 + 3 * H + 3, y0 + c + L + 26, x0 + 7 * H + 3, 0};
  l.visibleRows = visibleRows(l, clientHeight);
  l.grid.bottom = l.grid.top + l.visibleRows * H;

  // Very large interface fonts could push the task-mode tab area past its left edge.
  const int tabRight = std::max(x0 + 4, taskMode ? W - x0 - l.commandWidth - 12 : x0 + 3 * H - 5);
  l.tabArea = {x0 + 4, y0 + c + L + 40, tabRight, std::max(y0 + c + L + 40, l.grid.bottom)};
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

  const int colLeft = x0 + 7 * H + 3, colRight = colLeft + h;
  const int s = l.scrollBtnSize * h;
  const int f = (s - H / 4) / 2;
  const int numberBottom = l.grid.top + s - 2 * f;
  l.scrollNumber = {colLeft, l.grid.top, colRight, numberBottom};
  l.scrollUp = {colLeft, numberBottom, colRight, numberBottom + f};
  l.scrollDown = {colLeft, numberBottom + f, colRight, numberBottom + 2 * f};
  l.quickList = {colLeft, l.grid.top + l.scrollBtnSize * H / 2, colRight,
                 std::max(l.grid.top + l.scrollBtnSize * H / 2, l.grid.bottom)};

  const int cmdH = 2 * H / 5, cmdRight = W - y0 - 3;
  for (int k = 0; k < kCommandButtonCount; ++k) {
    const int top = l.grid.top + 3 + k * cmdH;
    l.commandButtons[k] = {cmdRight - l.commandWidth, top, cmdRight, top + cmdH};
  }
  return l;
}

CellLayout gridCells(const BarLayout& l, int buttonMode) {
  CellLayout cells;
  const int H = l.H, h = l.h, t = l.t;
  if (buttonMode == 1 || buttonMode == 2) {
    cells.slotsPerH = 2;
    cells.imageSize = std::clamp(2 * h / 3, 16, 32);
    const int d = (h - cells.imageSize) / 2;
    cells.imageX = cells.imageY = d;
    cells.cellHeight = h;
    if (buttonMode == 1) {
      cells.columns = 1;
      cells.cellWidth = l.grid.width();
      const int x = cells.imageSize + 2 * d, y = (h - 2 * t + 1) / 2;
      cells.nameBox = PixelRect{x, y, x + cells.cellWidth - cells.imageSize - d - 2, y + 2 * t};
    } else {
      cells.columns = 8;
      cells.cellWidth = h;
    }
    return cells;
  }
  cells.columns = 4;
  cells.cellWidth = cells.cellHeight = H;
  cells.imageSize = 32;
  cells.imageX = h - 16;
  cells.imageY = 3;
  cells.nameBox = PixelRect{2, H - 2 * t - 3, H - 2, H - 3};
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
  const int width = l.tabArea.width();
  switch (displayMode) {
    case 1:
      tabs.tabHeight = std::max(l.t2 + 4, 25);
      tabs.imageSize = 20;
      tabs.textOffset = 4;
      break;
    case 2:
      tabs.tabHeight = std::max(l.t2 + 4, 20);
      tabs.imageSize = 16;
      tabs.textOffset = 2;
      break;
    case 3:
      // A tab area narrower than one tab still holds one column.
      tabs.perRow = std::max(1, width / 44);
      tabs.tabHeight = 40;
      tabs.imageSize = 32;
      break;
    case 4:
      tabs.perRow = std::max(1, width / 38);
      tabs.tabHeight = 34;
      tabs.imageSize = 27;
      break;
    default:
      tabs.tabHeight = std::max(2 * l.t2 + 4, 40);
      tabs.imageSize = 32;
      tabs.textOffset = 12;
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
