// Vorber2k.dll: system-wide window hooks for the launcher. Everything the
// hooks share across processes lives in the shared section "share_da".
// (First cut: the shared block and the exports; the hooks follow.)
#define VORBER2K_BUILD
#include "hook/vorber2k.h"

#if defined(__GNUC__)
#define VB_SHARED_SECTION __attribute__((section("share_da"), shared))
#else
#pragma section("share_da", read, write, shared)
#define VB_SHARED_SECTION __declspec(allocate("share_da"))
#endif

namespace {
struct SharedHookState {
  HWND launcherWindow;
  HHOOK mouseHook, cbtHook, shellHook, titleHook;
  LONG_PTR reserved;
  RECT controlRect;
  POINT activationPoint;
  DWORD activationPos;
  HWND lastPressed;
  LONG taskMode;
  LONG directXFlag;
};
VB_SHARED_SECTION SharedHookState g_shared = {nullptr, nullptr, nullptr, nullptr, nullptr, 0,
                                              {0, 0, 0, 0},  {0, 0},  0,       nullptr, 0, 1};
HINSTANCE g_module;
}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

VORBER2K_API void WINAPI SetHook(HWND launcher, LONG_PTR reserved) {
  g_shared.launcherWindow = launcher;
  g_shared.reserved = reserved;
}
VORBER2K_API void WINAPI FreeHook() {}
VORBER2K_API HHOOK WINAPI ReMouseHook() { return g_shared.mouseHook; }
VORBER2K_API void WINAPI SetVorbMode(UINT, UINT) {}
VORBER2K_API void WINAPI SetDirectXFlag(BOOL flag) { g_shared.directXFlag = flag ? 1 : 0; }
VORBER2K_API void WINAPI SetCtrlRect(const RECT* rect) {
  if (rect) g_shared.controlRect = *rect;
}
VORBER2K_API void WINAPI SetAnimate(BOOL) {}
VORBER2K_API void WINAPI SetTaskMode(BOOL on) { g_shared.taskMode = on ? 1 : 0; }
VORBER2K_API UINT WINAPI GetTaskInfo(HWND) { return 0; }
VORBER2K_API void WINAPI GetNewPoint(POINT* point) {
  if (point) *point = g_shared.activationPoint;
}
VORBER2K_API DWORD WINAPI GetNewPos() { return g_shared.activationPos; }
VORBER2K_API HWND WINAPI GetLastMouseDownHwnd() { return g_shared.lastPressed; }
VORBER2K_API void WINAPI CancelForeFlag() {}
VORBER2K_API BOOL WINAPI CancelDeleteMenu() { return FALSE; }

VORBER2K_API LRESULT CALLBACK MouseEventHookProc(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(g_shared.mouseHook, code, wParam, lParam);
}
VORBER2K_API LRESULT CALLBACK CBTHookProc(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(g_shared.cbtHook, code, wParam, lParam);
}
VORBER2K_API LRESULT CALLBACK ShellHookProc(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(g_shared.shellHook, code, wParam, lParam);
}
VORBER2K_API LRESULT CALLBACK SendMessageHookProc(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(g_shared.titleHook, code, wParam, lParam);
}
VORBER2K_API LRESULT CALLBACK GetTaskInfoHookProc(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
