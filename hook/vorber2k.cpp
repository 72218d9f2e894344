// Vorber2k.dll: system-wide window hooks for the launcher. Everything the
// hooks share across processes lives in the shared section "share_da".
#define VORBER2K_BUILD
#include "hook/vorber2k.h"

#include "hook/companion_forward.h"
#include "hook/hook_globals.h"
#include "hook/window_events.h"

#if defined(__GNUC__)
// GCC extension: a named data section that the loader maps shared.
#define VB_SHARED_SECTION __attribute__((section("share_da"), shared))
#else
#pragma section("share_da", read, write, shared)
#define VB_SHARED_SECTION __declspec(allocate("share_da"))
#endif

namespace vorber {

VB_SHARED_SECTION SharedHookState g_shared = kInitialHookState;
HINSTANCE g_module;

namespace {

// Resolved in each process from its own User32: an address kept in shared
// memory could be overwritten by any program and then called by all of them.
using LockForegroundFn = BOOL(WINAPI*)(UINT);
using AllowForegroundFn = BOOL(WINAPI*)(DWORD);
LockForegroundFn g_lockForeground;
AllowForegroundFn g_allowForeground;

void resolveForegroundEntries() {
  HMODULE user32 = GetModuleHandleA("User32");
  if (!user32) return;
  g_lockForeground = reinterpret_cast<LockForegroundFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "LockSetForegroundWindow")));
  g_allowForeground = reinterpret_cast<AllowForegroundFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "AllowSetForegroundWindow")));
}

void unhook(uintptr_t& handle) {
  if (handle == 0) return;
  UnhookWindowsHookEx(hookHandle(handle));
  handle = 0;
}

uintptr_t install(int type, HOOKPROC proc, DWORD thread = 0) {
  return reinterpret_cast<uintptr_t>(SetWindowsHookExA(type, proc, g_module, thread));
}

DWORD processOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

// Registered once per process; every process gets the same number.
UINT commandLineMessage() {
  static UINT message;
  if (message == 0) message = RegisterWindowMessageA("Vorber2kCommandLine");
  return message;
}

class WinWindowQueries final : public WindowQueries {
 public:
  uintptr_t parentOf(uintptr_t window) override {
    return reinterpret_cast<uintptr_t>(GetParent(reinterpret_cast<HWND>(window)));
  }
  uint32_t processOf(uintptr_t window) override { return vorber::processOf(reinterpret_cast<HWND>(window)); }
  bool isPopupMenu(uintptr_t value) override {
    HWND window = reinterpret_cast<HWND>(value);
    char name[129];
    const int length = GetClassNameA(window, name, sizeof name);
    if (length <= 0) return false;
    return isPopupMenuWindow(static_cast<uint32_t>(GetWindowLongA(window, GWL_STYLE)),
                             static_cast<uint32_t>(GetWindowLongA(window, GWL_EXSTYLE)),
                             {name, static_cast<size_t>(length)});
  }
};

}  // namespace

void readDesktop() {
  HWND desktop = GetDesktopWindow();
  g_shared.desktopWindow = reinterpret_cast<uintptr_t>(desktop);
  RECT rc;
  if (GetWindowRect(desktop, &rc)) g_shared.screenEdges = {rc.left, rc.top, rc.right - 1, rc.bottom - 1};
}

HWND checkedLauncher(uintptr_t value) {
  HWND window = reinterpret_cast<HWND>(value);
  const DWORD launcherPid = g_shared.launcherProcessId;
  if (!window || launcherPid == 0 || !IsWindow(window)) return nullptr;
  return processOf(window) == launcherPid ? window : nullptr;
}

bool postToLauncher(uintptr_t value, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = checkedLauncher(value);
  return window && PostMessageA(window, message, wParam, lParam);
}

bool reportedElsewhere(HWND window) {
  if (!window || processOf(window) == GetCurrentProcessId()) return false;
#if defined(_WIN64)
  return companionRunning();
#else
  return true;
#endif
}

