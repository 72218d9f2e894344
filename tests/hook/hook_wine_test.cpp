// The hook library across two processes under Wine: task-change reports, the
// command line of another process, the shared block, and edge presses made
// with synthetic input over another program's window. It runs the test build
// Vorber2k_test.dll: the shipped code, plus a reset and a copy of its block.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "hook/shared_hook_state.h"
#include "tests/hook/hook_target.h"
#include "tests/hook/hook_test_exports.h"
#include "tests/support/e2e.h"

namespace {

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

std::vector<Received> g_received;
std::vector<char> g_copiedState;

LRESULT CALLBACK sinkProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COPYDATA) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
    if (data->dwData == hook_target::kCopyState) {
      const char* bytes = static_cast<const char*>(data->lpData);
      g_copiedState.assign(bytes, bytes + data->cbData);
    }
    return TRUE;
  }
  if (msg == WM_HOOK_ACTIVATE || msg == WM_HOOK_TASKCHANGE || msg == WM_HOOK_NEWWINDOWACTIVE ||
      (msg == WM_SYSCOMMAND && wp == SC_DEFAULT) || (msg >= WM_APP && msg < WM_APP + 16)) {
    g_received.push_back({msg, wp, lp});
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

vorber::SharedHookState sharedState() {
  vorber::SharedHookState s{};
  EXPECT_EQ(CopySharedStateForTests(&s, sizeof s), sizeof s);
  return s;
}

class HookLibrary : public ::testing::Test {
 protected:
  HWND sink = nullptr;

  void SetUp() override {
    ResetSharedStateForTests();
    g_received.clear();
    g_copiedState.clear();
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = sinkProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"HookTestSink";
    RegisterClassW(&wc);
    sink = CreateWindowExW(WS_EX_TOOLWINDOW, L"HookTestSink", L"sink", WS_POPUP, 0, 0, 10, 10, nullptr,
                           nullptr, wc.hInstance, nullptr);
    ASSERT_NE(sink, nullptr);
  }
  void TearDown() override {
    FreeHook();
    ResetSharedStateForTests();
    DestroyWindow(sink);
  }

  std::wstring sinkArg() const {
    wchar_t text[32];
    swprintf(text, 32, L"%llX", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(sink)));
    return text;
  }
  e2e::Process startTarget(const std::wstring& mode, const std::wstring& extra = L"") {
    e2e::Process p;
    EXPECT_TRUE(p.start(e2e::binPath(L"hook_target.exe"), mode + L" " + sinkArg() + L" " + extra));
    return p;
  }
  bool waitFor(UINT message, DWORD timeoutMs = 10000) {
    return e2e::waitUntil(
        [&] {
          for (const Received& r : g_received)
            if (r.message == message) return true;
          return false;
        },
        timeoutMs);
  }
  HWND reported(UINT message) const {
    for (const Received& r : g_received)
      if (r.message == message) return reinterpret_cast<HWND>(r.wParam);
    return nullptr;
  }
  std::vector<LPARAM> changesFor(HWND window) const {
    std::vector<LPARAM> codes;
    for (const Received& r : g_received)
      if (r.message == WM_HOOK_TASKCHANGE && reinterpret_cast<HWND>(r.wParam) == window)
        codes.push_back(r.lParam);
    return codes;
  }
  size_t count(UINT message) const {
    size_t n = 0;
    for (const Received& r : g_received) n += r.message == message;
    return n;
  }
  void runSequence() {
    e2e::Process target = startTarget(L"sequence");
    ASSERT_TRUE(waitFor(hook_target::kMsgDone)) << "the second program did not finish its sequence";
    target.wait(5000);
    e2e::pumpFor(50);
  }
};

