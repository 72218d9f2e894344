// The companion of the hook library under Wine. A 64-bit copy of the companion
// (companion_double.exe, driving the test build Vorber2k_test.dll, whose shared
// block this test reads) shows that the launcher's settings reach the other
// library, and that the companion lives exactly as long as its launcher, once
// per session. Where this Wine runs 32-bit programs, the real 32-bit companion
// must make a 32-bit program's windows reach the launcher's window with the
// codes of a 64-bit one, answer GetTaskInfo for them and see edge presses over
// them; elsewhere those cases are skipped, saying why. This test program stands
// in for the launcher (its window is the bar) except where the launcher runs.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "hook/companion_link.h"
#include "hook/shared_hook_state.h"
#include "hook/vorber2k.h"
#include "tests/hook/hook_target.h"
#include "tests/support/e2e.h"

namespace {

struct Report {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Report> g_reports;

LRESULT CALLBACK barStandInProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const bool hookReport =
      msg == WM_HOOK_ACTIVATE || msg == WM_HOOK_TASKCHANGE || msg == WM_HOOK_NEWWINDOWACTIVE;
  if (hookReport || (msg >= WM_APP && msg < WM_APP + 16)) {
    g_reports.push_back({msg, wp, lp});
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

std::wstring decimal(DWORD value) { return std::to_wstring(value); }

// The companion's window for the launcher process, or null.
HWND companionWindowOf(DWORD launcherPid) {
  const std::string title = vorber::companionWindowTitle(launcherPid);
  return FindWindowExA(HWND_MESSAGE, nullptr, vorber::kCompanionWindowClass, title.c_str());
}

int companionCount() {
  int n = 0;
  for (HWND w = nullptr;
       (w = FindWindowExA(HWND_MESSAGE, w, vorber::kCompanionWindowClass, nullptr)) != nullptr;)
    ++n;
  return n;
}

std::wstring companionPath() { return e2e::binPath(L"x86\\VorbHook32.exe"); }

// Whether this Wine runs 32-bit programs: the companion, given no launcher,
// must end with its own code for that.
bool thirtyTwoBitProgramsRun() {
  static const bool runs = [] {
    e2e::Process probe;
    if (!probe.start(companionPath(), L"12x")) return false;
    return probe.wait(20000) == std::optional<DWORD>(2u);
  }();
  return runs;
}
#define SKIP_WITHOUT_32_BIT_PROGRAMS()                                                              \
  if (!thirtyTwoBitProgramsRun())                                                                   \
  GTEST_SKIP() << "this Wine cannot run 32-bit programs (here: no 32-bit Linux executables, so no " \
                  "wine32 loader)"

// The test build's shared block, as the companion's copy of the library set it.
class TestLibrary {
 public:
  TestLibrary() : m_module(LoadLibraryW(e2e::binPath(L"Vorber2k_test.dll").c_str())) {
    if (!m_module) return;
    m_reset = reinterpret_cast<decltype(m_reset)>(
        reinterpret_cast<void*>(GetProcAddress(m_module, "ResetSharedStateForTests")));
    m_copy = reinterpret_cast<decltype(m_copy)>(
        reinterpret_cast<void*>(GetProcAddress(m_module, "CopySharedStateForTests")));
    m_write = reinterpret_cast<decltype(m_write)>(
        reinterpret_cast<void*>(GetProcAddress(m_module, "WriteSharedStateForTests")));
  }
  ~TestLibrary() {
    if (m_module) FreeLibrary(m_module);
  }
  bool loaded() const { return m_reset && m_copy && m_write; }
  void reset() { m_reset(); }
  vorber::SharedHookState state() {
    vorber::SharedHookState s{};
    m_copy(&s, sizeof s);
    return s;
  }
  // As if that library's hooks had recorded these values.
  bool write(const vorber::SharedHookState& s) { return m_write(&s, sizeof s) == sizeof s; }

 private:
  HMODULE m_module;
  void(WINAPI* m_reset)() = nullptr;
  UINT(WINAPI* m_copy)(void*, UINT) = nullptr;
  UINT(WINAPI* m_write)(const void*, UINT) = nullptr;
};

std::wstring doublePath() { return e2e::binPath(L"companion_double.exe"); }

class Companion32 : public ::testing::Test {
 protected:
  HWND bar = nullptr;
  e2e::Process companion;

  void SetUp() override {
    g_reports.clear();
    WNDCLASSW wc{};
    wc.lpfnWndProc = barStandInProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"CompanionTestBar";
    RegisterClassW(&wc);
    bar = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"bar", WS_POPUP, 0, 0, 10, 10, nullptr,
                          nullptr, wc.hInstance, nullptr);
    ASSERT_NE(bar, nullptr);
  }
  void TearDown() override {
    FreeHook();
    SetTaskMode(FALSE);
    companion.kill();
    DestroyWindow(bar);
  }

  void startCompanion(const std::wstring& program = companionPath()) {
    ASSERT_TRUE(companion.start(program, decimal(GetCurrentProcessId())));
    ASSERT_TRUE(e2e::waitUntil([] { return companionWindowOf(GetCurrentProcessId()) != nullptr; }, 10000))
        << "the companion made no window";
    e2e::pumpFor(100);
  }
  std::wstring barArg() const {
    wchar_t text[32];
    swprintf(text, 32, L"%llX", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(bar)));
    return text;
  }
  bool waitFor(UINT message, size_t n = 1, DWORD timeoutMs = 10000) {
    return e2e::waitUntil([&] { return count(message) >= n; }, timeoutMs);
  }
  size_t count(UINT message) const {
    size_t n = 0;
    for (const Report& r : g_reports) n += r.message == message;
    return n;
  }
  HWND lastWindow() const {
    HWND window = nullptr;
    for (const Report& r : g_reports)
      if (r.message == hook_target::kMsgTopWindow) window = reinterpret_cast<HWND>(r.wParam);
    return window;
  }
  std::vector<LPARAM> changesFor(HWND window) const {
    std::vector<LPARAM> codes;
    for (const Report& r : g_reports)
      if (r.message == WM_HOOK_TASKCHANGE && reinterpret_cast<HWND>(r.wParam) == window)
        codes.push_back(r.lParam);
    return codes;
  }
  // Runs a victim's window sequence; the codes reported for its top window.
  std::vector<LPARAM> sequenceOf(const wchar_t* program) {
    const size_t done = count(hook_target::kMsgDone);
    e2e::Process victim;
    EXPECT_TRUE(victim.start(e2e::binPath(program), L"sequence " + barArg()));
    EXPECT_TRUE(waitFor(hook_target::kMsgDone, done + 1)) << "the victim did not finish its sequence";
    victim.wait(5000);
    e2e::pumpFor(100);
    return changesFor(lastWindow());
  }
  HWND startIdleVictim(e2e::Process& victim, const std::wstring& extra) {
    const size_t before = count(hook_target::kMsgTopWindow);
    EXPECT_TRUE(victim.start(e2e::binPath(L"hook_target32.exe"), L"idle " + barArg() + L" " + extra));
    if (!waitFor(hook_target::kMsgTopWindow, before + 1)) return nullptr;
    return lastWindow();
  }
};

TEST_F(Companion32, TaskChangesOfA32BitProgramArriveWithTheCodesOfA64BitOne) {
  SKIP_WITHOUT_32_BIT_PROGRAMS();
  SetHook(bar, 0);
  SetTaskMode(TRUE);
  startCompanion();

  const std::vector<LPARAM> codes64 = sequenceOf(L"hook_target.exe");
  const std::vector<LPARAM> expected{4, 2, 3, 1, 12, 128, 5};
  EXPECT_EQ(codes64, expected) << "created, minimised, maximised, restored, retitled, re-iconed, destroyed";
  const std::vector<LPARAM> codes32 = sequenceOf(L"hook_target32.exe");
  EXPECT_EQ(codes32, expected) << "the same changes of a 32-bit program";

  // A later setting reaches the companion too: task mode off, nothing at all.
  SetTaskMode(FALSE);
  e2e::pumpFor(200);
  g_reports.clear();
  sequenceOf(L"hook_target32.exe");
  EXPECT_EQ(count(WM_HOOK_TASKCHANGE), 0u);
}

TEST_F(Companion32, SettingsMadeBeforeTheCompanionStartsAreReplayed) {
  SKIP_WITHOUT_32_BIT_PROGRAMS();
  // The launcher's calls all come before the companion has its window.
  SetHook(bar, 0);
  SetTaskMode(FALSE);
  SetTaskMode(TRUE);
  FreeHook();
  SetHook(bar, 0);
  startCompanion();
  EXPECT_EQ(sequenceOf(L"hook_target32.exe"), (std::vector<LPARAM>{4, 2, 3, 1, 12, 128, 5}));

  // Hooks removed: the companion's go too.
  FreeHook();
  e2e::pumpFor(200);
  g_reports.clear();
  sequenceOf(L"hook_target32.exe");
  EXPECT_EQ(count(WM_HOOK_TASKCHANGE), 0u);
}

TEST_F(Companion32, GetTaskInfoOfA32BitWindowAnswersThroughTheCompanion) {
  SKIP_WITHOUT_32_BIT_PROGRAMS();
  SetHook(bar, 0);
  e2e::Process victim;
  HWND window = startIdleVictim(victim, L"marker-32c1");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetTaskInfo(window), 0u) << "without the companion the 64-bit library cannot read it";

