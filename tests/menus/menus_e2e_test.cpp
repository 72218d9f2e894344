// The real launcher's menus driven from outside: a button's menu with the
// shell's entries, its font, sort and delete commands, the bar menu under
// the logo and in the system menu, the HELP key's menu, a group's deletion
// and the EXIT key's shutdown path (tested without powering off), and
// "Start with..." handing a picked document to the button's program.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "launcher/model/group_table.h"
#include "launcher/model/registry_profile.h"
#include "launcher/render/bar_fonts.h"
#include "launcher/render/bar_layout.h"
#include "launcher/services/shell_helpers.h"
#include "tests/app/launcher_driver.h"
#include "tests/support/e2e.h"

#include <dde.h>

namespace {

using namespace driver;

constexpr uint16_t kCtrlAltF9 = VK_F9 | (6 << 8);

// The visible popup menus of the process.
std::vector<HWND> popupMenus(DWORD pid) {
  struct Search {
    DWORD pid;
    std::vector<HWND> found;
  } search{pid, {}};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        wchar_t name[16] = {};
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == s->pid && IsWindowVisible(w) && GetClassNameW(w, name, 16) && !wcscmp(name, L"#32768"))
          s->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void rightClick(POINT at) { clickAt(at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); }
void leftClick(POINT at) { clickAt(at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); }

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void writeFile(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(f, "jpg", 3, &written, nullptr);
  CloseHandle(f);
}

std::unique_ptr<vorbin::Item> fileItem(const wchar_t* title) {
  auto item = std::make_unique<vorbin::Item>();
  item->title = title;
  item->setTargetPath(L"C:\\windows\\notepad.exe");
  return item;
}

std::unique_ptr<vorbin::Item> webItem(const wchar_t* title, const std::wstring& picture) {
  auto item = std::make_unique<vorbin::Item>();
  item->title = title;
  item->flags = vorbin::kItemUrl;
  item->setTargetPath(L"http://example.com/");
  item->text4 = picture;
  return item;
}

class MenusEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::profile::clear();
    e2e::profile::setString(L"Settings", L"Lock", L"Yes");
    e2e::profile::setString(L"Settings", L"ActGroup", L"1");
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"VORBIN_TEST_SHUTDOWN", nullptr);
    if (bar) e2e::closeAndWait(launcher, bar);
  }
  // Groups "Menus" and "Other"; their section names.
  void seed(const std::function<void(vorbin::GroupTable&)>& fill) {
    vorbin::RegistryProfile profile;
    vorbin::GroupTable table(profile, vorbin::ModelOptions{});
    table.loadGroups();
    for (const wchar_t* title : {L"Menus", L"Other"}) {
      std::wstring t = title;
      ASSERT_TRUE(table.ensureGroup(static_cast<int>(table.placeholderIndex()), &t, false));
    }
    fill(table);
    for (int g = 1; g <= 2; ++g) {
      for (size_t s = 0; s < table[g].items.size(); ++s)
        if (table[g].items[s]) {
          ASSERT_TRUE(table.saveItem(g, static_cast<int>(s), false));
        }
      sections.push_back(table.groupSectionName(g));
    }
    table.saveOrder();
  }
  void start() {
    bar = startBarInFront(launcher);
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bringToFront(bar));
    RECT client;
    GetClientRect(bar, &client);
    HDC screen = GetDC(nullptr);
    const auto metrics = vorbin::measureLayoutMetrics(screen, vorbin::FontSettings{}, 25, 0, 4);
    ReleaseDC(nullptr, screen);
    layout = vorbin::computeBarLayout(metrics, false, client.bottom);
    ASSERT_EQ(client.right, layout.width);
  }
  POINT onScreen(const vorbin::PixelRect& r) const {
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(bar, &p);
    return p;
  }
  POINT slot(int n) const { return onScreen(vorbin::gridCellRect(layout, vorbin::gridCells(layout, 0), n)); }
  // Opens the button's menu and waits for it.
  bool buttonMenu(int n) {
    rightClick(slot(n));
    if (e2e::waitUntil([&] { return popupMenus(launcher.pid()).size() == 1; }, 5000)) return true;
    e2e::captureToArtifact(GetDesktopWindow(), L"menus_missing");
    return false;
  }
  bool menusClosed() {
    return e2e::waitUntil([&] { return popupMenus(launcher.pid()).empty(); }, 5000);
  }
  std::vector<std::wstring> itemNames(int group) const {
    std::vector<std::wstring> names;
    for (const std::wstring& n : e2e::profile::valueNames(sections[group - 1]))
      if (n.find(L',') != std::wstring::npos) names.push_back(n);
    std::sort(names.begin(), names.end());
    return names;
  }

  e2e::Process launcher;
  HWND bar = nullptr;
  vorbin::BarLayout layout;
  std::vector<std::wstring> sections;
};

