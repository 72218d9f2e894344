// The bar window in this process, on a profile in memory: timers, region,
// hiding and locking, pointer-carrying messages and the keyboard.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <thread>
#include <type_traits>
#include <variant>

#include "framework/com.h"
#include "hook/vorber2k.h"
#include "launcher/app/launcher_app.h"
#include "launcher/bar/bar_window.h"
#include "launcher/services/find_files.h"
#include "tests/bar/in_process_bar.h"

namespace vorbin {
namespace {

class BarInProcess : public InProcessBarTest {
 protected:
  HWND makeBar() {
    HWND w = createShownBar();
    pump();
    return w;
  }
  static void pump() {
    MSG msg;
    for (int i = 0; i < 5; ++i) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      Sleep(10);
    }
  }
  // Whether the clock timer runs: killing it tells, and it is set again.
  bool clockRunning(HWND w) {
    if (!KillTimer(w, kTimerClock)) return false;
    SetTimer(w, kTimerClock, 1000, nullptr);
    return true;
  }
};

TEST_F(BarInProcess, MinimizingStopsTheClockAndRestoringStartsIt) {
  HWND w = makeBar();
  EXPECT_TRUE(clockRunning(w));
  ShowWindow(w, SW_MINIMIZE);
  pump();
  EXPECT_FALSE(clockRunning(w));
  ShowWindow(w, SW_RESTORE);
  pump();
  EXPECT_TRUE(clockRunning(w));
}

// The bar's tray icon, as the tray knows it.
NOTIFYICONDATAW trayIconOf(HWND bar) {
  NOTIFYICONDATAW d{};
  d.cbSize = sizeof(d);
  d.hWnd = bar;
  d.uID = 1;
  return d;
}

// Changing an icon succeeds only while the tray holds it.
bool trayIconThere(HWND bar) {
  NOTIFYICONDATAW d = trayIconOf(bar);
  d.uFlags = NIF_TIP;
  lstrcpynW(d.szTip, L"Vorb in", ARRAYSIZE(d.szTip));
  return Shell_NotifyIconW(NIM_MODIFY, &d) != FALSE;
}

TEST_F(BarInProcess, TrayIconIsAddedAtStartAndPutBackForARestartedShell) {
  settings.dispIconInTray = true;
  HWND w = makeBar();
  NOTIFYICONDATAW ours = trayIconOf(w);
  // Kept back until the start has settled (or a second has passed), then
  // added on a thread of its own.
  EXPECT_FALSE(trayIconThere(w)) << "the tray icon came before the start settled";
  bar->startSettled();
  bool added = false;
  for (int i = 0; i < 100 && !(added = trayIconThere(w)); ++i) pump();
  ASSERT_TRUE(added);

  // A restarted shell has lost every icon and asks each program for its own.
  const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &ours));
  EXPECT_FALSE(trayIconThere(w));
  SendMessageW(w, taskbarCreated, 0, 0);
  EXPECT_TRUE(trayIconThere(w));
  // Asked again while the icon is there, the bar keeps it.
  SendMessageW(w, taskbarCreated, 0, 0);
  EXPECT_TRUE(trayIconThere(w));

  // Without the option nothing is put back.
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &ours));
  settings.dispIconInTray = false;
  SendMessageW(w, taskbarCreated, 0, 0);
  EXPECT_FALSE(trayIconThere(w));
}

TEST_F(BarInProcess, TrayIconComesWithinASecondWhenTheStartNeverSettles) {
  settings.dispIconInTray = true;
  HWND w = makeBar();
  // Nobody calls startSettled here (a dialog's loop, say): the timer does.
  bool added = false;
  for (int i = 0; i < 60 && !(added = trayIconThere(w)); ++i) pump();
  EXPECT_TRUE(added);
  // Settling later adds nothing twice.
  bar->startSettled();
  pump();
  NOTIFYICONDATAW ours = trayIconOf(w);
  EXPECT_TRUE(Shell_NotifyIconW(NIM_DELETE, &ours));
}

TEST_F(BarInProcess, CreationUsesTheClassTitleStylesAndOwner) {
  HWND w = makeBar();
  wchar_t title[32];
  GetWindowTextW(w, title, 32);
  EXPECT_STREQ(title, L"Vorb in");
  EXPECT_EQ(GetWindow(w, GW_OWNER), owner);
  const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_CAPTION);
  EXPECT_TRUE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
  // The style stays as created.
  SetWindowLongPtrW(w, GWL_STYLE, style | WS_CAPTION);
  EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE), style);
}

