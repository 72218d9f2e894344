// Layout of the bar's areas for a few font metrics; expected rectangles are
// worked out by hand from the layout rules.
#include "launcher/render/bar_layout.h"

#include <gtest/gtest.h>

#include "tests/painting/print_helpers.h"

namespace vorbin {
namespace {

// t = 16, a = 13, frame 4, caption buttons 18, EllipseWidth 25, FlatRatio 0:
// H = 72, h = 36, L = 13, c = 16, inset 2 so x0 = y0 = 6, W = 558.
LayoutMetrics normalFont() { return LayoutMetrics{}; }

TEST(LayoutMetrics, ButtonHeightSwitchesFormulaAbove15) {
  EXPECT_EQ(buttonHeight(15), 68);
  EXPECT_EQ(buttonHeight(16), 72);
  EXPECT_EQ(buttonHeight(8), 54);
}

TEST(LayoutMetrics, LabelHeightBounds) {
  EXPECT_EQ(labelHeight(8, -12), 11);   // 10 or less gives 11
  EXPECT_EQ(labelHeight(11, -12), 13);  // ascent + 2
  EXPECT_EQ(labelHeight(20, -12), 16);  // at most |font height| + 4
  EXPECT_EQ(labelHeight(20, 14), 18);
}

TEST(LayoutMetrics, CornerEllipseAndInset) {
  EXPECT_EQ(cornerEllipse(25, 0).width, 25);
  EXPECT_EQ(cornerEllipse(25, -50).width, 12);
  EXPECT_EQ(cornerEllipse(25, -50).height, 25);
  EXPECT_EQ(cornerEllipse(25, 60).height, 10);
  // r = 1: (2 - sqrt 2) * 25 / 4 = 3.66 -> 3, minus 1.
  EXPECT_EQ(roundedInset(25, 0), 2);
  // r = 0.5: 0.5 * (1.5 - 1) * 25 / 1.25 / 2 = 2.5 -> 2, minus 1.
  EXPECT_EQ(roundedInset(25, -50), 1);
  EXPECT_EQ(roundedInset(25, 50), 1);
  EXPECT_EQ(roundedInset(0, 0), -1);
  EXPECT_EQ(roundedInset(1000, 0), 145);
}

TEST(LayoutMetrics, FontHeightAdjustedInTenthsOfAPoint) {
  // -12 px at 96 dpi is 9 pt: half a point less gives 8.5 pt = 11.3 px.
  EXPECT_EQ(adjustedFontHeight(-12, -5, 96), -11);
  EXPECT_EQ(adjustedFontHeight(-12, 15, 96), -14);  // 10.5 pt
  EXPECT_EQ(adjustedFontHeight(16, 0, 96), 16);     // a cell height keeps its sign
  EXPECT_EQ(adjustedFontHeight(-24, -5, 192), -23);
  EXPECT_EQ(adjustedFontHeight(-12, -1000, 96), -1);  // never below a pixel
  EXPECT_EQ(adjustedFontHeight(-12, 0, 0), -12);      // unknown resolution: 96
}

TEST(BarLayout, CaptionRowAndControlBox) {
  const BarLayout l = computeBarLayout(normalFont(), false, 400);
  EXPECT_EQ(l.H, 72);
  EXPECT_EQ(l.x0, 6);
  EXPECT_EQ(l.width, 558);
  EXPECT_EQ(l.controlBox, (PixelRect{9, 7, 25, 23}));
  EXPECT_EQ(l.captionText, (PixelRect{27, 7, 511, 23}));
  EXPECT_EQ(l.captionBoxes[0], (PixelRect{514, 7, 530, 23}));
  EXPECT_EQ(l.captionBoxes[1], (PixelRect{532, 7, 548, 23}));
}

TEST(BarLayout, FunctionKeysLogoAndModeButtons) {
  const BarLayout l = computeBarLayout(normalFont(), false, 400);
  EXPECT_EQ(l.keyWidth, 67);
  EXPECT_EQ(l.functionKeys[0], (PixelRect{9, 40, 76, 56}));
  EXPECT_EQ(l.functionKeys[7], (PixelRect{478, 40, 545, 56}));
  EXPECT_EQ(l.labelLine.top, 26);
  EXPECT_EQ(l.labelLine.bottom, 40);
  EXPECT_EQ(l.logoBox, (PixelRect{10, 57, 81, 73}));
  EXPECT_EQ(l.modeWidth, 45);
  EXPECT_EQ(l.modeButtons[0], (PixelRect{82, 57, 127, 73}));
  EXPECT_EQ(l.modeButtons[2].right, 217);
  // A gap of one button width after the third.
  EXPECT_EQ(l.modeButtons[3].left, 262);
  EXPECT_EQ(l.modeButtons[6].right, 442);
}

TEST(BarLayout, GroupAreaGridScrollColumnAndQuickList) {
  const BarLayout l = computeBarLayout(normalFont(), false, 400);
  // (400 - 12 - 13 - 16) / 72 = 4 rows.
  EXPECT_EQ(l.visibleRows, 4);
  EXPECT_EQ(l.grid, (PixelRect{225, 61, 513, 349}));
  EXPECT_EQ(l.tabArea, (PixelRect{10, 75, 217, 349}));
  EXPECT_EQ(l.groupScroll[0], (PixelRect{10, 75, 217, 91}));
  EXPECT_EQ(l.groupScroll[1].bottom, 349);
  // s = 4 * 36 = 144, f = (144 - 18) / 2 = 63.
  EXPECT_EQ(l.scrollNumber, (PixelRect{513, 61, 549, 79}));
  EXPECT_EQ(l.scrollUp, (PixelRect{513, 79, 549, 142}));
  EXPECT_EQ(l.scrollDown, (PixelRect{513, 142, 549, 205}));
  EXPECT_EQ(l.quickList.top, 205);
}

TEST(BarLayout, TaskModeMakesRoomForCommandButtons) {
  LayoutMetrics m = normalFont();
  m.interfaceFontHeight = 16;
  const BarLayout l = computeBarLayout(m, true, 400);
  EXPECT_EQ(l.commandWidth, 89);
  EXPECT_EQ(l.tabArea.right, 558 - 6 - 89 - 12);
  EXPECT_EQ(l.commandButtons[0], (PixelRect{460, 64, 549, 92}));
  EXPECT_EQ(l.commandButtons[8].top, 64 + 8 * 28);
}

TEST(BarLayout, SmallFontAndFlatterFrame) {
  LayoutMetrics m;
  m.textHeight = 5;
  m.ascent = 4;
  m.menuAscent = 7;
  m.frameWidth = m.frameHeight = 3;
  m.flatRatio = -50;
  m.scrollBtnSize = 1;
  const BarLayout l = computeBarLayout(m, false, 300);
  EXPECT_EQ(l.H, 48);
  EXPECT_EQ(l.labelH, 11);
  EXPECT_EQ(l.x0, 4);
  EXPECT_EQ(l.logoWidth, 52);  // H below 49
  EXPECT_EQ(l.modeWidth, 28);
  EXPECT_EQ(l.clockFontHeight, 15);
  // s = 24, f = (24 - 12) / 2 = 6: number box 12, arrows 6 each.
  EXPECT_EQ(l.scrollNumber.height(), 12);
  EXPECT_EQ(l.scrollDown.bottom, l.grid.top + 24);
  EXPECT_EQ(l.quickList.top, l.grid.top + 24);
}

TEST(BarLayout, ModeButtonsNeverNarrowerThan19) {
  LayoutMetrics m;
  m.textHeight = 1;  // H = 40, G = 52: (120 - 58) / 3 = 20
  EXPECT_EQ(computeBarLayout(m, false, 300).modeWidth, 20);
  // A frame as round as allowed leaves the buttons their minimum width.
  m.ellipseWidth = 1000;
  const BarLayout l = computeBarLayout(m, false, 300);
  EXPECT_GE(l.modeWidth, 19);
  EXPECT_EQ(l.x0, 145 + 4);
}

TEST(BarLayout, ClientHeightForRowsShowsExactlyThoseRows) {
  for (int t : {1, 12, 15, 16, 24}) {
    LayoutMetrics m;
    m.textHeight = t;
    const BarLayout l = computeBarLayout(m, false, 0);
    EXPECT_EQ(l.visibleRows, 0);
    for (int rows = 1; rows <= 12; ++rows) {
      const int height = clientHeightForRows(l, rows);
      EXPECT_EQ(visibleRows(l, height), rows) << "t=" << t;
      EXPECT_EQ(computeBarLayout(m, false, height).grid.bottom, l.grid.top + rows * l.H);
    }
  }
}

TEST(GridCells, ByButtonMode) {
  const BarLayout l = computeBarLayout(normalFont(), false, 400);
  const CellLayout large = gridCells(l, 0);
  EXPECT_EQ(large.columns, 4);
  EXPECT_EQ(large.imageX, 20);
  EXPECT_EQ(large.imageY, 3);
  ASSERT_TRUE(large.nameBox);
  EXPECT_EQ(*large.nameBox, (PixelRect{2, 37, 70, 69}));
  EXPECT_EQ(visibleSlots(l, large), 16);
  EXPECT_EQ(gridCellRect(l, large, 5), (PixelRect{297, 133, 369, 205}));

  const CellLayout list = gridCells(l, 1);
  EXPECT_EQ(list.columns, 1);
  EXPECT_EQ(list.cellWidth, 288);
  EXPECT_EQ(list.imageSize, 24);  // 2h/3 within 16..32
  EXPECT_EQ(list.imageX, 6);
  ASSERT_TRUE(list.nameBox);
  EXPECT_EQ(list.nameBox->left, 36);
  EXPECT_EQ(list.nameBox->top, 2);
  EXPECT_EQ(list.nameBox->width(), 288 - 24 - 6 - 2);
  EXPECT_EQ(visibleSlots(l, list), 8);
  EXPECT_EQ(gridCellRect(l, list, 3), (PixelRect{225, 169, 513, 205}));

  const CellLayout small = gridCells(l, 2);
  EXPECT_EQ(small.columns, 8);
  EXPECT_FALSE(small.nameBox);
  EXPECT_EQ(visibleSlots(l, small), 64);
  EXPECT_EQ(gridCellRect(l, small, 9), (PixelRect{261, 97, 297, 133}));
}

TEST(GridCells, ButtonGeometryInBarCoordinates) {
  const BarLayout l = computeBarLayout(normalFont(), false, 400);
  const ButtonGeometry large = gridButton(l, gridCells(l, 0), 5);
  EXPECT_EQ(large.image, (PixelRect{317, 136, 349, 168}));
  ASSERT_TRUE(large.name);
  EXPECT_EQ(*large.name, (PixelRect{299, 170, 367, 202}));
  const ButtonGeometry small = gridButton(l, gridCells(l, 2), 9);
  EXPECT_EQ(small.image, (PixelRect{267, 103, 291, 127}));
  EXPECT_FALSE(small.name);
  const ButtonGeometry quick = quickButton(l, 0);
  EXPECT_EQ(quick.cell, quickCellRect(l, 0));
  EXPECT_FALSE(quick.name);
  // Images and names stay inside their cells in the large and small modes.
  for (int mode : {0, 2}) {
    const CellLayout cells = gridCells(l, mode);
    for (int slot = 0; slot < visibleSlots(l, cells); ++slot) {
      const ButtonGeometry g = gridButton(l, cells, slot);
      EXPECT_GE(g.image.left, g.cell.left);
      EXPECT_LE(g.image.right, g.cell.right);
      EXPECT_LE(g.image.bottom, g.cell.bottom);
      if (g.name) EXPECT_LE(g.name->bottom, g.cell.bottom);
    }
  }
}

TEST(GridCells, ListImageSizeClamped) {
  LayoutMetrics m;
  m.textHeight = 1;  // h = 20: 2h/3 = 13 -> 16
  EXPECT_EQ(gridCells(computeBarLayout(m, false, 300), 1).imageSize, 16);
  m.textHeight = 40;  // h = 84: 56 -> 32
  EXPECT_EQ(gridCells(computeBarLayout(m, false, 300), 2).imageSize, 32);
}

TEST(QuickList, CellsAndImages) {
  const BarLayout l = computeBarLayout(normalFont(), false, 400);
  EXPECT_EQ(quickCellRect(l, 2), (PixelRect{513, 277, 549, 313}));
  // Image 2H/6 = 24 at (36 - 24) / 2 = 6.
  EXPECT_EQ(quickImageRect(l, 0), (PixelRect{519, 211, 543, 235}));
}

TEST(Tabs, ByDisplayMode) {
  LayoutMetrics m;
  m.tabTextHeight = 16;
  const BarLayout l = computeBarLayout(m, false, 400);  // tab area 207 wide
  EXPECT_EQ(tabLayout(l, 0).tabHeight, 40);
  EXPECT_EQ(tabLayout(l, 0).textOffset, 12);
  EXPECT_EQ(tabLayout(l, 1).tabHeight, 25);
  EXPECT_EQ(tabLayout(l, 2).tabHeight, 20);
  EXPECT_EQ(tabLayout(l, 2).imageSize, 16);
  EXPECT_EQ(tabLayout(l, 9).tabHeight, 40);  // unknown modes draw as mode 0
  const TabLayout icons = tabLayout(l, 3);
  EXPECT_EQ(icons.perRow, 4);
  EXPECT_EQ(icons.tabWidth, 51);
  EXPECT_FALSE(icons.textOffset);
  EXPECT_EQ(tabLayout(l, 4).perRow, 5);

  // Tab 6 in rows of 4: column 1, row 1; scrolled up by 10.
  EXPECT_EQ(tabRect(l, icons, 6, 10), (PixelRect{62, 105, 113, 145}));
  EXPECT_EQ(tabRect(l, tabLayout(l, 0), 1, 0), (PixelRect{11, 75, 217, 115}));

  m.tabTextHeight = 30;
  const BarLayout big = computeBarLayout(m, false, 400);
  EXPECT_EQ(tabLayout(big, 0).tabHeight, 64);
  EXPECT_EQ(tabLayout(big, 1).tabHeight, 34);
}

TEST(Tabs, NarrowAreaStillHoldsOneColumn) {
  LayoutMetrics m;
  m.interfaceFontHeight = 200;  // command buttons eat the task-mode tab area
  const BarLayout l = computeBarLayout(m, true, 400);
  const TabLayout tabs = tabLayout(l, 3);
  EXPECT_EQ(tabs.perRow, 1);
  EXPECT_GE(tabs.tabWidth, 0);
  EXPECT_EQ(tabRect(l, tabs, 3, 0).top, l.tabArea.top + 80);
}

}  // namespace
}  // namespace vorbin
