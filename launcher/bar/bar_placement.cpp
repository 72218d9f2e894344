// The bar's size and place: the window region, placement at the activation
// point, maximized mode and the vertical resize by the top and bottom edges.
#include "launcher/bar/bar_window.h"

#include <windowsx.h>

#include "framework/gdi.h"
#include "hook/vorber2k.h"
#include "launcher/services/monitor_helpers.h"

namespace vorbin {

void CBarWindow::applyWindowRegion() {
  RECT rc;
  GetWindowRect(m_hwnd, &rc);
  const int width = rc.right - rc.left, height = rc.bottom - rc.top;
  // A restore at the same size keeps its region: reshaping a window is slow.
  if (width == m_regionSize.cx && height == m_regionSize.cy &&
      m_regionCorners == m_context.colors.ellipseWidth && m_regionFlat == m_context.settings.flatRatio) {
    return;
  }
  m_regionSize = {width, height};
  m_regionCorners = m_context.colors.ellipseWidth;
  m_regionFlat = m_context.settings.flatRatio;
  RegionCorners corners = regionCorners(m_context.colors.ellipseWidth, m_context.settings.flatRatio);
  HRGN region = CreateRoundRectRgn(0, 0, width + 1, height + 1, corners.width - 1, corners.height - 1);
  // The window owns the region from here on.
  if (region && !SetWindowRgn(m_hwnd, region, TRUE)) DeleteObject(region);
}

LRESULT CBarWindow::onSize(WPARAM wParam, LPARAM) {
  if (wParam == SIZE_MINIMIZED) {
    stopClock();
    return 0;
  }
  startClock();
  applyWindowRegion();
  return 0;
}

void CBarWindow::recordPlacement() {
  if (!m_hwnd || IsIconic(m_hwnd)) return;
  RECT r;
  GetWindowRect(m_hwnd, &r);
  m_context.settings.positionX = r.left;
  m_context.settings.positionY = r.top;
}

LRESULT CBarWindow::onWindowPosChanging(WPARAM, LPARAM lParam) {
  auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
  if (IsIconic(m_hwnd)) {
    if (!(pos->flags & SWP_NOMOVE)) {
      pos->x = -32000;
      pos->y = -32000;
    }
    SetAnimate(1);
    return 0;
  }
  SetAnimate(1);
  const bool zoomed = IsZoomed(m_hwnd) != FALSE;
  if (zoomed != m_maximized) {
    m_resizeMode = kResizeMaximize;
    if (zoomed) {
      m_savedHeight = m_height;
      m_height = maxHeight();
    } else {
      m_height = m_savedHeight;
    }
    m_maximized = zoomed;
    m_resizeMode = kNoResize;
  }
  if (m_placeAtPoint && !(pos->flags & SWP_NOMOVE)) {
    m_placeAtPoint = false;
    Point topLeft{pos->x, pos->y};
    HMONITOR target = MonitorFromPoint(m_activationPoint, MONITOR_DEFAULTTONEAREST);
    if (m_context.settings.openAtClickPos && lockLevel() != 2) {
      topLeft = anchorAtPoint({m_activationPoint.x, m_activationPoint.y}, m_width, m_height,
                              static_cast<uint32_t>(m_context.settings.appearPos));
    } else {
      POINT saved{m_context.settings.positionX, m_context.settings.positionY};
      HMONITOR source = MonitorFromPoint(saved, MONITOR_DEFAULTTONEAREST);
      topLeft = {saved.x, saved.y};
      if (source != target) topLeft = mapProportional(topLeft, workAreaOf(source), workAreaOf(target));
    }
    topLeft = keepInside(topLeft, m_width, m_height, workAreaOf(target));
    pos->x = topLeft.x;
    pos->y = topLeft.y;
  }
  if (m_resizeMode == kNoResize) {
    pos->cx = m_width;
    pos->cy = m_height;
  }
  return 0;
}

LRESULT CBarWindow::onWindowPosChanged(WPARAM wParam, LPARAM lParam) {
  recordPlacement();
  if (!IsIconic(m_hwnd) && !m_maximized) {
    RECT r;
    GetWindowRect(m_hwnd, &r);
    m_height = r.bottom - r.top;
  }
  if (!IsIconic(m_hwnd) && m_maximized) keepRestoredOnBarScreen();
  // WM_SIZE and WM_MOVE come from the default handling.
  return defaultProc(WM_WINDOWPOSCHANGED, wParam, lParam);
}

void CBarWindow::keepRestoredOnBarScreen() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  if (!GetWindowPlacement(m_hwnd, &wp)) return;
  const RECT normal = wp.rcNormalPosition;
  HMONITOR barScreen = MonitorFromWindow(m_hwnd, MONITOR_DEFAULTTONEAREST);
  if (MonitorFromRect(&normal, MONITOR_DEFAULTTONEAREST) == barScreen) return;
  // A maximized bar moved to another screen restores there, not on the old one.
  RECT r;
  GetWindowRect(m_hwnd, &r);
  const int width = normal.right - normal.left, height = normal.bottom - normal.top;
  const Point at = keepInside({r.left, normal.top}, width, height, workAreaOf(barScreen));
  wp.rcNormalPosition = {at.x, at.y, at.x + width, at.y + height};
  wp.showCmd = IsWindowVisible(m_hwnd) ? SW_SHOWMAXIMIZED : SW_HIDE;
  wp.flags = 0;
  SetWindowPlacement(m_hwnd, &wp);
}

