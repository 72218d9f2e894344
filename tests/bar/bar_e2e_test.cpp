// The real launcher's bar driven from outside: its hot key, the activation
// gesture, locking, hiding on deactivation and the shutdown choice.
#include <gtest/gtest.h>

#include "hook/vorber2k.h"
#include "launcher/bar/tab_scroll.h"
#include "launcher/model/group_table.h"
#include "launcher/model/registry_profile.h"
#include "launcher/render/bar_fonts.h"
#include "tests/app/launcher_driver.h"
#include "tests/support/e2e.h"

namespace {

using namespace driver;

class BarEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override { e2e::profile::clear(); }
  void TearDown() override {
    if (bar) e2e::closeAndWait(launcher, bar);
  }
  // Starts the launcher on the seeded profile, past its first-run questions.
  void start() {
    launcher = e2e::startLauncher();
    bar = e2e::waitForBar(launcher.pid());
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(cancelFirstRunQuestions(launcher.pid()));
    ASSERT_TRUE(e2e::waitUntil([&] { return shown(bar); }, 5000));
  }
  static void press(int x, int y) {
    SetCursorPos(x, y);
    e2e::pumpFor(30);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &in[0], sizeof(INPUT));
    e2e::pumpFor(30);
    SendInput(1, &in[1], sizeof(INPUT));
  }

  e2e::Process launcher;
  HWND bar = nullptr;
};

TEST_F(BarEndToEnd, HotKeyHidesTheShownBarAndShowsTheHiddenOne) {
  start();
  ASSERT_TRUE(bringToFront(bar));
  pressBarHotKey();
  EXPECT_TRUE(e2e::waitUntil([&] { return hidden(bar); }, 5000)) << "the bar in front hides";
  // The hidden bar may keep the keyboard; the hot key's Alt, released last,
  // must not open its system menu unseen (it would take every key until Esc).
  e2e::pumpFor(300);
  GUITHREADINFO gui{};
  gui.cbSize = sizeof(gui);
  ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(bar, nullptr), &gui));
  EXPECT_EQ(gui.flags & (GUI_INMENUMODE | GUI_SYSTEMMENUMODE | GUI_POPUPMENUMODE), 0u);
  pressBarHotKey();
  EXPECT_TRUE(e2e::waitUntil([&] { return shown(bar); }, 5000)) << "the hidden bar comes back";

  // From another program in front, the hot key brings the bar forward.
  TestWindow other(600, 100, 200, 100);
  ASSERT_TRUE(bringToFront(other.hwnd()));
  pressBarHotKey();
  EXPECT_TRUE(e2e::waitUntil([&] { return GetForegroundWindow() == bar; }, 5000));
  EXPECT_TRUE(shown(bar));
}

TEST_F(BarEndToEnd, ActivationGesturePlacesTheBarAtThePointWithOpenAtClickPos) {
  e2e::profile::setString(L"Settings", L"OpenAtClickPos", L"Yes");
  start();
  PostMessageW(bar, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(e2e::waitUntil([&] { return hidden(bar); }, 5000));

  // The press lands on a window of this process at the left screen edge.
  TestWindow strip(0, 100, 40, 800);
  ASSERT_TRUE(bringToFront(strip.hwnd()));
  press(0, 500);
  ASSERT_TRUE(e2e::waitUntil([&] { return shown(bar); }, 8000)) << "the gesture did not show the bar";
  RECT r;
  GetWindowRect(bar, &r);
  const int height = r.bottom - r.top;
  // AppearPos 50 % across, 10 % down: the anchor sits on (0, 500), then the
  // bar is pushed inside the work area horizontally.
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 500 - height * 10 / 100);
}

