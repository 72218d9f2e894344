// The bar window: creation, the message table, closing and painting.
#include "launcher/bar/bar_window.h"

#include <dde.h>
#include <shellapi.h>

#include <algorithm>

#include "framework/gdi.h"
#include "hook/vorber2k.h"
#include "launcher/app/launcher_app.h"
#include "launcher/model/model_win.h"
#include "launcher/services/monitor_helpers.h"
#include "launcher/services/shell_helpers.h"

namespace vorbin {

namespace {
// The smallest bar before the layout is known.
constexpr int kMinHeight = 96;
// The longest the tray icon waits for the start to settle, in milliseconds.
constexpr UINT kTrayIconLatest = 1000;
}  // namespace

std::span<const fw::MessageEntry<CBarWindow>> CBarWindow::messageMap() {
  using B = CBarWindow;
  static const fw::MessageEntry<CBarWindow> map[] = {
      {WM_CREATE, &B::onCreate},
      {WM_DESTROY, &B::onDestroy},
      {WM_CLOSE, &B::onClose},
      {WM_QUERYENDSESSION, &B::onQueryEndSession},
      {WM_ENDSESSION, &B::onEndSession},
      {WM_PAINT, &B::onPaint},
      {WM_ERASEBKGND, &B::onEraseBackground},
      {WM_NCCALCSIZE, &B::onNcCalcSize},
      {WM_NCPAINT, &B::onNcPaint},
      {WM_NCACTIVATE, &B::onNcActivate},
      {WM_SYSCOLORCHANGE, &B::onSysColorChange},
      {WM_SETTINGCHANGE, &B::onSettingChange},
      {WM_DISPLAYCHANGE, &B::onDisplayChange},
      {WM_SIZE, &B::onSize},
      {WM_WINDOWPOSCHANGING, &B::onWindowPosChanging},
      {WM_WINDOWPOSCHANGED, &B::onWindowPosChanged},
      {WM_GETMINMAXINFO, &B::onGetMinMaxInfo},
      {WM_NCHITTEST, &B::onNcHitTest},
      {WM_NCLBUTTONDOWN, &B::onNcLButtonDown},
      {WM_NCLBUTTONUP, &B::onNcLButtonUp},
      {WM_NCRBUTTONUP, &B::onNcRButtonUp},
      {WM_SETCURSOR, &B::onSetCursor},
      {WM_STYLECHANGING, &B::onStyleChanging},
      {WM_ACTIVATE, &B::onActivate},
      {WM_SHOWWINDOW, &B::onShowWindow},
      {WM_LBUTTONDOWN, &B::onButtonDown},
      {WM_RBUTTONDOWN, &B::onButtonDown},
      {WM_LBUTTONUP, &B::onButtonUp},
      {WM_RBUTTONUP, &B::onButtonUp},
      {WM_MOUSEMOVE, &B::onMouseMove},
      {WM_MOUSELEAVE, &B::onMouseLeave},
      {WM_LBUTTONDBLCLK, &B::onDoubleClick},
      {WM_MOUSEWHEEL, &B::onMouseWheel},
      {WM_VSCROLL, &B::onVScroll},
      {WM_KEYDOWN, &B::onKeyDown},
      {WM_KEYUP, &B::onKeyUp},
      {WM_SYSKEYDOWN, &B::onSysKeyDown},
      {WM_SYSKEYUP, &B::onSysKeyUp},
      {WM_SYSCHAR, &B::onSysChar},
      {WM_SYSCOMMAND, &B::onSysCommand},
      {WM_INITMENUPOPUP, &B::onInitMenuPopup},
      {WM_MENUSELECT, &B::onMenuSelect},
      {WM_ENTERMENULOOP, &B::onEnterMenuLoop},
      {WM_EXITMENULOOP, &B::onExitMenuLoop},
      {WM_ENTERIDLE, &B::onEnterIdle},
      {WM_HOTKEY, &B::onHotKey},
      {WM_COMMAND, &B::onCommand},
      {WM_NOTIFY, &B::onNotify},
      {WM_DROPFILES, &B::onDropFiles},
      {WM_DDE_INITIATE, &B::onDde},
      {WM_DDE_EXECUTE, &B::onDde},
      {WM_DDE_REQUEST, &B::onDde},
      {WM_DDE_TERMINATE, &B::onDde},
      {WM_HOOK_ACTIVATE, &B::onHookActivate},
      {WM_HOOK_TASKCHANGE, &B::onHookTaskChange},
      {WM_HOOK_NEWWINDOWACTIVE, &B::onHookNewWindowActive},
      {kMsgAddRequest, &B::onAddRequest},
      {kMsgTrayCallback, &B::onTrayCallback},
      {kMsgDropsQueued, &B::onDropsQueued},
      {kMsgOptionsClosed, &B::onOptionsClosed},
      {kMsgDragOver, &B::onDragOver},
      {kMsgRaise, &B::onRaise},
      {WM_TIMER, &B::onTimer},
  };
  return map;
}

CBarWindow::CBarWindow(BarContext context) : m_context(context) {}

CBarWindow::~CBarWindow() {
  if (m_trayThread) CloseHandle(m_trayThread);
}

int CBarWindow::minHeight() const { return m_layout.width > 0 ? barMinHeight(m_layout) : kMinHeight; }

int CBarWindow::maxHeight() const {
  POINT at{m_context.settings.positionX, m_context.settings.positionY};
  if (m_hwnd) {
    RECT r;
    GetWindowRect(m_hwnd, &r);
    at = {r.left, r.top};
  }
  return std::max(minHeight(), workAreaHeight(at));
}

int CBarWindow::edgeHeight() const { return std::max(2, GetSystemMetrics(SM_CYSIZEFRAME)); }

bool CBarWindow::createBar(HWND owner, const std::wstring& commandLine) {
  Settings& s = m_context.settings;
  m_height = 0;
  loadColours();
  computeLayout();
  const int defaultHeight = barDefaultHeight(m_layout);
  const std::vector<Rect> areas = allWorkAreas();
  const Rect primary = primaryWorkArea();
  BarPlacement place = restoredPlacement(s.positionX, s.positionY, s.height, m_width, minHeight(),
                                         std::max(minHeight(), primary.height()), defaultHeight, areas, primary);
  s.positionX = place.x;
  s.positionY = place.y;
  m_height = m_normalHeight = m_savedHeight = place.height;
  m_maximized = s.isMaxSize;
  m_startupPlan = {};
  m_pendingCommandLine = commandLine;

  m_taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  // Shut down late among applications so that the bar's state is saved last.
  // Neither needs the window, so both come before it.
  SetProcessShutdownParameters(0x100, 0);
  enablePrivilege(SE_SYSTEM_PROFILE_NAME);
  fw::CreateArgs args;
  args.className = kBarClassName;
  args.title = L"Vorb in";
  args.style = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MAXIMIZEBOX | (s.isMaxSize ? WS_MAXIMIZE : 0);
  args.exStyle = WS_EX_CONTEXTHELP;
  args.x = place.x;
  args.y = place.y;
  args.width = m_width;
  args.height = m_height;
  args.parent = owner;
  if (!create(args)) return false;

  // The normal position is where the window was made unless it was made
  // maximized; setting it again would move the window once more for nothing.
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  GetWindowPlacement(m_hwnd, &wp);
  const RECT normal{place.x, place.y, place.x + m_width, place.y + m_normalHeight};
  if (!EqualRect(&wp.rcNormalPosition, &normal)) {
    wp.showCmd = SW_HIDE;
    wp.rcNormalPosition = normal;
    SetWindowPlacement(m_hwnd, &wp);
  }

  return true;
}

LRESULT CBarWindow::onCreate(WPARAM wParam, LPARAM lParam) {
  if (defaultProc(WM_CREATE, wParam, lParam) == -1) return -1;
  const Settings& s = m_context.settings;
  runStartupLaunch(m_pendingCommandLine);
  m_currentArea = s.actRect;
  m_returnGroup = m_context.groups.activeGroup;
  GetWindowThreadProcessId(m_hwnd, &m_processId);
  if (s.mostTop) SetWindowPos(m_hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  updateGroupScrollBar();
  registerBarHotKey();
  SetHook(m_hwnd, 0);
  SetVorbMode(static_cast<UINT>(s.mouseButton), s.vorbBar);
  SetDirectXFlag(s.ignoreClickOnDX);
  // A bar that starts in task mode lists the windows at once.
  if (s.taskMode) {
    SetTaskMode(TRUE);
    refreshTaskList();
  }
  installPointerGuard();
  // The tray icon comes once the bar is up and the start has settled (see
  // startSettled): the exchange with the tray loads the shell and would
  // compete with the bar's first showing. The timer stands in when the
  // application's loop does not get to run (a dialog's loop owns the thread).
  m_trayPending = s.dispIconInTary && SetTimer(m_hwnd, kTimerTrayIcon, kTrayIconLatest, nullptr);
  if (s.dispIconInTary && !m_trayPending) addTrayIconInBackground();
  startClock();
  return 0;
}

void CBarWindow::runStartupLaunch(const std::wstring& commandLine) {
  const bool held = !startupLaunchAllowed(GetAsyncKeyState(VK_SHIFT) < 0, GetAsyncKeyState(VK_CONTROL) < 0,
                                          GetAsyncKeyState(VK_MENU) < 0);
  wchar_t load[261] = {}, run[261] = {};
  if (m_context.settings.runningAsShell) {
    GetProfileStringW(L"windows", L"load", L"", load, 261);
    GetProfileStringW(L"windows", L"run", L"", run, 261);
  }
  // The lock keeps the bar in front while the started programs come up.
  Settings& s = m_context.settings;
  const int lock = s.lockLevel;
  s.lockLevel = std::max(lock, 1);
  m_startupPlan = planStartupLaunch(held, s.runningAsShell, load, run, commandLine);
  launchStartupPlan();
  s.lockLevel = lock;
}

LRESULT CBarWindow::onDestroy(WPARAM, LPARAM) {
  removePointerGuard();
  stopClock();
  UnregisterHotKey(m_hwnd, 0);
  FreeHook();
  finishTrayIcon();
  if (m_trayIcon) addTrayIcon(false);
  if (m_optionsSheet && IsWindow(m_optionsSheet)) DestroyWindow(m_optionsSheet);
  m_optionsSheet = nullptr;
  m_groupScrollBar = nullptr;  // destroyed with the bar
  PostQuitMessage(0);
  return 0;
}

LRESULT CBarWindow::onClose(WPARAM wParam, LPARAM lParam) {
  saveWindowState();
  return defaultProc(WM_CLOSE, wParam, lParam);
}

LRESULT CBarWindow::onQueryEndSession(WPARAM wParam, LPARAM lParam) {
  LRESULT mayEnd = defaultProc(WM_QUERYENDSESSION, wParam, lParam);
  if (mayEnd) saveWindowState();
  return mayEnd;
}

LRESULT CBarWindow::onEndSession(WPARAM wParam, LPARAM) {
  if (wParam) saveWindowState();
  return 0;
}

void CBarWindow::saveWindowState() {
  Settings& s = m_context.settings;
  recordPlacement();
  s.isMaxSize = m_maximized;
  s.height = m_maximized ? m_savedHeight : m_height;
  // A bar that was hidden or dragged away is saved where it can be found again.
  BarPlacement place = restoredPlacement(s.positionX, s.positionY, s.height, m_width, minHeight(),
                                         std::max(minHeight(), primaryWorkArea().height()),
                                         barDefaultHeight(m_layout), allWorkAreas(), primaryWorkArea());
  s.positionX = place.x;
  s.positionY = place.y;
  s.height = place.height;
  s.actRect = m_currentArea;
  std::optional<int> before;
  if (s.taskMode) before = m_returnGroup;
  saveState(m_context.profile, s, m_context.groups, m_context.history, before);
}

LRESULT CBarWindow::onEraseBackground(WPARAM, LPARAM) { return 1; }

// The bar has no frame or caption of the system's: the client area is the
// whole window, and there is nothing outside it to paint. Answering here
// spares every show and resize the system's frame handling.
LRESULT CBarWindow::onNcCalcSize(WPARAM, LPARAM) { return 0; }
LRESULT CBarWindow::onNcPaint(WPARAM, LPARAM) { return 0; }

LRESULT CBarWindow::onNcActivate(WPARAM wParam, LPARAM lParam) {
  m_active = wParam != 0;
  if (!m_active && m_dragging && GetCapture() == nullptr) SetCapture(m_hwnd);
  InvalidateRect(m_hwnd, nullptr, FALSE);
  return defaultProc(WM_NCACTIVATE, wParam, lParam);
}

LRESULT CBarWindow::onSysColorChange(WPARAM, LPARAM) {
  loadColours();
  repaintAll();
  return 0;
}

LRESULT CBarWindow::onSettingChange(WPARAM wParam, LPARAM) {
  if (wParam == SPI_SETWORKAREA && m_maximized) {
    m_savedHeight = std::min(m_savedHeight, maxHeight());
    SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (wParam == SPI_SETICONTITLELOGFONT || wParam == SPI_SETNONCLIENTMETRICS) {
    relayout();
  } else {
    repaintAll();
  }
  return 0;
}

LRESULT CBarWindow::onDisplayChange(WPARAM, LPARAM) {
  // A new depth needs a new bar image as well.
  m_barImage.reset();
  relayout();
  return 0;
}

LRESULT CBarWindow::onShowWindow(WPARAM wParam, LPARAM) {
  if (wParam) startClock();
  return 0;
}

LRESULT CBarWindow::onStyleChanging(WPARAM, LPARAM lParam) {
  auto* change = reinterpret_cast<STYLESTRUCT*>(lParam);
  if (change) change->styleNew = change->styleOld;
  return 0;
}

void CBarWindow::startClock() {
  if (m_clockRunning || !m_hwnd) return;
  m_clockRunning = SetTimer(m_hwnd, kTimerClock, 1000, nullptr) != 0;
}

void CBarWindow::stopClock() {
  if (!m_clockRunning) return;
  KillTimer(m_hwnd, kTimerClock);
  m_clockRunning = false;
}

void CBarWindow::clearPendingActions() {
  KillTimer(m_hwnd, kTimerHover);
  KillTimer(m_hwnd, kTimerArrowRepeat);
  KillTimer(m_hwnd, kTimerDragScroll);
  m_pendingTimer = 0;
}

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
    lstrcpynW(data.szTip, L"Vorb in", ARRAYSIZE(data.szTip));
  }
  return data;
}

DWORD WINAPI addTrayIconThread(void* parameter) {
  // The thread owns its own reference: the bar may stop waiting for it.
  std::unique_ptr<std::shared_ptr<TrayRequest>> request(
      static_cast<std::shared_ptr<TrayRequest>*>(parameter));
  (*request)->added = Shell_NotifyIconW(NIM_ADD, &(*request)->data);
  return 0;
}

}  // namespace

