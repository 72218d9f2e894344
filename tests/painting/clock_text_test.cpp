// Clock text in both hour modes, the a.m./p.m. mark, and which readouts a
// timer tick repaints.
#include "launcher/render/clock_text.h"

#include <gtest/gtest.h>

namespace vorbin {
namespace {

TEST(ClockText, TwentyFourAndTwelveHours) {
  EXPECT_EQ(clockText({12, 8, 13, 5}, true), L"12/08 13:05");
  EXPECT_EQ(clockText({12, 8, 13, 5}, false), L"12/08 01:05");
  EXPECT_EQ(clockText({1, 31, 0, 0}, false), L"01/31 12:00");  // midnight
  EXPECT_EQ(clockText({1, 31, 12, 59}, false), L"01/31 12:59");
  EXPECT_EQ(clockText({1, 31, 0, 0}, true), L"01/31 00:00");
}

TEST(ClockText, MarkSwitchesAfterEleven) {
  EXPECT_EQ(amPmMark(0), L"a.m.");
  EXPECT_EQ(amPmMark(11), L"a.m.");
  EXPECT_EQ(amPmMark(12), L"p.m.");
  EXPECT_EQ(amPmMark(23), L"p.m.");
}

TEST(ReadoutMemory, RepaintsOnlyWhatChanged) {
  ReadoutMemory m;
  ReadoutRepaint r = m.tick({12, 8, 11, 58}, false, 40);
  EXPECT_TRUE(r.clock && r.amPm && r.indicator);
  r = m.tick({12, 8, 11, 58}, false, 40);  // same second's tick
  EXPECT_FALSE(r.clock || r.amPm || r.indicator);
  r = m.tick({12, 8, 11, 59}, false, 41);
  EXPECT_TRUE(r.clock);
  EXPECT_FALSE(r.amPm);
  EXPECT_TRUE(r.indicator);
  r = m.tick({12, 8, 12, 0}, false, 41);  // noon: the mark changes
  EXPECT_TRUE(r.clock && r.amPm);
  EXPECT_FALSE(r.indicator);
}

TEST(ReadoutMemory, TwentyFourHourClockHasNoMark) {
  ReadoutMemory m;
  EXPECT_FALSE(m.tick({12, 8, 9, 0}, true, 0).amPm);
  EXPECT_FALSE(m.tick({12, 8, 13, 0}, true, 0).amPm);
  // Switching back to the 12-hour clock draws the mark and the clock again.
  const ReadoutRepaint r = m.tick({12, 8, 13, 0}, false, 0);
  EXPECT_TRUE(r.amPm && r.clock);
  m.forget();
  EXPECT_TRUE(m.tick({12, 8, 13, 0}, false, 0).indicator);
}

}  // namespace
}  // namespace vorbin