void allowLauncherForeground(DWORD launcherProcessId) {
  if (g_lockForeground) g_lockForeground(LSFW_UNLOCK);
  if (g_allowForeground && launcherProcessId != 0) g_allowForeground(launcherProcessId);
}

}  // namespace vorber

using vorber::g_shared;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    vorber::g_module = instance;
    DisableThreadLibraryCalls(instance);
    vorber::resolveForegroundEntries();
    vorber::readDesktop();
  }
  return TRUE;
}

//=== Installing and removing

VORBER2K_API void WINAPI SetHook(HWND launcher, LONG_PTR reserved) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (GetVersionExA(&version)) {
    g_shared.version5 = version.dwMajorVersion >= 5 ? 1 : 0;
    // Later major versions count as "5.1 or later" too (6.0 has minor 0).
    if (g_shared.version5)
      g_shared.version51 = (version.dwMajorVersion > 5 || version.dwMinorVersion >= 1) ? 1 : 0;
  }
  g_shared.stillness = {2 * GetSystemMetrics(SM_CXDOUBLECLK), 2 * GetSystemMetrics(SM_CYDOUBLECLK)};
  vorber::unhook(g_shared.mouseHook);
  vorber::unhook(g_shared.cbtHook);
  vorber::unhook(g_shared.shellHook);
  g_shared.reserved = reserved;
  g_shared.launcherWindow = reinterpret_cast<uintptr_t>(launcher);
  g_shared.launcherProcessId = vorber::processOf(launcher);
  g_shared.mouseHook = vorber::install(WH_MOUSE, MouseEventHookProc);
  g_shared.cbtHook = vorber::install(WH_CBT, CBTHookProc);
  g_shared.shellHook = vorber::install(WH_SHELL, ShellHookProc);
  vorber::mirrorForCompanion(vorber::MirrorCall::kHook, 1,
                             static_cast<int32_t>(reinterpret_cast<uintptr_t>(launcher)));
}

VORBER2K_API void WINAPI FreeHook() {
  vorber::unhook(g_shared.mouseHook);
  vorber::unhook(g_shared.titleHook);
  vorber::unhook(g_shared.cbtHook);
  vorber::unhook(g_shared.shellHook);
  vorber::mirrorForCompanion(vorber::MirrorCall::kHook, 0, 0);
}

VORBER2K_API HHOOK WINAPI ReMouseHook() {
  vorber::unhook(g_shared.mouseHook);
  g_shared.mouseHook = vorber::install(WH_MOUSE, MouseEventHookProc);
  vorber::mirrorForCompanion(vorber::MirrorCall::kReMouseHook);
  return vorber::hookHandle(g_shared.mouseHook);
}

VORBER2K_API void WINAPI SetTaskMode(BOOL on) {
  g_shared.taskMode = on ? 1 : 0;
  if (on && g_shared.titleHook == 0) {
    g_shared.titleHook = vorber::install(WH_CALLWNDPROCRET, SendMessageHookProc);
  } else if (!on) {
    vorber::unhook(g_shared.titleHook);
  }
  vorber::mirrorForCompanion(vorber::MirrorCall::kTaskMode, on ? 1 : 0);
}

//=== Settings

VORBER2K_API void WINAPI SetVorbMode(UINT mode, UINT edges) {
  vorber::applyVorbMode(g_shared, mode, edges);
  vorber::mirrorForCompanion(vorber::MirrorCall::kVorbMode, static_cast<int32_t>(mode),
                             static_cast<int32_t>(edges));
}

VORBER2K_API void WINAPI SetDirectXFlag(BOOL flag) {
  g_shared.fullScreenExclusion = flag ? 1 : 0;
  vorber::mirrorForCompanion(vorber::MirrorCall::kDirectX, flag ? 1 : 0);
}

VORBER2K_API void WINAPI SetCtrlRect(const RECT* rect) {
  if (!rect) return;
  g_shared.controlRect = {rect->left, rect->top, rect->right, rect->bottom};
  vorber::mirrorForCompanion(vorber::MirrorCall::kCtrlRect, rect->left, rect->top, rect->right, rect->bottom);
}

