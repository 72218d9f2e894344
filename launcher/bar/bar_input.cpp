// Mouse and keyboard messages on the bar: the vertical resize stays here; the
// hit areas go to the pointer actions, the keys to the keyboard focus.
#include "launcher/bar/bar_window.h"

#include <windowsx.h>

namespace vorbin {

namespace {
bool keyDown(int vk) { return GetKeyState(vk) < 0; }
}  // namespace

LRESULT CBarWindow::onButtonDown(WPARAM wParam, LPARAM lParam) {
  SetFocus(m_hwnd);
  if (m_placer.busy()) return 0;
  // The message's own button: with both held, the one that just went down is the other one's partner.
  const int button = (wParam & MK_RBUTTON) && !(wParam & MK_LBUTTON) ? 2 : 1;
  m_tips.relayMouse(m_hwnd, button == 2 ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, wParam, lParam);
  m_actions.buttonDown(button, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), (wParam & MK_SHIFT) != 0);
  return 0;
}

LRESULT CBarWindow::onButtonUp(WPARAM, LPARAM lParam) {
  if (m_placer.endResize()) {
    m_view.startClock(m_hwnd);
    repaintAll();
    return 0;
  }
  m_tips.relayMouse(m_hwnd, WM_LBUTTONUP, 0, lParam);
  m_actions.buttonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  return 0;
}

LRESULT CBarWindow::onMouseMove(WPARAM, LPARAM lParam) {
  if (!m_placer.resizing()) {
    m_keys.pointerMoved({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    m_tips.relayMouse(m_hwnd, WM_MOUSEMOVE, 0, lParam);
    m_actions.mouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    return 0;
  }
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(m_hwnd, &p);
  m_placer.resizeTo(p.y);
  return 0;
}

LRESULT CBarWindow::onMouseLeave(WPARAM, LPARAM) {
  m_actions.mouseLeave();
  return 0;
}

LRESULT CBarWindow::onDoubleClick(WPARAM wParam, LPARAM lParam) {
  // The second press of a double-click presses the area again; a drag ignores it.
  if (m_actions.pointer().dragging()) return 0;
  return onButtonDown(wParam, lParam);
}

LRESULT CBarWindow::onKeyDown(WPARAM wParam, LPARAM) {
  m_keys.keyDown(static_cast<uint16_t>(wParam), keyDown(VK_SHIFT), keyDown(VK_CONTROL));
  return 0;
}

LRESULT CBarWindow::onKeyUp(WPARAM wParam, LPARAM) {
  m_keys.keyUp(static_cast<uint16_t>(wParam));
  return 0;
}

LRESULT CBarWindow::onSysKeyDown(WPARAM wParam, LPARAM lParam) {
  // Alt with a bound letter works like the letter alone.
  if (isAltLetter(static_cast<uint16_t>(wParam))) return onKeyDown(wParam, lParam);
  if (wParam == VK_RETURN) {
    // Alt+Enter: the properties of the focused item or group.
    const KeyboardFocus::Target t = m_keys.target();
    m_menus.propertiesKey(t.area, t.group, t.slot);
    return 0;
  }
  return notHandled();
}

LRESULT CBarWindow::onSysKeyUp(WPARAM wParam, LPARAM lParam) {
  if (isAltLetter(static_cast<uint16_t>(wParam))) return onKeyUp(wParam, lParam);
  return notHandled();
}

LRESULT CBarWindow::onSysChar(WPARAM wParam, LPARAM) {
  const wchar_t c = static_cast<wchar_t>(towupper(static_cast<wint_t>(wParam)));
  if (isAltLetter(static_cast<uint16_t>(c))) return 0;  // no menu beep for the bound letters
  return notHandled();
}

}  // namespace vorbin