TEST_F(BarInProcess, RegionFollowsEllipseWidthAndFlatRatio) {
  colors.ellipseWidth = 0;
  HWND w = makeBar();
  RECT r;
  GetWindowRect(w, &r);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w, region), ERROR);
  // Square corners: the window's corner pixel is inside the region.
  EXPECT_TRUE(PtInRegion(region, 0, 0));
  DeleteObject(region);

  bar.reset();
  colors.ellipseWidth = 60;
  settings.flatRatio = 0;
  w = makeBar();
  region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w, region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 1, 1));
  EXPECT_TRUE(PtInRegion(region, 30, 30));
  DeleteObject(region);

  // FlatRatio 100 flattens the corner height to nothing: the corner is square again.
  bar.reset();
  settings.flatRatio = 100;
  w = makeBar();
  region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w, region), ERROR);
  EXPECT_TRUE(PtInRegion(region, 1, 1));
  DeleteObject(region);
}

TEST_F(BarInProcess, CloseCommandHidesUnlessSuperLocked) {
  HWND w = makeBar();
  SendMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  pump();
  EXPECT_TRUE(IsIconic(w));
  EXPECT_FALSE(clockRunning(w));
  bar->showBar();
  pump();
  EXPECT_FALSE(IsIconic(w));

  settings.lock = settings.superLock = true;
  settings.lockLevel = lockLevelOf(true, true);
  SendMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  bar->hideBar(kHideKeepGroup);
  pump();
  EXPECT_FALSE(IsIconic(w));
  EXPECT_TRUE(IsWindowVisible(w));
}

TEST_F(BarInProcess, CloseCommandWaitsForAPendingHoverOverATab) {
  for (const wchar_t* title : {L"One", L"Two"}) {
    const std::wstring t = title;
    ASSERT_TRUE(groups->ensureGroup(static_cast<int>(groups->placeholderIndex()), &t, false));
  }
  settings.intervalAtSel = 300;
  HWND w = makeBar();
  groups->activeGroup = 1;
  const PixelRect tab2 = tabRect(bar->layout(), tabLayout(bar->layout(), 0), 2, 0);
  // The pointer rests on the tab: the delayed hover checks it is still there.
  POINT over{(tab2.left + tab2.right) / 2, (tab2.top + tab2.bottom) / 2};
  const LPARAM at = MAKELPARAM(over.x, over.y);
  ClientToScreen(w, &over);
  SetCursorPos(over.x, over.y);
  SendMessageW(w, WM_MOUSEMOVE, 0, at);
  SendMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsIconic(w)) << "the group about to open keeps the bar";
  for (int i = 0; i < 100 && groups->activeGroup != 2; ++i) pump();
  ASSERT_EQ(groups->activeGroup, 2);
  SendMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  pump();
  EXPECT_TRUE(IsIconic(w));

  // IntervalAtSel -1 turns the hover switch off: the tab arms nothing and
  // nothing keeps the close command from hiding the bar.
  settings.intervalAtSel = -1;
  bar->showBar();
  groups->activeGroup = 1;
  bar->repaintAll();
  pump();
  SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(0, 0));
  SendMessageW(w, WM_MOUSEMOVE, 0, at);
  EXPECT_FALSE(KillTimer(w, kTimerHoverGroup)) << "timer 3 was armed";
  SendMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  pump();
  EXPECT_TRUE(IsIconic(w));
  EXPECT_EQ(groups->activeGroup, 1);
}

TEST_F(BarInProcess, UsualyTopGroupReturnsToGroupOneOnPlainHideOnly) {
  settings.usuallyTopGroup = true;
  HWND w = makeBar();
  groups->activeGroup = 3;
  groups->dispGroupOffset = 2;
  bar->hideBar(kHideKeepGroup);
  EXPECT_EQ(groups->activeGroup, 3);
  bar->showBar();
  pump();
  bar->hideBar(kHidePlain);
  EXPECT_EQ(groups->activeGroup, 1);
  EXPECT_EQ(groups->dispGroupOffset, 0);
  EXPECT_TRUE(IsIconic(w));
}

