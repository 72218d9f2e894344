// Showing and hiding the bar: hideBar and its kinds, deactivation, the bar
// hot key, item hot keys and the activation gesture.
#include "launcher/bar/bar_window.h"

#include "framework/trace.h"
#include "hook/vorber2k.h"

namespace vorbin {

namespace {

bool belongsToProcess(HWND window, DWORD processId) {
  DWORD pid = 0;
  if (window) GetWindowThreadProcessId(window, &pid);
  return pid == processId && pid != 0;
}

void pressKey(BYTE vk, bool up) {
  keybd_event(vk, static_cast<BYTE>(MapVirtualKeyW(vk, 0)), up ? KEYEVENTF_KEYUP : 0, 0);
}

}  // namespace

void CBarWindow::showBar() { m_placer.show(m_processId); }

void CBarWindow::hideBar(int kind) {
  Settings& s = m_context.settings;
  HideDecision d = decideHide(kind, s.lockLevel, s.closeDelayTime, s.usuallyTopGroup);
  if (d.ignored) return;
  if (d.cancelForeFlag) CancelForeFlag();
  if (d.armDelayTimer) {
    if (!SetTimer(m_hwnd, kTimerDelayedHide, static_cast<UINT>(s.closeDelayTime) * 1000u, nullptr))
      FW_TRACE_FAILURE("SetTimer");
    return;
  }
  m_timers.clear();
  m_view.stopClock(m_hwnd);
  SetAnimate(0);
  ShowWindow(m_hwnd, d.activateOnMinimize ? SW_MINIMIZE : SW_SHOWMINNOACTIVE);
  if (d.resetTopGroup) {
    if (s.taskMode) {
      m_returnGroup = 1;
    } else {
      m_context.groups.activeGroup = 1;
      m_context.groups.dispGroupOffset = 0;
    }
    repaintAll();
  }
}

void CBarWindow::setTaskMode(bool on) {
  Settings& s = m_context.settings;
  if (s.taskMode == on) return;
  if (on) {
    m_returnGroup = m_context.groups.activeGroup;
  } else {
    m_context.groups.activeGroup = m_returnGroup;
  }
  s.taskMode = on;
  SetTaskMode(on);
  if (on) refreshTaskList();
  repaintAll();
}

LRESULT CBarWindow::onActivate(WPARAM wParam, LPARAM lParam) {
  const Settings& s = m_context.settings;
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND next = reinterpret_cast<HWND>(lParam);
    const bool other = !belongsToProcess(next, m_processId);
    const bool shown = IsWindowVisible(m_hwnd) && !IsIconic(m_hwnd);
    if (hideOnDeactivation(shown, s.noActiveToClose, s.lockLevel, other)) hideBar(kHideByDeactivation);
    m_timers.forgetHover();
  } else if (s.noActiveToClose) {
    KillTimer(m_hwnd, kTimerDelayedHide);
  }
  CancelDeleteMenu();
  return notHandled();
}

void CBarWindow::registerBarHotKey() {
  UnregisterHotKey(m_hwnd, 0);
  const uint16_t hotKey = static_cast<uint16_t>(m_context.settings.hotKey);
  // An empty key is left unregistered; a key another program holds is worth a trace.
  if ((hotKey & 0xFF) && !RegisterHotKey(m_hwnd, 0, systemHotKeyModifiers(hotKey), hotKey & 0xFFu))
    FW_TRACE_FAILURE("RegisterHotKey");
}

