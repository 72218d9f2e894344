// Keyboard focus moves: by buttons, rows and pages, into view, between groups.
#include "launcher/bar/key_focus.h"

#include <gtest/gtest.h>

namespace vorbin {
namespace {

// Virtual-key codes (the system's values).
constexpr uint16_t VK_RETURN = 0x0D, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24,
                   VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28;

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

}  // namespace
}  // namespace vorbin