  startCompanion();
  const UINT atom = GetTaskInfo(window);
  ASSERT_NE(atom, 0u);
  char name[256] = {};
  ASSERT_GT(GlobalGetAtomNameA(static_cast<ATOM>(atom), name, sizeof name), 0u);
  EXPECT_NE(std::strstr(name, "hook_target32"), nullptr) << name;
  EXPECT_NE(std::strstr(name, "marker-32c1"), nullptr) << name;
  GlobalDeleteAtom(static_cast<ATOM>(atom));
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(victim.wait(5000).has_value());
}

TEST_F(Companion32, EdgePressOverA32BitWindowCallsUpTheBar) {
  SKIP_WITHOUT_32_BIT_PROGRAMS();
  SetHook(bar, 0);
  SetVorbMode(0x00, 0x01);  // left button, left edge only
  startCompanion();
  e2e::Process victim;
  HWND window = startIdleVictim(victim, L"");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(e2e::waitUntil([&] { return IsWindowVisible(window) != FALSE; }, 5000));
  e2e::pumpFor(100);

  const auto press = [](int x, int y) {
    SetCursorPos(x, y);
    e2e::pumpFor(30);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &in[0], sizeof(INPUT));
    e2e::pumpFor(30);
    SendInput(1, &in[1], sizeof(INPUT));
  };
  // The right edge is off in the mirrored mode: nothing; then the left edge.
  press(GetSystemMetrics(SM_CXSCREEN) - 1, 300);
  press(0, 300);
  ASSERT_TRUE(waitFor(WM_HOOK_ACTIVATE)) << "the 32-bit mouse hook did not call up the bar; over "
                                         << WindowFromPoint(POINT{0, 300}) << ", victim " << window;
  e2e::pumpFor(200);
  EXPECT_EQ(count(WM_HOOK_ACTIVATE), 1u) << "the disabled right edge must not activate";
  PostMessageW(window, WM_CLOSE, 0, 0);
  victim.wait(5000);
}