TEST_F(MenusEndToEnd, ButtonMenuShowsTheShellsEntriesDeletesSortsAndSetsTheFont) {
  const std::wstring data = vorbin::dataFolder(nullptr, L"", true);
  ASSERT_FALSE(data.empty());
  const std::wstring picture = data + L"1208ABCD.jpg";
  // A text 4 that climbs out of the data folder names a file the launcher must not touch.
  const std::wstring victim = data + L"..\\victim.jpg";
  writeFile(picture);
  writeFile(victim);
  seed([&](vorbin::GroupTable& t) {
    t.placeItem(1, 0, fileItem(L"zeta"));
    t.placeItem(1, 1, webItem(L"web", picture));
    t.placeItem(1, 2, webItem(L"hostile", data + L"..\\victim.jpg"));
    t.placeItem(1, 4, fileItem(L"Alpha"));
    t.placeItem(1, 6, fileItem(L"mike"));
  });
  start();

  // The shell's own menu of the file is a pop-up of the button's menu.
  ASSERT_TRUE(buttonMenu(0)) << "no popup menu of the launcher";
  tapKey('F');
  EXPECT_TRUE(e2e::waitUntil([&] { return popupMenus(launcher.pid()).size() == 2; }, 3000))
      << "the shell's entries did not open as a pop-up";
  e2e::captureToArtifact(GetDesktopWindow(), L"menus_button_shell");
  tapKey(VK_ESCAPE);
  tapKey(VK_ESCAPE);
  ASSERT_TRUE(menusClosed());

  // Deleting the web link removes its value and its picture.
  ASSERT_TRUE(buttonMenu(1));
  tapKey('D');
  auto asked = answerDialog(launcher.pid(), IDOK);
  ASSERT_TRUE(asked);
  EXPECT_NE(asked->find(L"web"), std::wstring::npos) << *asked;
  EXPECT_TRUE(e2e::waitUntil([&] { return !exists(picture); }, 3000)) << "the picture stayed";
  // The hostile one goes from the profile; the file outside the data folder stays.
  ASSERT_TRUE(buttonMenu(2));
  tapKey('D');
  ASSERT_TRUE(answerDialog(launcher.pid(), IDOK));
  EXPECT_TRUE(e2e::waitUntil([&] { return itemNames(1).size() == 3; }, 3000));
  EXPECT_TRUE(exists(victim));
  DeleteFileW(victim.c_str());

  // Sort: title order without regard to case, slots 0, 1, 2.
  ASSERT_TRUE(buttonMenu(0));
  tapKey('O');
  EXPECT_TRUE(e2e::waitUntil(
      [&] {
        return itemNames(1) == std::vector<std::wstring>{L"Alpha,1", L"mike,2", L"zeta,3"};
      },
      3000))
      << (itemNames(1).empty() ? L"" : itemNames(1).front());

  // Font size +1 by the keyboard, saved at once.
  ASSERT_TRUE(menusClosed());
  e2e::pumpFor(500);
  ASSERT_TRUE(buttonMenu(0));
  tapKey('Z');
  tapKey('1');
  EXPECT_TRUE(e2e::waitUntil([&] { return e2e::profile::getDword(L"Settings", L"FontSize") == 1u; }, 3000));
}

