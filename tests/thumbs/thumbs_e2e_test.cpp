// Thumbnails through the real launcher: the button menu's thumbnail command
// on a web item photographs a stand-in browser, writes the JPEG into the data
// folder and stores its name; refused cases leave nothing behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>

#include "launcher/model/group_table.h"
#include "launcher/model/registry_profile.h"
#include "launcher/render/bar_fonts.h"
#include "launcher/render/bar_layout.h"
#include "launcher/render/jpeg_file.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/shell_helpers.h"
#include "tests/app/bar_geometry.h"
#include "tests/app/launcher_driver.h"
#include "tests/support/e2e.h"

namespace {

using namespace driver;

bool menuOpen(DWORD pid) {
  struct S {
    DWORD pid;
    bool found = false;
  } s{pid};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<S*>(p);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        wchar_t name[16] = {};
        if (owner == s->pid && IsWindowVisible(w) && GetClassNameW(w, name, 16) && !wcscmp(name, L"#32768"))
          s->found = true;
        return !s->found;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

int channelDistance(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int shift : {0, 8, 16}) worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
  return worst;
}

struct Browser {
  e2e::Process process;
  HWND top = nullptr;
  bool start(const std::wstring& address, int w, int h, bool minimised) {
    std::wstring args = L"\"" + address + L"\" " + std::to_wstring(w) + L" " + std::to_wstring(h);
    if (minimised) args += L" min";
    if (!process.start(e2e::binPath(L"thumb_test_browser.exe"), args)) return false;
    top = e2e::waitForWindow(L"ThumbTestBrowser", process.pid(), e2e::kVisible, 10000);
    return top && e2e::waitUntil([&] { return minimised == (IsIconic(top) != FALSE); }, 5000);
  }
};

WINDOWPLACEMENT placementOf(HWND w) {
  WINDOWPLACEMENT p{};
  p.length = sizeof(p);
  GetWindowPlacement(w, &p);
  return p;
}

std::unique_ptr<vorbin::Item> webItem(const wchar_t* title, const wchar_t* address) {
  auto item = std::make_unique<vorbin::Item>();
  item->title = title;
  item->flags = vorbin::kItemUrl;
  item->setTargetPath(address);
  return item;
}

class ThumbsEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::profile::clear();
    e2e::profile::setString(L"Settings", L"Lock", L"Yes");
    e2e::profile::setString(L"Settings", L"ActGroup", L"1");
    e2e::profile::setDword(L"Settings", L"ThumbRatio", 50);
    e2e::profile::setDword(L"Settings", L"ThumbQuality", 100);
    data = vorbin::dataFolder(nullptr, L"", true);
    jpegsBefore = jpegs();
  }
  void TearDown() override {
    if (bar) {
      EXPECT_TRUE(e2e::closeAndWait(launcher, bar)) << "the launcher did not close cleanly";
    }
    for (const std::wstring& f : jpegs())
      if (std::find(jpegsBefore.begin(), jpegsBefore.end(), f) == jpegsBefore.end()) DeleteFileW((data + f).c_str());
  }
  std::vector<std::wstring> jpegs() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((data + L"*.jpg").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
      names.push_back(fd.cFileName);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
  }
  void seed() {
    vorbin::RegistryProfile profile;
    vorbin::GroupTable table(profile, vorbin::ModelOptions{});
    table.loadGroups();
    std::wstring t = L"Thumbs";
    ASSERT_TRUE(table.ensureGroup(static_cast<int>(table.placeholderIndex()), &t, false));
    table.placeItem(1, 0, webItem(L"page", L"HTTP://x.test/a"));
    table.placeItem(1, 1, webItem(L"zero", L"http://x.test/a"));
    table.placeItem(1, 2, webItem(L"dot", L"http://dot.test/"));
    table.placeItem(1, 3, webItem(L"hung", L"http://hung.test"));
    for (int s = 0; s < 4; ++s) ASSERT_TRUE(table.saveItem(1, s, false));
    table.saveOrder();
  }
  std::wstring storedName(int slot) const {
    vorbin::RegistryProfile profile;
    vorbin::ModelOptions options;
    options.isV416Later = true;  // as the seeding wrote the profile
    vorbin::GroupTable table(profile, options);
    table.loadGroups();
    const vorbin::Item* item = table.item(1, slot);
    return item ? item->text4 : L"";
  }
  void start() {
    bar = startBarInFront(launcher);
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bringToFront(bar));
    layout = measuredBarLayout(bar);
  }
  POINT slot(int n) const { return gridSlotCentre(bar, layout, n); }
  // A command of a button's menu by its letter.
  bool buttonCommand(int n, WORD letter) {
    clickAt(slot(n), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    if (!e2e::waitUntil([&] { return menuOpen(launcher.pid()); }, 5000)) return false;
    tapKey(letter);
    return true;
  }
  bool thumbnailCommand(int n) { return buttonCommand(n, 'T'); }
  // Waits for the settings dialog, optionally types a ratio, presses OK.
  bool acceptDialog(const wchar_t* ratio = nullptr) {
    HWND dialog = nullptr;
    if (!e2e::waitUntil([&] { return (dialog = findDialog(launcher.pid())) != nullptr; }, 10000)) return false;
    if (!GetDlgItem(dialog, IDC_THUMB_RATIO)) return false;  // some other box
    if (ratio) SendMessageW(GetDlgItem(dialog, IDC_THUMB_RATIO), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ratio));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return e2e::waitUntil([&] { return !IsWindow(dialog); }, 5000);
  }

  e2e::Process launcher;
  HWND bar = nullptr;
  vorbin::BarLayout layout;
  std::wstring data;
  std::vector<std::wstring> jpegsBefore;
};

