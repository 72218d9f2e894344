// The bar's size and place: the window messages the placer answers, the
// edges and caption row of the hit test, and the cursors.
#include "launcher/bar/bar_window.h"

#include <windowsx.h>

#include "framework/trace.h"
#include "launcher/render/bar_fonts.h"
#include "launcher/render/icon_image.h"

namespace vorbin {

LRESULT CBarWindow::onSize(WPARAM wParam, LPARAM) {
  if (wParam == SIZE_MINIMIZED) {
    m_view.stopClock(m_hwnd);
    return 0;
  }
  m_view.startClock(m_hwnd);
  m_placer.applyRegion(m_context.colors.ellipseWidth, m_context.settings.flatRatio);
  return 0;
}

LRESULT CBarWindow::onWindowPosChanging(WPARAM, LPARAM lParam) {
  m_placer.posChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
  return 0;
}

LRESULT CBarWindow::onWindowPosChanged(WPARAM, LPARAM) {
  m_placer.posChanged();
  // WM_SIZE and WM_MOVE come from the default handling.
  return notHandled();
}

LRESULT CBarWindow::onGetMinMaxInfo(WPARAM, LPARAM lParam) {
  m_placer.minMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
  return 0;
}

LRESULT CBarWindow::onNcHitTest(WPARAM, LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  RECT r;
  GetWindowRect(m_hwnd, &r);
  const int edge = m_placer.edgeHeight();
  if (p.x >= r.left && p.x < r.right) {
    if (p.y >= r.top && p.y < r.top + edge) return HTTOP;
    if (p.y >= r.bottom - edge && p.y < r.bottom) return HTBOTTOM;
    POINT client = p;
    ScreenToClient(m_hwnd, &client);
    const int area = hitTest(m_actions.hitGeometry(), client.x, client.y).area;
    // The control box is the system-menu box: a click opens the system menu below it.
    if (area == hit_area::kControlBox) return HTSYSMENU;
    // The caption row under the top edge moves the bar, except on its boxes.
    const int captionHeight = systemMetricAt(SM_CYSMCAPTION, windowDpi(m_hwnd));
    if (p.y >= r.top + edge && p.y < r.top + edge + captionHeight) {
      const bool box = area == hit_area::kCaptionBoxes || area == hit_area::kClock || area == hit_area::kLoad;
      return box ? HTCLIENT : HTCAPTION;
    }
  }
  return notHandled();
}

LRESULT CBarWindow::onNcLButtonDown(WPARAM wParam, LPARAM lParam) {
  if (!m_placer.beginResize(wParam, GET_Y_LPARAM(lParam))) return notHandled();
  m_view.stopClock(m_hwnd);
  return 0;
}

LRESULT CBarWindow::onNcLButtonUp(WPARAM, LPARAM) {
  if (!IsIconic(m_hwnd)) return notHandled();
  SendMessageW(m_hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
  return 0;
}

LRESULT CBarWindow::onNcRButtonUp(WPARAM wParam, LPARAM lParam) {
  if (wParam != HTCAPTION && wParam != HTSYSMENU) return notHandled();
  m_system.showSystemMenu(m_hwnd, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  return 0;
}

LRESULT CBarWindow::onSetCursor(WPARAM, LPARAM lParam) {
  // Every pointer move asks; loaded cursors are shared, so they are looked up
  // once (each lookup asks the display for the cursor size).
  const UINT hit = LOWORD(lParam);
  if (hit == HTTOP || hit == HTBOTTOM) {
    static const HCURSOR sizing = LoadCursorW(nullptr, IDC_SIZENS);
    SetCursor(sizing);
    return TRUE;
  }
  if (hit == HTCLIENT) {
    static const HCURSOR own = [] {
      HCURSOR c = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kCursorBarPointer));
      if (c) return c;
      FW_TRACE_FAILURE("LoadCursorW");
      return LoadCursorW(nullptr, IDC_ARROW);
    }();
    SetCursor(own);
    return TRUE;
  }
  return notHandled();
}

}  // namespace vorbin
