// Rectangle and placement arithmetic.
#include "launcher/services/rect_math.h"

#include <gtest/gtest.h>

#include <climits>

namespace vorbin {
namespace {

TEST(RectMath, NormalizeAndIntersect) {
  EXPECT_EQ(normalizeRect({10, 20, 0, 5}), (Rect{0, 5, 10, 20}));
  EXPECT_EQ(intersectRect({-5, -5, 50, 50}, {0, 0, 40, 30}), (Rect{0, 0, 40, 30}));
  EXPECT_TRUE(intersectRect({100, 100, 120, 120}, {0, 0, 40, 30}).empty());
  EXPECT_EQ(intersectRect({40, 30, 10, 10}, {0, 0, 100, 100}), (Rect{10, 10, 40, 30}));
}

TEST(RectMath, KeepInsideShiftsIntoTheArea) {
  Rect area{0, 0, 1000, 800};
  EXPECT_EQ(keepInside({950, 780, }, 100, 50, area), (Point{900, 750}));
  EXPECT_EQ(keepInside({-30, -40}, 100, 50, area), (Point{0, 0}));
  EXPECT_EQ(keepInside({10, 10}, 100, 50, area), (Point{10, 10}));
  // Bigger than the area: the top-left corner stays visible.
  EXPECT_EQ(keepInside({500, 500}, 2000, 900, area), (Point{0, 0}));
  // Extreme positions from a damaged profile.
  EXPECT_EQ(keepInside({INT_MAX, INT_MIN}, 100, 50, area), (Point{900, 0}));
}

TEST(RectMath, ProportionalMappingBetweenScreens) {
  Rect left{0, 0, 1000, 800};
  Rect right{1000, 0, 3000, 1600};
  EXPECT_EQ(mapProportional({500, 400}, left, right), (Point{2000, 800}));
  EXPECT_EQ(mapProportional({0, 0}, left, right), (Point{1000, 0}));
  EXPECT_EQ(mapProportional({5, 5}, {0, 0, 0, 0}, right), (Point{1000, 0}));
}

TEST(RectMath, NearestAreaAndReachability) {
  Rect areas[] = {{0, 0, 1000, 800}, {1000, 0, 2000, 800}};
  EXPECT_EQ(nearestArea({1500, 10}, areas), 1);
  EXPECT_EQ(nearestArea({-400, 10}, areas), 0);
  EXPECT_EQ(nearestArea({INT_MAX, INT_MAX}, areas), 1);
  EXPECT_EQ(nearestArea({0, 0}, {}), -1);
  EXPECT_TRUE(reachable({1990, 10}, 100, 100, areas, 8));
  EXPECT_FALSE(reachable({1995, 10}, 100, 100, areas, 8));
  EXPECT_FALSE(reachable({-32000, -32000}, 100, 100, areas, 8));
  EXPECT_EQ(centeredBelowThird({500, 300}, 200, 90), (Point{400, 270}));
}

}  // namespace
}  // namespace vorbin
