// The bar's areas painted into a display-format bar image: marks, lamps,
// caption boxes, frame, labels and buttons checked by pixel; the whole bar is
// also saved as an artefact to look at.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/gdi.h"
#include "launcher/render/bar_painter.h"
#include "launcher/render/dc_pixels.h"
#include "launcher/render/paint_primitives.h"
#include "tests/painting/canvas.h"
#include "tests/support/e2e.h"

namespace vorbin {
namespace {

// Saves a canvas as <artifactDir>/<name>.bmp to look at.
void saveArtifact(const Canvas& c, const wchar_t* name) {
  e2e::Capture cap;
  cap.width = c.width();
  cap.height = c.height();
  cap.pixels = readPixels(c.dc(), {0, 0, c.width(), c.height()});
  cap.saveBmp(e2e::artifactDir() + L"\\" + name + L".bmp");
}

class BarPainterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setBlendPath(BlendPath::kOwn);
    layout = computeBarLayout(LayoutMetrics{}, false, 0);
    height = clientHeightForRows(layout, 4);
    layout = computeBarLayout(LayoutMetrics{}, false, height);
    kit.colours = defaultBarColours();
    ASSERT_TRUE(kit.loadStrips(GetModuleHandleW(nullptr), layout));
    // Left of the caption boxes, as the bar window places them.
    const int right = layout.captionBoxes[0].left - 4;
    state.indicatorBox = {right - 30, layout.y0 + 1, right, layout.y0 + layout.c + 1};
    state.clockBox = {right - 120, layout.y0 + 1, right - 36, layout.y0 + layout.c + 1};
    state.clockText = L"12/08 01:40";
    state.indicatorText = L"57";
    state.commandLabels =
        parseCommandLabels(L"Switch,S,Normal,N,Minimize,M,Maximize,G,Hide,D,Pin,U,Unpin,A,Close,Z,Button,R");
  }
  BarLayout layout;
  int height = 0;
  PaintKit kit;
  BarPaintState state;
};

TEST_F(BarPainterTest, GroupModeBar) {
  Canvas img(layout.width, height);
  state.displayMode = 1;
  paintWholeBar(img.dc(), layout.width, height, layout, kit, state);
  saveArtifact(img, L"painting_bar_group");

  // Mode buttons: only the three of group mode; box 1 shows the current display mode.
  const PixelRect m0 = layout.modeButtons[0], m1 = layout.modeButtons[1];
  EXPECT_EQ(img.at(m1.left + 2, m1.top + 2), (Rgb{255, 0, 0}));
  EXPECT_EQ(img.at(m0.left + 2, m0.top + 2), (Rgb{64, 64, 64}));
  const PixelRect m3 = layout.modeButtons[3];
  EXPECT_EQ(img.count({64, 64, 64}, {m3.left, m3.top, m3.right, m3.bottom}), 0);

  // Function keys: the separator in FunctionKey dark3; lamps off outside task mode.
  const ColourSlot& fk = kit.slot(SlotId::kFunctionKey);
  const PixelRect k0 = layout.functionKeys[0];
  EXPECT_EQ(img.at(k0.right - 1, k0.top + 8), fk.dark[3]);
  EXPECT_EQ(img.at(k0.left + 5, k0.top), mixed(fk.base, fk.light[3], 128));  // the released face
  const Rgb lit = mixed(fk.base, kit.slot(SlotId::kLight).base, 128);
  for (int k = 2; k <= 4; ++k) {
    const PixelRect key = layout.functionKeys[k];
    EXPECT_EQ(img.count(lit, {key.left, key.top, key.right, key.bottom}), 0);
  }

  // Caption boxes: not maximized, no green.
  const PixelRect c0 = layout.captionBoxes[0];
  EXPECT_EQ(img.count({0, 255, 0}, {c0.left, c0.top, c0.right, c0.bottom}), 0);
  // The grid area is ApplBase inside its black outline.
  EXPECT_EQ(img.at(layout.grid.left + 10, layout.grid.top + 10), kit.slot(SlotId::kApplBase).base);
  EXPECT_EQ(img.at(layout.grid.left - 1, layout.grid.top + 10), (Rgb{0, 0, 0}));
  // The rounded frame leaves the very corner in Bord.
  EXPECT_EQ(img.at(0, 0), kit.slot(SlotId::kBord).base);
  // Readouts are drawn on Bord darkened by half.
  const Rgb dim = mixed(kit.slot(SlotId::kBord).base, {0, 0, 0}, 128);
  EXPECT_EQ(img.at(state.clockBox.left + 1, state.clockBox.top + 1), dim);
  EXPECT_GT(img.count({0, 255, 255}, state.clockBox), 0);
}

