// Requests from items and groups, and hit geometry from the painted layout:
// a point inside each painted rectangle must hit the thing painted there.
#include <gtest/gtest.h>

#include "launcher/interact/hit_layout.h"
#include "launcher/interact/item_launch.h"

namespace vorbin {
namespace {

std::unique_ptr<Item> textItem(const std::wstring& target, uint32_t flags) {
  auto item = std::make_unique<Item>();
  item->setTargetPath(target);
  item->flags = flags;
  item->folder = L"C:\\Work";
  item->hotKey = 0x0641;
  return item;
}

TEST(ItemLaunch, RequestsCarryTheItemsFields) {
  const auto item = textItem(L"C:\\a b\\x.exe -p", 0x8000 | kItemRunAs | 2);
  const LaunchRequest request = launchRequestFor(*item, std::wstring(L"C:\\doc.txt"));
  EXPECT_EQ(request.target, L"C:\\a b\\x.exe -p");
  EXPECT_TRUE(request.idList.empty());
  EXPECT_EQ(request.flags, kItemRunAs | 2u);  // record-only bits are dropped
  EXPECT_EQ(request.folder, L"C:\\Work");
  EXPECT_EQ(request.hotKey, 0x0641);
  EXPECT_EQ(request.document, std::optional<std::wstring>(L"C:\\doc.txt"));

  Item list;
  list.flags = kItemIdList;
  list.target = {4, 0, 1, 2, 0, 0};
  const LaunchRequest idRequest = launchRequestFor(list);
  EXPECT_EQ(idRequest.idList, list.target);
  EXPECT_EQ(idRequest.target, L"");
  EXPECT_FALSE(idRequest.document.has_value());
}

TEST(ItemLaunch, GroupStartTakesOccupiedSlotsInOrder) {
  Group group;
  group.startUp = kGroupStartHidden;
  group.items.push_back(textItem(L"first.exe", 0));
  group.items.push_back(nullptr);
  group.items.push_back(textItem(L"third.exe", 1));
  const std::vector<LaunchRequest> requests = groupStartRequests(group);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].target, L"first.exe");
  EXPECT_EQ(requests[1].target, L"third.exe");
  EXPECT_EQ(requests[1].groupStartMode, kGroupStartHidden);
  EXPECT_TRUE(groupStartRequests(Group{}).empty());
}

TEST(ItemLaunch, StartupRunsCommandsThenStartupGroupsInTableOrder) {
  MemoryProfile profile;
  GroupTable groups(profile, ModelOptions{});
  groups.loadGroups();
  const std::wstring a = L"A", b = L"B", c = L"C";
  ASSERT_TRUE(groups.ensureGroup(1, &a, false).has_value());
  ASSERT_TRUE(groups.ensureGroup(2, &b, false).has_value());
  ASSERT_TRUE(groups.ensureGroup(3, &c, false).has_value());
  groups.placeItem(0, 0, textItem(L"quick.exe", 0));
  groups.placeItem(1, 0, textItem(L"a.exe", 0));
  groups.placeItem(2, 1, textItem(L"b.exe", 0));
  groups.placeItem(3, 0, textItem(L"c.exe", 0));
  groups[0].startUp = 1;  // the quick group never starts
  groups[1].startUp = 2;
  groups[3].startUp = 1;

  StartupPlan plan;
  plan.commands = {{L"load.exe", true}, {L"run.exe", false}};
  plan.launchStartupGroups = true;
  std::vector<LaunchRequest> requests = startupRequests(plan, groups);
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0].target, L"load.exe");
  EXPECT_EQ(showCommandFor(requests[0].flags, requests[0].groupStartMode), sw::kMinNoActive);
  EXPECT_EQ(showCommandFor(requests[1].flags, requests[1].groupStartMode), sw::kShowNormal);
  EXPECT_EQ(requests[2].target, L"a.exe");
  EXPECT_EQ(showCommandFor(requests[2].flags, requests[2].groupStartMode), sw::kMinNoActive);
  EXPECT_EQ(requests[3].target, L"c.exe");

  plan.launchStartupGroups = false;
  EXPECT_EQ(startupRequests(plan, groups).size(), 2u);
}

BarLayout sampleLayout(bool taskMode) { return computeBarLayout(LayoutMetrics{}, taskMode, 600); }

