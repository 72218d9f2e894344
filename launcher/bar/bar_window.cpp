// The bar window: the message table, creation, closing, the system's
// notices and the timers.
#include "launcher/bar/bar_window.h"

#include <dde.h>

#include <algorithm>

#include "framework/trace.h"
#include "hook/vorber2k.h"
#include "launcher/bar/bar_host.h"
#include "launcher/bar/hot_keys.h"
#include "launcher/bar/startup_run.h"
#include "launcher/model/model_win.h"
#include "launcher/resources/product_name.h"
#include "launcher/services/find_files.h"
#include "launcher/services/shell_helpers.h"

namespace vorbin {

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
      {WM_DPICHANGED, &B::onDpiChanged},
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
      {WM_DDE_INITIATE, &B::onDdeInitiate},
      {WM_DDE_EXECUTE, &B::onDdeExecute},
      {WM_DDE_REQUEST, &B::onDdeRequest},
      {WM_DDE_TERMINATE, &B::onDdeTerminate},
      {WM_HOOK_ACTIVATE, &B::onHookActivate},
      {WM_HOOK_TASKCHANGE, &B::onHookTaskChange},
      {WM_HOOK_NEWWINDOWACTIVE, &B::onHookNewWindowActive},
      {kMsgAddRequest, &B::onAddRequest},
      {kMsgAddRequestsQueued, &B::onAddRequestsQueued},
      {kMsgTrayCallback, &B::onTrayCallback},
      {kMsgDropsQueued, &B::onDropsQueued},
      {kMsgOptionsClosed, &B::onOptionsClosed},
      {kMsgDragOver, &B::onDragOver},
      {kMsgRaise, &B::onRaise},
      {WM_TIMER, &B::onTimer},
  };
  return map;
}

CBarWindow::CBarWindow(BarContext context)
    : m_context(context),
      m_placer(context.settings),
      m_tabArea({.settings = m_context.settings,
                 .groups = m_context.groups,
                 .tasks = m_tasks,
                 .layout = [this]() -> const BarLayout& { return m_view.layout(); },
                 .repaintNow =
                     [this] {
                       repaintAll();
                       UpdateWindow(m_hwnd);
                     }}),
      m_view(context.settings, context.colors, context.groups,
             {.layoutTaken = [this](const BarLayout& l) { layoutTaken(l); },
              .imagePainting = [this] { m_tabArea.sync(m_hwnd); }}),
      m_adder(context.groups),
      m_dde({.groups = context.groups,
             .settings = context.settings,
             .adder = m_adder,
             .currentGroup = [this] { return m_actions.groupOfArea(m_keys.area()); },
             .leaveTaskMode = [this] { setTaskMode(false); },
             .groupsChanged = [this] { groupsChanged(); },
             .groupRemoved = [this](int index) { groupRemoved(index); },
             .showBar =
                 [this] {
                   if (!IsWindowVisible(m_hwnd) || IsIconic(m_hwnd)) showBar();
                 },
             .picturesReady = [this] { repaintContent(); }}),
      m_requests({.adder = m_adder,
                  .groupsChanged = [this] { groupsChanged(); },
                  .highlight =
                      [this](int group, int slot) {
                        if (slotGeometry(group, slot))
                          m_marks.showHot(group, slot, m_actions.buttonRepainter());
                      }}),
      m_system(context.settings),
      m_host(std::make_unique<BarHost>(*this)),
      m_keys(context.settings, context.groups, m_marks, *m_host),
      m_actions(context.settings, context.groups, {m_view, m_marks, m_timers, m_drag, m_tasks}, *m_host),
      m_menus(*m_host),
      m_tips({.settings = m_context.settings,
              .groups = m_context.groups,
              .tasks = m_tasks,
              .geometry = [this] { return m_actions.hitGeometry(); },
              .firstVisibleSlot = [this](int group) { return m_view.firstVisibleSlot(group); },
              .maximized = [this] { return m_placer.maximized(); }}),
      m_taskCommands({.settings = m_context.settings,
                      .groups = m_context.groups,
                      .tasks = m_tasks,
                      .tabArea = m_tabArea,
                      .adder = m_adder,
                      .layout = [this]() -> const BarLayout& { return m_view.layout(); },
                      .hitGeometry = [this] { return m_actions.hitGeometry(); },
                      .repaintAll = [this] { repaintAll(); },
                      .repaintContent = [this] { repaintContent(); },
                      .hide = [this] { hideBar(kHidePlain); },
                      .refresh = [this] { refreshTaskList(); }}),
      m_starter({.settings = m_context.settings,
                 .groups = m_context.groups,
                 .marks = m_marks,
                 .actions = m_actions,
                 .modal = m_modal,
                 .launchContext = [this](bool hideAfter) { return launchContext(hideAfter); },
                 .repaintButton = [this](int group, int slot,
                                         ButtonLook look) { repaintButton(group, slot, look); },
                 .showGroup =
                     [this](int group) {
                       if (taskMode()) {
                         m_tasks.setReturnGroup(group);
                       } else if (group != 0) {
                         m_context.groups.activeGroup = group;
                       }
                       repaintAll();
                       showBar();
                     }}),
      m_drops({.settings = m_context.settings,
               .groups = m_context.groups,
               .adder = m_adder,
               .modal = m_modal,
               .actions = m_actions,
               .marks = m_marks,
               .timers = m_timers,
               .menus = m_menus,
               .launchContext = [this](bool hideAfter) { return launchContext(hideAfter); },
               .groupsChanged = [this] { groupsChanged(); },
               .repaintAll = [this] { repaintAll(); },
               .slotShown = [this](int group, int slot) { return slotGeometry(group, slot).has_value(); }})  {}