TEST_F(BarEndToEnd, SecondaryButtonGestureSwitchesToTaskMode) {
  e2e::profile::setDword(L"Settings", L"MouseButton", 0x02);
  start();
  PostMessageW(bar, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(e2e::waitUntil([&] { return hidden(bar); }, 5000));
  TestWindow strip(0, 100, 40, 800);
  ASSERT_TRUE(bringToFront(strip.hwnd()));
  SetCursorPos(0, 400);
  e2e::pumpFor(30);
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  SendInput(1, &in[0], sizeof(INPUT));
  e2e::pumpFor(30);
  SendInput(1, &in[1], sizeof(INPUT));
  ASSERT_TRUE(e2e::waitUntil([&] { return shown(bar); }, 8000));
  ASSERT_TRUE(e2e::closeAndWait(launcher, bar));
  bar = nullptr;
  EXPECT_EQ(e2e::profile::getString(L"Settings", L"TaskMode"), L"Yes");
}

TEST_F(BarEndToEnd, GestureOutsideTheActiveBarHidesIt) {
  start();
  TestWindow strip(0, 100, 40, 800);
  ASSERT_TRUE(bringToFront(bar));
  press(0, 500);
  EXPECT_TRUE(e2e::waitUntil([&] { return hidden(bar); }, 8000));
}

TEST_F(BarEndToEnd, SuperLockKeepsTheBarAgainstCloseDeactivationAndHotKey) {
  e2e::profile::setString(L"Settings", L"Lock", L"Yes");
  e2e::profile::setString(L"Settings", L"SuperLock", L"Yes");
  e2e::profile::setString(L"Settings", L"NoActiveToClose", L"Yes");
  start();
  PostMessageW(bar, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(bringToFront(bar));
  pressBarHotKey();
  TestWindow other(600, 100, 200, 100);
  ASSERT_TRUE(bringToFront(other.hwnd()));
  // Whatever of the three went through would have hidden the bar by now.
  e2e::pumpFor(1500);
  EXPECT_TRUE(shown(bar));
}

TEST_F(BarEndToEnd, NoActiveToCloseHidesTheBarAfterTheDelay) {
  e2e::profile::setString(L"Settings", L"NoActiveToClose", L"Yes");
  e2e::profile::setDword(L"Settings", L"CloseDelayTime", 1);
  start();
  ASSERT_TRUE(bringToFront(bar));
  TestWindow other(600, 100, 200, 100);
  ASSERT_TRUE(bringToFront(other.hwnd()));
  EXPECT_TRUE(e2e::waitUntil([&] { return hidden(bar); }, 8000));
}

TEST_F(BarEndToEnd, ReactivatingTheBarCancelsTheDelayedHide) {
  e2e::profile::setString(L"Settings", L"NoActiveToClose", L"Yes");
  e2e::profile::setDword(L"Settings", L"CloseDelayTime", 2);
  start();
  ASSERT_TRUE(bringToFront(bar));
  TestWindow other(600, 100, 200, 100);
  ASSERT_TRUE(bringToFront(other.hwnd()));
  ASSERT_TRUE(bringToFront(bar));
  e2e::pumpFor(3500);
  EXPECT_TRUE(shown(bar));
}

// Group 1 with ten rows of buttons, and 21 groups in all: more tab rows than the bar shows.
void seedManyRows() {
  using namespace vorbin;
  RegistryProfile profile;
  GroupTable table(profile, ModelOptions{});
  table.loadGroups();
  for (int n = 1; n <= 21; ++n) {
    const std::wstring title = L"Rows " + std::to_wstring(n);
    ASSERT_TRUE(table.ensureGroup(static_cast<int>(table.placeholderIndex()), &title, false));
  }
  for (int slot = 0; slot < 40; ++slot) {
    auto item = std::make_unique<Item>();
    item->title = L"Button " + std::to_wstring(slot);
    item->setTargetPath(L"notepad.exe");
    table.placeItem(1, slot, std::move(item));
    ASSERT_TRUE(table.saveItem(1, slot, false));
  }
  table.saveOrder();
}

void wheel(POINT at, int delta) {
  SetCursorPos(at.x, at.y);
  e2e::pumpFor(30);
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = MOUSEEVENTF_WHEEL;
  in.mi.mouseData = static_cast<DWORD>(delta);
  SendInput(1, &in, sizeof(in));
  e2e::pumpFor(150);
}

TEST_F(BarEndToEnd, WheelScrollsTheGridByNotchesAndTheTabsByFortiethsOrPages) {
  seedManyRows();
  e2e::profile::setString(L"Settings", L"ActGroup", L"1");
  e2e::profile::setString(L"Settings", L"Lock", L"Yes");
  // With the group scroll bar beside the tabs.
  e2e::profile::setDword(L"Settings", L"GrpScrollMode", 1);
  launcher = e2e::startLauncher();
  bar = e2e::waitForBar(launcher.pid());
  ASSERT_NE(bar, nullptr);
  // A profile with groups asks fewer first-run questions.
  while (answerDialog(launcher.pid(), IDCANCEL, 3000)) {
  }
  ASSERT_TRUE(e2e::waitUntil([&] { return shown(bar); }, 5000));
  ASSERT_TRUE(bringToFront(bar));
  // The same layout as the bar's, on its client size.
  RECT client;
  GetClientRect(bar, &client);
  HDC screen = GetDC(nullptr);
  auto metrics = vorbin::measureLayoutMetrics(screen, vorbin::FontSettings{}, 25, 0, 4);
  ReleaseDC(nullptr, screen);
  metrics.groupScrollBarWidth = GetSystemMetrics(SM_CXVSCROLL);
  const vorbin::BarLayout layout = vorbin::computeBarLayout(metrics, false, client.bottom);
  ASSERT_EQ(client.right, layout.width);
  HWND scrollBar = GetDlgItem(bar, 202);
  ASSERT_NE(scrollBar, nullptr);
  EXPECT_TRUE(IsWindowVisible(scrollBar));
  const vorbin::TabLayout tabs = vorbin::tabLayout(layout, 0);
  const vorbin::TabRows rows = vorbin::tabRows(21, tabs.perRow, tabs.tabHeight, layout.tabArea.height());
  ASSERT_GE(rows.maxOffset(), 9) << "the bar shows too many tab rows for this test";
  ASSERT_LT(rows.page, 9);
  POINT grid{(layout.grid.left + layout.grid.right) / 2, (layout.grid.top + layout.grid.bottom) / 2};
  POINT tabArea{(layout.tabArea.left + layout.tabArea.right) / 2, layout.tabArea.top + 5};
  ClientToScreen(bar, &grid);
  ClientToScreen(bar, &tabArea);

  // Towards the user: two notches, two rows down; half a notch back is not a row yet.
  wheel(grid, -120);
  wheel(grid, -120);
  wheel(grid, 60);
  // Three notches down over the tabs: three rows each; Shift and a notch up: a page back.
  for (int i = 0; i < 3; ++i) wheel(tabArea, -120);
  INPUT shift = {};
  shift.type = INPUT_KEYBOARD;
  shift.ki.wVk = VK_SHIFT;
  SendInput(1, &shift, sizeof(shift));
  wheel(tabArea, 120);
  shift.ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(1, &shift, sizeof(shift));
  e2e::pumpFor(100);
  // Over the function keys the wheel does nothing.
  POINT key{(layout.functionKeys[1].left + layout.functionKeys[1].right) / 2, layout.functionKeys[1].top + 4};
  ClientToScreen(bar, &key);
  wheel(key, -120);

  // The thumb follows the wheel.
  EXPECT_EQ(GetScrollPos(scrollBar, SB_CTL), 9 - rows.page);
  e2e::captureToArtifact(bar, L"bar_group_scroll_bar");
  ASSERT_TRUE(e2e::closeAndWait(launcher, bar));
  bar = nullptr;
  vorbin::RegistryProfile profile;
  vorbin::ModelOptions options;
  options.isV416Later = true;  // the seeded profile's group names
  vorbin::GroupTable saved(profile, options);
  saved.loadGroups();
  EXPECT_EQ(saved[1].dispOffset, 2) << "grid rows";
  EXPECT_EQ(saved.dispGroupOffset, 9 - rows.page) << "tab rows, page " << rows.page;
}

TEST_F(BarEndToEnd, TheBarShowsItsOwnPointerAndTheSizingCursorOnItsEdges) {
  // Cursor 178 of the program: the arrow's tip is the hot spot, a teal button at its tail.
  HMODULE exe =
      LoadLibraryExW(e2e::binPath(L"vorbin2k.exe").c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(exe, nullptr);
  HCURSOR own = LoadCursorW(exe, MAKEINTRESOURCEW(178));
  ASSERT_NE(own, nullptr) << "no cursor 178 in vorbin2k.exe";
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(own, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 1u);
  EXPECT_EQ(info.yHotspot, 1u);
  ASSERT_NE(info.hbmColor, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, info.hbmColor);
  EXPECT_EQ(GetPixel(dc, 18, 27), RGB(0, 128, 128));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  FreeLibrary(exe);

  // The launcher's cursors are its own handles: the test sees that the client
  // area and the resize edge show different ones, each the same every time.
  start();
  ASSERT_TRUE(bringToFront(bar));
  RECT r;
  GetWindowRect(bar, &r);
  auto cursorAt = [&](int x, int y) {
    // A move of one pixel and back makes the window under the pointer set the cursor.
    SetCursorPos(x + 1, y);
    e2e::pumpFor(60);
    SetCursorPos(x, y);
    e2e::pumpFor(100);
    CURSORINFO shown{};
    shown.cbSize = sizeof(shown);
    return GetCursorInfo(&shown) && (shown.flags & CURSOR_SHOWING) ? shown.hCursor : nullptr;
  };
  const int middle = (r.left + r.right) / 2;
  HCURSOR inside = cursorAt(middle, (r.top + r.bottom) / 2);
  HCURSOR edge = cursorAt(middle, r.bottom - 1);
  ASSERT_NE(inside, nullptr);
  ASSERT_NE(edge, nullptr);
  EXPECT_NE(inside, edge);
  EXPECT_EQ(cursorAt(middle, (r.top + r.bottom) / 2 + 20), inside);
  EXPECT_EQ(cursorAt(middle + 30, r.top), edge) << "top and bottom edges size alike";
}

bool oneOf(const std::wstring& text, const std::vector<std::wstring>& choices) {
  for (const auto& c : choices)
    if (!c.empty() && text == c) return true;
  return false;
}

TEST_F(BarEndToEnd, ExitAsksFirstAndOnlyYesEndsTheLauncher) {
  start();
  PostMessageW(bar, WM_SYSCOMMAND, 0x0020, 0);
  auto question = answerDialog(launcher.pid(), IDNO);
  ASSERT_TRUE(question.has_value());
  EXPECT_TRUE(oneOf(*question, libraryStrings(3136)));
  e2e::pumpFor(300);
  EXPECT_TRUE(launcher.running());

  e2e::profile::setDword(L"Settings", L"PositionX", 7);  // overwritten by the saved state
  PostMessageW(bar, WM_SYSCOMMAND, 0x0020, 0);
  ASSERT_TRUE(answerDialog(launcher.pid(), IDYES).has_value());
  EXPECT_TRUE(launcher.wait(10000).has_value()) << "Yes ends the launcher";
  EXPECT_NE(e2e::profile::getDword(L"Settings", L"PositionX"), 7u);
  bar = nullptr;
}

TEST_F(BarEndToEnd, HelpWithoutHelpFilesSaysSo) {
  start();
  PostMessageW(bar, WM_SYSCOMMAND, 0x8010, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(e2e::waitUntil([&] { return (dialog = findDialog(launcher.pid())) != nullptr; }, 5000));
  EXPECT_TRUE(oneOf(windowText(dialog), libraryStrings(464)));
  auto message = answerDialog(launcher.pid(), IDOK);
  ASSERT_TRUE(message.has_value());
  EXPECT_TRUE(oneOf(*message, libraryStrings(465)));
}

// The launcher runs as the shell when the system's shell value names it; then
// ending the session asks with its own dialog, and Escape keeps Windows running.
class ShellValue {
 public:
  ShellValue() {
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &m_key, nullptr);
    wchar_t old[512] = {};
    DWORD size = sizeof(old) - sizeof(wchar_t);
    m_had = RegQueryValueExW(m_key, L"Shell", nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) == 0;
    m_old = old;
    const wchar_t value[] = L"vorbin2k.exe";
    RegSetValueExW(m_key, L"Shell", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof(value));
  }
  ~ShellValue() {
    if (m_had) {
      RegSetValueExW(m_key, L"Shell", 0, REG_SZ, reinterpret_cast<const BYTE*>(m_old.c_str()),
                     static_cast<DWORD>((m_old.size() + 1) * sizeof(wchar_t)));
    } else {
      RegDeleteValueW(m_key, L"Shell");
    }
    RegCloseKey(m_key);
  }

 private:
  static constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
  HKEY m_key = nullptr;
  bool m_had = false;
  std::wstring m_old;
};

TEST_F(BarEndToEnd, AsTheShellEndingTheSessionAsksAndEscapeCancels) {
  ShellValue shell;
  start();
  PostMessageW(bar, WM_SYSCOMMAND, 0x0040, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(e2e::waitUntil([&] { return (dialog = findDialog(launcher.pid())) != nullptr; }, 5000));
  for (int id : {318, 319, 320}) EXPECT_NE(GetDlgItem(dialog, id), nullptr) << id;
  // Centred on the desktop.
  RECT d, screen;
  GetWindowRect(dialog, &d);
  GetWindowRect(GetDesktopWindow(), &screen);
  EXPECT_NEAR((d.left + d.right) / 2, (screen.left + screen.right) / 2, 2);
  ASSERT_TRUE(bringToFront(dialog));
  keybd_event(VK_ESCAPE, 0, 0, 0);
  keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
  EXPECT_TRUE(e2e::waitUntil([&] { return !IsWindow(dialog); }, 5000));
  e2e::pumpFor(500);
  EXPECT_TRUE(launcher.running());
  EXPECT_TRUE(IsWindow(bar));
}

}  // namespace