TEST_F(BarPainterTest, TaskModeBarLightsTheTaskLamp) {
  layout = computeBarLayout(LayoutMetrics{}, true, height);
  Canvas img(layout.width, height);
  state.taskMode = true;
  state.displayMode = 2;
  state.taskDetails = true;
  state.maximized = true;
  paintWholeBar(img.dc(), layout.width, height, layout, kit, state);
  saveArtifact(img, L"painting_bar_task");

  const ColourSlot& fk = kit.slot(SlotId::kFunctionKey);
  const Rgb lit = mixed(fk.base, kit.slot(SlotId::kLight).base, 128);
  const PixelRect task = layout.functionKeys[2], top = layout.functionKeys[3];
  EXPECT_GT(img.count(lit, {task.left, task.top, task.right, task.bottom}), 0);
  EXPECT_EQ(img.count(lit, {top.left, top.top, top.right, top.bottom}), 0);

  const PixelRect m2 = layout.modeButtons[2], m6 = layout.modeButtons[6];
  EXPECT_EQ(img.at(m2.left + 2, m2.top + 2), (Rgb{255, 0, 0}));
  EXPECT_EQ(img.at(m6.left + 2, m6.top + 2), (Rgb{255, 0, 0}));  // task details shown

  const PixelRect c0 = layout.captionBoxes[0];
  EXPECT_GT(img.count({0, 255, 0}, {c0.left, c0.top, c0.right, c0.bottom}), 0);

  // Command buttons carry their labels in CommandName colour.
  const PixelRect b0 = layout.commandButtons[0];
  EXPECT_GT(img.count(kit.slot(SlotId::kCommandName).base, {b0.left, b0.top, b0.right, b0.bottom}), 0);
}

TEST_F(BarPainterTest, FlatFrameIsASingleBevel) {
  Canvas img(200, 100);
  const ColourSlot bord = defaultSlot(SlotId::kBord);
  areaFill(img.dc(), {0, 0, 200, 100}, {0, 0}, bord, nullptr);
  paintFrame(img.dc(), {0, 0, 200, 100}, bord.base, 0, 0);
  EXPECT_EQ(img.at(0, 50), (Rgb{255, 255, 255}));
  EXPECT_EQ(img.at(199, 50), (Rgb{0, 0, 0}));
  EXPECT_EQ(img.at(1, 50), bord.base);  // one line only
  areaFill(img.dc(), {0, 0, 200, 100}, {0, 0}, bord, nullptr);
  paintFrame(img.dc(), {0, 0, 200, 100}, bord.base, 25, 0);
  // Rounded: the outer outline is white on the left and black on the right, half
  // blended into Bord; the corner itself stays outside the outline.
  EXPECT_EQ(img.at(0, 50), mixed(bord.base, {255, 255, 255}, 128));
  EXPECT_EQ(img.at(199, 50), mixed(bord.base, {0, 0, 0}, 128));
  EXPECT_EQ(img.at(0, 0), bord.base);
  const Rgb secondLight = frameShades(bord.base)[1].light;
  EXPECT_EQ(img.at(1, 50), mixed(bord.base, secondLight, 128));

  // Only the frame changes: a patterned bar keeps every pixel away from the
  // edges and the corner curves, and the curves themselves are drawn.
  Canvas pattern(200, 100), framed(200, 100);
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 200; ++x) {
      const Rgb c{static_cast<uint8_t>(x), static_cast<uint8_t>(y * 2), static_cast<uint8_t>(x ^ y)};
      SetPixelV(pattern.dc(), x, y, RGB(c.r, c.g, c.b));
      SetPixelV(framed.dc(), x, y, RGB(c.r, c.g, c.b));
    }
  }
  paintFrame(framed.dc(), {0, 0, 200, 100}, bord.base, 41, 0);
  int changedInside = 0, changedCorner = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 200; ++x) {
      const bool inside = x >= 24 && x < 176 && y >= 24 && y < 76;
      const bool changed = !(framed.at(x, y) == pattern.at(x, y));
      if (inside && changed) ++changedInside;
      if (x < 20 && y < 20 && changed) ++changedCorner;
    }
  }
  EXPECT_EQ(changedInside, 0);
  EXPECT_GT(changedCorner, 10);
  EXPECT_EQ(framed.at(100, 0), mixed(pattern.at(100, 0), {255, 255, 255}, 128));
  EXPECT_EQ(framed.at(100, 99), mixed(pattern.at(100, 99), {0, 0, 0}, 128));
}

