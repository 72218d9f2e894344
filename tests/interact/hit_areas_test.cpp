// Hit codes and the hit test over a hand-made layout: boxes that lie inside
// rows, cells of the grid and the quick list, tabs with scrolling.
#include "launcher/interact/hit_areas.h"
#include "launcher/interact/press_rules.h"

#include <gtest/gtest.h>

namespace vorbin {
namespace {

using namespace hit_area;

// A bar 400 wide: caption row 0..20, keys 30..46, logo and modes 50..66,
// tabs at x 4..150 from y 70, grid at x 160..360, scroll column 360..380.
HitGeometry sampleGeometry() {
  HitGeometry g;
  g.captionRow = {0, 0, 400, 20};
  g.controlBox = {3, 1, 21, 19};
  g.captionBoxes = {HitRect{350, 1, 368, 19}, HitRect{370, 1, 388, 19}};
  for (int k = 0; k < 8; ++k) g.functionKeys[k] = {3 + k * 40, 30, 43 + k * 40, 46};
  g.logoBox = {4, 50, 52, 66};
  for (int j = 0; j < 7; ++j) g.modeButtons[j] = {53 + j * 20, 50, 72 + j * 20, 66};
  g.loadBox = {300, 50, 330, 66};
  g.clockBox = {332, 50, 396, 66};
  g.tabArea = {4, 70, 150, 400};
  g.groupScroll = {HitRect{4, 70, 150, 86}, HitRect{4, 384, 150, 400}};
  g.grid = {160, 70, 360, 400};
  g.scrollUp = {360, 100, 380, 120};
  g.scrollDown = {360, 120, 380, 140};
  g.quickList = {360, 150, 380, 400};
  for (int k = 0; k < 9; ++k) g.commandButtons[k] = {100, 73 + k * 20, 150, 93 + k * 20};
  g.gridColumns = 4;
  g.cellWidth = 50;
  g.cellHeight = 50;
  g.quickCellHeight = 25;
  g.tabsPerRow = 1;
  g.tabWidth = 145;
  g.tabHeight = 40;
  g.tabCount = 5;
  return g;
}

TEST(HitCode, PacksAreaAndSignedIndex) {
  EXPECT_EQ(hitCode(2, 5), 0x02000005u);
  EXPECT_EQ(hitCode(1, -1), 0x01FFFFFFu);
  EXPECT_EQ(hitCodeArea(0x0E000002u), 14);
  EXPECT_EQ(hitCodeIndex(0x01FFFFFFu), -1);
  EXPECT_EQ(hitCodeIndex(hitCode(3, 0x7FFFFF)), 0x7FFFFF);
  const Hit hit{kGrid, 9};
  EXPECT_EQ(hit.code(), 0x02000009u);
}

TEST(HitTest, BoxesWinOverTheRowsAroundThem) {
  const HitGeometry g = sampleGeometry();
  EXPECT_EQ(hitTest(g, 387, 18).code(), hitCode(kCaptionBoxes, 1));
  EXPECT_EQ(hitTest(g, 10, 10).area, kControlBox);
  EXPECT_EQ(hitTest(g, 369, 10).area, kCaption);  // the gap between the boxes
  EXPECT_EQ(hitTest(g, 200, 48).area, kNone);
  EXPECT_EQ(hitTest(g, -1, -1).area, kNone);
}

TEST(HitTest, GridAndQuickListCells) {
  HitGeometry g = sampleGeometry();
  EXPECT_EQ(hitTest(g, 160, 70).index, 0);
  EXPECT_EQ(hitTest(g, 359, 70).index, 3);
  EXPECT_EQ(hitTest(g, 210, 120).index, 5);
  EXPECT_EQ(hitTest(g, 209, 119).index, 0);
  // The scroll arrows lie above the quick list in the same column.
  EXPECT_EQ(hitTest(g, 365, 100).code(), hitCode(kListScroll, 1));
  EXPECT_EQ(hitTest(g, 365, 139).code(), hitCode(kListScroll, 2));
  EXPECT_EQ(hitTest(g, 365, 145).area, kNone);
  EXPECT_EQ(hitTest(g, 365, 150).code(), hitCode(kQuick, 0));
  EXPECT_EQ(hitTest(g, 365, 200).code(), hitCode(kQuick, 2));
  // A list grid: one wide column; cells past the columns are no button.
  g.gridColumns = 1;
  g.cellWidth = 200;
  g.cellHeight = 25;
  EXPECT_EQ(hitTest(g, 350, 120).index, 2);
  g.cellWidth = 45;
  g.gridColumns = 4;
  EXPECT_EQ(hitTest(g, 355, 70).code(), hitCode(kGrid, -1));
  g.cellWidth = 0;
  EXPECT_EQ(hitTest(g, 200, 100).index, -1);
}

TEST(HitTest, TabsWithScrollingAndSeveralPerRow) {
  HitGeometry g = sampleGeometry();
  EXPECT_EQ(hitTest(g, 10, 75).code(), hitCode(kTabs, 1));  // no scroll buttons shown
  EXPECT_EQ(hitTest(g, 10, 70 + 4 * 40).index, 5);
  EXPECT_EQ(hitTest(g, 10, 70 + 5 * 40).index, -1);  // below the last tab
  EXPECT_EQ(hitTest(g, 4, 75).index, -1);            // the pixel left of the tabs
  g.tabScrollOffset = 40;
  EXPECT_EQ(hitTest(g, 10, 75).index, 2);
  g.groupScrollShown = true;
  EXPECT_EQ(hitTest(g, 10, 75).code(), hitCode(kGroupScroll, 0));
  EXPECT_EQ(hitTest(g, 10, 390).code(), hitCode(kGroupScroll, 1));
  g.tabScrollOffset = 0;
  g.tabsPerRow = 3;
  g.tabWidth = 48;
  EXPECT_EQ(hitTest(g, 5 + 48 * 2, 130).index, -1);  // tab 6 does not exist yet
  g.tabCount = 9;
  EXPECT_EQ(hitTest(g, 5 + 48 * 2, 130).index, 6);
  EXPECT_EQ(hitTest(g, 5 + 48 * 3, 130).index, -1);  // right of the third column
}

TEST(HitTest, CommandButtonsOnlyInTaskMode) {
  HitGeometry g = sampleGeometry();
  EXPECT_EQ(hitTest(g, 120, 75).area, kTabs);
  g.taskMode = true;
  EXPECT_EQ(hitTest(g, 120, 75).code(), hitCode(kCommands, 0));
  EXPECT_EQ(hitTest(g, 120, 73 + 8 * 20).index, 8);
}

TEST(PressRules, RubberBandOrButton) {
  PressFacts p;
  p.area = kGrid;
  p.gridColumns = 4;
  p.occupied = true;
  p.image = {10, 3, 42, 35};
  p.x = 20;
  p.y = 20;
  EXPECT_EQ(pressSelectionMode(p), select_mode::kButton);
  p.y = 35;  // below the image
  EXPECT_EQ(pressSelectionMode(p), select_mode::kBandPrepared);
  p.blinkingAndSelected = true;
  EXPECT_EQ(pressSelectionMode(p), select_mode::kButton);
  p.blinkingAndSelected = false;
  p.y = 20;
  p.shift = true;
  EXPECT_EQ(pressSelectionMode(p), select_mode::kBandPrepared);
  p.shift = false;
  p.occupied = false;
  EXPECT_EQ(pressSelectionMode(p), select_mode::kBandPrepared);
  // One column: right of the image, not below it.
  p.occupied = true;
  p.gridColumns = 1;
  p.y = 100;
  EXPECT_EQ(pressSelectionMode(p), select_mode::kButton);
  p.x = 42;
  EXPECT_EQ(pressSelectionMode(p), select_mode::kBandPrepared);
  // Quick list: below the image.
  p.area = kQuick;
  p.x = 50;
  p.y = 20;
  EXPECT_EQ(pressSelectionMode(p), select_mode::kButton);
  // ShiftSelOnly: only Shift makes a band, and at once.
  p.shiftSelOnly = true;
  p.occupied = false;
  EXPECT_EQ(pressSelectionMode(p), select_mode::kButton);
  p.shift = true;
  EXPECT_EQ(pressSelectionMode(p), select_mode::kBand);
}

TEST(PressRules, DragDistanceConfirmationAndRepeat) {
  EXPECT_FALSE(beyondDragDistance(8, -8, 4, 4));
  EXPECT_TRUE(beyondDragDistance(9, 0, 4, 4));
  EXPECT_TRUE(beyondDragDistance(0, -9, 4, 4));
  EXPECT_FALSE(launchNeedsConfirmation(3, 3));
  EXPECT_TRUE(launchNeedsConfirmation(4, 3));
  EXPECT_TRUE(launchNeedsConfirmation(3, 0));  // limits below 2 count as 2
  EXPECT_FALSE(launchNeedsConfirmation(1000, 5000));
  EXPECT_TRUE(launchNeedsConfirmation(1001, 5000));
  const ScrollRepeat def = scrollRepeatDelays(300);
  EXPECT_EQ(def.firstWait, 200);
  EXPECT_EQ(def.nextWait, 10);
  const ScrollRepeat fast = scrollRepeatDelays(30);
  EXPECT_EQ(fast.firstWait, 290);
  EXPECT_EQ(fast.nextWait, 90);
  const ScrollRepeat slow = scrollRepeatDelays(900);
  EXPECT_EQ(slow.firstWait, 100);
  EXPECT_EQ(slow.nextWait, 10);
}

}  // namespace
}  // namespace vorbin