CBarWindow::~CBarWindow() = default;

bool CBarWindow::createBar(HWND owner, const std::wstring& commandLine) {
  Settings& s = m_context.settings;
  loadColours();
  // The first layout writes the rows it shows into the settings: the saved
  // rows are read before it.
  const int savedRows = s.applButtonRow;
  m_view.computeLayout(m_placer.height());
  s.height = restoredBarHeight(layout(), s.height, savedRows);
  const BarPlacement place = m_placer.restore(barDefaultHeight(layout()));
  m_pendingCommandLine = commandLine;

  m_tray.watchShellRestarts();
  // Shut down late among applications so that the bar's state is saved last.
  // Neither needs the window, so both come before it.
  if (!SetProcessShutdownParameters(0x100, 0)) FW_TRACE_FAILURE("SetProcessShutdownParameters");
  enablePrivilege(SE_SYSTEM_PROFILE_NAME);
  fw::CreateArgs args;
  args.className = kBarClassName;
  args.title = kProductName;
  args.style = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MAXIMIZEBOX | (s.isMaxSize ? WS_MAXIMIZE : 0);
  args.exStyle = WS_EX_CONTEXTHELP;
  args.x = place.x;
  args.y = place.y;
  args.width = m_placer.width();
  args.height = m_placer.height();
  args.parent = owner;
  if (!create(args)) return false;
  m_placer.keepNormalPosition(place);
  return true;
}