TEST_F(MenusEndToEnd, BarMenuUnderTheLogoAndInTheSystemMenuHelpKeyAndRefusedShutdown) {
  seed([](vorbin::GroupTable&) {});
  e2e::profile::setString(L"Settings", L"FastExit", L"Yes");
  SetEnvironmentVariableW(L"VORBIN_TEST_SHUTDOWN", L"deny");
  start();
  const std::wstring about = L"Vorb in";

  // A press on the logo opens the bar menu; its About entry answers.
  leftClick(onScreen(layout.logoBox));
  ASSERT_TRUE(e2e::waitUntil([&] { return popupMenus(launcher.pid()).size() == 1; }, 5000)) << "logo";
  e2e::captureToArtifact(GetDesktopWindow(), L"menus_logo");
  tapKey('B');
  auto said = answerDialog(launcher.pid(), IDOK);
  ASSERT_TRUE(said);
  EXPECT_NE(said->find(about), std::wstring::npos) << *said;

  // The system menu holds the same entries.
  PostMessageW(bar, WM_SYSCOMMAND, SC_MOUSEMENU, 0);
  ASSERT_TRUE(e2e::waitUntil([&] { return popupMenus(launcher.pid()).size() == 1; }, 5000)) << "system";
  e2e::captureToArtifact(GetDesktopWindow(), L"menus_system");
  tapKey('B');
  said = answerDialog(launcher.pid(), IDOK);
  ASSERT_TRUE(said);
  EXPECT_NE(said->find(about), std::wstring::npos) << *said;
  ASSERT_TRUE(menusClosed());

  // HELP opens its menu on the press, below the key.
  const vorbin::PixelRect help = layout.functionKeys[6];
  leftClick(onScreen(help));
  ASSERT_TRUE(e2e::waitUntil([&] { return popupMenus(launcher.pid()).size() == 1; }, 5000)) << "help";
  RECT menu;
  GetWindowRect(popupMenus(launcher.pid()).front(), &menu);
  POINT keyBottom{help.left, help.bottom};
  ClientToScreen(bar, &keyBottom);
  EXPECT_NEAR(menu.left, keyBottom.x, 2);
  EXPECT_GE(menu.top, keyBottom.y - 2);
  e2e::captureToArtifact(GetDesktopWindow(), L"menus_help");
  tapKey('B');
  said = answerDialog(launcher.pid(), IDOK);
  ASSERT_TRUE(said);
  EXPECT_NE(said->find(about), std::wstring::npos);

  // EXIT with FastExit: a refused privilege says so and nothing more happens.
  leftClick(onScreen(layout.functionKeys[0]));
  said = answerDialog(launcher.pid(), IDOK);
  ASSERT_TRUE(said) << "no message about the shutdown privilege";
  EXPECT_EQ(*said, libraryStrings(1002).front());
  EXPECT_TRUE(IsWindow(bar));
}

TEST_F(MenusEndToEnd, GroupDeleteReleasesItsHotKeysAndExitPowersOffThroughThePrivilege) {
  seed([](vorbin::GroupTable& t) {
    auto item = fileItem(L"keyed");
    item->hotKey = kCtrlAltF9;
    t.placeItem(2, 0, std::move(item));
  });
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring probe = std::wstring(temp) + L"vorbin_power_off.txt";
  DeleteFileW(probe.c_str());
  e2e::profile::setString(L"Settings", L"FastExit", L"Yes");
  SetEnvironmentVariableW(L"VORBIN_TEST_SHUTDOWN", probe.c_str());
  start();
  // The launcher holds the item's key.
  ASSERT_FALSE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, VK_F9)) << "the item's key was not taken";

  const vorbin::TabLayout tabs = vorbin::tabLayout(layout, 0);
  rightClick(onScreen(vorbin::tabRect(layout, tabs, 2, 0)));
  ASSERT_TRUE(e2e::waitUntil([&] { return popupMenus(launcher.pid()).size() == 1; }, 5000)) << "tab menu";
  e2e::captureToArtifact(GetDesktopWindow(), L"menus_tab");
  tapKey('D');
  auto asked = answerDialog(launcher.pid(), IDOK);
  ASSERT_TRUE(asked);
  EXPECT_NE(asked->find(L"Other"), std::wstring::npos) << *asked;
  EXPECT_TRUE(e2e::waitUntil([&] { return e2e::profile::valueNames(sections[1]).empty(); }, 3000));
  EXPECT_TRUE(
      e2e::waitUntil([&] { return RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, VK_F9) != FALSE; }, 3000))
      << "the deleted group's hot key is still held";
  UnregisterHotKey(nullptr, 1);

  // EXIT with FastExit saves, takes the privilege and powers off (here: the probe file).
  leftClick(onScreen(layout.functionKeys[0]));
  EXPECT_TRUE(e2e::waitUntil([&] { return exists(probe); }, 5000));
  char text[32] = {};
  DWORD read = 0;
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  ReadFile(file, text, sizeof(text) - 1, &read, nullptr);
  CloseHandle(file);
  EXPECT_STREQ(text, "power off");
  DeleteFileW(probe.c_str());
}