TEST_F(HookLibrary, SharedBlockStartsFromItsInitialValuesAndIsSeenByBothProcesses) {
  vorber::SharedHookState initial = sharedState();
  EXPECT_EQ(initial.edgeMask, 0x0Fu);
  EXPECT_EQ(initial.primaryPress, -1);
  EXPECT_EQ(initial.secondaryRelease, -1);
  EXPECT_EQ(initial.fullScreenExclusion, 1);
  EXPECT_EQ(initial.desktopWindow, reinterpret_cast<uintptr_t>(GetDesktopWindow()));
  EXPECT_EQ(initial.screenEdges.right, GetSystemMetrics(SM_CXSCREEN) - 1);

  SetVorbMode(0x83, 0x15);
  SetDirectXFlag(FALSE);
  const RECT control{1, 2, 3, 4};
  SetCtrlRect(&control);
  e2e::Process target = startTarget(L"state");
  ASSERT_TRUE(e2e::waitUntil([] { return !g_copiedState.empty(); }, 10000));
  EXPECT_EQ(target.wait(5000).value_or(99), 0u);

  ASSERT_EQ(g_copiedState.size(), sizeof(vorber::SharedHookState));
  vorber::SharedHookState theirs;
  std::memcpy(&theirs, g_copiedState.data(), sizeof theirs);
  EXPECT_EQ(theirs.primaryActivation, 6);
  EXPECT_EQ(theirs.secondaryRelease, 2);
  EXPECT_EQ(theirs.edgeMask, 0x05u);
  EXPECT_EQ(theirs.desktopClickEnable, 16);
  EXPECT_EQ(theirs.fullScreenExclusion, 0);
  EXPECT_EQ(theirs.controlRect.right, 3);
  // The other program wrote the control rectangle after its copy; apart from
  // that the block is the same word for word.
  vorber::SharedHookState mine = sharedState();
  EXPECT_EQ(mine.controlRect.left, 11);
  EXPECT_EQ(mine.controlRect.bottom, 44);
  mine.controlRect = theirs.controlRect;
  EXPECT_EQ(std::memcmp(&mine, &theirs, sizeof mine), 0);
}

TEST_F(HookLibrary, TaskModeReportsTopLevelChangesOfOtherProcessesOnly) {
  SetHook(sink, 0);
  SetTaskMode(TRUE);
  const vorber::SharedHookState s = sharedState();
  ASSERT_NE(s.mouseHook, 0u);
  ASSERT_NE(s.cbtHook, 0u);
  ASSERT_NE(s.shellHook, 0u);
  ASSERT_NE(s.titleHook, 0u);
  EXPECT_EQ(s.launcherProcessId, GetCurrentProcessId());

  // Windows of this process are the launcher's own: never reported.
  HWND own = CreateWindowExW(0, L"HookTestSink", L"own", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(own, SW_MINIMIZE);
  ShowWindow(own, SW_MAXIMIZE);
  DestroyWindow(own);

  runSequence();
  HWND top = reported(hook_target::kMsgTopWindow);
  HWND child = reported(hook_target::kMsgChildWindow);
  ASSERT_NE(top, nullptr);
  ASSERT_NE(child, nullptr);
  EXPECT_TRUE(changesFor(own).empty());
  EXPECT_TRUE(changesFor(child).empty()) << "child windows are not tasks";
  const std::vector<LPARAM> expected{4, 2, 3, 1, 12, 128, 5};
  EXPECT_EQ(changesFor(top), expected)
      << "created, minimised, maximised, restored, retitled, re-iconed, destroyed";

  SetTaskMode(FALSE);
  EXPECT_EQ(sharedState().titleHook, 0u);
  g_received.clear();
  runSequence();
  EXPECT_EQ(count(WM_HOOK_TASKCHANGE), 0u) << "task mode off: nothing at all";
}

TEST_F(HookLibrary, GetTaskInfoPublishesTheOtherProcessCommandLineAsAnAtom) {
  SetHook(sink, 0);
  e2e::Process target = startTarget(L"idle", L"marker-7f3a");
  ASSERT_TRUE(waitFor(hook_target::kMsgTopWindow));
  HWND window = reported(hook_target::kMsgTopWindow);
  const UINT atom = GetTaskInfo(window);
  ASSERT_NE(atom, 0u);
  char name[256] = {};
  ASSERT_GT(GlobalGetAtomNameA(static_cast<ATOM>(atom), name, sizeof name), 0u);
  EXPECT_NE(std::strstr(name, "hook_target"), nullptr) << name;
  EXPECT_NE(std::strstr(name, "marker-7f3a"), nullptr) << name;
  GlobalDeleteAtom(static_cast<ATOM>(atom));
  EXPECT_EQ(sharedState().commandLineHook, 0u) << "the temporary hook is gone after the call";
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(target.wait(5000).has_value());

  // A window that no longer exists: no atom, and no hook for every thread.
  EXPECT_EQ(GetTaskInfo(window), 0u);
  EXPECT_EQ(sharedState().commandLineHook, 0u);
}

TEST_F(HookLibrary, GetTaskInfoMakesNoAtomForCommandLinesLongerThan255) {
  e2e::Process target = startTarget(L"idle", std::wstring(300, L'z'));
  ASSERT_TRUE(waitFor(hook_target::kMsgTopWindow));
  HWND window = reported(hook_target::kMsgTopWindow);
  EXPECT_EQ(GetTaskInfo(window), 0u);
  PostMessageW(window, WM_CLOSE, 0, 0);
  target.wait(5000);
}

class EdgePress : public HookLibrary {
 protected:
  HWND target = nullptr;
  e2e::Process process;

  void startOver(const std::wstring& extra = L"") {
    process = startTarget(L"idle", extra);
    ASSERT_TRUE(waitFor(hook_target::kMsgTopWindow));
    target = reported(hook_target::kMsgTopWindow);
    ASSERT_TRUE(e2e::waitUntil([&] { return IsWindowVisible(target) != FALSE; }, 5000));
    e2e::pumpFor(100);
  }
  void TearDown() override {
    if (target) PostMessageW(target, WM_CLOSE, 0, 0);
    process.wait(5000);
    HookLibrary::TearDown();
  }
  static void press(int x, int y, bool right = false) {
    SetCursorPos(x, y);
    e2e::pumpFor(30);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in[0], sizeof(INPUT));
    e2e::pumpFor(30);
    SendInput(1, &in[1], sizeof(INPUT));
  }
  // Waits for the n-th activation; the point it reported.
  POINT activation(size_t n) {
    const bool arrived = e2e::waitUntil([&] { return count(WM_HOOK_ACTIVATE) >= n; }, 10000);
    POINT cursor{};
    GetCursorPos(&cursor);
    const vorber::SharedHookState st = sharedState();
    EXPECT_TRUE(arrived) << "activation " << n << "; cursor " << cursor.x << "," << cursor.y << " over "
                         << WindowFromPoint(cursor) << " (target " << target << "), state "
                         << st.activationState << " event window " << reinterpret_cast<void*>(st.eventWindow)
                         << " last pressed " << reinterpret_cast<void*>(st.lastPressedWindow)
                         << " moved away " << st.movedAway << " foreground " << GetForegroundWindow()
                         << " capture " << GetCapture();
    POINT pt{-1, -1};
    GetNewPoint(&pt);
    return pt;
  }
};