LRESULT CBarWindow::onCreate(WPARAM wParam, LPARAM lParam) {
  if (defaultProc(WM_CREATE, wParam, lParam) == -1) return -1;
  const Settings& s = m_context.settings;
  m_placer.attach(m_hwnd);
  m_timers.attach(m_hwnd);
  runStartupLaunch(m_context.settings, m_context.groups, m_pendingCommandLine, launchContext(false));
  m_pendingCommandLine.clear();
  m_keys.setArea(s.actRect);
  m_tasks.setReturnGroup(m_context.groups.activeGroup);
  GetWindowThreadProcessId(m_hwnd, &m_processId);
  if (s.mostTop && !SetWindowPos(m_hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE))
    FW_TRACE_FAILURE("SetWindowPos");
  m_tabArea.update(m_hwnd);
  registerBarHotKey(m_hwnd, static_cast<uint16_t>(m_context.settings.hotKey));
  SetHook(m_hwnd, 0);
  SetVorbMode(static_cast<UINT>(s.mouseButton), s.vorbBar);
  SetDirectXFlag(s.ignoreClickOnDX);
  // A bar that starts in task mode lists the windows at once.
  if (s.taskMode) {
    SetTaskMode(TRUE);
    refreshTaskList();
  }
  m_guard.install();
  m_dde.attach(m_hwnd);
  m_drops.attach(m_hwnd);
  // The tray icon comes once the bar is up and the start has settled (see
  // startSettled); the timer stands in when the application's loop does not
  // get to run (a dialog's loop owns the thread).
  m_tray.begin(m_hwnd, s.dispIconInTray);
  m_view.startClock(m_hwnd);
  return 0;
}

LRESULT CBarWindow::onDestroy(WPARAM, LPARAM) {
  m_guard.remove();
  m_dde.detach();
  m_drops.detach();
  m_view.stopClock(m_hwnd);
  UnregisterHotKey(m_hwnd, 0);
  FreeHook();
  m_tray.end();
  if (m_optionsSheet && IsWindow(m_optionsSheet)) DestroyWindow(m_optionsSheet);
  m_optionsSheet = nullptr;
  m_tabArea.forget();
  PostQuitMessage(0);
  return 0;
}

LRESULT CBarWindow::onClose(WPARAM, LPARAM) {
  // Closing under an open group sheet would destroy the group it edits: close afterwards.
  if (m_modal.defer([hwnd = m_hwnd] { PostMessageW(hwnd, WM_CLOSE, 0, 0); })) return 0;
  saveWindowState();
  return notHandled();
}

LRESULT CBarWindow::onQueryEndSession(WPARAM wParam, LPARAM lParam) {
  LRESULT mayEnd = defaultProc(WM_QUERYENDSESSION, wParam, lParam);
  if (mayEnd) saveWindowState();
  return mayEnd;
}

LRESULT CBarWindow::onEndSession(WPARAM wParam, LPARAM) {
  if (wParam) {
    // The process may end without its window being destroyed: pictures still
    // waiting after a long Program Manager command are made and saved now.
    m_adder.finishPictures();
    saveWindowState();
  }
  return 0;
}

void CBarWindow::saveWindowState() {
  Settings& s = m_context.settings;
  const BarPlacement place = m_placer.placementToSave(barDefaultHeight(layout()));
  s.positionX = place.x;
  s.positionY = place.y;
  s.height = place.height;
  s.actRect = m_keys.area();
  std::optional<int> before;
  if (s.taskMode) before = m_tasks.returnGroup();
  saveState(m_context.profile, s, m_context.groups, m_context.history, before);
}

LRESULT CBarWindow::onPaint(WPARAM, LPARAM) {
  m_view.paint(scene());
  return 0;
}

BarScene CBarWindow::scene() {
  BarScene scene;
  scene.bar = m_hwnd;
  scene.currentArea = m_keys.area();
  scene.maximized = m_placer.maximized();
  scene.dragActive = m_drag.active();
  scene.pressedBox = m_marks.pressedBox();
  scene.look = [this](int group, int slot) { return m_marks.look(group, slot); };
  scene.tasks = &m_tasks.table();
  scene.pressedTask = m_tasks.pressed();
  scene.taskFirstRow = [this] { return m_tasks.firstRow(); };
  scene.taskIcon = [this](int entry) { return m_tasks.iconFor(entry); };
  scene.tasksCut = [this](const std::vector<int>& cut) { m_tasks.markCut(cut); };
  return scene;
}