TEST_F(BarInProcess, DeactivationWithDelayArmsTheHideTimer) {
  settings.noActiveToClose = true;
  settings.closeDelayTime = 30;
  HWND w = makeBar();
  bar->hideBar(kHideByDeactivation);
  pump();
  EXPECT_FALSE(IsIconic(w));
  EXPECT_TRUE(KillTimer(w, kTimerDelayedHide)) << "timer 2 was not armed";
  // Its expiry hides plainly.
  SendMessageW(w, WM_TIMER, kTimerDelayedHide, 0);
  pump();
  EXPECT_TRUE(IsIconic(w));
}

TEST_F(BarInProcess, AddRequestsAreTakenOnlyFromThisThreadAndBecomeButtons) {
  HWND w = makeBar();
  const wchar_t path[] = L"C:\\Tools\\app.exe -n";
  EXPECT_EQ(SendMessageW(w, kMsgAddRequest, 1, reinterpret_cast<LPARAM>(path)), 1);
  ASSERT_EQ(bar->addRequests().pending().size(), 1u);
  EXPECT_EQ(bar->addRequests().pending()[0].path, path);
  EXPECT_EQ(bar->addRequests().pending()[0].flags, 1u);

  // Posted: whoever posts, the pointer is not followed. The queue is taken
  // once the sender has its answer: a button in the active group.
  PostMessageW(w, kMsgAddRequest, 1, reinterpret_cast<LPARAM>(path));
  pump();
  EXPECT_TRUE(bar->addRequests().pending().empty());
  const int active = groups->activeGroup;
  ASSERT_GE(active, 1);
  ASSERT_LT(static_cast<size_t>(active), groups->placeholderIndex()) << "the placeholder became a group";
  ASSERT_EQ((*groups)[active].itemCount(), 1u);
  const Item* item = groups->item(active, 0);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->title, L"app");
  EXPECT_EQ(item->targetPath(), path);
  EXPECT_EQ(item->folder, L"C:\\Tools");
  EXPECT_TRUE(profile.getBinary(groups->groupSectionName(active), L"app,1").has_value());

  // Sent from another thread of this process: refused as well.
  LRESULT fromOther = -1;
  std::thread other([&] { fromOther = SendMessageW(w, kMsgAddRequest, 1, reinterpret_cast<LPARAM>(path)); });
  while (fromOther == -1) pump();
  other.join();
  EXPECT_EQ(fromOther, 0);
  pump();
  EXPECT_EQ((*groups)[active].itemCount(), 1u);

  // An ID list is copied by its own counts.
  const uint8_t list[] = {4, 0, 'x', 'y', 0, 0};
  EXPECT_EQ(SendMessageW(w, kMsgAddRequest, 0x201, reinterpret_cast<LPARAM>(list)), 1);
  ASSERT_EQ(bar->addRequests().pending().size(), 1u);
  EXPECT_EQ(bar->addRequests().pending()[0].idList, (IdListBytes{4, 0, 'x', 'y', 0, 0}));
}