LRESULT CBarWindow::onGetMinMaxInfo(WPARAM, LPARAM lParam) {
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  const int maxH = maxHeight();
  info->ptMaxPosition = {m_context.settings.positionX, primaryWorkArea().top};
  info->ptMaxSize = {m_width, maxH};
  info->ptMinTrackSize = {m_width, minHeight()};
  info->ptMaxTrackSize = {m_width, maxH};
  return 0;
}

LRESULT CBarWindow::onNcHitTest(WPARAM wParam, LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  RECT r;
  GetWindowRect(m_hwnd, &r);
  const int edge = edgeHeight();
  if (p.x >= r.left && p.x < r.right) {
    if (p.y >= r.top && p.y < r.top + edge) return HTTOP;
    if (p.y >= r.bottom - edge && p.y < r.bottom) return HTBOTTOM;
    POINT client = p;
    ScreenToClient(m_hwnd, &client);
    const int area = hitTest(hitGeometry(), client.x, client.y).area;
    // The control box is the system-menu box: a click opens the system menu below it.
    if (area == hit_area::kControlBox) return HTSYSMENU;
    // The caption row under the top edge moves the bar, except on its boxes.
    if (p.y >= r.top + edge && p.y < r.top + edge + GetSystemMetrics(SM_CYSMCAPTION)) {
      const bool box = area == hit_area::kCaptionBoxes || area == hit_area::kClock || area == hit_area::kLoad;
      return box ? HTCLIENT : HTCAPTION;
    }
  }
  return defaultProc(WM_NCHITTEST, wParam, lParam);
}

LRESULT CBarWindow::onNcLButtonDown(WPARAM wParam, LPARAM lParam) {
  if ((wParam == HTTOP || wParam == HTBOTTOM) && !m_maximized) {
    stopClock();
    SetCapture(m_hwnd);
    RECT r;
    GetWindowRect(m_hwnd, &r);
    const int y = GET_Y_LPARAM(lParam);
    m_resizeMode = wParam == HTTOP ? kResizeTop : kResizeBottom;
    m_resizeAnchor = wParam == HTTOP ? y - r.top : r.bottom - y;
    return 0;
  }
  return defaultProc(WM_NCLBUTTONDOWN, wParam, lParam);
}

LRESULT CBarWindow::onNcLButtonUp(WPARAM wParam, LPARAM lParam) {
  if (IsIconic(m_hwnd)) {
    SendMessageW(m_hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    return 0;
  }
  return defaultProc(WM_NCLBUTTONUP, wParam, lParam);
}

LRESULT CBarWindow::onNcRButtonUp(WPARAM wParam, LPARAM lParam) {
  if (wParam == HTCAPTION || wParam == HTSYSMENU) {
    showSystemMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  }
  return defaultProc(WM_NCRBUTTONUP, wParam, lParam);
}

LRESULT CBarWindow::onSetCursor(WPARAM wParam, LPARAM lParam) {
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
      HCURSOR c = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(178));
      return c ? c : LoadCursorW(nullptr, IDC_ARROW);
    }();
    SetCursor(own);
    return TRUE;
  }
  return defaultProc(WM_SETCURSOR, wParam, lParam);
}

}  // namespace vorbin
