// Showing and hiding the bar: hideBar and its kinds, deactivation, the bar
// hot key, item hot keys and the activation gesture.
#include "launcher/bar/bar_window.h"

#include "framework/trace.h"
#include "hook/vorber2k.h"
#include "launcher/bar/hot_keys.h"

namespace vorbin {

namespace {

bool belongsToProcess(HWND window, DWORD processId) {
  DWORD pid = 0;
  if (window) GetWindowThreadProcessId(window, &pid);
  return pid == processId && pid != 0;
}

struct HotKeyOwner {
  int group;
  int slot;
};

// The item whose registered hot key has this id.
std::optional<HotKeyOwner> itemWithHotKeyId(const GroupTable& groups, int id) {
  for (size_t g = 0; g < groups.size(); ++g) {
    const Group& group = groups[g];
    for (size_t slot = 0; slot < group.items.size(); ++slot) {
      const Item* item = group.items[slot].get();
      if (item && item->hotKeyId == id) return HotKeyOwner{static_cast<int>(g), static_cast<int>(slot)};
    }
  }
  return std::nullopt;
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
      m_tasks.setReturnGroup(1);
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
    m_tasks.setReturnGroup(m_context.groups.activeGroup);
  } else {
    m_context.groups.activeGroup = m_tasks.returnGroup();
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

LRESULT CBarWindow::onHotKey(WPARAM wParam, LPARAM) {
  if (wParam != 0) {
    if (const std::optional<HotKeyOwner> at = itemWithHotKeyId(m_context.groups, static_cast<int>(wParam)))
      m_starter.hotKey(m_hwnd, at->group, at->slot);
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
  in.lockLevel = m_context.settings.lockLevel;
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
    pressHotKey(static_cast<uint16_t>(m_context.settings.hotKey));
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