TEST_F(EdgePress, PressAndReleaseOnEnabledEdgeActivatesButOnePixelInsideDoesNot) {
  SetHook(sink, 0);
  SetVorbMode(0x00, 0x0F);
  startOver();
  const int h = GetSystemMetrics(SM_CYSCREEN), w = GetSystemMetrics(SM_CXSCREEN);

  press(0, 300);
  POINT pt = activation(1);
  EXPECT_EQ(pt.x, 0);
  EXPECT_EQ(pt.y, 300);
  EXPECT_EQ(GetNewPos(), 300u << 16);
  EXPECT_EQ(GetLastMouseDownHwnd(), target);

  // One pixel inside: nothing. The next edge press proves the first was seen
  // and ignored, since both reports would come from the same thread in order.
  press(1, 400);
  press(w - 1, h - 1);
  pt = activation(2);
  EXPECT_EQ(count(WM_HOOK_ACTIVATE), 2u);
  EXPECT_EQ(pt.x, w - 1);
  EXPECT_EQ(pt.y, h - 1);

  // A disabled edge does nothing either.
  SetVorbMode(0x00, 0x01);
  press(w - 1, 300);
  press(0, 500);
  pt = activation(3);
  EXPECT_EQ(count(WM_HOOK_ACTIVATE), 3u);
  EXPECT_EQ(pt.y, 500);
}

TEST_F(EdgePress, DoubleClickInTheControlRectangleAsksTheLauncherForItsDefault) {
  SetHook(sink, 0);
  SetVorbMode(0x00, 0x0F);
  SetWindowPos(sink, HWND_TOPMOST, 300, 300, 200, 100, SWP_SHOWWINDOW);
  e2e::pumpFor(50);
  POINT origin{0, 0};
  ClientToScreen(sink, &origin);
  const RECT control{10, 10, 50, 40};
  SetCtrlRect(&control);
  auto doubleClick = [](int x, int y) {
    press(x, y);
    press(x, y);
    e2e::pumpFor(50);
  };
  doubleClick(origin.x + 50, origin.y + 20);  // right edge of the rectangle: outside
  doubleClick(origin.x + 10, origin.y + 39);  // inside
  ASSERT_TRUE(waitFor(WM_SYSCOMMAND));
  EXPECT_EQ(count(WM_SYSCOMMAND), 1u);
  EXPECT_EQ(count(WM_HOOK_ACTIVATE), 0u) << "the launcher's own windows never arm";
}

// A window of the system's menu class with the menu's styles, as the CBT
// hook sees a popup menu being created (made here, in this process).
HWND createMenuWindow() {
  return CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE, "#32768", "",
                         WS_POPUP | WS_BORDER, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr),
                         nullptr);
}

