// The group scroll bar's arithmetic and the wheel's steps.
#include "launcher/bar/tab_scroll.h"

#include <gtest/gtest.h>

#include "launcher/render/bar_layout.h"

namespace vorbin {
namespace {

TEST(TabScroll, RowsPagesAndTheLastFirstRow) {
  // 9 tabs, 4 a row: 3 rows; an area of 2.9 tab heights shows 2 whole rows.
  TabRows r = tabRows(9, 4, 40, 119);
  EXPECT_EQ(r.rows, 3);
  EXPECT_EQ(r.page, 2);
  EXPECT_EQ(r.maxOffset(), 1);
  EXPECT_EQ(r.clamp(-3), 0);
  EXPECT_EQ(r.clamp(7), 1);
  // Everything fits, or the area is lower than one tab: nothing to scroll, the page is one row.
  EXPECT_EQ(tabRows(3, 1, 40, 400).maxOffset(), 0);
  EXPECT_EQ(tabRows(0, 1, 40, 400).rows, 0);
  TabRows low = tabRows(5, 1, 40, 10);
  EXPECT_EQ(low.page, 1);
  EXPECT_EQ(low.maxOffset(), 4);
  // Damaged measures do not divide by zero.
  EXPECT_EQ(tabRows(5, 0, 0, 10).rows, 5);
}

TEST(TabScroll, RequestsMoveByRowsPagesOrToTheThumbWithinTheRange) {
  const TabRows r = tabRows(20, 1, 40, 200);  // 20 rows, 5 shown: first rows 0..15
  struct Case {
    int request, thumb, offset, expected, line;
  } cases[] = {
      {0, 0, 4, 3, __LINE__},  {0, 0, 0, 0, __LINE__},   {1, 0, 4, 5, __LINE__},  {1, 0, 15, 15, __LINE__},
      {2, 0, 7, 2, __LINE__},  {2, 0, 3, 0, __LINE__},   {3, 0, 7, 12, __LINE__}, {3, 0, 12, 15, __LINE__},
      {4, 9, 0, 9, __LINE__},  {5, 99, 0, 15, __LINE__}, {5, -2, 3, 0, __LINE__}, {6, 0, 9, 0, __LINE__},
      {7, 0, 2, 15, __LINE__},
  };
  for (const Case& c : cases)
    EXPECT_EQ(tabOffsetAfter(c.request, c.thumb, c.offset, r), c.expected) << c.line;
  EXPECT_FALSE(tabOffsetAfter(8, 0, 4, r).has_value()) << "the end of a scroll only repaints";
  EXPECT_FALSE(tabOffsetAfter(42, 0, 4, r).has_value());
  EXPECT_EQ(scrollBarState(r, 40), (ScrollBarState{19, 5, 15}));
  EXPECT_EQ(scrollBarState(tabRows(0, 1, 40, 200), 3), (ScrollBarState{0, 5, 0}));
}

TEST(TabScroll, TheScrollBarTakesTheTabAreasRightPart) {
  LayoutMetrics m;
  const BarLayout plain = computeBarLayout(m, false, 600);
  m.groupScrollBarWidth = 17;
  const BarLayout with = computeBarLayout(m, false, 600);
  EXPECT_EQ(with.groupScrollBar, (PixelRect{plain.tabArea.right - 17, plain.tabArea.top, plain.tabArea.right,
                                            plain.tabArea.bottom}));
  EXPECT_EQ(with.tabArea.right, plain.tabArea.right - 17);
  EXPECT_EQ(with.tabArea.left, plain.tabArea.left);
  // The drawn scroll buttons give way to the bar: nothing of them can be hit.
  for (const PixelRect& b : with.groupScroll) EXPECT_EQ(b.height(), 0);
  EXPECT_EQ(with.grid, plain.grid);
  // The task list in the tab area scrolls with the same bar.
  const BarLayout task = computeBarLayout(m, true, 600);
  const BarLayout taskPlain = computeBarLayout(LayoutMetrics{}, true, 600);
  EXPECT_EQ(task.groupScrollBar, (PixelRect{taskPlain.tabArea.right - 17, taskPlain.tabArea.top,
                                            taskPlain.tabArea.right, taskPlain.tabArea.bottom}));
  EXPECT_EQ(task.tabArea.right, taskPlain.tabArea.right - 17);
  // A bar wider than the tab area leaves it empty, never inside out.
  m.groupScrollBarWidth = 5000;
  const BarLayout wide = computeBarLayout(m, false, 600);
  EXPECT_EQ(wide.tabArea.width(), 0);
  EXPECT_EQ(wide.groupScrollBar.left, plain.tabArea.left);
}

TEST(WheelSteps, NotchesAndPartsAddUpInTheWheelsDirection) {
  WheelSteps steps;
  EXPECT_EQ(wheelGridRows(steps, -120), 1) << "towards the user: down";
  EXPECT_EQ(wheelGridRows(steps, 240), -2);
  // A fine wheel's parts make a row once they reach a notch.
  EXPECT_EQ(wheelGridRows(steps, -50), 0);
  EXPECT_EQ(wheelGridRows(steps, -50), 0);
  EXPECT_EQ(wheelGridRows(steps, -50), 1);
  // The rest (30) does not carry over into a turn back or to the tabs.
  EXPECT_EQ(wheelGridRows(steps, 100), 0);
  EXPECT_EQ(wheelGridRows(steps, 20), -1);
  EXPECT_EQ(wheelGridRows(steps, -90), 0);
  EXPECT_EQ(wheelTabRows(steps, -30, false, 5), 0) << "the grid's part stays with the grid";

  WheelSteps tabs;
  EXPECT_EQ(wheelTabRows(tabs, -120, false, 5), 3) << "a row for each 40th";
  EXPECT_EQ(wheelTabRows(tabs, 60, false, 5), -1);
  EXPECT_EQ(wheelTabRows(tabs, 20, false, 5), -1);
  EXPECT_EQ(wheelTabRows(tabs, -120, true, 5), 5) << "Shift or Ctrl: a page a notch";
  EXPECT_EQ(wheelTabRows(tabs, 360, true, 4), -12);
  EXPECT_EQ(wheelTabRows(tabs, -32768, false, 5), 819);
}

}  // namespace
}  // namespace vorbin
