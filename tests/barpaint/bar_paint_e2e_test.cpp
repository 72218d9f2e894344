// The real launcher's bar on a seeded profile: its captured pixels show the
// frame in the profile's Bord colour, the key labels, the group tabs and the
// items' images where the layout code puts them; at 144 and 192 DPI the bar
// and its parts are measured from the pixels, and the options sheet fits.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <map>

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

// The DPI that programs started from now on take: Wine reads it from
// HKCU\Control Panel\Desktop LogPixels when a process starts. The value as it
// was comes back at the end, so that later tests see 96 again.
class ScreenDpi {
 public:
  explicit ScreenDpi(DWORD dpi) {
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &m_key, nullptr) != ERROR_SUCCESS) {
      m_key = nullptr;
      return;
    }
    DWORD type = 0, size = sizeof m_old;
    m_had = RegQueryValueExW(m_key, L"LogPixels", nullptr, &type, reinterpret_cast<BYTE*>(&m_old), &size) ==
                ERROR_SUCCESS &&
            type == REG_DWORD;
    m_set = RegSetValueExW(m_key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                           sizeof dpi) == ERROR_SUCCESS;
  }
  ~ScreenDpi() {
    if (!m_key) return;
    if (m_had) {
      RegSetValueExW(m_key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_old), sizeof m_old);
    } else {
      RegDeleteValueW(m_key, L"LogPixels");
    }
    RegCloseKey(m_key);
  }
  ScreenDpi(const ScreenDpi&) = delete;
  ScreenDpi& operator=(const ScreenDpi&) = delete;
  bool set() const { return m_set; }

 private:
  HKEY m_key = nullptr;
  DWORD m_old = 0;
  bool m_had = false, m_set = false;
};

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

// Sizes of the bar read from its pixels alone.
struct BarSizes {
  int keyRow = 0;   // the function-key row's height
  int keyFace = 0;  // the plain middle of a key face (the FunctionKey colour)
  int cell = 0;     // a grid cell's width: half the distance of the images in slots 0 and 2
  int image = 0;    // an item image's width
  // Saved when the launcher closed: the height in pixels and the rows it showed.
  DWORD savedHeight = 0, savedRows = 0;
};

constexpr uint32_t kBord = 0x962846, kFunctionKey = 0x14C83C;

