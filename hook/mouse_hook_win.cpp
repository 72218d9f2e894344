// The mouse hook's Win32 side: the system queries behind the gesture
// decisions, the exported hook procedure and the drag-hold timer.
#define VORBER2K_BUILD
#include "hook/vorber2k.h"

#include <commctrl.h>

#include "hook/hook_globals.h"
#include "hook/mouse_gesture.h"

namespace vorber {
namespace {

static_assert(sizeof(LVHITTESTINFO) <= sizeof(IconHitTestRecord), "hit-test record too small");
static_assert(sizeof(HWND) <= sizeof(uintptr_t) && sizeof(UINT_PTR) <= sizeof(uintptr_t));

HWND asWindow(uintptr_t value) { return reinterpret_cast<HWND>(value); }
uintptr_t asValue(HWND window) { return reinterpret_cast<uintptr_t>(window); }

VOID CALLBACK dragHoldTimerProc(HWND, UINT, UINT_PTR id, DWORD);

class WinMousePlatform final : public MousePlatform {
 public:
  bool anyButtonDown() override {
    return ((GetAsyncKeyState(VK_LBUTTON) | GetAsyncKeyState(VK_RBUTTON) | GetAsyncKeyState(VK_MBUTTON)) &
            0x8000) != 0;
  }
  uintptr_t captureWindow() override { return asValue(GetCapture()); }
  size_t className(uintptr_t window, char* buffer, size_t cap) override {
    const int length = GetClassNameA(asWindow(window), buffer, static_cast<int>(cap));
    return length > 0 ? static_cast<size_t>(length) : 0;
  }
  uintptr_t startDragHoldTimer() override { return SetTimer(nullptr, 0, 500, dragHoldTimerProc); }
  void killDragHoldTimer(uintptr_t id) override { KillTimer(nullptr, id); }
  uint32_t currentThread() override { return GetCurrentThreadId(); }
  bool threadAlive(uint32_t threadId) override {
    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, threadId);
    if (!thread) return GetLastError() == ERROR_ACCESS_DENIED;  // exists, but not ours to open
    const bool alive = WaitForSingleObject(thread, 0) == WAIT_TIMEOUT;
    CloseHandle(thread);
    return alive;
  }
  uint32_t processOf(uintptr_t window) override {
    DWORD pid = 0;
    GetWindowThreadProcessId(asWindow(window), &pid);
    return pid;
  }
  HookPoint toClient(uintptr_t window, HookPoint screen) override {
    POINT pt{screen.x, screen.y};
    ScreenToClient(asWindow(window), &pt);
    return {pt.x, pt.y};
  }
  bool windowRect(uintptr_t window, HookRect& rect) override {
    RECT rc;
    if (window == 0 || !GetWindowRect(asWindow(window), &rc)) return false;
    rect = {rc.left, rc.top, rc.right, rc.bottom};
    return true;
  }
  uintptr_t parentOf(uintptr_t window) override { return asValue(GetParent(asWindow(window))); }
  uintptr_t firstChildOf(uintptr_t window) override { return asValue(GetWindow(asWindow(window), GW_CHILD)); }
  uint32_t exStyleOf(uintptr_t window) override {
    return static_cast<uint32_t>(GetWindowLongA(asWindow(window), GWL_EXSTYLE));
  }
  uintptr_t programManager() override { return asValue(FindWindowA("Progman", "Program Manager")); }
  bool isVisible(uintptr_t window) override { return IsWindowVisible(asWindow(window)) != FALSE; }
  // The record lives in this process's view of the shared block, so only a
  // list view of this thread may be handed its address (a send to another
  // thread could also block on it).
  bool iconAt(uintptr_t view, IconHitTestRecord& record) override {
    if (GetWindowThreadProcessId(asWindow(view), nullptr) != GetCurrentThreadId()) return false;
    return SendMessageA(asWindow(view), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&record)) != -1;
  }
  HookPoint cursorPos() override {
    POINT pt{0, 0};
    GetCursorPos(&pt);
    return {pt.x, pt.y};
  }
  void allowForeground(uint32_t launcherProcessId) override { allowLauncherForeground(launcherProcessId); }
  void post(uintptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    postToLauncher(window, message, wParam, lParam);
  }
  // Only on systems before major version 5: bounded, and skipped when hung.
  void sendBounded(uintptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    DWORD_PTR result = 0;
    if (HWND launcher = checkedLauncher(window)) {
      SendMessageTimeoutA(launcher, message, wParam, lParam, SMTO_ABORTIFHUNG, 1000, &result);
    }
  }
  void setForeground(uintptr_t window) override {
    if (HWND launcher = checkedLauncher(window)) SetForegroundWindow(launcher);
  }
  uint64_t eventStamp() override {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart > 0 ? static_cast<uint64_t>(now.QuadPart) : 1;
  }
};

VOID CALLBACK dragHoldTimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  WinMousePlatform platform;
  onDragHoldTimer(g_shared, platform, id);
}

}  // namespace
}  // namespace vorber

VORBER2K_API LRESULT CALLBACK MouseEventHookProc(int code, WPARAM wParam, LPARAM lParam) {
  const auto* info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
  if (code >= 0 && info != nullptr && !vorber::reportedElsewhere(info->hwnd)) {
    const vorber::MouseRecord record{info->pt.x, info->pt.y, reinterpret_cast<uintptr_t>(info->hwnd),
                                     static_cast<int32_t>(info->wHitTestCode)};
    vorber::WinMousePlatform platform;
    if (vorber::onMouseMessage(vorber::g_shared, platform, code, static_cast<uint32_t>(wParam), record) ==
        vorber::MouseVerdict::kSwallow) {
      return 1;
    }
  }
  return CallNextHookEx(vorber::hookHandle(vorber::g_shared.mouseHook), code, wParam, lParam);
}