void CBarWindow::startSettled() {
  if (!m_trayPending || !m_hwnd) return;
  m_trayPending = false;
  KillTimer(m_hwnd, kTimerTrayIcon);
  if (m_context.settings.dispIconInTary && !m_trayIcon) addTrayIconInBackground();
}

void CBarWindow::addTrayIconInBackground() {
  finishTrayIcon();
  auto request = std::make_shared<TrayRequest>();
  request->data = trayIconData(m_hwnd, true);
  auto* parameter = new std::shared_ptr<TrayRequest>(request);
  HANDLE thread = CreateThread(nullptr, 64 * 1024, &addTrayIconThread, parameter,
                               STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (!thread) {
    delete parameter;
    addTrayIcon(true);
    return;
  }
  m_trayThread = thread;
  m_trayRequest = std::move(request);
}

void CBarWindow::finishTrayIcon() {
  if (!m_trayThread) return;
  // The tray may send to this thread while it adds the icon: answer sent
  // messages while waiting, and give up on a tray that does not answer.
  const ULONGLONG deadline = GetTickCount64() + 5000;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    const DWORD wait = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
    const DWORD rc = MsgWaitForMultipleObjects(1, &m_trayThread, FALSE, wait, QS_SENDMESSAGE);
    if (rc != WAIT_OBJECT_0 + 1) {
      if (rc == WAIT_OBJECT_0) m_trayIcon = m_trayRequest->added != FALSE;
      break;
    }
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  CloseHandle(m_trayThread);
  m_trayThread = nullptr;
  m_trayRequest.reset();
}

void CBarWindow::addTrayIcon(bool add) {
  finishTrayIcon();
  NOTIFYICONDATAW data = trayIconData(m_hwnd, add);
  if (add) {
    m_trayIcon = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  } else {
    Shell_NotifyIconW(NIM_DELETE, &data);
    m_trayIcon = false;
  }
}

LRESULT CBarWindow::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // A restarted shell asks every program to put its tray icon back.
  if (msg == m_taskbarCreated && msg != 0) {
    if (m_context.settings.dispIconInTary) {
      // Sent without a restart, the addition fails but the icon is still there.
      const bool had = m_trayIcon;
      addTrayIcon(true);
      m_trayIcon = m_trayIcon || had;
    }
    return 0;
  }
  return CMappedWindow::handleMessage(msg, wParam, lParam);
}

}  // namespace vorbin