TEST_F(BarInProcess, ClosingSavesTheWindowState) {
  HWND w = makeBar();
  SetWindowPos(w, nullptr, 120, 140, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  pump();
  RECT placed;
  GetWindowRect(w, &placed);
  const int height = placed.bottom - placed.top;
  bar->saveWindowState();
  EXPECT_EQ(profile.getInt(kSettingsSection, L"PositionX", -1), 120);
  EXPECT_EQ(profile.getInt(kSettingsSection, L"PositionY", -1), 140);
  EXPECT_EQ(profile.getInt(kSettingsSection, L"Height", -1), height);
  // The button rows in force are written back, not the -1 of a fresh profile.
  const int rows = bar->layout().visibleRows;
  ASSERT_GT(rows, 0);
  EXPECT_EQ(profile.getInt(kSettingsSection, L"ApplButtonRow", -1), rows);
  // A bar made taller by its bottom edge shows more rows, and saves them.
  RECT r;
  GetWindowRect(w, &r);
  SendMessageW(w, WM_NCLBUTTONDOWN, HTBOTTOM, MAKELPARAM(r.left + 20, r.bottom - 1));
  const LPARAM lower = MAKELPARAM(20, height + 3 * (height / rows));
  SendMessageW(w, WM_MOUSEMOVE, 0, lower);
  SendMessageW(w, WM_LBUTTONUP, 0, lower);
  UpdateWindow(w);
  bar->saveWindowState();
  EXPECT_GT(bar->layout().visibleRows, rows);
  EXPECT_EQ(profile.getInt(kSettingsSection, L"ApplButtonRow", -1), bar->layout().visibleRows);

  // Minimized, the remembered place is the one before.
  ShowWindow(w, SW_MINIMIZE);
  pump();
  bar->saveWindowState();
  EXPECT_EQ(profile.getInt(kSettingsSection, L"PositionX", -1), 120);
}

TEST_F(BarInProcess, MaximizedModeFillsTheWorkAreaHeightAndRestoresTheHeight) {
  HWND w = makeBar();
  RECT r;
  GetWindowRect(w, &r);
  const int normal = r.bottom - r.top;
  const int width = r.right - r.left;
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SendMessageW(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  pump();
  GetWindowRect(w, &r);
  EXPECT_EQ(r.bottom - r.top, work.bottom - work.top);
  EXPECT_EQ(r.right - r.left, width) << "the width never changes";
  bar->saveWindowState();
  EXPECT_EQ(profile.getString(kSettingsSection, L"IsMaxSize"), L"Yes");
  EXPECT_EQ(profile.getInt(kSettingsSection, L"Height", -1), normal) << "the restored height is saved";
  SendMessageW(w, WM_SYSCOMMAND, SC_RESTORE, 0);
  pump();
  GetWindowRect(w, &r);
  EXPECT_EQ(r.bottom - r.top, normal);
}

TEST_F(BarInProcess, SessionEndSavesTheState) {
  HWND w = makeBar();
  SetWindowPos(w, nullptr, 90, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  pump();
  EXPECT_TRUE(SendMessageW(w, WM_QUERYENDSESSION, 0, 0));
  EXPECT_EQ(profile.getInt(kSettingsSection, L"PositionX", -1), 90);
  SetWindowPos(w, nullptr, 95, 75, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  pump();
  SendMessageW(w, WM_ENDSESSION, FALSE, 0);  // the session goes on: nothing written
  EXPECT_EQ(profile.getInt(kSettingsSection, L"PositionX", -1), 90);
  SendMessageW(w, WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(profile.getInt(kSettingsSection, L"PositionX", -1), 95);
  EXPECT_EQ(profile.getInt(kSettingsSection, L"PositionY", -1), 75);
}

TEST_F(BarInProcess, BottomEdgeResizeFollowsThePointer) {
  HWND w = makeBar();
  RECT r;
  GetWindowRect(w, &r);
  const int edge = std::max(2, GetSystemMetrics(SM_CYSIZEFRAME));
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(r.left + 20, r.bottom - 1)), HTBOTTOM);
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(r.left + 20, r.top)), HTTOP);
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(r.left + 20, r.top + edge + 1)), HTCAPTION);
  // The control box opens the system menu.
  const PixelRect box = bar->layout().controlBox;
  const LPARAM boxCentre =
      MAKELPARAM(r.left + (box.left + box.right) / 2, r.top + (box.top + box.bottom) / 2);
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, boxCentre), HTSYSMENU);

  SendMessageW(w, WM_NCLBUTTONDOWN, HTBOTTOM, MAKELPARAM(r.left + 20, r.bottom - 1));
  EXPECT_FALSE(clockRunning(w)) << "the clock stops during a resize";
  POINT p{20, (r.bottom - r.top) + 40};
  SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  RECT after;
  GetWindowRect(w, &after);
  EXPECT_EQ(after.top, r.top);
  EXPECT_EQ(after.bottom - after.top, (r.bottom - r.top) + 41);
  EXPECT_TRUE(clockRunning(w));
}

// Where the open popup menu is, taken from inside the menu's own loop.
RECT g_menuRect{};
void CALLBACK noteMenuAndClose(HWND, UINT, UINT_PTR id, DWORD) {
  if (HWND menu = FindWindowW(L"#32768", nullptr); menu && IsWindowVisible(menu)) {
    GetWindowRect(menu, &g_menuRect);
    KillTimer(nullptr, id);
    EndMenu();
  }
}

TEST_F(BarInProcess, TheControlBoxMenuOpensBelowTheBoxAndLeavesItUncovered) {
  HWND w = makeBar();
  const PixelRect c = bar->layout().controlBox;
  RECT box{c.left, c.top, c.right, c.bottom};
  MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&box), 2);
  g_menuRect = {};
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, noteMenuAndClose);
  SendMessageW(w, WM_SYSCOMMAND, SC_MOUSEMENU, MAKELPARAM(box.left + 1, box.top + 1));
  KillTimer(nullptr, timer);
  ASSERT_GT(g_menuRect.bottom, g_menuRect.top) << "no menu opened";
  EXPECT_EQ(g_menuRect.left, box.left);
  EXPECT_GE(g_menuRect.top, box.bottom);
}