TEST_F(EdgePress, RightButtonActivationRefusesExactlyOneMenu) {
  SetHook(sink, 0);
  SetVorbMode(0x01, 0x0F);
  HWND before = createMenuWindow();
  EXPECT_NE(before, nullptr) << "no menu is refused while the flag is clear";
  DestroyWindow(before);

  startOver();
  press(0, 200, true);
  const POINT pt = activation(1);
  EXPECT_EQ(pt.y, 200);
  ASSERT_EQ(sharedState().suppressNextMenu, 1);
  EXPECT_EQ(createMenuWindow(), nullptr) << "the menu the right release would bring up";
  EXPECT_EQ(sharedState().suppressNextMenu, 0);
  HWND after = createMenuWindow();
  EXPECT_NE(after, nullptr) << "one refusal per setting of the flag";
  DestroyWindow(after);

  press(0, 250, true);
  activation(2);
  EXPECT_FALSE(CancelDeleteMenu()) << "the press was not on the desktop's icon view";
  EXPECT_EQ(sharedState().suppressNextMenu, 0);
  HWND kept = createMenuWindow();
  EXPECT_NE(kept, nullptr);
  DestroyWindow(kept);
}

// Foreground changes between processes settle when Wine pleases, so the
// launcher's own windows (activated synchronously in this thread) set the flag.
TEST_F(EdgePress, ActivationCarriesWhetherTheLauncherWasActiveAtThePress) {
  SetHook(sink, 0);
  SetVorbMode(0x00, 0x0F);
  startOver();
  auto showOwn = [] {
    return CreateWindowExW(0, L"HookTestSink", L"own", WS_POPUP | WS_VISIBLE, 500, 500, 50, 50, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  };
  HWND first = showOwn();
  EXPECT_EQ(sharedState().launcherActivated, 1) << "a window of the launcher's process was activated";
  press(0, 300);
  activation(1);
  EXPECT_EQ(g_received.back().lParam, 1);
  EXPECT_EQ(sharedState().launcherActivated, 0) << "cleared at the press";

  HWND second = showOwn();
  EXPECT_EQ(sharedState().launcherActivated, 1);
  CancelForeFlag();
  EXPECT_EQ(sharedState().launcherActivated, 0);
  press(0, 320);
  activation(2);
  EXPECT_EQ(g_received.back().lParam, 0);
  DestroyWindow(second);
  DestroyWindow(first);
}

TEST_F(EdgePress, ReinstalledMouseHookKeepsWorking) {
  SetHook(sink, 0);
  SetVorbMode(0x00, 0x0F);
  startOver();
  const HHOOK again = ReMouseHook();
  EXPECT_NE(again, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(again), sharedState().mouseHook);
  press(0, 300);
  EXPECT_EQ(activation(1).y, 300);
  FreeHook();
  const vorber::SharedHookState s = sharedState();
  EXPECT_EQ(s.mouseHook | s.cbtHook | s.shellHook | s.titleHook, 0u);
}

TEST_F(EdgePress, DragHeldAgainstAnEdgeActivatesWithLParamZero) {
  SetHook(sink, 0);
  startOver(L"carrier");
  // Press in the middle: the other program hands the capture to its drag carrier.
  SetCursorPos(400, 300);
  e2e::pumpFor(30);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  SendInput(1, &in, sizeof in);
  e2e::pumpFor(100);
  // Drag to the left edge and hold there.
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  in.mi.dx = 0;
  in.mi.dy = 32768;
  SendInput(1, &in, sizeof in);
  const POINT pt = activation(1);
  EXPECT_EQ(pt.x, 0);
  // Where the system put the pointer for the absolute move is its business;
  // the activation comes at the point where the drag rested.
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_EQ(pt.y, cursor.y);
  EXPECT_EQ(g_received.back().lParam, 0);
  EXPECT_EQ(sharedState().dragHoldTimer, 0u);
  in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &in, sizeof in);
}

TEST_F(EdgePress, FullScreenTopmostWindowPassesEdgePressesWhileExclusionIsOn) {
  SetHook(sink, 0);
  SetVorbMode(0x00, 0x0F);
  startOver(L"topmost");
  press(0, 300);
  SetDirectXFlag(FALSE);
  press(0, 350);
  const POINT pt = activation(1);
  EXPECT_EQ(count(WM_HOOK_ACTIVATE), 1u);
  EXPECT_EQ(pt.y, 350) << "only the press made with the exclusion off activates";
}

// Wine reports the animation off and keeps no change to it, so this checks
// only what the system lets us see; the decision itself is tested natively.
TEST_F(HookLibrary, SetAnimateOwesARestoreOnlyWhenItFoundTheAnimationOn) {
  SetAnimate(TRUE);
  EXPECT_EQ(sharedState().animationWasOn, 0) << "nothing was switched off";
  ANIMATIONINFO info{sizeof info, 0};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETANIMATION, sizeof info, &info, 0));
  SetAnimate(FALSE);
  EXPECT_EQ(sharedState().animationWasOn, info.iMinAnimate != 0 ? 1 : 0);
  SetAnimate(TRUE);
  EXPECT_EQ(sharedState().animationWasOn, 0);
}

}  // namespace
