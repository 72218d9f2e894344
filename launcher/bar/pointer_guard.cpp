// The queue hook that keeps posted pointer-carrying messages away.
#include "launcher/bar/pointer_guard.h"

#include "framework/trace.h"
#include "launcher/services/find_files.h"

namespace vorbin {

LRESULT CALLBACK PointerGuard::guardProc(int code, WPARAM wParam, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  // Posted messages are never trusted with pointers: whoever posted one, the
  // pointer is not the launcher's to follow.
  if (code == HC_ACTION && wParam == PM_REMOVE && msg && msg->message == kMsgAddRequest) {
    msg->message = WM_NULL;
    msg->lParam = 0;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void PointerGuard::install() {
  m_hook.reset(SetWindowsHookExW(WH_GETMESSAGE, guardProc, nullptr, GetCurrentThreadId()));
  if (!m_hook) FW_TRACE_FAILURE("SetWindowsHookExW");
}

}  // namespace vorbin
