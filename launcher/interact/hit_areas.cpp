// Hit testing of the bar: boxes first (they lie inside larger rows), then the
// group display with its cells and tabs.
#include "launcher/interact/hit_areas.h"

#include <cstddef>

namespace vorbin {

uint32_t hitCode(int area, int index) {
  return (static_cast<uint32_t>(area & 0xFF) << 24) | (static_cast<uint32_t>(index) & 0x00FFFFFFu);
}

int hitCodeArea(uint32_t code) { return static_cast<int>(code >> 24); }

int hitCodeIndex(uint32_t code) {
  const uint32_t low = code & 0x00FFFFFFu;
  return (low & 0x00800000u) ? static_cast<int>(low) - 0x01000000 : static_cast<int>(low);
}

namespace {

template <std::size_t N>
int indexIn(const std::array<HitRect, N>& boxes, int x, int y) {
  for (std::size_t i = 0; i < N; ++i) {
    if (boxes[i].contains(x, y)) return static_cast<int>(i);
  }
  return -1;
}

int tabIndex(const HitGeometry& g, int x, int y) {
  if (g.tabWidth <= 0 || g.tabHeight <= 0 || g.tabsPerRow <= 0) return -1;
  const int dx = x - (g.tabArea.left + 1);
  const int dy = y - g.tabArea.top + g.tabScrollOffset;
  if (dx < 0 || dy < 0) return -1;
  const int column = dx / g.tabWidth;
  if (column >= g.tabsPerRow) return -1;
  const long long n = static_cast<long long>(dy / g.tabHeight) * g.tabsPerRow + column + 1;
  return n <= g.tabCount ? static_cast<int>(n) : -1;
}

int gridIndex(const HitGeometry& g, int x, int y) {
  if (g.cellWidth <= 0 || g.cellHeight <= 0 || g.gridColumns <= 0) return -1;
  const int column = (x - g.grid.left) / g.cellWidth;
  if (column >= g.gridColumns) return -1;
  return (y - g.grid.top) / g.cellHeight * g.gridColumns + column;
}

}  // namespace

Hit hitTest(const HitGeometry& g, int x, int y) {
  using namespace hit_area;
  if (int i = indexIn(g.captionBoxes, x, y); i >= 0) return {kCaptionBoxes, i};
  if (g.controlBox.contains(x, y)) return {kControlBox, 0};
  if (g.captionRow.contains(x, y)) return {kCaption, 0};
  if (int i = indexIn(g.functionKeys, x, y); i >= 0) return {kFunctionKeys, i};
  if (g.logoBox.contains(x, y)) return {kLogo, 0};
  if (int i = indexIn(g.modeButtons, x, y); i >= 0) return {kModes, i};
  if (g.loadBox.contains(x, y)) return {kLoad, 0};
  if (g.clockBox.contains(x, y)) return {kClock, 0};
  if (g.taskMode) {
    if (int i = indexIn(g.commandButtons, x, y); i >= 0) return {kCommands, i};
  }
  if (g.groupScrollShown) {
    if (int i = indexIn(g.groupScroll, x, y); i >= 0) return {kGroupScroll, i};
  }
  if (g.tabArea.contains(x, y)) return {kTabs, tabIndex(g, x, y)};
  if (g.scrollUp.contains(x, y)) return {kListScroll, 1};
  if (g.scrollDown.contains(x, y)) return {kListScroll, 2};
  if (g.quickList.contains(x, y)) {
    return {kQuick, g.quickCellHeight > 0 ? (y - g.quickList.top) / g.quickCellHeight : -1};
  }
  if (g.grid.contains(x, y)) return {kGrid, gridIndex(g, x, y)};
  return {};
}

}  // namespace vorbin