void CBarWindow::simulateBarHotKey() {
  const uint16_t hotKey = static_cast<uint16_t>(m_context.settings.hotKey);
  const unsigned control = hotKey >> 8;
  const BYTE modifiers[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
  for (int i = 0; i < 3; ++i)
    if (control & (1u << i)) pressKey(modifiers[i], false);
  pressKey(static_cast<BYTE>(hotKey & 0xFF), false);
  pressKey(static_cast<BYTE>(hotKey & 0xFF), true);
  for (int i = 2; i >= 0; --i)
    if (control & (1u << i)) pressKey(modifiers[i], true);
}

LRESULT CBarWindow::onHotKey(WPARAM wParam, LPARAM) {
  if (wParam != 0) {
    itemHotKey(static_cast<int>(wParam));
    return 0;
  }
  const bool otherInFront = !belongsToProcess(GetForegroundWindow(), m_processId);
  const bool shown = IsWindowVisible(m_hwnd) && !IsIconic(m_hwnd);
  if (decideBarHotKey(otherInFront || !shown, m_gesturePending) == BarHotKeyAction::Show) {
    m_gesturePending = false;
    showBar();
  } else {
    hideBar(kHidePlain);
  }
  return 0;
}

bool CBarWindow::restoreForeignWindowWithHotKey(uint16_t hotKey) {
  struct Search {
    uint16_t hotKey;
    HWND found;
  } search{hotKey, nullptr};
  EnumWindows(
      [](HWND w, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
        if ((style & WS_CHILD) || !(style & WS_SYSMENU) || GetWindow(w, GW_OWNER)) return TRUE;
        DWORD_PTR key = 0;
        if (!SendMessageTimeoutW(w, WM_GETHOTKEY, 0, 0, SMTO_ABORTIFHUNG, 200, &key)) return TRUE;
        if (key != 0 && static_cast<uint16_t>(key) == s->hotKey) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  if (!search.found) return false;
  if (IsIconic(search.found) || !IsWindowVisible(search.found)) ShowWindow(search.found, SW_RESTORE);
  SetForegroundWindow(search.found);
  return true;
}

bool CBarWindow::itemHotKey(int id) {
  GroupTable& groups = m_context.groups;
  for (size_t g = 0; g < groups.size(); ++g) {
    Group& group = groups[g];
    for (size_t slot = 0; slot < group.items.size(); ++slot) {
      Item* item = group.items[slot].get();
      if (!item || item->hotKeyId != id) continue;
      if (item->flags & 0x0020) {
        // A prompting item: its group comes forward and the run prompt opens at it.
        if (taskMode()) {
          m_returnGroup = static_cast<int>(g);
        } else if (g != 0) {
          groups.activeGroup = static_cast<int>(g);
        }
        repaintAll();
        showBar();
        // The prompt runs at the item, as a click on it runs it.
        launchItemAt(static_cast<int>(g), static_cast<int>(slot));
        return true;
      }
      if (!restoreForeignWindowWithHotKey(item->hotKey))
        launchItemAt(static_cast<int>(g), static_cast<int>(slot));
      return true;
    }
  }
  return false;
}

LRESULT CBarWindow::onHookActivate(WPARAM wParam, LPARAM lParam) {
  POINT point{};
  GetNewPoint(&point);
  RECT r;
  GetWindowRect(m_hwnd, &r);
  const bool shown = IsWindowVisible(m_hwnd) && !IsIconic(m_hwnd);
  ActivationInput in;
  in.launcherWasActive = lParam != 0;
  in.pointInBar = shown && PtInRect(&r, point);
  in.secondaryButton = wParam == 1;
  in.mouseButton = m_context.settings.mouseButton;
  in.openAtClickPos = m_context.settings.openAtClickPos;
  in.lockLevel = lockLevel();
  in.win2000OrLater = m_context.win2000OrLater;
  in.barVisible = shown;
  in.taskMode = taskMode();
  ActivationDecision d = decideActivation(in);
  if (d.hideOnly) {
    hideBar(kHidePlain);
    return 0;
  }
  if (d.switchTaskMode) setTaskMode(*d.switchTaskMode);
  if (d.placeAtPoint) m_placer.placeAt(point);
  if (d.simulateHotKey) {
    m_gesturePending = true;
    simulateBarHotKey();
  }
  if (d.hideFirst) hideBar(kHidePlain);
  if (d.show) showBar();
  return 0;
}

LRESULT CBarWindow::onHookNewWindowActive(WPARAM, LPARAM) {
  ReMouseHook();
  return 0;
}

}  // namespace vorbin