namespace vorber {
namespace {
void applyAnimate(BOOL restore) {
  ANIMATIONINFO info{};
  info.cbSize = sizeof info;
  bool on = false;
  if (!restore && SystemParametersInfoA(SPI_GETANIMATION, sizeof info, &info, 0)) on = info.iMinAnimate != 0;
  switch (vorber::decideAnimation(restore != FALSE, on, g_shared.animationWasOn)) {
    case vorber::AnimationChange::kSwitchOff:
      info.iMinAnimate = 0;
      SystemParametersInfoA(SPI_SETANIMATION, sizeof info, &info, 0);
      break;
    case vorber::AnimationChange::kSwitchOn:
      info.iMinAnimate = 1;
      SystemParametersInfoA(SPI_SETANIMATION, sizeof info, &info, 0);
      break;
    case vorber::AnimationChange::kNone:
      break;
  }
}
}  // namespace
}  // namespace vorber

// The launcher's calls only are mirrored: the hooks' own switch-off (below)
// happens in the 32-bit programs through the 32-bit library.
VORBER2K_API void WINAPI SetAnimate(BOOL restore) {
  vorber::applyAnimate(restore);
  vorber::mirrorForCompanion(vorber::MirrorCall::kAnimate, restore ? 1 : 0);
}

//=== Queries

namespace vorber {
namespace {
// This library's record of the pointer, or the companion's where that is
// newer: a gesture over a 32-bit program's window is seen only there.
PointerRecord newestPointer(bool& ownPress) {
  PointerRecord own;
  own.activationStamp = g_shared.activationStamp;
  own.activationX = g_shared.activationPoint.x;
  own.activationY = g_shared.activationPoint.y;
  own.activationPos = g_shared.activationPos;
  own.pressedWindow = static_cast<uint32_t>(g_shared.lastPressedWindow);
  own.pressStamp = g_shared.pressStamp;
  PointerRecord other;
  const PointerRecord newest = newerPointerRecord(own, pointerFromCompanion(other) ? &other : nullptr);
  ownPress = newest.pressStamp == own.pressStamp;
  return newest;
}
}  // namespace
}  // namespace vorber

VORBER2K_API void WINAPI GetNewPoint(POINT* point) {
  if (!point) return;
  bool ownPress = false;
  const vorber::PointerRecord r = vorber::newestPointer(ownPress);
  *point = {r.activationX, r.activationY};
}
VORBER2K_API DWORD WINAPI GetNewPos() {
  bool ownPress = false;
  return vorber::newestPointer(ownPress).activationPos;
}
VORBER2K_API HWND WINAPI GetLastMouseDownHwnd() {
  bool ownPress = false;
  const vorber::PointerRecord r = vorber::newestPointer(ownPress);
  if (ownPress) return reinterpret_cast<HWND>(g_shared.lastPressedWindow);
  // A 32-bit handle widens as the system widens handles: sign-extended.
  return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(r.pressedWindow)));
}
VORBER2K_API void WINAPI CancelForeFlag() {
  g_shared.launcherActivated = 0;
  vorber::mirrorForCompanion(vorber::MirrorCall::kCancelForeFlag);
}

VORBER2K_API BOOL WINAPI CancelDeleteMenu() {
  const int32_t onIconView = g_shared.pressOnIconView;
  if (onIconView == 0) g_shared.suppressNextMenu = 0;
  vorber::mirrorForCompanion(vorber::MirrorCall::kCancelDeleteMenu);
  return onIconView != 0 ? TRUE : FALSE;
}

