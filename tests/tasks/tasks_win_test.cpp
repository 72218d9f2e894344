// The task list's commands on real victim programs: the bar of this process
// lists them, marks them and acts on them through its command and mode
// buttons; the victims' windows are read back through the system.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "launcher/bar/bar_window.h"
#include "launcher/bar/task_commands_win.h"
#include "launcher/bar/task_rules.h"
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
  void command(int k) { bar->taskBoxCommand(Hit{hit_area::kCommands, k}); }
  void modeButton(int k) { bar->taskBoxCommand(Hit{hit_area::kModes, k}); }

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
  bar->tileMarkedTasks(IDC_TILE_LEFT);
  e2e::pumpFor(300);
  EXPECT_TRUE(same(before, rectOf(a)));

  markInTaskList({a, b, c});
  const Rect work = barWorkArea(bar->hwnd());
  const Rect left = tileChoice(IDC_TILE_LEFT, work).area;
  const RECT bystanderBefore = rectOf(bystander);
  bar->tileMarkedTasks(IDC_TILE_LEFT);
  EXPECT_TRUE(e2e::waitUntil(
      [&] { return inside(rectOf(a), left) && inside(rectOf(b), left) && inside(rectOf(c), left); }, 5000))
      << "the three marked windows inside the left half";
  RECT ra = rectOf(a), rb = rectOf(b), tmp{};
  EXPECT_FALSE(IntersectRect(&tmp, &ra, &rb)) << "tiles do not overlap";
  EXPECT_TRUE(same(bystanderBefore, rectOf(bystander))) << "an unmarked window stays";
  // The maximised bystander was out of the way and is back, still maximised.
  EXPECT_TRUE(e2e::waitUntil([&] { return IsWindowVisible(big) && IsZoomed(big); }, 3000));

  const RECT tiledA = rectOf(a), tiledC = rectOf(c);
  bar->cascadeMarkedTasks();
  EXPECT_TRUE(e2e::waitUntil([&] { return !same(tiledA, rectOf(a)) && !same(tiledC, rectOf(c)); },
                             5000));
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
  bar->tileMarkedTasks(IDC_TILE_RIGHT);
  const DWORD took = GetTickCount() - start;
  EXPECT_LT(took, 2000u) << "the bar waited on the hung program";
  // The bar answers a message from another thread meanwhile.
  DWORD_PTR answer = 0;
  std::thread asker([&] {
    SendMessageTimeoutW(bar->hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
  });
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
      Sleep(100);
      wchar_t buffer[1024] = {};
      GetDlgItemTextW(box, 0xFFFF, buffer, 1024);
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
  EXPECT_EQ(bar->tasks()[static_cast<size_t>(n)].details,
            taskDetailsLine(path, victims[0].process.pid(), L"High", L"32Bit"));
  // An untitled window is listed by its class while details are on.
  const int u = entryOf(untitled);
  ASSERT_GT(u, 0);
  EXPECT_EQ(bar->tasks()[static_cast<size_t>(u)].title, std::wstring(L"class:") + kVictimClass);
}

TEST_F(TaskCommands, ARefusedBarHotKeyKeepsTheOldOneRegistered) {
  const int oldKey = ((2 | 4) << 8) | VK_F9;  // Ctrl+Alt+F9
  const int takenKey = ((2 | 4) << 8) | VK_F10;
  settings.hotKey = oldKey;
  createShownBar();
  HWND holder = CreateWindowExW(0, L"STATIC", L"holder", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
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

}  // namespace
}  // namespace vorbin