int centreX(const PixelRect& r) { return (r.left + r.right) / 2; }
int centreY(const PixelRect& r) { return (r.top + r.bottom) / 2; }

TEST(HitLayout, PaintedCellsAndTabsHitThemselves) {
  const BarLayout layout = sampleLayout(false);
  for (int mode = 0; mode < 3; ++mode) {
    HitState state;
    state.buttonMode = mode;
    const HitGeometry g = hitGeometryFor(layout, state);
    const CellLayout cells = gridCells(layout, mode);
    for (int slot : {0, 1, cells.columns, cells.columns + 1}) {
      const PixelRect cell = gridCellRect(layout, cells, slot);
      EXPECT_EQ(hitTest(g, centreX(cell), centreY(cell)).code(), hitCode(hit_area::kGrid, slot)) << mode;
      // The mode-button row reaches into the first row's top strip; below it the corner is the cell's.
      if (slot >= cells.columns) EXPECT_EQ(hitTest(g, cell.left, cell.top).index, slot) << mode;
    }
  }
  for (int slot : {0, 3}) {
    const PixelRect cell = quickCellRect(layout, slot);
    const HitGeometry g = hitGeometryFor(layout, HitState{});
    EXPECT_EQ(hitTest(g, centreX(cell), centreY(cell)).code(), hitCode(hit_area::kQuick, slot));
  }
  for (int display : {0, 1, 3}) {
    HitState state;
    state.tabDisplayMode = display;
    state.tabCount = 12;
    state.tabScrollOffset = display == 3 ? 0 : 10;
    const HitGeometry g = hitGeometryFor(layout, state);
    const TabLayout tabs = tabLayout(layout, display);
    for (int n : {1, 2, 4}) {
      const PixelRect tab = tabRect(layout, tabs, n, state.tabScrollOffset);
      if (tab.bottom <= layout.tabArea.top || tab.top >= layout.tabArea.bottom) continue;
      EXPECT_EQ(hitTest(g, centreX(tab), std::max(centreY(tab), layout.tabArea.top)).code(),
                hitCode(hit_area::kTabs, n))
          << display;
    }
  }
}

TEST(HitLayout, BoxesOfTheLayoutHitTheirAreas) {
  const BarLayout groups = sampleLayout(false);
  const HitGeometry groupGeometry = hitGeometryFor(groups, HitState{});
  EXPECT_EQ(hitTest(groupGeometry, centreX(groups.scrollDown), centreY(groups.scrollDown)).code(),
            hitCode(hit_area::kListScroll, 2));

  const BarLayout layout = sampleLayout(true);
  HitState state;
  state.taskMode = true;
  state.clockBox = {layout.width - 60, layout.logoBox.top, layout.width - 10, layout.logoBox.bottom};
  const HitGeometry g = hitGeometryFor(layout, state);
  EXPECT_EQ(hitTest(g, centreX(layout.functionKeys[5]), centreY(layout.functionKeys[5])).code(),
            hitCode(hit_area::kFunctionKeys, 5));
  EXPECT_EQ(hitTest(g, centreX(layout.captionBoxes[1]), centreY(layout.captionBoxes[1])).code(),
            hitCode(hit_area::kCaptionBoxes, 1));
  EXPECT_EQ(hitTest(g, centreX(layout.controlBox), centreY(layout.controlBox)).area, hit_area::kControlBox);
  EXPECT_EQ(hitTest(g, centreX(layout.captionText), centreY(layout.captionText)).area, hit_area::kCaption);
  EXPECT_EQ(hitTest(g, centreX(layout.logoBox), centreY(layout.logoBox)).area, hit_area::kLogo);
  EXPECT_EQ(hitTest(g, centreX(layout.modeButtons[4]), centreY(layout.modeButtons[4])).code(),
            hitCode(hit_area::kModes, 4));
  EXPECT_EQ(hitTest(g, centreX(layout.commandButtons[2]), centreY(layout.commandButtons[2])).code(),
            hitCode(hit_area::kCommands, 2));
  EXPECT_EQ(hitTest(g, layout.width - 30, centreY(layout.logoBox)).area, hit_area::kClock);
}

}  // namespace
}  // namespace vorbin