TEST_F(BarInProcess, ClientAreaShowsCursor178AndTheEdgesTheSizingCursor) {
  HWND w = makeBar();
  // This test program carries the launcher's images, cursor 178 among them.
  HCURSOR own = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(178));
  ASSERT_NE(own, nullptr);
  SetCursor(nullptr);
  EXPECT_TRUE(SendMessageW(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(GetCursor(), own);
  for (int edge : {HTTOP, HTBOTTOM}) {
    SetCursor(own);
    EXPECT_TRUE(SendMessageW(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(edge, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZENS)) << edge;
  }
}

// Every value the settings table marks as handed over by the options sheet
// reaches the bar through applyOptions: a new marked row needs no other edit.
TEST_F(BarInProcess, EveryValueTheTableMarksReachesTheBarThroughApplyOptions) {
  makeBar();
  Settings sheet = settings;
  std::vector<const SettingField*> checked;
  const std::vector<SettingField> fields = settingFields();
  for (const SettingField& f : fields) {
    if (!f.fromSheet || f.byHand) continue;
    // These two answer with the user's message box and the shell's tray; their
    // own tests cover them.
    if (std::wstring_view(f.name) == L"KeepCompression" || std::wstring_view(f.name) == L"DispIconInTary")
      continue;
    std::visit(
        [&](auto member) {
          using Value = std::remove_reference_t<decltype(sheet.*member)>;
          if constexpr (std::is_same_v<Value, bool>)
            sheet.*member = !(settings.*member);
          else if constexpr (std::is_same_v<Value, int>)
            sheet.*member = settings.*member + 1;
          else
            sheet.*member = settings.*member + L"x";
        },
        f.field);
    checked.push_back(&f);
  }
  ASSERT_GE(checked.size(), 20u) << "the table marks fewer values than the sheet hands over";
  bar->applyOptions(sheet);
  for (const SettingField* f : checked) {
    const bool taken = std::visit([&](auto member) { return settings.*member == sheet.*member; }, f->field);
    EXPECT_TRUE(taken) << "not handed over: " << std::string(f->name, f->name + wcslen(f->name));
  }
  EXPECT_TRUE(IsWindow(bar->hwnd()));
}

TEST_F(BarInProcess, TaskDetailsFromTheOptionsRebuildTheTaskList) {
  makeBar();
  bar->setTaskMode(true);
  HWND late = CreateWindowExW(0, L"STATIC", L"late task", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 100,
                              nullptr, nullptr, nullptr, nullptr);
  SetClassLongPtrW(late, GCLP_HICON, reinterpret_cast<LONG_PTR>(LoadIconW(nullptr, IDI_APPLICATION)));
  auto isListed = [&] {
    for (size_t i = 1; i < bar->taskList().table().size(); ++i)
      if (bar->taskList().table()[i].window == late) return true;
    return false;
  };
  ASSERT_FALSE(isListed());
  Settings sheet = settings;
  sheet.dispTaskDetails = settings.dispTaskDetails ? 0 : 1;
  bar->applyOptions(sheet);
  EXPECT_TRUE(isListed());

  // With details an untitled window shows its class; a window retitled to
  // nothing as well.
  ASSERT_NE(settings.dispTaskDetails, 0);
  wchar_t className[64] = {};
  GetClassNameW(late, className, 64);
  const std::wstring byClass = L"class:" + std::wstring(className);
  HWND untitled = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 200, 100,
                                  nullptr, nullptr, nullptr, nullptr);
  auto titleOf = [&](HWND window) {
    for (size_t i = 1; i < bar->taskList().table().size(); ++i)
      if (bar->taskList().table()[i].window == window) return std::optional<std::wstring>(bar->taskList().table()[i].title);
    return std::optional<std::wstring>();
  };
  bar->refreshTaskList();
  EXPECT_EQ(titleOf(untitled), byClass);
  EXPECT_EQ(titleOf(late), L"late task");
  SetWindowTextW(late, L"");
  SendMessageW(bar->hwnd(), WM_HOOK_TASKCHANGE, reinterpret_cast<WPARAM>(late), 12);
  EXPECT_EQ(titleOf(late), byClass);
  DestroyWindow(untitled);
  DestroyWindow(late);
}

TEST_F(BarInProcess, KeysMoveTheFocusByPuttingThePointerOnTheTargetButton) {
  for (const wchar_t* title : {L"Keys", L"Second"}) {
    const std::wstring t = title;
    ASSERT_TRUE(groups->ensureGroup(static_cast<int>(groups->placeholderIndex()), &t, false));
  }
  for (int slot = 0; slot < 40; ++slot) {
    auto item = std::make_unique<Item>();
    item->title = L"Key " + std::to_wstring(slot);
    groups->placeItem(1, slot, std::move(item));
  }
  settings.actRect = 2;  // the grid holds the keyboard
  HWND w = makeBar();
  groups->activeGroup = 1;
  // The focus is the button under the pointer, or the last one it was over:
  // on the logo no button has it.
  const PixelRect logo = bar->layout().logoBox;
  POINT onLogo{(logo.left + logo.right) / 2, (logo.top + logo.bottom) / 2};
  ClientToScreen(w, &onLogo);
  SetCursorPos(onLogo.x, onLogo.y);
  for (int i = 0; i < 10; ++i) pump();
  auto key = [&](WPARAM vk) {
    SendMessageW(w, WM_KEYDOWN, vk, 0);
    SendMessageW(w, WM_KEYUP, vk, 0);
  };
  // The system reports a moved pointer after a moment.
  auto pointerIn = [&](const PixelRect& r) {
    for (int i = 0; i < 100; ++i) {
      POINT at;
      GetCursorPos(&at);
      ScreenToClient(w, &at);
      if (r.contains(at.x, at.y)) return true;
      pump();
    }
    return false;
  };
  auto onSlot = [&](WPARAM vk, int slot) {
    key(vk);
    const auto geo = bar->slotGeometry(1, slot);
    return geo && pointerIn(geo->cell);
  };
  EXPECT_TRUE(onSlot(VK_RIGHT, 0)) << "without a focused button the first one takes it";
  EXPECT_TRUE(onSlot(VK_RIGHT, 1));
  EXPECT_TRUE(onSlot(VK_DOWN, 5));
  const int rows = bar->layout().visibleRows;
  ASSERT_GT(rows, 0);
  ASSERT_LT(rows, 10);
  EXPECT_TRUE(onSlot(VK_END, 39));
  EXPECT_EQ((*groups)[1].dispOffset, 10 - rows) << "the grid scrolls the last row into view";
  EXPECT_TRUE(onSlot(VK_PRIOR, 39 - 4 * rows));
  EXPECT_TRUE(onSlot(VK_HOME, 0));
  EXPECT_EQ((*groups)[1].dispOffset, 0);

  // Tab goes to the active group's tab; Down to the next tab; Enter selects the next group.
  const TabLayout tabs = tabLayout(bar->layout(), 0);
  auto onTab = [&](WPARAM vk, int tab) {
    key(vk);
    return pointerIn(tabRect(bar->layout(), tabs, tab, 0));
  };
  EXPECT_TRUE(onTab(VK_TAB, 1));
  EXPECT_TRUE(onTab(VK_DOWN, 2));
  key(VK_RETURN);
  EXPECT_EQ(groups->activeGroup, 2);
  key(VK_RETURN);
  EXPECT_EQ(groups->activeGroup, 2) << "the last group stays";
  // In task mode the keys walk the task list's entries.
  HWND probes[2];
  for (HWND& probe : probes) {
    probe = CreateWindowExW(0, L"STATIC", L"focus probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 900, 0, 200, 100,
                            nullptr, nullptr, nullptr, nullptr);
    SetClassLongPtrW(probe, GCLP_HICON, reinterpret_cast<LONG_PTR>(LoadIconW(nullptr, IDI_APPLICATION)));
  }
  bar->setTaskMode(true);
  pump();
  ASSERT_GE(bar->taskList().table().size(), 3u);
  // The tab area keeps the keys; it lists the windows now.
  const TabLayout entries = tabLayout(bar->layout(), settings.taskDispMode);
  auto onEntry = [&](WPARAM vk, int entry) {
    key(vk);
    return pointerIn(tabRect(bar->layout(), entries, entry, 0));
  };
  EXPECT_TRUE(onEntry(VK_HOME, 1));
  EXPECT_TRUE(onEntry(VK_DOWN, 1 + entries.perRow));
  EXPECT_TRUE(onEntry(VK_UP, 1));
  for (HWND probe : probes) DestroyWindow(probe);
  bar->setTaskMode(false);
  // From the tabs Tab goes back to the grid's first button.
  groups->activeGroup = 1;
  EXPECT_TRUE(onSlot(VK_TAB, 0));
}

// Control 202's place in the bar's client area, or an empty rectangle.
RECT childRect(HWND bar, HWND child) {
  RECT r{};
  if (!child) return r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST_F(BarInProcess, GroupScrollBarFollowsTheTabRowsRequestsModeAndOptions) {
  for (int n = 0; n < 20; ++n) {
    const std::wstring title = L"Group " + std::to_wstring(n + 1);
    ASSERT_TRUE(groups->ensureGroup(static_cast<int>(groups->placeholderIndex()), &title, false));
  }
  settings.grpScrollMode = 1;
  settings.groupDispMode = 0;
  HWND w = makeBar();
  HWND sb = GetDlgItem(w, 202);
  ASSERT_NE(sb, nullptr) << "no group scroll bar";
  EXPECT_TRUE(IsWindowVisible(sb));
  // Beside the tabs, at the right edge of the space the tabs had, as high as the tab area.
  const BarLayout& l = bar->layout();
  const RECT at = childRect(w, sb);
  EXPECT_EQ(at.right, l.tabArea.right + GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(at.right - at.left, GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(at.top, l.tabArea.top);
  EXPECT_EQ(at.bottom, l.tabArea.bottom);
  const TabLayout tabs = tabLayout(l, 0);
  const int page = l.tabArea.height() / tabs.tabHeight;
  ASSERT_GT(page, 0);
  ASSERT_LT(page + 2, 20) << "the test wants more rows than the bar shows";
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(sb, SB_CTL, &info));
  EXPECT_EQ(info.nMax, 19);
  EXPECT_EQ(static_cast<int>(info.nPage), page);

  auto request = [&](int code, int thumb = 0) {
    SendMessageW(w, WM_VSCROLL, MAKEWPARAM(code, thumb), reinterpret_cast<LPARAM>(sb));
    return groups->dispGroupOffset;
  };
  EXPECT_EQ(request(SB_LINEDOWN), 1);
  EXPECT_EQ(request(SB_PAGEDOWN), 1 + page);
  EXPECT_EQ(request(SB_LINEUP), page);
  EXPECT_EQ(request(SB_PAGEDOWN), std::min(2 * page, 20 - page));
  EXPECT_EQ(request(SB_BOTTOM), 20 - page);
  EXPECT_EQ(request(SB_LINEDOWN), 20 - page) << "past the last page";
  EXPECT_EQ(request(SB_PAGEUP), 20 - 2 * page > 0 ? 20 - 2 * page : 0);
  EXPECT_EQ(request(SB_TOP), 0);
  // The thumb's position comes from the control; an end only repaints.
  SetScrollPos(sb, SB_CTL, 5, FALSE);
  EXPECT_EQ(request(SB_ENDSCROLL), 0);
  // WM_VSCROLL from anything else is not the group scroll bar's.
  SendMessageW(w, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(groups->dispGroupOffset, 0);
  request(SB_LINEDOWN);
  pump();
  ASSERT_TRUE(GetScrollInfo(sb, SB_CTL, &info));
  EXPECT_EQ(info.nPos, 1) << "the thumb follows the offset";

  // A bar made taller by its bottom edge takes the scroll bar's bottom along.
  RECT wr;
  GetWindowRect(w, &wr);
  SendMessageW(w, WM_NCLBUTTONDOWN, HTBOTTOM, MAKELPARAM(wr.left + 20, wr.bottom - 1));
  SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(20, wr.bottom - wr.top + 2 * l.H));
  SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(20, wr.bottom - wr.top + 2 * l.H));
  pump();
  EXPECT_EQ(childRect(w, sb).bottom, bar->layout().tabArea.bottom);
  EXPECT_GT(bar->layout().tabArea.bottom, at.bottom);

  // Task mode lists windows where the tabs were: the same bar scrolls the
  // list, its range the list's rows; the tabs' place is kept for their return.
  const int groupOffset = groups->dispGroupOffset;
  bar->setTaskMode(true);
  pump();
  EXPECT_TRUE(IsWindowVisible(sb));
  ASSERT_TRUE(GetScrollInfo(sb, SB_CTL, &info));
  EXPECT_EQ(info.nMax, std::max(0, static_cast<int>(bar->taskList().table().size()) - 2));
  SendMessageW(w, WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), reinterpret_cast<LPARAM>(sb));
  EXPECT_EQ(groups->dispGroupOffset, groupOffset);
  bar->setTaskMode(false);
  pump();
  EXPECT_TRUE(IsWindowVisible(sb));
  EXPECT_EQ(groups->dispGroupOffset, groupOffset);

  // The options sheet switches it off and on again.
  Settings sheet = settings;
  sheet.grpScrollMode = 0;
  bar->applyOptions(sheet);
  pump();
  EXPECT_EQ(GetDlgItem(w, 202), nullptr);
  EXPECT_FALSE(IsWindow(sb));
  EXPECT_EQ(bar->layout().tabArea.right, at.right) << "the tabs take the space back";
  sheet.grpScrollMode = 1;
  bar->applyOptions(sheet);
  pump();
  EXPECT_NE(GetDlgItem(w, 202), nullptr);
  EXPECT_EQ(bar->layout().tabArea.right, l.tabArea.right);

  // A saved offset past the last page would hide the first tabs out of reach.
  groups->dispGroupOffset = 99;
  bar->repaintAll();
  pump();
  EXPECT_EQ(groups->dispGroupOffset,
            tabRows(20, 1, tabs.tabHeight, bar->layout().tabArea.height()).maxOffset());
}

bool listed(const TaskTable& t, HWND w, int* showState = nullptr, std::wstring* title = nullptr) {
  for (size_t i = 1; i < t.size(); ++i) {
    if (t[i].window != w) continue;
    if (showState) *showState = t[i].showState;
    if (title) *title = t[i].title;
    return true;
  }
  return false;
}

TEST_F(BarInProcess, TaskListFollowsWindowReports) {
  HWND w = makeBar();
  HWND probe = CreateWindowExW(0, L"STATIC", L"task probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200,
                               100, nullptr, nullptr, nullptr, nullptr);
  HWND owned = CreateWindowExW(0, L"STATIC", L"owned probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200,
                               100, probe, nullptr, nullptr, nullptr);
  SetClassLongPtrW(probe, GCLP_HICON, reinterpret_cast<LONG_PTR>(LoadIconW(nullptr, IDI_APPLICATION)));
  bar->refreshTaskList();
  int state = -1;
  EXPECT_TRUE(listed(bar->taskList().table(), probe, &state));
  EXPECT_EQ(state, 1);
  EXPECT_FALSE(listed(bar->taskList().table(), owned)) << "owned windows are not listed";
  EXPECT_FALSE(listed(bar->taskList().table(), w)) << "the bar itself is not listed";

  SetWindowTextW(probe, L"renamed probe");
  SendMessageW(w, WM_HOOK_TASKCHANGE, reinterpret_cast<WPARAM>(probe), 12);
  std::wstring title;
  EXPECT_TRUE(listed(bar->taskList().table(), probe, nullptr, &title));
  EXPECT_EQ(title, L"renamed probe");

  ShowWindow(probe, SW_HIDE);
  SendMessageW(w, WM_HOOK_TASKCHANGE, reinterpret_cast<WPARAM>(probe), 0);
  EXPECT_TRUE(listed(bar->taskList().table(), probe, &state));
  EXPECT_EQ(state, 0);

  DestroyWindow(probe);
  SendMessageW(w, WM_HOOK_TASKCHANGE, reinterpret_cast<WPARAM>(probe), 5);
  EXPECT_FALSE(listed(bar->taskList().table(), probe));

  // A window the list did not know is added when it is shown.
  HWND late = CreateWindowExW(0, L"STATIC", L"late probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 100,
                              nullptr, nullptr, nullptr, nullptr);
  SetClassLongPtrW(late, GCLP_HICON, reinterpret_cast<LONG_PTR>(LoadIconW(nullptr, IDI_APPLICATION)));
  SendMessageW(w, WM_HOOK_TASKCHANGE, reinterpret_cast<WPARAM>(late), 4);
  EXPECT_TRUE(listed(bar->taskList().table(), late));
  DestroyWindow(late);
}

}  // namespace
}  // namespace vorbin