// The launcher's calls, before and after the companion starts, in the
// other library's own block: the settings, the launcher's window and process,
// the hooks installed and removed.
TEST_F(Companion32, TheLaunchersSettingsReachTheOtherLibrary) {
  TestLibrary other;
  ASSERT_TRUE(other.loaded());
  other.reset();
  const vorber::SharedHookState before = other.state();
  SetVorbMode(0x83, 0x15);  // before the companion has a window
  SetDirectXFlag(FALSE);
  startCompanion(doublePath());
  SetHook(bar, 0);
  SetTaskMode(TRUE);
  const RECT control{12, 34, 560, 78};
  SetCtrlRect(&control);

  ASSERT_TRUE(e2e::waitUntil([&] { return other.state().controlRect.right == 560; }, 5000))
      << "the last setting never arrived";
  const vorber::SharedHookState s = other.state();
  vorber::SharedHookState expected = before;
  vorber::applyVorbMode(expected, 0x83, 0x15);
  EXPECT_EQ(s.primaryActivation, expected.primaryActivation);
  EXPECT_EQ(s.secondaryActivation, expected.secondaryActivation);
  EXPECT_EQ(s.doubleClickMode, expected.doubleClickMode);
  EXPECT_EQ(s.edgeMask, expected.edgeMask);
  EXPECT_EQ(s.desktopClickEnable, expected.desktopClickEnable);
  EXPECT_EQ(s.fullScreenExclusion, 0);
  EXPECT_EQ(s.launcherWindow, reinterpret_cast<uintptr_t>(bar));
  EXPECT_EQ(s.launcherProcessId, GetCurrentProcessId()) << "reports go to this process's window";
  EXPECT_EQ(s.taskMode, 1);
  EXPECT_NE(s.mouseHook, 0u);
  EXPECT_NE(s.cbtHook, 0u);
  EXPECT_NE(s.shellHook, 0u);
  EXPECT_NE(s.titleHook, 0u);
  EXPECT_EQ(s.controlRect.left, 12);
  EXPECT_EQ(s.controlRect.top, 34);
  EXPECT_EQ(s.controlRect.bottom, 78);

  FreeHook();
  EXPECT_TRUE(e2e::waitUntil(
      [&] {
        const vorber::SharedHookState t = other.state();
        return t.mouseHook == 0 && t.cbtHook == 0 && t.shellHook == 0 && t.titleHook == 0;
      },
      5000))
      << "the other library's hooks stayed after FreeHook";
  other.reset();
}

