// The real launcher's bar on a seeded profile: its captured pixels show the
// frame in the profile's Bord colour, the key labels, the group tabs and the
// items' images where the layout code puts them.
#include <gtest/gtest.h>

#include "launcher/model/group_table.h"
#include "launcher/model/registry_profile.h"
#include "launcher/model/settings.h"
#include "launcher/render/bar_fonts.h"
#include "tests/app/launcher_driver.h"
#include "tests/support/e2e.h"

namespace vorbin {
namespace {

constexpr uint32_t kMagenta = 0xFF00FF;

IconImage solidImage() {
  IconImage image;
  image.depth = 24;
  image.bits.assign(imageByteSize(24), 0);
  for (size_t i = 128; i + 2 < image.bits.size(); i += 3) image.bits[i] = image.bits[i + 2] = 255;
  return image;
}

// Two groups; the first holds images at slots 0 and 2.
void seedGroups() {
  RegistryProfile profile;
  GroupTable table(profile, ModelOptions{});
  table.loadGroups();
  const std::wstring work = L"Work", play = L"Play";
  ASSERT_EQ(table.ensureGroup(1, &work, false), 1);
  ASSERT_EQ(table.ensureGroup(static_cast<int>(table.placeholderIndex()), &play, false), 2);
  for (int slot : {0, 2}) {
    auto item = std::make_unique<Item>();
    item->title = L"Item " + std::to_wstring(slot);
    item->setTargetPath(L"C:\\windows\\notepad.exe");
    item->image = solidImage();
    table.placeItem(1, slot, std::move(item));
    ASSERT_TRUE(table.saveItem(1, slot, false));
  }
  table.saveOrder();
}

int countIn(const e2e::Capture& cap, const PixelRect& r, uint32_t colour) {
  int n = 0;
  for (int y = std::max(0, r.top); y < std::min(cap.height, r.bottom); ++y)
    for (int x = std::max(0, r.left); x < std::min(cap.width, r.right); ++x) n += cap.at(x, y) == colour;
  return n;
}

TEST(BarPaintEndToEnd, SeededProfileIsPaintedWhereTheLayoutPutsIt) {
  e2e::profile::clear();
  seedGroups();
  e2e::profile::setString(L"Colors", L"Bord", L"150 40 70 50");
  e2e::profile::setString(L"Settings", L"ActGroup", L"1");
  e2e::Process launcher;
  HWND bar = driver::startBarInFront(launcher);
  ASSERT_NE(bar, nullptr);

  RECT client;
  GetClientRect(bar, &client);
  LayoutMetrics metrics;
  {
    HDC screen = GetDC(nullptr);
    metrics = measureLayoutMetrics(screen, FontSettings{}, 25, 0, 4);
    ReleaseDC(nullptr, screen);
  }
  const BarLayout l = computeBarLayout(metrics, false, client.bottom);
  EXPECT_EQ(client.right, l.width);

  const auto cap = e2e::captureToArtifact(bar, L"bar_e2e_seeded");
  ASSERT_TRUE(cap.has_value());
  EXPECT_EQ(cap->at(l.x0 + 1, (l.grid.top + l.grid.bottom) / 2), 0x962846u) << "Bord from the profile";
  EXPECT_GT(countIn(*cap, l.labelLine, 0xFFFFFF), 20) << "function-key labels";
  const TabLayout tabs = tabLayout(l, 0);
  EXPECT_GT(countIn(*cap, tabRect(l, tabs, 1, 0), 0xFFFFFF), 10) << "tab of Work";
  EXPECT_GT(countIn(*cap, tabRect(l, tabs, 2, 0), 0xFFFFFF), 10) << "tab of Play";
  const CellLayout cells = gridCells(l, 0);
  for (int slot : {0, 2}) {
    const PixelRect image = gridButton(l, cells, slot).image;
    EXPECT_EQ(countIn(*cap, image, kMagenta), image.width() * image.height()) << "slot " << slot;
  }
  EXPECT_EQ(countIn(*cap, gridButton(l, cells, 1).cell, kMagenta), 0);
  // The clock's digits at the right of the caption row, before the caption boxes.
  const PixelRect readouts{l.captionText.right - 120, l.captionText.top, l.captionText.right,
                           l.captionText.bottom};
  EXPECT_GT(countIn(*cap, readouts, 0x00FFFF), 20) << "clock in the Indicator colour";
  e2e::closeAndWait(launcher, bar);
}

}  // namespace
}  // namespace vorbin