TEST_F(BarPainterTest, ButtonHighlightImageAndShortenedName) {
  Canvas img(200, 100);
  const ColourSlot& appl = kit.slot(SlotId::kApplBase);
  areaFill(img.dc(), {0, 0, 200, 100}, {0, 0}, appl, nullptr);
  ButtonPaint b;
  b.cell = {0, 0, 72, 72};
  b.highlightBox = b.cell;
  b.imageRect = {20, 3, 52, 35};
  b.nameBox = RECT{2, 37, 70, 69};
  b.name = L"An extremely long name for a button that cannot fit at all";
  b.highlighted = true;
  b.highlightColour = Rgb{255, 255, 255};
  b.actColorAlpha = 0;
  EXPECT_TRUE(paintButton(img.dc(), kit, b));
  EXPECT_EQ(img.at(10, 20), (Rgb{255, 255, 255}));  // plain highlight colour
  EXPECT_EQ(img.at(0, 30), (Rgb{0, 0, 0}));         // outline

  b.cell = b.highlightBox = {100, 0, 172, 72};
  b.nameBox = RECT{102, 37, 170, 69};
  b.name = L"Calc";
  b.highlighted = false;
  EXPECT_FALSE(paintButton(img.dc(), kit, b));
  EXPECT_EQ(img.at(110, 20), appl.base);
}

TEST_F(BarPainterTest, TabsHighlightBevelAndShortenedTitles) {
  Canvas img(layout.width, height);
  TabsPaint t;
  t.tabs = {{L"Tools"}, {L"Games"}, {L"A group title far too long to fit into one tab"}};
  t.current = 2;
  t.highlightColour = Rgb{255, 255, 255};
  t.actColorAlpha = 0;
  const TabLayout tabs = tabLayout(layout, 1);
  const std::vector<int> shortened = paintTabs(img.dc(), layout, kit, tabs, t);
  EXPECT_EQ(shortened, std::vector<int>{3});
  const PixelRect t1 = tabRect(layout, tabs, 1, 0), t2 = tabRect(layout, tabs, 2, 0);
  const ColourSlot& group = kit.slot(SlotId::kGroupBase);
  EXPECT_EQ(img.at(t1.left, t1.top + 5), group.light[1]);                         // bevelled tab
  EXPECT_EQ(img.at(t2.left + 1, t2.bottom - 2), (Rgb{255, 255, 255}));            // plain highlight
  EXPECT_EQ(img.at(layout.tabArea.right - 2, t2.top + 2), (Rgb{255, 255, 255}));  // across the area
  const PixelRect t3 = tabRect(layout, tabs, 3, 0);
  EXPECT_EQ(img.at(t3.left + 3, t3.bottom - 1), group.dark[1]);  // the last tab is closed

  // Scrolled past every tab: only the GroupBase fill remains.
  t.scrollOffset = 1000;
  paintTabs(img.dc(), layout, kit, tabs, t);
  const RECT area{layout.tabArea.left, layout.tabArea.top, layout.tabArea.right, layout.tabArea.bottom};
  EXPECT_EQ(img.count(group.base, area), (area.right - area.left) * (area.bottom - area.top));
}

TEST_F(BarPainterTest, IconTabsWrapIntoRows) {
  Canvas img(layout.width, height);
  TabsPaint t;
  t.tabs.resize(5);
  t.current = 5;
  t.highlightColour = Rgb{255, 255, 255};
  t.actColorAlpha = 0;
  const TabLayout tabs = tabLayout(layout, 3);
  ASSERT_EQ(tabs.perRow, 4);
  paintTabs(img.dc(), layout, kit, tabs, t);
  const PixelRect fifth = tabRect(layout, tabs, 5, 0);
  EXPECT_EQ(fifth.top, layout.tabArea.top + tabs.tabHeight);
  EXPECT_EQ(img.at(fifth.left + 5, fifth.top),
            kit.slot(SlotId::kGroupBase).base);  // box starts a pixel lower
  EXPECT_EQ(img.at(fifth.left + 5, fifth.top + 1), (Rgb{255, 255, 255}));
}

TEST_F(BarPainterTest, AmPmMarkOnlyOnTheTwelveHourClock) {
  Canvas img(layout.width, height);
  const RECT box{10, 10, 60, 30};
  const Rgb dim = mixed(kit.slot(SlotId::kBord).base, {0, 0, 0}, 128);
  state.amPmBox = box;
  state.hour = 15;
  state.is24Hour = true;
  paintWholeBar(img.dc(), layout.width, height, layout, kit, state);
  EXPECT_EQ(img.count(dim, box), 0);
  state.is24Hour = false;
  paintWholeBar(img.dc(), layout.width, height, layout, kit, state);
  EXPECT_GT(img.count(dim, box), 0);
  EXPECT_GT(img.count({255, 255, 255}, box), 0);
}

}  // namespace
}  // namespace vorbin