// A gesture the companion's library recorded (over a 32-bit program's window,
// which only it sees) later than this library's last one: the launcher's
// pointer queries answer with it. A companion that recorded nothing, or none
// at all, leaves this library's own answers.
TEST_F(Companion32, PointerQueriesAnswerWithTheNewerOfTheTwoLibrariesRecords) {
  TestLibrary other;
  ASSERT_TRUE(other.loaded());
  other.reset();
  struct Answers {
    POINT point;
    DWORD pos;
    HWND pressed;
  };
  const auto ask = [] {
    Answers a{};
    GetNewPoint(&a.point);
    a.pos = GetNewPos();
    a.pressed = GetLastMouseDownHwnd();
    return a;
  };
  const Answers own = ask();
  startCompanion(doublePath());
  Answers a = ask();
  EXPECT_EQ(a.point.x, own.point.x);
  EXPECT_EQ(a.point.y, own.point.y);
  EXPECT_EQ(a.pos, own.pos);
  EXPECT_EQ(a.pressed, own.pressed) << "the companion's library recorded nothing yet";

  vorber::SharedHookState s = other.state();
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  s.activationPoint = {-1234, 567};
  s.activationPos = 0x0237FB2Eu;
  s.activationStamp = static_cast<uint64_t>(now.QuadPart);
  s.lastPressedWindow = reinterpret_cast<uintptr_t>(bar);
  s.pressStamp = static_cast<uint64_t>(now.QuadPart);
  ASSERT_TRUE(other.write(s));
  a = ask();
  EXPECT_EQ(a.point.x, -1234);
  EXPECT_EQ(a.point.y, 567);
  EXPECT_EQ(a.pos, 0x0237FB2Eu);
  EXPECT_EQ(a.pressed, bar);

  // Only the press recorded there: the point is this library's own.
  s.activationStamp = 0;
  ASSERT_TRUE(other.write(s));
  a = ask();
  EXPECT_EQ(a.pressed, bar);
  EXPECT_EQ(a.point.x, own.point.x);
  EXPECT_EQ(a.point.y, own.point.y);
  EXPECT_EQ(a.pos, own.pos);

  companion.kill();
  ASSERT_TRUE(e2e::waitUntil([] { return companionWindowOf(GetCurrentProcessId()) == nullptr; }, 5000));
  a = ask();
  EXPECT_EQ(a.point.x, own.point.x);
  EXPECT_EQ(a.pos, own.pos);
  EXPECT_EQ(a.pressed, own.pressed) << "without the companion, this library's own record";
  other.reset();
}

