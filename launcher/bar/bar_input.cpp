// Mouse and keyboard on the bar: the vertical resize, and the keyboard
// bindings that press and release the bar's buttons.
#include "launcher/bar/bar_window.h"

#include <windowsx.h>

namespace vorbin {

namespace {
bool keyDown(int vk) { return GetKeyState(vk) < 0; }
}  // namespace

LRESULT CBarWindow::onButtonDown(WPARAM, LPARAM) {
  // The press operation of the hit areas belongs to the mouse operations.
  SetFocus(m_hwnd);
  return 0;
}

LRESULT CBarWindow::onButtonUp(WPARAM, LPARAM) {
  if (m_resizeMode == kResizeTop || m_resizeMode == kResizeBottom) {
    m_resizeMode = kNoResize;
    ReleaseCapture();
    m_normalHeight = m_height;
    startClock();
    repaintAll();
    return 0;
  }
  m_dragging = false;
  return 0;
}

LRESULT CBarWindow::onMouseMove(WPARAM, LPARAM lParam) {
  if (m_resizeMode != kResizeTop && m_resizeMode != kResizeBottom) return 0;
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(m_hwnd, &p);
  RECT r;
  GetWindowRect(m_hwnd, &r);
  const bool top = m_resizeMode == kResizeTop;
  const int height = resizedHeight(top, p.y, m_resizeAnchor, r.top, r.bottom, minHeight(), maxHeight());
  if (height == m_height) return 0;
  m_height = height;
  const int y = top ? r.bottom - height : r.top;
  SetWindowPos(m_hwnd, nullptr, r.left, y, m_width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}

LRESULT CBarWindow::onDoubleClick(WPARAM, LPARAM) { return 0; }

LRESULT CBarWindow::onMouseWheel(WPARAM, LPARAM) { return 0; }

LRESULT CBarWindow::onVScroll(WPARAM, LPARAM) {
  repaintAll();
  return 0;
}

void CBarWindow::pressBinding(const KeyBinding& binding) {
  // A new key releases the button of the one before.
  if (m_armedBinding && m_armedBinding->key != binding.key) releaseBinding();
  for (const KeyBinding& b : keyBindings()) {
    if (b.key == binding.key) m_armedBinding = &b;
  }
  if (binding.action == KeyAction::FocusTab && taskMode()) return;
  if (binding.action == KeyAction::FocusTab) {
    m_currentArea = m_currentArea == 2 ? 1 : 2;
    repaintAll();
  }
}

void CBarWindow::releaseBinding() { m_armedBinding = nullptr; }

LRESULT CBarWindow::onKeyDown(WPARAM wParam, LPARAM) {
  auto binding =
      findKeyBinding(static_cast<uint16_t>(wParam), keyDown(VK_SHIFT), keyDown(VK_CONTROL), taskMode());
  if (binding) pressBinding(*binding);
  return 0;
}

LRESULT CBarWindow::onKeyUp(WPARAM wParam, LPARAM) {
  if (m_armedBinding && (m_armedBinding->key & 0xFF) == (wParam & 0xFF)) releaseBinding();
  return 0;
}

LRESULT CBarWindow::onSysKeyDown(WPARAM wParam, LPARAM lParam) {
  // Alt with a bound letter works like the letter alone.
  if (isAltLetter(static_cast<uint16_t>(wParam))) return onKeyDown(wParam, lParam);
  if (wParam == VK_RETURN) return 0;  // Alt+Enter: the menu of the focused group or item
  return defaultProc(WM_SYSKEYDOWN, wParam, lParam);
}

LRESULT CBarWindow::onSysKeyUp(WPARAM wParam, LPARAM lParam) {
  if (isAltLetter(static_cast<uint16_t>(wParam))) return onKeyUp(wParam, lParam);
  return defaultProc(WM_SYSKEYUP, wParam, lParam);
}

LRESULT CBarWindow::onSysChar(WPARAM wParam, LPARAM lParam) {
  const wchar_t c = static_cast<wchar_t>(towupper(static_cast<wint_t>(wParam)));
  if (isAltLetter(static_cast<uint16_t>(c))) return 0;  // no menu beep for the bound letters
  return defaultProc(WM_SYSCHAR, wParam, lParam);
}

}  // namespace vorbin
