// The hit geometry of the bar from its computed layout.
#include "launcher/interact/hit_layout.h"

#include <algorithm>

namespace vorbin {

HitGeometry hitGeometryFor(const BarLayout& l, const HitState& state) {
  HitGeometry g;
  // The caption row runs across the bar at the height of its boxes.
  g.captionRow = {l.x0, l.captionText.top, l.width - l.x0, l.captionText.bottom};
  g.controlBox = l.controlBox;
  g.captionBoxes = l.captionBoxes;
  std::copy(l.functionKeys.begin(), l.functionKeys.end(), g.functionKeys.begin());
  g.logoBox = l.logoBox;
  std::copy(l.modeButtons.begin(), l.modeButtons.end(), g.modeButtons.begin());
  g.loadBox = state.loadBox;
  g.clockBox = state.clockBox;
  g.tabArea = l.tabArea;
  g.groupScroll = l.groupScroll;
  g.groupScrollShown = state.groupScrollShown;
  g.grid = l.grid;
  g.scrollUp = l.scrollUp;
  g.scrollDown = l.scrollDown;
  g.quickList = l.quickList;
  std::copy(l.commandButtons.begin(), l.commandButtons.end(), g.commandButtons.begin());
  g.taskMode = state.taskMode;

  const CellLayout cells = gridCells(l, state.buttonMode);
  g.gridColumns = cells.columns;
  g.cellWidth = cells.cellWidth;
  g.cellHeight = cells.cellHeight;
  g.quickCellHeight = l.h;
  const TabLayout tabs = tabLayout(l, state.tabDisplayMode);
  g.tabsPerRow = tabs.perRow;
  g.tabWidth = tabs.tabWidth;
  g.tabHeight = tabs.tabHeight;
  g.tabScrollOffset = state.tabScrollOffset;
  g.tabCount = state.tabCount;
  return g;
}

}  // namespace vorbin
