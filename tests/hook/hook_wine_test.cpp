// The real Vorber2k.dll across two processes under Wine: task-change reports,
// the command line of another process, the shared block, and edge presses
// made with synthetic input over another program's window.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "hook/shared_hook_state.h"
#include "hook/vorber2k.h"
#include "tests/hook/hook_target.h"
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
      (msg >= WM_APP && msg < WM_APP + 16)) {
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
    wsprintfW(text, L"%IX", reinterpret_cast<ULONG_PTR>(sink));
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
    EXPECT_TRUE(e2e::waitUntil([&] { return count(WM_HOOK_ACTIVATE) >= n; }, 10000)) << "activation " << n;
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

TEST_F(EdgePress, RightButtonActivationArmsTheMenuSuppressionUntilCancelled) {
  SetHook(sink, 0);
  SetVorbMode(0x01, 0x0F);
  startOver();
  press(0, 200, true);
  activation(1);
  EXPECT_EQ(sharedState().suppressNextMenu, 1);
  EXPECT_FALSE(CancelDeleteMenu()) << "the press was not on the desktop's icon view";
  EXPECT_EQ(sharedState().suppressNextMenu, 0);
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

TEST_F(HookLibrary, SetAnimateRestoresOnlyWhatItSwitchedOff) {
  SetAnimate(TRUE);
  EXPECT_EQ(sharedState().animationWasOn, 0);
  ANIMATIONINFO info{sizeof info, 0};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETANIMATION, sizeof info, &info, 0));
  SetAnimate(FALSE);
  EXPECT_EQ(sharedState().animationWasOn, info.iMinAnimate != 0 ? 1 : 0);
  SetAnimate(TRUE);
  EXPECT_EQ(sharedState().animationWasOn, 0);
}

}  // namespace
