// Sizes at 150 % and 200 %: the scaling rule, the choice of drawn strips, the
// place taken on a DPI change, and the bar's layout at 144 and 192 DPI from
// font and system metrics that scale as the system's do.
#include "launcher/render/dpi_scale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

#include "launcher/render/bar_layout.h"

namespace vorbin {
namespace {

TEST(DpiScale, RoundsToTheNearestPixelHalvesAwayFromZero) {
  struct Case {
    int value, dpi, expected;
  } cases[] = {
      {16, 96, 16},
      {16, 144, 24},
      {16, 192, 32},
      {1, 144, 2},  // 1.5 -> 2
      {3, 144, 5},
      {5, 144, 8},
      {-12, 144, -18},
      {-1, 144, -2},  // sign kept
      {5, 120, 6},
      {7, 120, 9},
      {2, 120, 3},
      {13, 168, 23},  // 6.25, 8.75, 2.5, 22.75
      {0, 192, 0},
      {16, 0, 16},
      {16, -5, 16},
      {4, 72, 3},                                                               // no DPI: 96; 3 exactly
      {std::numeric_limits<int>::max(), 192, std::numeric_limits<int>::max()},  // no overflow
  };
  for (const Case& c : cases) EXPECT_EQ(scaleToDpi(c.value, c.dpi), c.expected) << c.value << " at " << c.dpi;
  // Back from the DPI to 96: what was scaled comes back.
  for (int v : {1, 2, 3, 16, 17, 38, 52}) {
    EXPECT_EQ(unscaleFromDpi(scaleToDpi(v, 192), 192), v);
    EXPECT_EQ(unscaleFromDpi(scaleToDpi(v, 144), 144), v);
  }
}

TEST(DpiScale, StripsOfTheNearestDrawnScaleTiesGoingDown) {
  struct Case {
    int dpi, percent;
  } cases[] = {{96, 100},  {72, 100},  {0, 100},   {120, 100}, {121, 150},
               {144, 150}, {168, 150}, {169, 200}, {192, 200}, {288, 200}};
  for (const Case& c : cases) EXPECT_EQ(stripPercent(c.dpi), c.percent) << c.dpi;
  EXPECT_EQ(stripResourceId(289, 100), 289);
  EXPECT_EQ(stripResourceId(289, 150), 1289);
  EXPECT_EQ(stripResourceId(291, 200), 2291);
}

TEST(DpiScale, ADpiChangeTakesTheSuggestedPlaceOrScalesAroundTheCorner) {
  const DpiRect bar{100, 50, 660, 450};
  const DpiRect suggested{1400, 60, 2240, 660};
  EXPECT_EQ(rectForDpiChange(bar, 96, 144, &suggested), suggested);
  // No suggestion, or an empty one: the corner stays, the size follows the DPI.
  EXPECT_EQ(rectForDpiChange(bar, 96, 144, nullptr), (DpiRect{100, 50, 940, 650}));
  const DpiRect empty{10, 10, 10, 400};
  EXPECT_EQ(rectForDpiChange(bar, 192, 96, &empty), (DpiRect{100, 50, 380, 250}));
  EXPECT_EQ(rectForDpiChange(bar, 0, 0, nullptr), bar);
}

// Font and system metrics as the system gives them at a DPI: the font's
// heights follow the DPI (to the pixel), so do the caption buttons, frames and
// scroll bars; EllipseWidth stays a size at 96.
LayoutMetrics metricsAt(int dpi) {
  LayoutMetrics m;
  m.textHeight = scaleToDpi(14, dpi);
  m.ascent = scaleToDpi(11, dpi);
  m.tabTextHeight = scaleToDpi(15, dpi);
  m.menuAscent = scaleToDpi(11, dpi);
  m.buttonFontHeight = scaleToDpi(-11, dpi);
  m.captionButtonHeight = scaleToDpi(18, dpi);
  m.frameWidth = m.frameHeight = scaleToDpi(4, dpi);
  m.scrollBarWidth = scaleToDpi(17, dpi);
  m.interfaceFontHeight = scaleToDpi(13, dpi);
  m.dpi = dpi;
  return m;
}

void expectScaled(int at96, int atDpi, double factor, const char* what) {
  EXPECT_LE(std::abs(atDpi - at96 * factor), 1.0) << what << ": " << at96 << " -> " << atDpi;
}

TEST(BarLayoutAtDpi, EveryAreaGrowsWithTheDpi) {
  const BarLayout base = computeBarLayout(metricsAt(96), false, 0);
  for (int dpi : {144, 192}) {
    SCOPED_TRACE(dpi);
    const double f = dpi / 96.0;
    // The height for four rows, like the default bar's.
    const BarLayout probe = computeBarLayout(metricsAt(dpi), false, 0);
    const BarLayout l = computeBarLayout(metricsAt(dpi), false, clientHeightForRows(probe, 4));
    const BarLayout b = computeBarLayout(metricsAt(96), false, clientHeightForRows(base, 4));
    EXPECT_EQ(l.dpi, dpi);
    EXPECT_EQ(l.visibleRows, 4);
    expectScaled(b.H, l.H, f, "button cell");
    expectScaled(b.functionRow.height(), l.functionRow.height(), f, "function-key row");
    expectScaled(b.keyWidth, l.keyWidth, f, "key width");
    expectScaled(b.labelH, l.labelH, f, "label line");
    expectScaled(b.c, l.c, f, "caption box");
    expectScaled(b.captionBoxes[1].left, l.captionBoxes[1].left, f, "close box place");
    expectScaled(b.modeButtons[0].height(), l.modeButtons[0].height(), f, "mode button");
    expectScaled(b.logoBox.height(), l.logoBox.height(), f, "logo");
    expectScaled(b.grid.top, l.grid.top, f, "grid top");
    expectScaled(b.tabArea.left, l.tabArea.left, f, "tab area");
    expectScaled(b.scrollUp.height(), l.scrollUp.height(), f, "scroll button");
    expectScaled(b.groupScroll[0].height(), l.groupScroll[0].height(), f, "group scroll button");
    expectScaled(b.ellipseWidth, l.ellipseWidth, f, "corner");
    // Sums of several rounded parts may be off by a pixel each.
    EXPECT_LE(std::abs(l.width - b.width * f), 3.0) << b.width << " -> " << l.width;
    EXPECT_LE(std::abs(clientHeightForRows(l, 4) - clientHeightForRows(b, 4) * f), 3.0);
    // Images and tabs of every mode.
    for (int mode : {0, 1, 2}) {
      const CellLayout c0 = gridCells(b, mode), c1 = gridCells(l, mode);
      expectScaled(c0.cellWidth, c1.cellWidth, f, "cell width");
      expectScaled(c0.imageSize, c1.imageSize, f, "image");
      if (c0.nameBox) expectScaled(c0.nameBox->height(), c1.nameBox->height(), f, "name box");
    }
    for (int mode : {0, 1, 2, 3, 4}) {
      const TabLayout t0 = tabLayout(b, mode), t1 = tabLayout(l, mode);
      expectScaled(t0.tabHeight, t1.tabHeight, f, "tab height");
      expectScaled(t0.imageSize, t1.imageSize, f, "tab image");
      EXPECT_EQ(t0.perRow, t1.perRow) << "mode " << mode;
    }
    expectScaled(quickImageRect(b, 0).width(), quickImageRect(l, 0).width(), f, "quick image");
  }
}

TEST(BarLayoutAtDpi, CommandButtonsFitTheirWidestLabel) {
  LayoutMetrics m = metricsAt(144);
  const int plain = computeBarLayout(m, true, 600).commandWidth;
  EXPECT_EQ(plain, 5 * m.interfaceFontHeight + scaleToDpi(9, 144));
  // A narrow label changes nothing; a wide one widens the buttons so that
  // the label, the key mark and their margins fit, and the tab area gives way.
  m.commandTextWidth = 40;
  EXPECT_EQ(computeBarLayout(m, true, 600).commandWidth, plain);
  m.commandTextWidth = 120;
  const BarLayout wide = computeBarLayout(m, true, 600);
  EXPECT_EQ(wide.commandWidth, 120 + 21 + 6 + 1);
  const PixelRect& button = wide.commandButtons[0];
  EXPECT_GE(button.width() - 1 - scaleToDpi(14, 144) - scaleToDpi(2, 144), 120);
  EXPECT_LE(wide.tabArea.right, button.left);
}

TEST(BarLayoutAtDpi, TheFormulasThresholdsMoveWithTheDpi) {
  // The switch between the two button formulas: 22 px at 144 DPI is a font
  // of less than 15 px at 96, 24 px one of 16.
  EXPECT_EQ(buttonHeight(22, 144), 2 * 22 + 57);
  EXPECT_EQ(buttonHeight(24, 144), 4 * 24 + 12);
  EXPECT_EQ(buttonHeight(30, 192), 2 * 30 + 76);
  EXPECT_EQ(labelHeight(12, -18, 144), 17);  // 15 or less gives 11 at 96, 17 here
  EXPECT_EQ(labelHeight(18, -18, 144), 21);  // ascent + 3
  EXPECT_EQ(labelHeight(30, -18, 192), 26);  // at most |height| + 8
}

}  // namespace
}  // namespace vorbin