void CBarWindow::layoutTaken(const BarLayout& layout) {
  m_placer.setLayout(layout.width, layout.width > 0 ? barMinHeight(layout) : 0);
  // The rows in force are what saveState writes back.
  m_context.settings.applButtonRow = layout.visibleRows;
}

void CBarWindow::relayout() {
  m_view.computeLayout(m_placer.height());
  if (!m_hwnd) return;
  m_placer.fitLayout();
  repaintAll();
}

void CBarWindow::loadColours() { m_view.loadColours(); }
void CBarWindow::repaintAll() { m_view.repaintAll(m_hwnd); }
void CBarWindow::repaintContent() { m_view.repaintContent(m_hwnd); }

void CBarWindow::repaintButton(int group, int slot, ButtonLook look) {
  m_view.repaintButton(group, slot, look, scene());
}

LRESULT CBarWindow::onEraseBackground(WPARAM, LPARAM) { return 1; }

// The bar has no frame or caption of the system's: the client area is the
// whole window, and there is nothing outside it to paint. Answering here
// spares every show and resize the system's frame handling.
LRESULT CBarWindow::onNcCalcSize(WPARAM, LPARAM) { return 0; }
LRESULT CBarWindow::onNcPaint(WPARAM, LPARAM) { return 0; }

LRESULT CBarWindow::onNcActivate(WPARAM wParam, LPARAM) {
  m_active = wParam != 0;
  if (!m_active && m_drag.active() && GetCapture() == nullptr) SetCapture(m_hwnd);
  InvalidateRect(m_hwnd, nullptr, FALSE);
  return notHandled();
}

LRESULT CBarWindow::onSysColorChange(WPARAM, LPARAM) {
  loadColours();
  repaintAll();
  return 0;
}

LRESULT CBarWindow::onSettingChange(WPARAM wParam, LPARAM) {
  if (wParam == SPI_SETWORKAREA) m_placer.workAreaChanged();
  if (wParam == SPI_SETICONTITLELOGFONT || wParam == SPI_SETNONCLIENTMETRICS) {
    relayout();
  } else {
    repaintAll();
  }
  return 0;
}

LRESULT CBarWindow::onDisplayChange(WPARAM, LPARAM) {
  // A new depth needs a new bar image as well.
  m_view.forgetImage();
  relayout();
  return 0;
}

LRESULT CBarWindow::onShowWindow(WPARAM wParam, LPARAM) {
  if (wParam) m_view.startClock(m_hwnd);
  return 0;
}

LRESULT CBarWindow::onStyleChanging(WPARAM, LPARAM lParam) {
  auto* change = reinterpret_cast<STYLESTRUCT*>(lParam);
  if (change) change->styleNew = change->styleOld;
  return 0;
}

LRESULT CBarWindow::onTimer(WPARAM wParam, LPARAM) {
  // The pointer's timers: pointer_actions.cpp.
  if (m_actions.timer(wParam)) return 0;
  switch (wParam) {
    case kTimerClock:
      m_view.tickClock(scene());
      break;
    case kTimerDelayedHide:
      KillTimer(m_hwnd, kTimerDelayedHide);
      hideBar(kHidePlain);
      break;
    case kTimerTrayIcon:
      startSettled();
      break;
  }
  return 0;
}

void CBarWindow::startSettled() {
  if (m_hwnd) m_tray.settled(m_context.settings.dispIconInTray);
}

LRESULT CBarWindow::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // A restarted shell asks every program to put its tray icon back.
  if (m_tray.isShellRestart(msg)) {
    if (m_context.settings.dispIconInTray) m_tray.putBack();
    return 0;
  }
  // The shell's submenus inside the bar's menus draw and fill themselves.
  if (LRESULT answer = 0; m_menus.menuMessage(msg, wParam, lParam, &answer)) return answer;
  return CMappedWindow::handleMessage(msg, wParam, lParam);
}

}  // namespace vorbin
