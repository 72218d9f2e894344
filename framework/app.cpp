// The application object and its message loop.
#include "framework/app.h"

#include "framework/trace.h"
#include "framework/window.h"

namespace fw {

CApplication* CApplication::s_instance = nullptr;

CApplication::CApplication() { s_instance = this; }

CApplication::~CApplication() {
  if (s_instance == this) s_instance = nullptr;
}

int CApplication::run(HINSTANCE hInstance, int showCommand) {
  m_instance = hInstance;
  m_showCommand = showCommand;
  if (!initInstance()) return exitInstance();
  while (pumpMessage()) {
  }
  return exitInstance();
}

bool CApplication::pumpMessage() {
  MSG msg;
  BOOL got = GetMessageW(&msg, nullptr, 0, 0);
  if (got == 0 || got == -1) {
    if (got == -1) FW_TRACE_FAILURE("GetMessageW");
    if (got == 0) m_exitCode = static_cast<int>(msg.wParam);
    return false;
  }
  if (!preTranslateMessage(msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

bool CApplication::preTranslateMessage(MSG& msg) {
  // Modeless dialogs get their keyboard handling.
  HWND active = GetActiveWindow();
  if (active && msg.hwnd && (active == msg.hwnd || IsChild(active, msg.hwnd))) {
    wchar_t cls[8] = {};
    if (GetClassNameW(active, cls, 8) && lstrcmpW(cls, L"#32770") == 0) {
      return IsDialogMessageW(active, &msg) != FALSE;
    }
  }
  return false;
}

}  // namespace fw