// Finds the keys by their colour, then follows the column of the first key's
// plain middle up and down to where the bar's own colour starts again; the
// items' images are the runs of magenta along their middle row.
std::optional<BarSizes> measureBar(const e2e::Capture& cap) {
  int left = cap.width, top = cap.height, bottom = -1;
  for (int y = 0; y < cap.height; ++y)
    for (int x = 0; x < cap.width; ++x)
      if (cap.at(x, y) == kFunctionKey) {
        left = std::min(left, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  if (bottom < 0) return std::nullopt;
  // The plain middle in the first key's leftmost plain column.
  BarSizes sizes;
  top = bottom = -1;
  for (int y = 0; y < cap.height; ++y) {
    if (cap.at(left, y) != kFunctionKey) continue;
    if (top < 0) top = y;
    if (bottom >= 0 && bottom != y - 1) return std::nullopt;  // two runs: not a key
    bottom = y;
  }
  sizes.keyFace = bottom - top + 1;
  int rowTop = top, rowBottom = bottom;
  while (rowTop > 0 && cap.at(left, rowTop - 1) != kBord) --rowTop;
  while (rowBottom + 1 < cap.height && cap.at(left, rowBottom + 1) != kBord) ++rowBottom;
  sizes.keyRow = rowBottom - rowTop + 1;

  int imageTop = -1, imageBottom = -1;
  for (int y = 0; y < cap.height; ++y)
    for (int x = 0; x < cap.width; ++x)
      if (cap.at(x, y) == kMagenta) {
        if (imageTop < 0) imageTop = y;
        imageBottom = y;
      }
  if (imageTop < 0) return std::nullopt;
  std::vector<std::pair<int, int>> runs;  // left, right of each magenta run in the middle row
  const int middle = (imageTop + imageBottom) / 2;
  for (int x = 0; x < cap.width; ++x) {
    if (cap.at(x, middle) != kMagenta) continue;
    if (runs.empty() || runs.back().second != x - 1) runs.push_back({x, x});
    runs.back().second = x;
  }
  if (runs.size() != 2) return std::nullopt;
  sizes.image = runs[0].second - runs[0].first + 1;
  sizes.cell = (runs[1].first - runs[0].first) / 2;
  return sizes;
}

// Puts the bar at the screen's top-left corner: the screen's pixels can only
// be read where the screen is, and a bar at 200 % is wide.
// Waits until the bar has handled what was sent and painted.
void settle(HWND bar) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(bar, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  e2e::waitUntil([&] { return !GetUpdateRect(bar, nullptr, FALSE); }, 3000);
  e2e::pumpFor(200);
}

void moveToCorner(HWND bar) {
  SetWindowPos(bar, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  settle(bar);
}

// The launcher on the seeded profile at a DPI: the bar's picture in group
// mode (measured) and in task mode.
std::optional<BarSizes> barAtDpi(int dpi) {
  ScreenDpi screen(static_cast<DWORD>(dpi));
  EXPECT_TRUE(screen.set());
  std::optional<BarSizes> sizes;
  for (bool taskMode : {false, true}) {
    e2e::profile::setDword(L"Settings", L"TaskMode", taskMode ? 1 : 0);
    e2e::Process launcher;
    HWND bar = driver::startBarInFront(launcher);
    EXPECT_NE(bar, nullptr) << dpi;
    if (!bar) return std::nullopt;
    moveToCorner(bar);
    const std::wstring name = L"bar_dpi_" + std::to_wstring(dpi) + (taskMode ? L"_tasks" : L"_groups");
    const auto cap = e2e::captureToArtifact(bar, name);
    if (cap && !taskMode) sizes = measureBar(*cap);
    e2e::closeAndWait(launcher, bar);
    if (sizes && !taskMode) {
      sizes->savedHeight = e2e::profile::getDword(L"Settings", L"Height").value_or(0);
      sizes->savedRows = e2e::profile::getDword(L"Settings", L"ApplButtonRow").value_or(0);
    }
  }
  e2e::profile::setDword(L"Settings", L"TaskMode", 0);
  return sizes;
}

TEST(BarPaintEndToEnd, TheBarAndItsPartsGrowWithTheScreensDpi) {
  e2e::profile::clear();
  seedGroups();
  e2e::profile::setString(L"Colors", L"Bord", L"150 40 70 50");
  e2e::profile::setString(L"Colors", L"FunctionKey", L"20 200 60 50");
  e2e::profile::setString(L"Settings", L"ActGroup", L"1");
  std::map<int, BarSizes> at;
  for (int dpi : {96, 144, 192}) {
    const std::optional<BarSizes> sizes = barAtDpi(dpi);
    ASSERT_TRUE(sizes.has_value()) << "nothing to measure at " << dpi;
    at[dpi] = *sizes;
  }
  const BarSizes& base = at[96];
  // The layout at 96 is the designed one.
  EXPECT_EQ(base.keyRow, 16);
  EXPECT_EQ(base.keyFace, 12);
  EXPECT_EQ(base.image, 32);
  for (int dpi : {144, 192}) {
    SCOPED_TRACE(dpi);
    const double f = dpi / 96.0;
    const BarSizes& s = at[dpi];
    EXPECT_LE(std::abs(s.keyRow - base.keyRow * f), 1.0) << base.keyRow << " -> " << s.keyRow;
    EXPECT_LE(std::abs(s.keyFace - base.keyFace * f), 1.0) << base.keyFace << " -> " << s.keyFace;
    EXPECT_LE(std::abs(s.cell - base.cell * f), 1.0) << base.cell << " -> " << s.cell;
    EXPECT_LE(std::abs(s.image - base.image * f), 1.0) << base.image << " -> " << s.image;
    // Each run starts from the height the one before saved at another DPI:
    // the bar keeps its rows, and its height follows the scale.
    EXPECT_EQ(s.savedRows, base.savedRows);
    EXPECT_GE(s.savedHeight, base.savedHeight * (f - 0.15)) << base.savedHeight << " -> " << s.savedHeight;
    EXPECT_LE(s.savedHeight, base.savedHeight * (f + 0.15)) << base.savedHeight << " -> " << s.savedHeight;
  }
  EXPECT_GE(base.savedRows, 1u);
}

// A move to a monitor of another DPI (WM_DPICHANGED; posted here without the
// suggested rectangle, which cannot cross processes): the bar lays itself out
// anew at the corner where it is, and comes back exactly on the way back.
TEST(BarPaintEndToEnd, TheBarTakesTheDpiOfTheMonitorItMovesTo) {
  e2e::profile::clear();
  seedGroups();
  e2e::profile::setString(L"Colors", L"Bord", L"150 40 70 50");
  e2e::profile::setString(L"Colors", L"FunctionKey", L"20 200 60 50");
  e2e::profile::setString(L"Settings", L"ActGroup", L"1");
  e2e::Process launcher;
  HWND bar = driver::startBarInFront(launcher);
  ASSERT_NE(bar, nullptr);
  moveToCorner(bar);
  RECT before{};
  GetWindowRect(bar, &before);
  const auto first = e2e::captureWindow(bar);
  ASSERT_TRUE(first.has_value());
  const auto base = measureBar(*first);
  ASSERT_TRUE(base.has_value());

  auto moveTo = [&](int dpi) {
    PostMessageW(bar, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), 0);
    settle(bar);
  };
  moveTo(192);
  RECT big{};
  GetWindowRect(bar, &big);
  EXPECT_EQ(big.left, before.left);
  EXPECT_EQ(big.top, before.top);
  const int width = before.right - before.left, height = before.bottom - before.top;
  // The fonts at 192 DPI are not exactly twice those at 96: the width, made
  // of several of their sizes, may be a few pixels off; the height is scaled.
  EXPECT_LE(std::abs((big.right - big.left) - 2 * width), 2 + width / 50)
      << width << " -> " << big.right - big.left;
  EXPECT_EQ(big.bottom - big.top, 2 * height);
  const auto cap = e2e::captureToArtifact(bar, L"bar_dpi_changed_192");
  ASSERT_TRUE(cap.has_value());
  const auto sizes = measureBar(*cap);
  ASSERT_TRUE(sizes.has_value());
  EXPECT_LE(std::abs(sizes->keyRow - 2 * base->keyRow), 1) << base->keyRow << " -> " << sizes->keyRow;
  EXPECT_LE(std::abs(sizes->cell - 2 * base->cell), 1) << base->cell << " -> " << sizes->cell;

  moveTo(96);
  RECT after{};
  GetWindowRect(bar, &after);
  EXPECT_EQ(after.right - after.left, width);
  EXPECT_EQ(after.bottom - after.top, height);
  const auto back = e2e::captureWindow(bar);
  ASSERT_TRUE(back.has_value());
  const auto again = measureBar(*back);
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(again->keyRow, base->keyRow);
  EXPECT_EQ(again->cell, base->cell);
  e2e::closeAndWait(launcher, bar);
}

// The options sheet's pages at 150 % and 200 % in both languages: every
// control inside its page and the page inside the sheet; pictures for the eye.
TEST(BarPaintEndToEnd, TheOptionsSheetFitsAtEveryDpiInBothLanguages) {
  for (int dpi : {144, 192}) {
    ScreenDpi screen(static_cast<DWORD>(dpi));
    ASSERT_TRUE(screen.set());
    for (int language : {0, 1}) {
      SCOPED_TRACE(testing::Message() << dpi << " DPI, language " << language);
      e2e::profile::clear();
      e2e::profile::setDword(L"Settings", L"Language", static_cast<DWORD>(language));
      e2e::Process launcher;
      HWND bar = driver::startBarInFront(launcher);
      ASSERT_NE(bar, nullptr);
      PostMessageW(bar, WM_SYSCOMMAND, 0x0080, 0);  // the options command of the system menu
      HWND sheet = nullptr;
      e2e::waitUntil([&] { return (sheet = driver::findDialog(launcher.pid())) != nullptr; }, 8000);
      ASSERT_NE(sheet, nullptr);
      RECT sheetRect{};
      GetWindowRect(sheet, &sheetRect);
      const int pages = static_cast<int>(
          SendMessageW(FindWindowExW(sheet, nullptr, WC_TABCONTROLW, nullptr), TCM_GETITEMCOUNT, 0, 0));
      EXPECT_GE(pages, 3);
      for (int index = 0; index < pages; ++index) {
        PostMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
        HWND page = nullptr;
        e2e::waitUntil(
            [&] {
              page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
              return page && SendMessageW(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0) == index;
            },
            5000);
        ASSERT_NE(page, nullptr);
        RECT pageRect{};
        GetWindowRect(page, &pageRect);
        EXPECT_TRUE(pageRect.left >= sheetRect.left && pageRect.right <= sheetRect.right &&
                    pageRect.top >= sheetRect.top && pageRect.bottom <= sheetRect.bottom)
            << "page " << index;
        for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
          if (!IsWindowVisible(child)) continue;
          RECT r{};
          GetWindowRect(child, &r);
          EXPECT_TRUE(r.left >= pageRect.left && r.top >= pageRect.top && r.right <= pageRect.right &&
                      r.bottom <= pageRect.bottom)
              << "page " << index << " control " << GetDlgCtrlID(child);
        }
        e2e::pumpFor(300);
        e2e::captureToArtifact(sheet, L"options_dpi_" + std::to_wstring(dpi) + L"_" +
                                          std::to_wstring(language) + L"_" + std::to_wstring(index));
      }
      PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
      e2e::pumpFor(300);
      e2e::closeAndWait(launcher, bar);
    }
  }
}

}  // namespace
}  // namespace vorbin
