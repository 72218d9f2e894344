// The hot-key capture of web shortcut sheets: a WH_CALLWNDPROCRET hook of the
// launcher's thread and the replacement procedure of the hot-key control.
#include "launcher/bar/hot_key_capture.h"

#include <commctrl.h>

#include "framework/trace.h"

// The hook procedure, exported under this name by the launcher program (the
// hook library's procedure of the same name is not linked into it).
extern "C" __declspec(dllexport) LRESULT CALLBACK SendMessageHookProc(int code, WPARAM wParam, LPARAM lParam);

namespace {

HHOOK g_hook = nullptr;
HWND g_control = nullptr;
WNDPROC g_former = nullptr;
uint16_t g_key = 0;
bool g_captured = false;

LRESULT CALLBACK capturingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallWindowProcW(g_former, hwnd, msg, wParam, lParam);
  if (msg == HKM_GETHOTKEY) {
    g_key = static_cast<uint16_t>(result & 0xFFFF);
    g_captured = true;
    return 0;
  }
  return result;
}

bool isHotKeyControl(HWND hwnd) {
  wchar_t name[32] = {};
  return GetClassNameW(hwnd, name, 32) > 0 && lstrcmpiW(name, HOTKEY_CLASSW) == 0;
}

void unsubclass() {
  if (g_control && g_former && IsWindow(g_control) &&
      reinterpret_cast<WNDPROC>(GetWindowLongPtrW(g_control, GWLP_WNDPROC)) == capturingProc)
    SetWindowLongPtrW(g_control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_former));
  g_control = nullptr;
  g_former = nullptr;
}

}  // namespace

extern "C" LRESULT CALLBACK SendMessageHookProc(int code, WPARAM wParam, LPARAM lParam) {
  // HKM_SETRULES is WM_USER + 3, which other controls use for their own
  // purposes: only the system's hot-key control is taken.
  if (code >= 0 && lParam != 0 && !g_former) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (call->message == HKM_SETRULES && isHotKeyControl(call->hwnd)) {
      g_control = call->hwnd;
      g_former = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(call->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(capturingProc)));
    }
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

namespace vorbin {

bool beginHotKeyCapture() {
  endHotKeyCapture();
  g_key = 0;
  g_captured = false;
  g_hook = SetWindowsHookExW(WH_CALLWNDPROCRET, SendMessageHookProc, nullptr, GetCurrentThreadId());
  if (!g_hook) FW_TRACE_FAILURE("SetWindowsHookExW");
  return g_hook != nullptr;
}

void endHotKeyCapture() {
  if (g_hook && !UnhookWindowsHookEx(g_hook)) FW_TRACE_FAILURE("UnhookWindowsHookEx");
  g_hook = nullptr;
  unsubclass();
}

uint16_t capturedHotKey() { return g_key; }
bool hotKeyCaptured() { return g_captured; }

}  // namespace vorbin
