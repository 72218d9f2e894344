// Keyboard focus moves: by buttons, rows and pages, into view, between groups.
#include "launcher/bar/key_focus.h"

#include <gtest/gtest.h>

namespace vorbin {
namespace {

// Virtual-key codes (the system's values).
constexpr uint16_t VK_TAB = 0x09, VK_RETURN = 0x0D, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23,
                   VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
                   VK_F3 = 0x72;

KeyBinding binding(uint16_t key, bool shift = false) { return *findKeyBinding(key, shift, false, false); }

TEST(KeyFocus, MovesByButtonsRowsPagesAndToTheEnds) {
  // 10 buttons, 4 a row, 8 a page: rows 0-3, 4-7, 8-9.
  const FocusArea a{10, 4, 8};
  struct Case {
    uint16_t key;
    bool shift;
    int from, expected, line;
  } cases[] = {
      {VK_RIGHT, false, 3, 4, __LINE__},  {VK_LEFT, false, 0, 0, __LINE__}, {VK_RIGHT, false, 9, 9, __LINE__},
      {VK_DOWN, false, 1, 5, __LINE__},   {VK_DOWN, false, 6, 6, __LINE__}, {VK_DOWN, false, 5, 9, __LINE__},
      {VK_UP, false, 2, 2, __LINE__},     {VK_UP, false, 9, 5, __LINE__},   {VK_UP, true, 9, 5, __LINE__},
      {VK_NEXT, false, 1, 9, __LINE__},   {VK_NEXT, false, 0, 8, __LINE__}, {VK_PRIOR, false, 9, 1, __LINE__},
      {VK_PRIOR, false, 5, 0, __LINE__},  {VK_HOME, false, 7, 0, __LINE__}, {VK_END, false, 2, 9, __LINE__},
      {VK_RIGHT, false, -1, 0, __LINE__}, {VK_END, false, -1, 9, __LINE__}, {VK_LEFT, false, 40, 8, __LINE__},
  };
  for (const Case& c : cases)
    EXPECT_EQ(focusTarget(binding(c.key, c.shift), c.from, a), c.expected) << c.line;
  EXPECT_EQ(focusTarget(binding(VK_DOWN), 0, FocusArea{}), -1) << "an empty area has no focus";
  EXPECT_EQ(focusTarget(binding(VK_RETURN), 3, a), -1) << "Enter moves nothing";
  // A single column: up and down are the neighbours.
  EXPECT_EQ(focusTarget(binding(VK_DOWN), 2, FocusArea{5, 1, 3}), 3);
}

TEST(KeyFocus, RowsComeIntoViewAndEnterStepsThroughTheGroups) {
  EXPECT_EQ(firstRowShowing(5, 2, 3), 3) << "below: the row becomes the last shown";
  EXPECT_EQ(firstRowShowing(1, 2, 3), 1) << "above: the row becomes the first shown";
  EXPECT_EQ(firstRowShowing(3, 2, 3), 2) << "shown: no scrolling";
  EXPECT_EQ(firstRowShowing(4, 0, 0), 4);
  EXPECT_EQ(nextGroup(3, 5, false), 4);
  EXPECT_EQ(nextGroup(5, 5, false), 5);
  EXPECT_EQ(nextGroup(1, 5, true), 1);
  EXPECT_EQ(nextGroup(2, 5, true), 1);
  EXPECT_EQ(nextGroup(1, 0, false), 1) << "no real group: group 1";
}

using namespace hit_area;

// Group mode on the tabs of five groups, group 3 active; its grid of ten
// buttons, 4 a row; a quick list showing three.
FocusScene groupScene(int area, Hit focused = {}) {
  FocusScene s;
  s.area = area;
  s.focused = focused;
  s.activeGroup = 3;
  s.groupCount = 5;
  s.tabs = {5, 2, 4};
  s.buttons = area == kQuick ? FocusArea{3, 1, 3} : FocusArea{10, 4, 8};
  return s;
}

TEST(KeyFocus, FocusKeysMoveAcrossTabsGridAndQuickList) {
  FocusScene tasks = groupScene(kTabs);
  tasks.taskMode = true;
  tasks.tabs = {3, 1, 3};
  FocusScene taskQuick = groupScene(kQuick);
  taskQuick.taskMode = true;
  FocusScene placeholder = groupScene(kGrid);
  placeholder.activeGroup = 6;
  struct Case {
    FocusScene scene;
    uint16_t key;
    Hit expected;
    int line;
  } cases[] = {
      // Tabs: without a focused tab the move starts from the active group's.
      {groupScene(kTabs), VK_RIGHT, {kTabs, 4}, __LINE__},
      {groupScene(kTabs, {kTabs, 1}), VK_DOWN, {kTabs, 3}, __LINE__},
      {groupScene(kTabs, {kTabs, -1}), VK_LEFT, {kTabs, 2}, __LINE__},
      {groupScene(kTabs, {kGrid, 4}), VK_END, {kTabs, 5}, __LINE__},
      // The task list starts from its first entry.
      {tasks, VK_DOWN, {kTabs, 1}, __LINE__},
      {[&] {
         FocusScene s = tasks;
         s.focused = {kTabs, 3};
         return s;
       }(),
       VK_UP,
       {kTabs, 2},
       __LINE__},
      // Grid and quick list: a focus in another area counts as none.
      {groupScene(kGrid, {kGrid, 5}), VK_RIGHT, {kGrid, 6}, __LINE__},
      {groupScene(kGrid, {kGrid, 5}), VK_NEXT, {kGrid, 9}, __LINE__},
      {groupScene(kGrid, {kQuick, 1}), VK_DOWN, {kGrid, 0}, __LINE__},
      {groupScene(kQuick, {kQuick, 1}), VK_DOWN, {kQuick, 2}, __LINE__},
      {groupScene(kQuick, {kGrid, 2}), VK_END, {kQuick, 2}, __LINE__},
      // Nothing to move in: the quick list in task mode, a placeholder group, Enter.
      {taskQuick, VK_DOWN, {}, __LINE__},
      {placeholder, VK_RIGHT, {}, __LINE__},
      {groupScene(kGrid, {kGrid, 1}), VK_RETURN, {}, __LINE__},
  };
  for (const Case& c : cases) {
    const Hit to = focusMove(binding(c.key), c.scene);
    EXPECT_EQ(to.area, c.expected.area) << c.line;
    if (to.area != kNone) EXPECT_EQ(to.index, c.expected.index) << c.line;
  }
  EXPECT_EQ(focusGroup(groupScene(kQuick)), 0);
  EXPECT_EQ(focusGroup(groupScene(kGrid)), 3);
  EXPECT_EQ(focusGroup(groupScene(kTabs)), -1);
}

TEST(KeyFocus, TabAndEnterFollowTheKeyboardsArea) {
  const TabKeyStep toGrid = tabKeyStep(groupScene(kTabs), 4);
  EXPECT_EQ(toGrid.area, kGrid);
  EXPECT_EQ(toGrid.focus.code(), hitCode(kGrid, 4)) << "the grid's selection keeps the focus";
  EXPECT_EQ(tabKeyStep(groupScene(kTabs), std::nullopt).focus.code(), hitCode(kGrid, 0));
  const TabKeyStep toTabs = tabKeyStep(groupScene(kQuick, {kQuick, 1}), 4);
  EXPECT_EQ(toTabs.area, kTabs);
  EXPECT_EQ(toTabs.focus.code(), hitCode(kTabs, 3)) << "the active group's tab";
  FocusScene none = groupScene(kTabs);
  none.groupCount = 0;
  EXPECT_EQ(tabKeyStep(none, 2).area, kGrid) << "the area changes even without a group";
  EXPECT_EQ(tabKeyStep(none, 2).focus.area, kNone);
  FocusScene tasks = groupScene(kGrid);
  tasks.taskMode = true;
  EXPECT_EQ(tabKeyStep(tasks, 2).area, kNone) << "Tab does nothing in task mode";

  FocusScene taskTabs = groupScene(kTabs);
  taskTabs.taskMode = true;
  EXPECT_EQ(enterKeyStep(taskTabs, false), EnterStep::kTaskCommand);
  EXPECT_EQ(enterKeyStep(groupScene(kTabs), false), EnterStep::kNextGroup);
  EXPECT_EQ(enterKeyStep(groupScene(kGrid, {kGrid, 2}), true), EnterStep::kPressFocused);
  EXPECT_EQ(enterKeyStep(groupScene(kGrid, {kGrid, 2}), false), EnterStep::kNone) << "an empty slot";
  EXPECT_EQ(enterKeyStep(groupScene(kGrid, {kQuick, 2}), true), EnterStep::kNone) << "focus elsewhere";

  EXPECT_EQ(bindingBox(binding(VK_F3))->code(), hitCode(kFunctionKeys, 1));
  EXPECT_FALSE(bindingBox(binding(VK_TAB)));
}

}  // namespace
}  // namespace vorbin
