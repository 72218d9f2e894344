// Press, move and release sequences on the bar: clicks start buttons, small
// moves do nothing, bands select and blink, drags start, limits ask first.
#include "launcher/interact/bar_pointer.h"
#include "launcher/interact/press_rules.h"

#include <gtest/gtest.h>

namespace vorbin {
namespace {

using namespace hit_area;

// A grid of 4 columns of 50-pixel cells at the origin; images are 32 pixels at (9, 3).
PressInput gridPress(int slot, int button = 1, bool occupied = true) {
  PressInput p;
  p.button = button;
  p.hit = {kGrid, slot};
  p.x = (slot % 4) * 50 + 20;
  p.y = (slot / 4) * 50 + 15;
  p.image = {(slot % 4) * 50 + 9, (slot / 4) * 50 + 3, (slot % 4) * 50 + 41, (slot / 4) * 50 + 35};
  p.gridColumns = 4;
  p.occupied = occupied;
  return p;
}

std::vector<int> cellsIn(const HitRect& r) {
  std::vector<int> cells;
  for (int slot = 0; slot < 16; ++slot) {
    const int left = (slot % 4) * 50, top = (slot / 4) * 50;
    if (r.left < left + 50 && r.right > left && r.top < top + 50 && r.bottom > top) cells.push_back(slot);
  }
  return cells;
}

std::pair<int, int> blockOrigin(const std::vector<int>& slots) {
  int left = 1000, top = 1000;
  for (int s : slots) {
    left = std::min(left, (s % 4) * 50);
    top = std::min(top, (s / 4) * 50);
  }
  return {left, top};
}

class BarPointerTest : public ::testing::Test {
 protected:
  PointerEffects moveTo(int x, int y, Hit hit = {kGrid, 0}) {
    return pointer.move(x, y, hit, 1, false, cellsIn, blockOrigin);
  }
  BarPointer pointer{PointerSettings{}};
  int asked = 0;
  BarPointer::Confirm answer(bool ok) {
    return [this, ok](int count) {
      asked = count;
      return ok;
    };
  }
};

TEST_F(BarPointerTest, ClickWithinTheDragDistanceStartsThePressedButton) {
  PointerEffects e = pointer.press(gridPress(5), kGrid, 1);
  EXPECT_TRUE(e.capture);
  EXPECT_EQ(e.drawPressed, std::vector<int>{5});
  EXPECT_TRUE(e.repaintHighlights);
  e = moveTo(20 + 50 + 8, 65 - 8);  // 8 pixels: within twice the drag size of 4
  EXPECT_FALSE(e.startButtonDrag);
  EXPECT_FALSE(e.drawBand.has_value());
  e = pointer.release(78, 57, {kGrid, 5}, answer(false));
  EXPECT_TRUE(e.releaseCapture);
  EXPECT_EQ(e.launchSlots, std::vector<int>{5});
  EXPECT_EQ(asked, 0);
}

TEST_F(BarPointerTest, ModalOperationsIgnorePresses) {
  PressInput p = gridPress(1);
  p.modal = true;
  EXPECT_FALSE(pointer.press(p, kGrid, 1).capture);
  EXPECT_FALSE(pointer.pressed());
  EXPECT_TRUE(pointer.release(0, 0, {kGrid, 1}, nullptr).launchSlots.empty());
}

TEST_F(BarPointerTest, BandSelectsBlinksAndTheNextPressStartsTheSelection) {
  // A press below the image prepares a band.
  PressInput p = gridPress(0);
  p.y = 40;
  pointer.press(p, kGrid, 1);
  EXPECT_EQ(pointer.selectMode(), select_mode::kBandPrepared);
  PointerEffects e = moveTo(170, 140);
  ASSERT_TRUE(e.drawBand.has_value());
  EXPECT_EQ(pointer.selection(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  e = moveTo(120, 90);  // a smaller band replaces the selection
  EXPECT_EQ(pointer.selection(), (std::vector<int>{0, 1, 2, 4, 5, 6}));
  e = pointer.release(120, 90, {kGrid, 6}, answer(true));
  EXPECT_TRUE(e.eraseBand);
  EXPECT_TRUE(e.launchSlots.empty());
  ASSERT_EQ(e.armTimers.size(), 1u);
  EXPECT_EQ(e.armTimers[0].id, kTimerBlink);
  EXPECT_EQ(e.armTimers[0].milliseconds, 250);
  EXPECT_EQ(pointer.selectMode(), select_mode::kBlinking);

  // A press on a selected button ends the blinking and starts all six after asking.
  p = gridPress(6);
  p.y = 90;  // below the image, but a selected button never starts a band while blinking
  e = pointer.press(p, kGrid, 1);
  EXPECT_EQ(e.killTimers, std::vector<int>{kTimerBlink});
  EXPECT_EQ(pointer.selectMode(), select_mode::kButton);
  e = pointer.release(p.x, p.y, {kGrid, 6}, answer(false));
  EXPECT_EQ(asked, 6);
  EXPECT_TRUE(e.confirmDeclined);
  EXPECT_TRUE(e.launchSlots.empty());
}

TEST_F(BarPointerTest, ExeLimitAsksBeforeStartingMoreButtons) {
  PressInput p = gridPress(0);
  p.occupied = false;  // an empty slot prepares a band
  pointer.press(p, kGrid, 1);
  moveTo(149, 45);
  pointer.release(149, 45, {kGrid, 2}, nullptr);
  ASSERT_EQ(pointer.selection().size(), 3u);
  pointer.press(gridPress(1), kGrid, 1);
  PointerEffects e = pointer.release(70, 15, {kGrid, 1}, answer(false));
  EXPECT_EQ(asked, 0);  // three is within the limit
  EXPECT_EQ(e.launchSlots, (std::vector<int>{0, 1, 2}));

  pointer.press(p, kGrid, 1);
  moveTo(199, 45);
  pointer.release(199, 45, {kGrid, 3}, nullptr);
  pointer.press(gridPress(2), kGrid, 1);
  e = pointer.release(120, 15, {kGrid, 2}, answer(true));
  EXPECT_EQ(asked, 4);
  EXPECT_EQ(e.launchSlots, (std::vector<int>{0, 1, 2, 3}));
}

TEST_F(BarPointerTest, ShiftSelOnlyNeedsShiftForABand) {
  pointer = BarPointer(PointerSettings{true});
  PressInput p = gridPress(3, 1, false);
  pointer.press(p, kGrid, 1);
  PointerEffects e = moveTo(100, 100);
  EXPECT_FALSE(e.drawBand.has_value());
  EXPECT_TRUE(pointer.release(100, 100, {kGrid, 5}, nullptr).launchSlots.empty());
  p.shift = true;
  pointer.press(p, kGrid, 1);
  EXPECT_EQ(pointer.selectMode(), select_mode::kBand);
  EXPECT_TRUE(moveTo(p.x + 1, p.y + 1).drawBand.has_value());  // a band draws at once
}

TEST_F(BarPointerTest, MovingAPressedButtonStartsADragWithTheBlockOffset) {
  pointer.press(gridPress(6), kGrid, 1);
  PointerEffects e = moveTo(120 + 9, 65);
  EXPECT_TRUE(e.startButtonDrag);
  EXPECT_EQ(e.drawReleased, 6);
  EXPECT_EQ(e.dragOffsetX, 20);  // press at (120, 65), cell 6 at (100, 50)
  EXPECT_EQ(e.dragOffsetY, 15);
  EXPECT_TRUE(pointer.dragging());
  // While dragging: a hovered tab opens after IntervalAtDrop, a scroll arrow scrolls.
  e = pointer.move(10, 10, {kTabs, 3}, 1, false, cellsIn, blockOrigin);
  ASSERT_EQ(e.armTimers.size(), 1u);
  EXPECT_EQ(e.armTimers[0].id, kTimerHoverGroup);
  EXPECT_EQ(e.armTimers[0].milliseconds, 100);
  // The hot highlight follows the pointer over the grid and the quick list.
  e = moveTo(160, 20, {kGrid, 3});
  ASSERT_TRUE(e.hot.has_value());
  EXPECT_EQ(e.hot->code(), hitCode(kGrid, 3));
  EXPECT_FALSE(moveTo(165, 22, {kGrid, 3}).hot.has_value()) << "same button, no repaint";
  e = pointer.move(400, 30, {kQuick, 1}, 1, false, cellsIn, blockOrigin);
  ASSERT_TRUE(e.hot.has_value());
  EXPECT_EQ(e.hot->code(), hitCode(kQuick, 1));
  e = pointer.move(300, 10, {kListScroll, 2}, 1, false, cellsIn, blockOrigin);
  ASSERT_EQ(e.armTimers.size(), 1u);
  EXPECT_EQ(e.armTimers[0].id, kTimerDragScroll);
  EXPECT_EQ(e.armTimers[0].milliseconds, 400);
  ASSERT_TRUE(e.hot.has_value());
  EXPECT_EQ(e.hot->area, kNone) << "off the buttons the highlight goes";
  // Moving on the arrow does not put the first tick off again.
  EXPECT_TRUE(pointer.move(301, 11, {kListScroll, 2}, 1, false, cellsIn, blockOrigin).armTimers.empty());
  EXPECT_FALSE(moveTo(60, 20, {kGrid, 1}).hoverArea.has_value()) << "a drag changed the active area";
  e = pointer.release(60, 20, {kGrid, 1}, nullptr);
  EXPECT_TRUE(e.launchSlots.empty());
  EXPECT_FALSE(pointer.dragging());
  EXPECT_FALSE(e.hot.has_value()) << "the button under the dropped pointer stays hot";
  // Leaving the bar takes the highlight away.
  e = pointer.leave();
  ASSERT_TRUE(e.hot.has_value());
  EXPECT_EQ(e.hot->area, kNone);
}

TEST_F(BarPointerTest, HoveringHighlightsTheButtonAndActivatesItsArea) {
  PointerEffects e = moveTo(60, 20, {kGrid, 1});
  ASSERT_TRUE(e.hot.has_value());
  EXPECT_EQ(e.hot->code(), hitCode(kGrid, 1));
  EXPECT_EQ(e.hoverArea, kGrid);
  e = moveTo(62, 21, {kGrid, 1});
  EXPECT_FALSE(e.hot.has_value() || e.hoverArea.has_value()) << "nothing changed";
  e = pointer.move(400, 30, {kQuick, 0}, 1, false, cellsIn, blockOrigin);
  EXPECT_EQ(e.hot->code(), hitCode(kQuick, 0));
  EXPECT_EQ(e.hoverArea, kQuick);
  // Tabs are an area of their own; the caption row is none that activates.
  e = pointer.move(10, 10, {kTabs, 1}, 1, false, cellsIn, blockOrigin);
  EXPECT_EQ(e.hot->area, kNone);
  EXPECT_EQ(e.hoverArea, kTabs);
  EXPECT_FALSE(pointer.move(10, 0, {kCaption, 0}, 1, false, cellsIn, blockOrigin).hoverArea.has_value());
  EXPECT_EQ(pointer.move(10, 10, {kTabs, 1}, 1, false, cellsIn, blockOrigin).hoverArea, kTabs)
      << "coming back after another area";
  // While a button is held nothing hovers, and leaving changes nothing.
  pointer.press(gridPress(2), kTabs, 1);
  e = moveTo(21, 16, {kGrid, 2});
  EXPECT_FALSE(e.hot.has_value() || e.hoverArea.has_value());
  EXPECT_FALSE(pointer.leave().hot.has_value());
  pointer.release(21, 16, {kGrid, 2}, nullptr);
  EXPECT_FALSE(pointer.leave().hot.has_value()) << "no highlight to take away";
}

TEST_F(BarPointerTest, RightButtonSelectsAndNamesTheMenuSlotOrAsksForHelp) {
  PointerEffects e = pointer.press(gridPress(2, 2), kQuick, 1);
  EXPECT_EQ(e.activateArea, kGrid);
  EXPECT_TRUE(e.drawPressed.empty());
  EXPECT_EQ(pointer.selection(), std::vector<int>{2});
  e = pointer.release(0, 0, {kGrid, 2}, nullptr);
  EXPECT_EQ(e.contextMenuSlot, 2);
  ASSERT_TRUE(e.contextMenu.has_value());
  EXPECT_EQ(e.contextMenu->code(), (Hit{kGrid, 2}.code()));
  EXPECT_TRUE(e.launchSlots.empty());

  // A group tab's menu names the tab.
  PressInput tab;
  tab.button = 2;
  tab.hit = {kTabs, 3};
  pointer.press(tab, kGrid, 1);
  e = pointer.release(0, 0, {kTabs, 3}, nullptr);
  ASSERT_TRUE(e.contextMenu.has_value());
  EXPECT_EQ(e.contextMenu->code(), (Hit{kTabs, 3}.code()));

  PressInput key;
  key.button = 2;
  key.hit = {kFunctionKeys, 3};
  e = pointer.press(key, kGrid, 1);
  EXPECT_EQ(e.contextHelp, 51);
  EXPECT_FALSE(pointer.pressed());
}

TEST_F(BarPointerTest, TabsHoverDragAndPlaceholder) {
  // Hovering another group's tab arms the hover timer once; not in task mode, not the current tab.
  PointerEffects e = pointer.move(10, 10, {kTabs, 2}, 1, false, cellsIn, blockOrigin);
  ASSERT_EQ(e.armTimers.size(), 1u);
  EXPECT_EQ(e.armTimers[0].milliseconds, 40);
  EXPECT_TRUE(pointer.move(11, 10, {kTabs, 2}, 1, false, cellsIn, blockOrigin).armTimers.empty());
  EXPECT_TRUE(pointer.move(10, 40, {kTabs, 1}, 1, false, cellsIn, blockOrigin).armTimers.empty());
  EXPECT_TRUE(pointer.move(10, 70, {kTabs, 3}, 1, true, cellsIn, blockOrigin).armTimers.empty());

  // IntervalAtSel -1 switches the hover off: no tab arms anything, the hot
  // highlight and the hovered area still follow the pointer.
  PointerSettings off;
  off.intervalAtSel = -1;
  BarPointer still(off);
  for (int tabIndex : {2, 3, 2}) {
    e = still.move(10, 10 * tabIndex, {kTabs, tabIndex}, 1, false, cellsIn, blockOrigin);
    EXPECT_TRUE(e.armTimers.empty()) << "tab " << tabIndex;
  }
  EXPECT_TRUE(still.move(60, 20, {kGrid, 1}, 1, false, cellsIn, blockOrigin).hot.has_value());
  off.intervalAtSel = 0;
  still.setSettings(off);
  e = still.move(10, 30, {kTabs, 3}, 1, false, cellsIn, blockOrigin);
  ASSERT_EQ(e.armTimers.size(), 1u) << "0 is the shortest wait, not off";
  EXPECT_EQ(e.armTimers[0].milliseconds, 0);

  PressInput tab;
  tab.hit = {kTabs, 3};
  e = pointer.press(tab, kGrid, 1);
  EXPECT_EQ(e.selectGroup, 3);
  EXPECT_EQ(e.activateArea, kTabs);
  EXPECT_EQ(pointer.move(0, 20, {kTabs, 3}, 3, false, cellsIn, blockOrigin).startTabDrag, 3);
  pointer.release(0, 20, {kTabs, 3}, nullptr);

  tab.placeholderTab = true;
  pointer.press(tab, kTabs, 3);
  EXPECT_FALSE(pointer.move(0, 40, {kTabs, 3}, 3, false, cellsIn, blockOrigin).startTabDrag.has_value());
  pointer.release(0, 40, {kTabs, 3}, nullptr);

  tab.placeholderTab = false;
  tab.hit = {kTabs, -1};
  EXPECT_EQ(pointer.press(tab, kTabs, 3).selectGroup, -1);  // only activates the bar
}

TEST_F(BarPointerTest, TaskEntriesArePressedAndSwitchedToButNeverDraggedOrHoverOpened) {
  PressInput task;
  task.hit = {kTabs, 2};
  task.taskMode = true;
  PointerEffects e = pointer.press(task, kTabs, 1);
  EXPECT_EQ(e.pressedTask, 2);
  EXPECT_FALSE(e.selectGroup.has_value()) << "a task press changed the shown group";
  // Beyond the drag distance nothing is dragged, and no hover timer runs.
  e = pointer.move(0, 40, {kTabs, 3}, 1, true, cellsIn, blockOrigin);
  EXPECT_FALSE(e.startTabDrag.has_value());
  EXPECT_TRUE(e.armTimers.empty());
  e = pointer.release(0, 40, {kTabs, 3}, nullptr);
  EXPECT_EQ(e.pressedTask, 0);
  EXPECT_FALSE(e.switchToTask.has_value()) << "released over another entry";

  pointer.press(task, kTabs, 1);
  e = pointer.release(0, 0, {kTabs, 2}, nullptr);
  EXPECT_EQ(e.switchToTask, 2);
  // The right button and the empty part of the list switch to nothing.
  task.button = 2;
  pointer.press(task, kTabs, 1);
  e = pointer.release(0, 0, {kTabs, 2}, nullptr);
  EXPECT_FALSE(e.switchToTask.has_value());
  // It opens the menu of the pressed entry instead.
  ASSERT_TRUE(e.contextMenu.has_value());
  EXPECT_EQ(e.contextMenu->index, task.hit.index);
  task = PressInput{};
  task.hit = {kTabs, -1};
  task.taskMode = true;
  EXPECT_FALSE(pointer.press(task, kTabs, 1).pressedTask.has_value());
  EXPECT_FALSE(pointer.release(0, 0, {kTabs, -1}, nullptr).switchToTask.has_value());
}

TEST_F(BarPointerTest, MovingOnTheTaskListDrawsABandThatMarksEntriesInsteadOfSwitching) {
  // Entries 40 pixels high from the top: entry n spans (n - 1) * 40 .. n * 40.
  const auto entriesIn = [](const HitRect& r) {
    std::vector<int> entries;
    for (int n = 1; n <= 10; ++n)
      if (r.top < n * 40 && r.bottom > (n - 1) * 40) entries.push_back(n);
    return entries;
  };
  PressInput task;
  task.hit = {kTabs, 1};
  task.taskMode = true;
  task.x = 10;
  task.y = 20;
  pointer.press(task, kTabs, 1);
  PointerEffects e = pointer.move(11, 21, {kTabs, 1}, 1, true, entriesIn, blockOrigin);
  EXPECT_FALSE(e.bandEntries.has_value()) << "within the drag distance";
  e = pointer.move(30, 100, {kTabs, 3}, 1, true, entriesIn, blockOrigin);
  EXPECT_TRUE(e.bandBegins);
  ASSERT_TRUE(e.drawBand.has_value());
  EXPECT_EQ(*e.drawBand, (HitRect{10, 20, 31, 101}));
  EXPECT_EQ(e.bandEntries, (std::vector<int>{1, 2, 3}));
  // Back near the press point the band goes on, now over the first entry only.
  e = pointer.move(12, 22, {kTabs, 1}, 1, true, entriesIn, blockOrigin);
  EXPECT_FALSE(e.bandBegins);
  EXPECT_EQ(e.bandEntries, (std::vector<int>{1}));
  e = pointer.release(12, 22, {kTabs, 1}, nullptr);
  EXPECT_TRUE(e.eraseBand);
  EXPECT_FALSE(e.switchToTask.has_value()) << "a band switches to nothing";
  EXPECT_EQ(e.pressedTask, 0);
  // The next plain click switches again.
  pointer.press(task, kTabs, 1);
  EXPECT_EQ(pointer.release(10, 20, {kTabs, 1}, nullptr).switchToTask, 1);

  // From the empty part of the list, and with ShiftSelOnly only with Shift.
  task.hit = {kTabs, -1};
  task.y = 300;
  pointer.press(task, kTabs, 1);
  EXPECT_EQ(pointer.move(10, 150, {kTabs, 4}, 1, true, entriesIn, blockOrigin).bandEntries,
            (std::vector<int>{4, 5, 6, 7, 8}));
  pointer.release(10, 150, {kTabs, 4}, nullptr);
  PointerSettings shiftOnly;
  shiftOnly.shiftSelOnly = true;
  pointer.setSettings(shiftOnly);
  pointer.press(task, kTabs, 1);
  EXPECT_FALSE(pointer.move(10, 150, {kTabs, 4}, 1, true, entriesIn, blockOrigin).bandEntries.has_value());
  pointer.release(10, 150, {kTabs, 4}, nullptr);
  task.shift = true;
  pointer.press(task, kTabs, 1);
  EXPECT_TRUE(pointer.move(10, 150, {kTabs, 4}, 1, true, entriesIn, blockOrigin).bandEntries.has_value());
}

TEST_F(BarPointerTest, BoxesRunTheirCommandOnlyWhenReleasedOverThemselves) {
  PressInput box;
  box.hit = {kCaptionBoxes, 0};
  PointerEffects e = pointer.press(box, kGrid, 1);
  ASSERT_TRUE(e.pressedBox.has_value());
  EXPECT_EQ(e.pressedBox->code(), hitCode(kCaptionBoxes, 0));
  e = pointer.release(0, 0, {kCaptionBoxes, 0}, nullptr);
  ASSERT_TRUE(e.boxCommand.has_value());
  EXPECT_EQ(e.boxCommand->index, 0);

  box.hit = {kFunctionKeys, 1};
  pointer.press(box, kGrid, 1);
  EXPECT_FALSE(pointer.release(0, 0, {kFunctionKeys, 2}, nullptr).boxCommand.has_value());

  box.hit = {kGroupScroll, 1};
  e = pointer.press(box, kGrid, 1);
  ASSERT_EQ(e.armTimers.size(), 1u);
  EXPECT_EQ(e.armTimers[0].id, kTimerGroupScroll);
  EXPECT_EQ(e.armTimers[0].milliseconds, 50);
  EXPECT_EQ(e.killTimers, std::vector<int>{kTimerHoverGroup});
  pointer.release(0, 0, {kGroupScroll, 1}, nullptr);

  box.hit = {kClock, 0};
  EXPECT_TRUE(pointer.press(box, kGrid, 1).toggle24Hour);
  pointer.release(0, 0, {kClock, 0}, nullptr);
  // The list scroll arrows repeat only for a group of more than one row.
  box.hit = {kListScroll, 2};
  box.groupRows = 1;
  EXPECT_FALSE(pointer.press(box, kGrid, 1).listScrollRepeat.has_value());
  pointer.release(0, 0, box.hit, nullptr);
  box.groupRows = 2;
  EXPECT_EQ(pointer.press(box, kGrid, 1).listScrollRepeat, 2);
}

}  // namespace
}  // namespace vorbin
