// The bar's notification-area icon and its background addition.
#include "launcher/bar/tray_icon.h"

#include <shellapi.h>

#include "framework/trace.h"
#include "launcher/bar/bar_messages.h"
#include "launcher/bar/bar_timers.h"
#include "launcher/resources/product_name.h"

namespace vorbin {

namespace {
// The longest the tray icon waits for the start to settle, in milliseconds.
constexpr UINT kTrayIconLatest = 1000;
}  // namespace

struct TrayRequest {
  NOTIFYICONDATAW data{};
  BOOL added = FALSE;
};

namespace {

NOTIFYICONDATAW trayIconData(HWND bar, bool add) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = bar;
  data.uID = 1;
  if (add) {
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kMsgTrayCallback;
    data.hIcon = reinterpret_cast<HICON>(GetClassLongPtrW(bar, GCLP_HICONSM));
    if (!data.hIcon) data.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    lstrcpynW(data.szTip, kProductName, ARRAYSIZE(data.szTip));
  }
  return data;
}

DWORD WINAPI addTrayIconThread(void* parameter) {
  // The thread owns its own reference: the bar may stop waiting for it.
  std::unique_ptr<std::shared_ptr<TrayRequest>> request(
      static_cast<std::shared_ptr<TrayRequest>*>(parameter));
  (*request)->added = Shell_NotifyIconW(NIM_ADD, &(*request)->data);
  if (!(*request)->added) FW_TRACE_FAILURE("Shell_NotifyIconW");
  return 0;
}

}  // namespace

TrayIcon::TrayIcon() = default;
TrayIcon::~TrayIcon() = default;

void TrayIcon::watchShellRestarts() {
  m_taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  if (!m_taskbarCreated) FW_TRACE_FAILURE("RegisterWindowMessageW");
}

void TrayIcon::begin(HWND bar, bool wanted) {
  m_bar = bar;
  // The exchange with the tray loads the shell and would compete with the
  // bar's first showing: the icon comes once the start has settled.
  m_pending = wanted && SetTimer(m_bar, kTimerTrayIcon, kTrayIconLatest, nullptr);
  if (wanted && !m_pending) {
    FW_TRACE_FAILURE("SetTimer");
    addInBackground();
  }
}

void TrayIcon::settled(bool wanted) {
  if (!m_pending || !m_bar) return;
  m_pending = false;
  KillTimer(m_bar, kTimerTrayIcon);
  if (wanted && !m_shown) addInBackground();
}

void TrayIcon::addInBackground() {
  finish();
  auto request = std::make_shared<TrayRequest>();
  request->data = trayIconData(m_bar, true);
  auto* parameter = new std::shared_ptr<TrayRequest>(request);
  HANDLE thread = CreateThread(nullptr, 64 * 1024, &addTrayIconThread, parameter,
                               STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (!thread) {
    FW_TRACE_FAILURE("CreateThread");
    delete parameter;
    show(true);
    return;
  }
  m_thread.reset(thread);
  m_request = std::move(request);
}

void TrayIcon::finish() {
  if (!m_thread) return;
  // The tray may send to this thread while it adds the icon: answer sent
  // messages while waiting, and give up on a tray that does not answer.
  const ULONGLONG deadline = GetTickCount64() + 5000;
  HANDLE thread = m_thread.get();
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    const DWORD wait = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
    const DWORD rc = MsgWaitForMultipleObjects(1, &thread, FALSE, wait, QS_SENDMESSAGE);
    if (rc != WAIT_OBJECT_0 + 1) {
      if (rc == WAIT_OBJECT_0) {
        m_shown = m_request->added != FALSE;
      } else if (rc == WAIT_FAILED) {
        FW_TRACE_FAILURE("MsgWaitForMultipleObjects");
      } else {
        // The tray did not answer in time.
        FW_TRACE_FAILURE_CODE("MsgWaitForMultipleObjects", rc);
      }
      break;
    }
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  m_thread.reset();
  m_request.reset();
}

void TrayIcon::show(bool add) {
  finish();
  NOTIFYICONDATAW data = trayIconData(m_bar, add);
  if (add) {
    // An icon still shown makes the addition fail harmlessly (see putBack).
    const bool had = m_shown;
    m_shown = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    if (!m_shown && !had) FW_TRACE_FAILURE("Shell_NotifyIconW");
  } else {
    // An icon never added has nothing to remove.
    if (!Shell_NotifyIconW(NIM_DELETE, &data) && m_shown) FW_TRACE_FAILURE("Shell_NotifyIconW");
    m_shown = false;
  }
}

void TrayIcon::putBack() {
  // Sent without a restart, the addition fails but the icon is still there.
  const bool had = m_shown;
  show(true);
  m_shown = m_shown || had;
}

void TrayIcon::end() {
  finish();
  if (m_shown) show(false);
}

}  // namespace vorbin
