// The task list's commands on real victim programs: the bar of this process
// lists them, marks them and acts on them through its command and mode
// buttons; the victims' windows are read back through the system.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "hook/vorber2k.h"
#include "launcher/bar/bar_window.h"
#include "launcher/bar/task_change.h"
#include "launcher/bar/task_commands_win.h"
#include "launcher/bar/task_rules.h"
#include "launcher/bar/task_scroll.h"
#include "launcher/interact/hit_areas.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/process_info.h"
#include "tests/bar/in_process_bar.h"
#include "tests/support/e2e.h"

namespace vorbin {
namespace {

constexpr wchar_t kVictimClass[] = L"VbTaskVictim";

struct Victim {
  e2e::Process process;
  HWND window = nullptr;
};

HWND victimWindow(DWORD pid) { return e2e::waitForWindow(kVictimClass, pid, e2e::kVisible, 10000); }

RECT rectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

bool same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

bool inside(const RECT& r, const Rect& area) {
  return r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom;
}

class TaskCommands : public InProcessBarTest {
 protected:
  void SetUp() override {
    InProcessBarTest::SetUp();
    settings.dispTaskDetails = 1;  // windows of other programs give no icon here
    settings.lockLevel = 1;        // the bar stays while the victims are switched to
  }
  void TearDown() override {
    for (Victim& v : victims) v.process.kill();
    InProcessBarTest::TearDown();
  }
  Victim& startVictim(const std::wstring& arguments) {
    victims.emplace_back();
    Victim& v = victims.back();
    EXPECT_TRUE(v.process.start(e2e::binPath(L"task_victim.exe"), arguments));
    v.window = victimWindow(v.process.pid());
    EXPECT_NE(v.window, nullptr) << "victim " << arguments.c_str();
    return v;
  }
  // Task mode with a fresh list; the entry of each window marked with Ctrl+click.
  void markInTaskList(std::initializer_list<HWND> windows) {
    if (!bar) createShownBar();
    bar->setTaskMode(true);
    bar->refreshTaskList();
    for (HWND w : windows) {
      const int n = entryOf(w);
      ASSERT_GT(n, 0) << "not listed";
      bool changed = false;
      EXPECT_FALSE(bar->taskList().click(n, true, false, &changed));
      EXPECT_TRUE(changed);
    }
  }
  int entryOf(HWND w) const {
    for (size_t i = 1; i < bar->tasks().size(); ++i)
      if (bar->tasks()[i].window == w) return static_cast<int>(i);
    return 0;
  }
  void command(int k) { bar->taskCommands().boxCommand(bar->hwnd(), Hit{hit_area::kCommands, k}); }
  // Where entry n is drawn now, the list scrolled to its first shown row.
  PixelRect entryRect(int n) const {
    const TabLayout tabs = tabLayout(bar->layout(), settings.taskDispMode);
    return tabRect(bar->layout(), tabs, n, bar->taskList().firstRow() * tabs.tabHeight);
  }
  static POINT centre(const PixelRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  Hit hitAt(POINT p) const { return hitTest(bar->hitGeometry(), p.x, p.y); }
  // The bar's own mouse and key messages, as the system would send them.
  void mouse(UINT message, POINT at, WPARAM keys = 0) {
    SendMessageW(bar->hwnd(), message, keys, MAKELPARAM(at.x, at.y));
  }
  void key(UINT vk) {
    SendMessageW(bar->hwnd(), WM_KEYDOWN, vk, 1);
    SendMessageW(bar->hwnd(), WM_KEYUP, vk, 0xC0000001);
  }
  void paintNow() {
    InvalidateRect(bar->hwnd(), nullptr, FALSE);
    UpdateWindow(bar->hwnd());
  }
  void modeButton(int k) { bar->taskCommands().boxCommand(bar->hwnd(), Hit{hit_area::kModes, k}); }

  std::vector<Victim> victims;
};

TEST_F(TaskCommands, TileAndCascadeMoveOnlyTheMarkedAnsweringWindows) {
  victims.reserve(6);
  HWND a = startVictim(L"/title:alpha").window;
  HWND b = startVictim(L"/title:beta").window;
  HWND c = startVictim(L"/title:gamma").window;
  HWND bystander = startVictim(L"/title:bystander").window;
  HWND big = startVictim(L"/title:maximised /maximized").window;
  ASSERT_TRUE(a && b && c && bystander && big);

  // Nothing marked: tile changes no window.
  markInTaskList({});
  const RECT before = rectOf(a);
  bar->taskCommands().tileMarked(bar->hwnd(), IDC_TILE_LEFT);
  e2e::pumpFor(300);
  EXPECT_TRUE(same(before, rectOf(a)));

  markInTaskList({a, b, c});
  const Rect work = barWorkArea(bar->hwnd());
  const Rect left = tileChoice(IDC_TILE_LEFT, work).area;
  const RECT bystanderBefore = rectOf(bystander);
  bar->taskCommands().tileMarked(bar->hwnd(), IDC_TILE_LEFT);
  // The victims started inside the left half: wait for the tiles themselves
  // (the moves reach other programs without waiting on them).
  const auto apart = [&] {
    RECT ra = rectOf(a), rb = rectOf(b), rc = rectOf(c), tmp{};
    return !IntersectRect(&tmp, &ra, &rb) && !IntersectRect(&tmp, &rb, &rc) && !IntersectRect(&tmp, &ra, &rc);
  };
  EXPECT_TRUE(e2e::waitUntil(
      [&] {
        return inside(rectOf(a), left) && inside(rectOf(b), left) && inside(rectOf(c), left) && apart();
      },
      5000))
      << "the three marked windows tiled inside the left half, without overlap";
  EXPECT_TRUE(same(bystanderBefore, rectOf(bystander))) << "an unmarked window stays";
  // The maximised bystander was out of the way and is back, still maximised.
  EXPECT_TRUE(e2e::waitUntil([&] { return IsWindowVisible(big) && IsZoomed(big); }, 3000));

  const RECT tiledA = rectOf(a), tiledC = rectOf(c);
  bar->taskCommands().cascadeMarked(bar->hwnd());
  EXPECT_TRUE(e2e::waitUntil([&] { return !same(tiledA, rectOf(a)) && !same(tiledC, rectOf(c)); }, 5000));
  // Cascaded: each a step further down and right than the one before.
  EXPECT_LT(rectOf(a).left, rectOf(b).left);
  EXPECT_LT(rectOf(b).top, rectOf(c).top);
  EXPECT_EQ(rectOf(a).right - rectOf(a).left, rectOf(c).right - rectOf(c).left);
  EXPECT_TRUE(e2e::waitUntil([&] { return IsWindowVisible(big); }, 3000));
}

TEST_F(TaskCommands, AHungVictimIsSkippedWithoutStoppingTheBar) {
  victims.reserve(3);
  HWND ok = startVictim(L"/title:answering").window;
  HWND hung = startVictim(L"/title:hung /hangafter:400").window;
  HWND big = startVictim(L"/title:big /maximized").window;
  ASSERT_TRUE(ok && hung && big);
  markInTaskList({ok, hung});
  Sleep(600);  // the hung victim has stopped answering
  const RECT hungBefore = rectOf(hung);
  const Rect right = tileChoice(IDC_TILE_RIGHT, barWorkArea(bar->hwnd())).area;
  const DWORD start = GetTickCount();
  bar->taskCommands().tileMarked(bar->hwnd(), IDC_TILE_RIGHT);
  const DWORD took = GetTickCount() - start;
  EXPECT_LT(took, 2000u) << "the bar waited on the hung program";
  // The bar answers a message from another thread meanwhile.
  DWORD_PTR answer = 0;
  std::thread asker(
      [&] { SendMessageTimeoutW(bar->hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer); });
  e2e::pumpFor(200);
  asker.join();
  EXPECT_TRUE(e2e::waitUntil([&] { return inside(rectOf(ok), right); }, 5000));
  EXPECT_TRUE(same(hungBefore, rectOf(hung)));
  EXPECT_TRUE(e2e::waitUntil([&] { return IsWindowVisible(big); }, 3000)) << "hidden maximised window back";
}

TEST_F(TaskCommands, CommandButtonsPinMinimiseAndCloseTheMarkedVictims) {
  victims.reserve(3);
  HWND a = startVictim(L"/title:pin-a").window;
  HWND b = startVictim(L"/title:pin-b").window;
  HWND other = startVictim(L"/title:unmarked").window;
  ASSERT_TRUE(a && b && other);
  markInTaskList({a, b});
  const auto topmost = [](HWND w) { return (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };

  command(5);  // pin on top
  EXPECT_TRUE(e2e::waitUntil([&] { return topmost(a) && topmost(b); }, 3000));
  EXPECT_FALSE(topmost(other));
  EXPECT_EQ(bar->tasks()[static_cast<size_t>(entryOf(a))].topmost, 1) << "the entry's mark";
  command(6);  // unpin
  EXPECT_TRUE(e2e::waitUntil([&] { return !topmost(a) && !topmost(b); }, 3000));
  EXPECT_EQ(bar->tasks()[static_cast<size_t>(entryOf(b))].topmost, 0);

  command(2);  // minimise
  EXPECT_TRUE(e2e::waitUntil([&] { return IsIconic(a) && IsIconic(b); }, 3000));
  EXPECT_FALSE(IsIconic(other));
  command(1);  // normal
  EXPECT_TRUE(e2e::waitUntil([&] { return !IsIconic(a) && !IsIconic(b); }, 3000));

  command(7);  // close
  EXPECT_TRUE(victims[0].process.wait(5000).has_value());
  EXPECT_TRUE(victims[1].process.wait(5000).has_value());
  EXPECT_TRUE(victims[2].process.running());
  // The closed windows are gone; a second close acts on nothing and only beeps.
  EXPECT_FALSE(IsWindow(a));
  command(7);
  EXPECT_TRUE(victims[2].process.running());
}

TEST_F(TaskCommands, MinimiseAllLeavesADialogWithoutMinimiseBoxAlone) {
  victims.reserve(2);
  HWND plain = startVictim(L"/title:plain").window;
  HWND dialog = startVictim(L"/title:dialog /dialog").window;
  ASSERT_TRUE(plain && dialog);
  createShownBar();
  bar->setTaskMode(true);
  modeButton(3);
  EXPECT_TRUE(e2e::waitUntil([&] { return IsIconic(plain) != FALSE; }, 3000));
  e2e::pumpFor(300);
  EXPECT_FALSE(IsIconic(dialog));
  EXPECT_TRUE(IsWindowVisible(bar->hwnd())) << "the bar itself stays";
}

// Presses OK on the first message box of this process; its text.
std::wstring answerQuestion(std::atomic<bool>& stop) {
  std::wstring text;
  while (!stop) {
    HWND box = FindWindowW(L"#32770", nullptr);
    DWORD pid = 0;
    if (box) GetWindowThreadProcessId(box, &pid);
    if (box && pid == GetCurrentProcessId()) {
      // The box may be found before its text is in place (seen on a busy machine).
      wchar_t buffer[1024] = {};
      for (int tries = 0; tries < 50 && !buffer[0]; ++tries) {
        Sleep(100);
        GetDlgItemTextW(box, 0xFFFF, buffer, 1024);
      }
      text = buffer;
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      return text;
    }
    Sleep(50);
  }
  return text;
}

TEST_F(TaskCommands, MakeAButtonAddsTheVictimsProgramToThePreviousGroup) {
  std::wstring padding(300, L'p');
  HWND w = startVictim(L"/title:maker " + padding).window;
  ASSERT_TRUE(w);
  markInTaskList({w});
  std::atomic<bool> stop{false};
  std::wstring asked;
  std::thread answer([&] { asked = answerQuestion(stop); });
  command(8);
  stop = true;
  answer.join();
  EXPECT_FALSE(asked.empty()) << "a question came first";

  // The 300-character line is too long for the hook library: the program's path.
  HANDLE p = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, victims[0].process.pid());
  wchar_t path[MAX_PATH] = {};
  DWORD length = MAX_PATH;
  ASSERT_TRUE(QueryFullProcessImageNameW(p, 0, path, &length));
  CloseHandle(p);
  EXPECT_NE(asked.find(path), std::wstring::npos) << "the question names the program";
  bool found = false;
  for (int slot = 0; slot < 200 && !found; ++slot) {
    const Item* item = groups->item(1, slot);
    if (item && item->targetPath().find(path) != std::wstring::npos) found = true;
  }
  EXPECT_TRUE(found) << "an item whose target is the victim's program";
}

TEST_F(TaskCommands, DetailsLineNamesTheVictimsPathPriorityAndType) {
  HWND high = startVictim(L"/priority:high /title:high").window;
  HWND untitled = startVictim(L"/notitle").window;
  ASSERT_TRUE(high && untitled);
  markInTaskList({});
  const int n = entryOf(high);
  ASSERT_GT(n, 0);
  HANDLE p = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, victims[0].process.pid());
  wchar_t path[MAX_PATH] = {};
  DWORD length = MAX_PATH;
  ASSERT_TRUE(QueryFullProcessImageNameW(p, 0, path, &length));
  CloseHandle(p);
  EXPECT_EQ(queryProcess(high).imagePath, path);
  // Another program's entry is listed in its place, its facts read when it is first shown.
  const int u = entryOf(untitled);
  ASSERT_GT(u, 0);
  EXPECT_EQ(bar->tasks()[static_cast<size_t>(n)].details, L"");
  EXPECT_EQ(bar->tasks()[static_cast<size_t>(u)].title, L"");
  paintNow();
  EXPECT_EQ(bar->tasks()[static_cast<size_t>(n)].details,
            taskDetailsLine(path, victims[0].process.pid(), L"High", L"32Bit"));
  EXPECT_EQ(bar->tasks()[static_cast<size_t>(n)].title, L"high");
  // An untitled window is listed by its class while details are on.
  EXPECT_EQ(bar->tasks()[static_cast<size_t>(u)].title, std::wstring(L"class:") + kVictimClass);
}

TEST_F(TaskCommands, ARefusedBarHotKeyKeepsTheOldOneRegistered) {
  const int oldKey = ((2 | 4) << 8) | VK_F9;  // Ctrl+Alt+F9
  const int takenKey = ((2 | 4) << 8) | VK_F10;
  settings.hotKey = oldKey;
  createShownBar();
  HWND holder =
      CreateWindowExW(0, L"STATIC", L"holder", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(RegisterHotKey(holder, 7, MOD_CONTROL | MOD_ALT, VK_F10));
  ASSERT_FALSE(RegisterHotKey(holder, 8, MOD_CONTROL | MOD_ALT, VK_F9)) << "the bar holds the old key";
  Settings sheet = settings;
  sheet.hotKey = takenKey;
  bar->applyOptions(sheet);
  EXPECT_EQ(settings.hotKey, oldKey) << "the refused key is not taken over";
  EXPECT_FALSE(RegisterHotKey(holder, 8, MOD_CONTROL | MOD_ALT, VK_F9)) << "the old key is registered again";
  UnregisterHotKey(holder, 7);
  DestroyWindow(holder);
}

// The windows of the victims with these process ids that are listed now.
int listedOf(const TaskTable& tasks, DWORD pid) {
  int n = 0;
  for (size_t i = 1; i < tasks.size(); ++i) n += tasks[i].processId == pid;
  return n;
}

TEST_F(TaskCommands, ALongListScrollsToItsLastEntryWhichAClickReaches) {
  settings.actRect = hit_area::kTabs;  // the keys move in the list
  Victim& many = startVictim(L"/title:many /windows:40");
  ASSERT_TRUE(many.window);
  const DWORD pid = many.process.pid();
  createShownBar();
  bar->setTaskMode(true);
  ASSERT_TRUE(e2e::waitUntil(
      [&] {
        bar->refreshTaskList();
        return listedOf(bar->tasks(), pid) >= 40;
      },
      10000));
  paintNow();
  const int last = static_cast<int>(bar->tasks().size()) - 1;
  HWND lastWindow = static_cast<HWND>(bar->tasks()[static_cast<size_t>(last)].window);
  const PixelRect area = bar->layout().tabArea;
  ASSERT_GE(entryRect(last).top, area.bottom) << "the list must not fit for this test";
  EXPECT_NE(hitAt(centre(entryRect(last))).index, last);

  // The wheel over the list scrolls it, never beyond the last page.
  POINT wheelAt = centre(area);
  ClientToScreen(bar->hwnd(), &wheelAt);
  for (int turn = 0; turn < 40; ++turn)
    SendMessageW(bar->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                 MAKELPARAM(wheelAt.x, wheelAt.y));
  paintNow();
  const TabLayout tabs = tabLayout(bar->layout(), settings.taskDispMode);
  const TaskListShape shape{last, tabs.perRow, tabs.tabHeight, area.height()};
  EXPECT_EQ(bar->taskList().firstRow(), shape.rows().maxOffset());
  EXPECT_GT(bar->taskList().firstRow(), 0);
  EXPECT_TRUE(e2e::captureToArtifact(bar->hwnd(), L"task-list-scrolled").has_value());
  const PixelRect lastRect = entryRect(last);
  EXPECT_LE(lastRect.bottom, area.bottom);
  EXPECT_GE(lastRect.top, area.top);
  // The drawn list shows it there: the hit test names it, and a click switches to it.
  const POINT at = centre(lastRect);
  EXPECT_EQ(hitAt(at).area, hit_area::kTabs);
  EXPECT_EQ(hitAt(at).index, last);
  mouse(WM_LBUTTONDOWN, at, MK_LBUTTON);
  mouse(WM_LBUTTONUP, at);
  EXPECT_TRUE(e2e::waitUntil([&] { return GetForegroundWindow() == lastWindow; }, 3000))
      << "the click on the last entry switched to its window";

  // The keys: Home shows the first row again, End the last one.
  key(VK_HOME);
  EXPECT_EQ(bar->taskList().firstRow(), 0);
  key(VK_END);
  EXPECT_EQ(bar->taskList().firstRow(), shape.rows().maxOffset());

  // The windows go away: the reports leave no empty rows in view.
  std::vector<HWND> gone;
  for (size_t i = 1; i < bar->tasks().size(); ++i)
    if (bar->tasks()[i].processId == pid) gone.push_back(static_cast<HWND>(bar->tasks()[i].window));
  many.process.kill();  // waits for the end
  ASSERT_TRUE(e2e::waitUntil([&] { return std::none_of(gone.begin(), gone.end(), IsWindow); }, 5000));
  for (HWND w : gone)
    SendMessageW(bar->hwnd(), WM_HOOK_TASKCHANGE, reinterpret_cast<WPARAM>(w), kTaskDestroyed);
  EXPECT_EQ(listedOf(bar->tasks(), pid), 0);
  EXPECT_EQ(bar->taskList().firstRow(),
            clampedTaskRow(shape.rows().maxOffset(), {static_cast<int>(bar->tasks().size()) - 1, tabs.perRow,
                                                      tabs.tabHeight, area.height()}));
  EXPECT_LT(bar->taskList().firstRow(), shape.rows().maxOffset());
}

TEST_F(TaskCommands, ARubberBandOverTheListMarksTheEntriesItTouches) {
  victims.reserve(4);
  for (const wchar_t* title : {L"/title:band-a", L"/title:band-b", L"/title:band-c", L"/title:band-d"})
    ASSERT_TRUE(startVictim(title).window);
  markInTaskList({});
  paintNow();
  ASSERT_GE(bar->tasks().size(), 5u);
  // From the middle of entry 1 down into entry 3, beyond the drag distance.
  const POINT from = centre(entryRect(1));
  const POINT to{from.x + 5, centre(entryRect(3)).y};
  mouse(WM_LBUTTONDOWN, from, MK_LBUTTON);
  mouse(WM_MOUSEMOVE, {from.x + 1, from.y + 1}, MK_LBUTTON);
  EXPECT_EQ(markedCount(bar->tasks()), 0) << "within the drag distance";
  mouse(WM_MOUSEMOVE, to, MK_LBUTTON);
  mouse(WM_LBUTTONUP, to);
  for (size_t n = 1; n < bar->tasks().size(); ++n)
    EXPECT_EQ(bar->tasks()[n].marked, n <= 3 ? 1 : 0) << "entry " << n;
  EXPECT_NE(GetForegroundWindow(), static_cast<HWND>(bar->tasks()[1].window)) << "the band switched";
  // The marked windows are what the commands act on.
  command(5);
  const auto topmost = [](void* w) {
    return (GetWindowLongPtrW(static_cast<HWND>(w), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  };
  EXPECT_TRUE(e2e::waitUntil(
      [&] { return topmost(bar->tasks()[1].window) && topmost(bar->tasks()[3].window); }, 3000));
  EXPECT_FALSE(topmost(bar->tasks()[4].window));
  command(6);
}

TEST_F(TaskCommands, AnEntryWhoseHandleNowBelongsToAnotherProcessIsNotActedOn) {
  HWND w = startVictim(L"/title:stale").window;
  ASSERT_TRUE(w);
  markInTaskList({w});
  const int n = entryOf(w);
  ASSERT_GT(n, 0);
  EXPECT_EQ(bar->tasks()[static_cast<size_t>(n)].processId, victims[0].process.pid());
  // As if the listed window had gone and its handle gone to this program.
  bar->taskList().mutableTable()[static_cast<size_t>(n)].processId = victims[0].process.pid() + 4;
  const auto topmost = [&] { return (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  command(5);
  e2e::pumpFor(300);
  EXPECT_FALSE(topmost()) << "pinned another program's window";
  EXPECT_EQ(bar->taskList().markedWindows(), std::vector<HWND>{nullptr});
  EXPECT_FALSE(bar->taskList().runCommand(n, 3, true));
  e2e::pumpFor(300);
  EXPECT_FALSE(IsZoomed(w));
  // The list made again records the process anew: the window is reached.
  markInTaskList({w});
  command(5);
  EXPECT_TRUE(e2e::waitUntil(topmost, 3000));
  command(6);
}

TEST_F(TaskCommands, OtherProgramsWindowsAreListedWithAnIconWithoutDetails) {
  settings.dispTaskDetails = 0;
  victims.reserve(3);
  HWND a = startVictim(L"/title:icon-a").window;
  HWND b = startVictim(L"/title:icon-b").window;
  ASSERT_TRUE(a && b);
  // A program whose file has icons: its window gives none to this process here.
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  victims.emplace_back();
  ASSERT_TRUE(victims.back().process.start(std::wstring(system) + L"\\notepad.exe"));
  HWND notepad = e2e::waitForWindow(L"Notepad", victims.back().process.pid(), e2e::kVisible, 10000);
  ASSERT_TRUE(notepad);
  markInTaskList({});
  EXPECT_EQ(bar->tasks()[static_cast<size_t>(entryOf(a))].icon, nullptr) << "asked only when shown";
  paintNow();
  HICON fallback = LoadIconW(nullptr, IDI_APPLICATION);
  for (HWND w : {a, b, notepad}) {
    const int n = entryOf(w);
    ASSERT_GT(n, 0) << "a window of another program is missing";
    EXPECT_NE(bar->tasks()[static_cast<size_t>(n)].icon, nullptr);
  }
  // The victims' file has no icon: the system's; notepad's file has its own.
  EXPECT_EQ(bar->tasks()[static_cast<size_t>(entryOf(a))].icon, fallback);
  EXPECT_NE(bar->tasks()[static_cast<size_t>(entryOf(notepad))].icon, fallback);
  EXPECT_TRUE(e2e::captureToArtifact(bar->hwnd(), L"task-list-icons").has_value());
}

TEST_F(TaskCommands, ADetailedListHoldsEveryTopLevelWindowWithItsProcessButNoMessageOnlyWindow) {
  HWND many = startVictim(L"/title:many /windows:6").window;
  ASSERT_TRUE(many);
  HWND messageOnly = CreateWindowExW(0, L"STATIC", L"message only", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     nullptr, nullptr);
  HWND hidden = CreateWindowExW(0, L"STATIC", L"hidden top-level", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_TRUE(messageOnly && hidden);
  const auto shownOfVictim = [&] {
    struct Count {
      DWORD pid;
      int n;
    } count{victims[0].process.pid(), 0};
    EnumWindows(
        [](HWND w, LPARAM data) -> BOOL {
          auto* c = reinterpret_cast<Count*>(data);
          DWORD pid = 0;
          GetWindowThreadProcessId(w, &pid);
          c->n += pid == c->pid && IsWindowVisible(w);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.n;
  };
  ASSERT_TRUE(e2e::waitUntil([&] { return shownOfVictim() == 6; }, 10000));
  markInTaskList({});
  // The victim's windows share one thread: each entry still names the victim.
  int ofVictim = 0;
  for (size_t i = 1; i < bar->tasks().size(); ++i) {
    const TaskEntry& e = bar->tasks()[i];
    DWORD pid = 0;
    GetWindowThreadProcessId(static_cast<HWND>(e.window), &pid);
    EXPECT_EQ(e.processId, pid) << "entry " << i;
    ofVictim += e.processId == victims[0].process.pid() && e.showState != 0;
  }
  EXPECT_EQ(ofVictim, 6) << "the victim's shown windows";
  // The same windows in the same order as the system's own walk (taken
  // again while windows come or go meanwhile).
  const auto walk = [] {
    std::vector<void*> windows;
    EnumWindows(
        [](HWND w, LPARAM list) -> BOOL {
          reinterpret_cast<std::vector<void*>*>(list)->push_back(w);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
  };
  std::vector<void*> walked;
  for (int attempt = 0; attempt < 5; ++attempt) {
    walked = walk();
    bar->taskList().refresh(bar->hwnd(), true);
    if (walk() == walked) break;
  }
  std::vector<void*> listed, listedHidden, walkedShown, walkedHidden;
  for (size_t i = 1; i < bar->tasks().size(); ++i)
    (bar->tasks()[i].showState ? listed : listedHidden).push_back(bar->tasks()[i].window);
  for (void* w : walked) {
    if (w == bar->hwnd() || w == GetWindow(bar->hwnd(), GW_OWNER)) continue;
    (IsWindowVisible(static_cast<HWND>(w)) ? walkedShown : walkedHidden).push_back(w);
  }
  EXPECT_EQ(listed, walkedShown);
  EXPECT_EQ(listedHidden, walkedHidden);
  EXPECT_EQ(std::count(listedHidden.begin(), listedHidden.end(), hidden), 1);
  EXPECT_EQ(std::count(listedHidden.begin(), listedHidden.end(), messageOnly), 0);
  DestroyWindow(hidden);
  DestroyWindow(messageOnly);
}

}  // namespace
}  // namespace vorbin
