// Placement of the clock, a.m./p.m. mark and indicator in the caption row.
#include "launcher/bar/bar_readouts.h"

#include <gtest/gtest.h>

namespace vorbin {
namespace {

BarLayout layoutFor(int textHeight) {
  LayoutMetrics m;
  m.textHeight = textHeight;
  const BarLayout probe = computeBarLayout(m, false, 0);
  return computeBarLayout(m, false, clientHeightForRows(probe, 4));
}

bool overlaps(const PixelRect& a, const PixelRect& b) {
  return a.width() > 0 && b.width() > 0 && a.left < b.right && b.left < a.right && a.top < b.bottom &&
         b.top < a.bottom;
}

TEST(ReadoutPlacement, BoxesSitInTheCaptionRowClearOfEachOtherTheCaptionAndItsBoxes) {
  for (int t : {8, 16, 24}) {
    const BarLayout l = layoutFor(t);
    const ReadoutBoxes b = placeReadouts(l, 80, 30, 24);
    ASSERT_GT(b.clock.width(), 0) << t;
    EXPECT_EQ(b.clock.right, l.captionText.right);
    EXPECT_EQ(b.clock.width(), 80);
    const PixelRect all[] = {b.caption, b.indicator, b.amPm, b.clock};
    for (const PixelRect& r : all) {
      EXPECT_EQ(r.top, l.captionText.top);
      EXPECT_EQ(r.bottom, l.captionText.bottom);
      EXPECT_FALSE(overlaps(r, l.captionBoxes[0]));
      EXPECT_FALSE(overlaps(r, l.controlBox));
    }
    for (int i = 0; i < 4; ++i)
      for (int j = i + 1; j < 4; ++j) EXPECT_FALSE(overlaps(all[i], all[j])) << i << " " << j;
    // The mark is beside the clock, the indicator before it.
    EXPECT_LT(b.amPm.right, b.clock.left);
    EXPECT_LT(b.indicator.right, b.amPm.left);
    EXPECT_LT(b.caption.right, b.indicator.left);
  }
}

TEST(ReadoutPlacement, NarrowRowsDropTheIndicatorFirstThenTheMark) {
  const BarLayout l = layoutFor(16);

  const int room = l.captionText.width();
  // Room for the clock and the mark, not for the indicator as well.
  const ReadoutBoxes tight = placeReadouts(l, room - 80, 30, 24, 40);
  EXPECT_GT(tight.clock.width(), 0);
  EXPECT_GT(tight.amPm.width(), 0);
  EXPECT_EQ(tight.indicator.width(), 0);
  EXPECT_GE(tight.caption.width(), 0);
  EXPECT_GE(tight.caption.right, tight.caption.left);
  // No room for the clock: nothing is placed and the caption keeps its row.
  const ReadoutBoxes none = placeReadouts(l, room, 30, 24, 40);
  EXPECT_EQ(none.clock.width(), 0);
  EXPECT_EQ(none.amPm.width(), 0);
  EXPECT_EQ(none.caption, l.captionText);
}

TEST(BarHeights, MinimumHoldsOneFullRowAndTheDefaultFour) {
  for (int t : {8, 16, 24}) {
    LayoutMetrics m;
    m.textHeight = t;
    const BarLayout probe = computeBarLayout(m, false, 0);
    const BarLayout small = computeBarLayout(m, false, barMinHeight(probe));
    EXPECT_GE(small.grid.height(), small.H) << t;
    EXPECT_LT(small.grid.height(), 2 * small.H) << t;
    EXPECT_GE(visibleRows(small, barMinHeight(probe)), 1) << t;
    const BarLayout normal = computeBarLayout(m, false, barDefaultHeight(probe));
    EXPECT_GE(normal.grid.height(), 4 * normal.H) << t;
    EXPECT_LT(normal.grid.height(), 5 * normal.H) << t;
  }
}

TEST(BarHeights, ASavedHeightKeepsItsRowsWhenTheScaleChanged) {
  const auto layoutAt = [](int dpi) {
    LayoutMetrics m;
    m.dpi = dpi;
    m.textHeight = 13 * dpi / 96;
    m.menuAscent = 12 * dpi / 96;
    m.captionButtonHeight = 18 * dpi / 96;
    return computeBarLayout(m, false, 0);
  };
  const BarLayout at96 = layoutAt(96);
  // Saved at 100 %: five rows and a few pixels to spare.
  const int saved = clientHeightForRows(at96, 5) + 7;
  ASSERT_EQ(visibleRows(at96, saved), 5);
  // Under the same scale the height is taken as it was, spare pixels and all.
  EXPECT_EQ(restoredBarHeight(at96, saved, 5), saved);
  for (int dpi : {144, 192, 72}) {
    const BarLayout l = layoutAt(dpi);
    ASSERT_NE(visibleRows(l, saved), 5) << dpi << ": the case tests nothing";
    const int restored = restoredBarHeight(l, saved, 5);
    EXPECT_EQ(visibleRows(l, restored), 5) << dpi;
    EXPECT_EQ(restored, clientHeightForRows(l, 5)) << dpi;
  }
  // Nothing saved, or no rows saved: the height stands (the placer fills in defaults).
  const BarLayout at144 = layoutAt(144);
  EXPECT_EQ(restoredBarHeight(at144, 0, 5), 0);
  EXPECT_EQ(restoredBarHeight(at144, saved, -1), saved);
  EXPECT_EQ(restoredBarHeight(at144, saved, 0), saved);
  // A row count no screen could hold is bounded.
  EXPECT_LE(restoredBarHeight(at144, saved, 1 << 30), clientHeightForRows(at144, 100));
}

}  // namespace
}  // namespace vorbin