TEST_F(MenusEndToEnd, StartWithHandsThePickedDocumentToTheButtonsProgram) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring report = std::wstring(temp) + L"vorbin_start_with.txt";
  const std::wstring document = std::wstring(temp) + L"start with me.txt";
  DeleteFileW(report.c_str());
  writeFile(document);
  SetEnvironmentVariableW(L"VB_PROBE_OUT", report.c_str());
  seed([](vorbin::GroupTable& t) {
    auto item = std::make_unique<vorbin::Item>();
    item->title = L"probe";
    item->setTargetPath(L"\"" + e2e::binPath(L"launch_probe.exe") + L"\" /visible");
    t.placeItem(1, 0, std::move(item));
  });
  start();
  ASSERT_TRUE(buttonMenu(0));
  tapKey('W');
  HWND dialog = nullptr;
  ASSERT_TRUE(e2e::waitUntil([&] { return (dialog = findDialog(launcher.pid())) != nullptr; }, 8000))
      << "no document picker";
  e2e::captureToArtifact(GetDesktopWindow(), L"menus_start_with");
  HWND name = GetDlgItem(dialog, 0x47C);
  if (!name) name = GetDlgItem(dialog, 0x480);
  ASSERT_NE(name, nullptr);
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(document.c_str()));
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(e2e::waitUntil([&] { return exists(report); }, 8000)) << "the program did not start";
  std::wstring line(512, L'\0');
  DWORD read = 0;
  HANDLE file = CreateFileW(report.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  ReadFile(file, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &read, nullptr);
  CloseHandle(file);
  line.resize(read / sizeof(wchar_t));
  line = line.substr(0, line.find(L'\n'));
  // The program's own arguments stay and the document follows them, quoted.
  EXPECT_NE(line.find(L"/visible"), std::wstring::npos) << line;
  EXPECT_NE(line.find(L"\"" + document + L"\""), std::wstring::npos) << line;
  if (HWND probe = FindWindowW(L"VbLaunchProbe", nullptr)) PostMessageW(probe, WM_CLOSE, 0, 0);
  DeleteFileW(report.c_str());
  DeleteFileW(document.c_str());
}

}  // namespace

namespace {

// Posts a Program Manager command to the bar from a window of this thread
// (the launcher answers any window); true once the acknowledgement arrives.
bool postDdeCommand(HWND bar, const std::wstring& text) {
  static bool acknowledged = false;
  static const ATOM kind = [] {
    WNDCLASSW c{};
    c.lpfnWndProc = [](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
      if (msg != WM_DDE_ACK) return DefWindowProcW(w, msg, wp, lp);
      FreeDDElParam(WM_DDE_ACK, lp);
      acknowledged = true;
      return 0;
    };
    c.hInstance = GetModuleHandleW(nullptr);
    c.lpszClassName = L"MenusDdeClient";
    return RegisterClassW(&c);
  }();
  HWND client = CreateWindowExW(0, MAKEINTATOM(kind), L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes);
  memcpy(GlobalLock(memory), text.c_str(), bytes);
  GlobalUnlock(memory);
  acknowledged = false;
  PostMessageW(bar, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(client), reinterpret_cast<LPARAM>(memory));
  const bool answered = e2e::waitUntil([] { return acknowledged; }, 5000);
  GlobalFree(memory);
  DestroyWindow(client);
  return answered;
}

// A menu runs its own message loop, in which other programs change the
// groups: a command chosen afterwards finds its button again by group, slot
// and identity, and does nothing when the button has gone, even though
// another group's button now sits in the same place.
TEST_F(MenusEndToEnd, ACommandChosenAfterItsButtonWentAwayDuringTheMenuDoesNothing) {
  seed([&](vorbin::GroupTable& t) {
    t.placeItem(1, 0, fileItem(L"gone"));
    t.placeItem(2, 0, fileItem(L"bystander"));
  });
  start();
  const std::vector<std::wstring> other = itemNames(2);
  ASSERT_EQ(other.size(), 1u);

  ASSERT_TRUE(buttonMenu(0));
  ASSERT_TRUE(postDdeCommand(bar, L"[DeleteGroup(Menus)]")) << "the bar did not answer during its menu";
  ASSERT_TRUE(e2e::waitUntil([&] { return e2e::profile::valueNames(sections[0]).empty(); }, 3000))
      << "the group was not deleted while the menu was open";
  tapKey('D');  // Delete, on a button that no longer exists
  EXPECT_FALSE(answerDialog(launcher.pid(), IDOK, 2000).has_value()) << "asked to delete another button";
  ASSERT_TRUE(menusClosed());
  EXPECT_EQ(itemNames(2), other) << "the other group's button was deleted in its place";
  EXPECT_TRUE(IsWindow(bar));
}

}  // namespace