TEST_F(ThumbsEndToEnd, MenuCommandPhotographsTheMinimisedBrowserAndRefusedCasesStoreNothing) {
  Browser browser;
  ASSERT_TRUE(browser.start(L"http://x.test/a/", 240, 160, true));
  const WINDOWPLACEMENT before = placementOf(browser.top);
  seed();
  ASSERT_EQ(storedName(0), L"");
  start();
  const HWND foreground = GetForegroundWindow();

  ASSERT_TRUE(thumbnailCommand(0));
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(acceptDialog()) << "no thumbnail dialog";
  std::wstring name;
  ASSERT_TRUE(e2e::waitUntil([&] { return !(name = storedName(0)).empty(); }, 10000)) << "no name stored";
  std::printf("menu command to stored thumbnail: %lld ms\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - start)
                                         .count()));
  EXPECT_EQ(name.size(), 12u) << name;
  const auto picture = vorbin::readJpegFile(data + name);
  ASSERT_TRUE(picture) << "no JPEG at " << std::string(name.begin(), name.end());
  EXPECT_EQ(picture->width, 120);
  EXPECT_EQ(picture->height, 80);
  const uint32_t want[4] = {0xDC1E1E, 0x1EC828, 0x1E28D2, 0xF0DC1E};
  for (int i = 0; i < 4; ++i) {
    const int x = (i % 2) ? 90 : 30, y = (i / 2) ? 60 : 20;
    EXPECT_LE(channelDistance(picture->pixels[static_cast<size_t>(y) * 120 + x], want[i]), 16) << "quadrant " << i;
  }
  EXPECT_TRUE(e2e::waitUntil([&] { return IsIconic(browser.top) != FALSE; }, 3000)) << "browser not minimised";
  EXPECT_FALSE(GetWindowLongPtrW(browser.top, GWL_EXSTYLE) & WS_EX_TOPMOST);
  const RECT now = placementOf(browser.top).rcNormalPosition;
  EXPECT_TRUE(EqualRect(&now, &before.rcNormalPosition));
  EXPECT_EQ(GetForegroundWindow(), foreground);
  EXPECT_EQ(e2e::profile::getDword(L"Settings", L"ThumbRatio"), 50u);

  // Ratio 0 typed in the dialog: no file, nothing stored.
  const std::vector<std::wstring> files = jpegs();
  ASSERT_TRUE(thumbnailCommand(1));
  ASSERT_TRUE(acceptDialog(L"0"));
  e2e::pumpFor(500);
  EXPECT_EQ(storedName(1), L"");
  EXPECT_EQ(jpegs(), files);
  EXPECT_EQ(e2e::profile::getDword(L"Settings", L"ThumbRatio"), 0u);  // the choice is saved

  // A hung browser: its address cannot be read in time, so no window is
  // found (message 3060) and nothing is made.
  Browser hung;
  ASSERT_TRUE(hung.start(L"http://hung.test", 100, 80, false));
  PostMessageW(hung.top, WM_APP, 0, 6000);
  e2e::pumpFor(300);
  ASSERT_TRUE(bringToFront(bar));
  ASSERT_TRUE(thumbnailCommand(3));
  const auto said = answerDialog(launcher.pid(), IDOK, 10000);
  ASSERT_TRUE(said);
  EXPECT_NE(said->find(L"hung.test"), std::wstring::npos) << std::string(said->begin(), said->end());
  EXPECT_EQ(storedName(3), L"");
  EXPECT_EQ(jpegs(), files);
  EXPECT_TRUE(launcher.running());

  // Deleting the button takes its picture along.
  ASSERT_TRUE(bringToFront(bar));
  ASSERT_TRUE(buttonCommand(0, 'D'));
  ASSERT_TRUE(answerDialog(launcher.pid(), IDOK, 10000));
  EXPECT_TRUE(e2e::waitUntil([&] { return GetFileAttributesW((data + name).c_str()) == INVALID_FILE_ATTRIBUTES; },
                             3000))
      << "the deleted button's picture stayed";
}

TEST_F(ThumbsEndToEnd, UnwritableDataFolderThenAOnePixelPane) {
  Browser dot;
  ASSERT_TRUE(dot.start(L"http://dot.test", 1, 1, false));
  seed();
  start();

  // The data folder replaced by a read-only file of its name: nothing can be
  // written there, nothing is stored, the launcher keeps running.
  const std::wstring folder = data.substr(0, data.size() - 1);
  const std::wstring aside = folder + L".aside";
  ASSERT_TRUE(MoveFileW(folder.c_str(), aside.c_str()));
  HANDLE blocker = CreateFileW(folder.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_READONLY, nullptr);
  ASSERT_NE(blocker, INVALID_HANDLE_VALUE);
  CloseHandle(blocker);
  const bool opened = thumbnailCommand(2);
  const bool asked = opened && acceptDialog(L"50");
  e2e::pumpFor(500);
  const std::wstring stored = storedName(2);
  SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(folder.c_str());
  ASSERT_TRUE(MoveFileW(aside.c_str(), folder.c_str()));
  EXPECT_TRUE(asked);
  EXPECT_EQ(stored, L"");
  EXPECT_TRUE(launcher.running());

  // A one-pixel pane still makes a one-pixel picture (sides never reach 0).
  ASSERT_TRUE(thumbnailCommand(2));
  ASSERT_TRUE(acceptDialog(L"50"));
  std::wstring name;
  ASSERT_TRUE(e2e::waitUntil([&] { return !(name = storedName(2)).empty(); }, 10000));
  EXPECT_EQ(name.size(), 12u);
  const auto picture = vorbin::readJpegFile(data + name);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width * picture->height, 1);
}

}  // namespace