// A stand-in launcher (the hook tests' second program): its companion runs
// once, refuses nonsense, and ends within moments of the launcher's end.
TEST(CompanionLifetime, EndsWithItsLauncherAndRunsOncePerSession) {
  e2e::Process launcher;
  ASSERT_TRUE(launcher.start(e2e::binPath(L"hook_target.exe"), L"idle 0"));
  e2e::Process first;
  ASSERT_TRUE(first.start(doublePath(), decimal(launcher.pid())));
  ASSERT_TRUE(e2e::waitUntil([&] { return companionWindowOf(launcher.pid()) != nullptr; }, 10000));

  e2e::Process second;
  ASSERT_TRUE(second.start(doublePath(), decimal(launcher.pid())));
  EXPECT_EQ(second.wait(8000), std::optional<DWORD>(5u)) << "one companion runs already";
  EXPECT_EQ(companionCount(), 1);
  e2e::Process junk;
  ASSERT_TRUE(junk.start(doublePath(), L"12x"));
  EXPECT_EQ(junk.wait(5000), std::optional<DWORD>(2u)) << "no launcher named";
  EXPECT_TRUE(first.running());

  const DWORD launcherPid = launcher.pid();
  launcher.kill();
  const DWORD start = GetTickCount();
  EXPECT_TRUE(first.wait(5000).has_value()) << "the companion outlived its launcher";
  std::printf("companion ended %lu ms after its launcher was killed\n", GetTickCount() - start);
  EXPECT_EQ(companionCount(), 0);

  // A launcher that is gone already: the companion does not stay.
  e2e::Process late;
  ASSERT_TRUE(late.start(doublePath(), decimal(launcherPid)));
  EXPECT_EQ(late.wait(5000), std::optional<DWORD>(3u));
}

// The real launcher starts its companion, a second launcher adds none, and a
// killed launcher's companion ends within five seconds.
TEST(CompanionOfTheLauncher, FollowsTheLauncherAndRunsOnce) {
  e2e::profile::clear();
  e2e::Process launcher = e2e::startLauncher();
  ASSERT_TRUE(launcher.running());
  ASSERT_NE(e2e::waitForBar(launcher.pid()), nullptr) << "the launcher runs with or without its companion";
  if (!thirtyTwoBitProgramsRun()) {
    launcher.kill();
    e2e::profile::clear();
    GTEST_SKIP() << "this Wine cannot run 32-bit programs: the launcher ran without its companion";
  }
  HWND window = nullptr;
  ASSERT_TRUE(e2e::waitUntil([&] { return (window = companionWindowOf(launcher.pid())) != nullptr; }, 15000))
      << "the launcher started no companion";
  DWORD companionPid = 0;
  GetWindowThreadProcessId(window, &companionPid);
  HANDLE companionProcess = OpenProcess(SYNCHRONIZE, FALSE, companionPid);
  ASSERT_NE(companionProcess, nullptr);

  e2e::Process second = e2e::startLauncher();
  EXPECT_TRUE(second.wait(10000).has_value()) << "the second launcher did not end";
  e2e::pumpFor(500);
  EXPECT_EQ(companionCount(), 1);

  launcher.kill();
  const DWORD start = GetTickCount();
  EXPECT_EQ(WaitForSingleObject(companionProcess, 5000), WAIT_OBJECT_0)
      << "the companion outlived its launcher";
  std::printf("companion ended %lu ms after the launcher was killed\n", GetTickCount() - start);
  CloseHandle(companionProcess);
  EXPECT_EQ(companionCount(), 0);
  e2e::profile::clear();
}

}  // namespace