// The command line is read inside the window's own process: a hook on the
// window's thread publishes it while that thread handles our message. A
// private message is used because a move onto the window's own rectangle
// changes no size, so the system sends no WM_GETMINMAXINFO; the send is
// bounded so that a hung program cannot hang the launcher.
VORBER2K_API UINT WINAPI GetTaskInfo(HWND window) {
  g_shared.commandLineAtom = 0;
  // Thread 0 would hook every thread of the desktop: refuse dead windows.
  const DWORD thread = (window && IsWindow(window)) ? GetWindowThreadProcessId(window, nullptr) : 0;
  if (thread == 0) return 0;
  // This library cannot be mapped into a 32-bit program: the companion's can.
  if (UINT atom = 0; vorber::taskInfoFromCompanion(window, atom)) return atom;
  g_shared.commandLineHook = vorber::install(WH_CALLWNDPROCRET, GetTaskInfoHookProc, thread);
  if (g_shared.commandLineHook == 0) return 0;
  // A thread that was idle when the hook was set may notice it only from its
  // next message on (seen under Wine), so ask twice before giving up.
  for (int attempt = 0; attempt < 2 && g_shared.commandLineAtom == 0; ++attempt) {
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(window, vorber::commandLineMessage(), 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 2000,
                             &ignored)) {
      break;
    }
  }
  vorber::unhook(g_shared.commandLineHook);
  return g_shared.commandLineAtom & 0xFFFFu;
}

//=== Hook procedures

VORBER2K_API LRESULT CALLBACK CBTHookProc(int code, WPARAM wParam, LPARAM lParam) {
  const bool windowCode = code == HCBT_CREATEWND || code == HCBT_DESTROYWND || code == HCBT_ACTIVATE ||
                          code == HCBT_MINMAX || code == HCBT_MOVESIZE || code == HCBT_SETFOCUS;
  if (windowCode && vorber::reportedElsewhere(reinterpret_cast<HWND>(wParam)))
    return CallNextHookEx(vorber::hookHandle(g_shared.cbtHook), code, wParam, lParam);
  vorber::WinWindowQueries queries;
  const vorber::CbtDecision d = vorber::decideCbt(g_shared, queries, code, static_cast<uintptr_t>(wParam),
                                                  static_cast<int64_t>(lParam));
  if (d.report) vorber::postToLauncher(g_shared.launcherWindow, WM_HOOK_TASKCHANGE, wParam, d.change);
  if (d.refuse) return 1;
  if (d.animationOff) vorber::applyAnimate(FALSE);
  return CallNextHookEx(vorber::hookHandle(g_shared.cbtHook), code, wParam, lParam);
}

VORBER2K_API LRESULT CALLBACK ShellHookProc(int code, WPARAM wParam, LPARAM lParam) {
  const uintptr_t window = static_cast<uintptr_t>(wParam);
  if (code == HSHELL_WINDOWCREATED) {
    vorber::noteWindowCreated(g_shared, window);
  } else if (code == HSHELL_WINDOWACTIVATED && vorber::noteWindowActivated(g_shared, window)) {
    vorber::postToLauncher(g_shared.launcherWindow, WM_HOOK_NEWWINDOWACTIVE, 0, 0);
  }
  return CallNextHookEx(vorber::hookHandle(g_shared.shellHook), code, wParam, lParam);
}

// Title and icon changes sent from another thread; the window's own thread
// setting them is not a change the task list needs to hear about.
VORBER2K_API LRESULT CALLBACK SendMessageHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && wParam == 0 && lParam != 0 && g_shared.taskMode != 0) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if ((call->message == WM_SETTEXT || call->message == WM_SETICON) && GetParent(call->hwnd) == nullptr &&
        !vorber::reportedElsewhere(call->hwnd)) {
      vorber::postToLauncher(g_shared.launcherWindow, WM_HOOK_TASKCHANGE,
                             reinterpret_cast<WPARAM>(call->hwnd), static_cast<LPARAM>(call->message));
    }
  }
  return CallNextHookEx(vorber::hookHandle(g_shared.titleHook), code, wParam, lParam);
}

VORBER2K_API LRESULT CALLBACK GetTaskInfoHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && lParam != 0 && g_shared.commandLineHook != 0 && g_shared.commandLineAtom == 0) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (call->message == vorber::commandLineMessage() || call->message == WM_GETMINMAXINFO) {
      char text[vorber::kMaxAtomText + 1];
      if (vorber::copyCommandLineForAtom(GetCommandLineA(), text))
        g_shared.commandLineAtom = GlobalAddAtomA(text);
    }
  }
  return CallNextHookEx(vorber::hookHandle(g_shared.commandLineHook), code, wParam, lParam);
}
