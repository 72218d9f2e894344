// The bar window's size and place.
#include "launcher/bar/window_placer.h"

#include <algorithm>

#include "framework/trace.h"
#include "hook/vorber2k.h"
#include "launcher/render/bar_fonts.h"
#include "launcher/render/dpi_scale.h"
#include "launcher/services/monitor_helpers.h"

namespace vorbin {

namespace {

// The smallest bar before the layout is known.
constexpr int kMinHeight = 96;

bool belongsToProcess(HWND window, DWORD processId) {
  DWORD pid = 0;
  if (window) GetWindowThreadProcessId(window, &pid);
  return pid == processId && pid != 0;
}

// The topmost enabled window of this process in front of the bar: a modal
// dialog if one runs, else the bar itself.
HWND frontWindowOf(HWND bar, DWORD processId) {
  for (HWND w = GetWindow(bar, GW_HWNDFIRST); w && w != bar; w = GetWindow(w, GW_HWNDNEXT)) {
    if (IsWindowVisible(w) && IsWindowEnabled(w) && belongsToProcess(w, processId)) return w;
  }
  return bar;
}

}  // namespace

void WindowPlacer::setLayout(int width, int layoutMinHeight) {
  m_width = width;
  m_layoutMinHeight = layoutMinHeight;
}

int WindowPlacer::minHeight() const {
  return m_layoutMinHeight > 0 ? m_layoutMinHeight : scaleToDpi(kMinHeight, windowDpi(m_bar));
}

int WindowPlacer::maxHeight() const {
  POINT at{m_settings.positionX, m_settings.positionY};
  if (m_bar) {
    RECT r;
    GetWindowRect(m_bar, &r);
    at = {r.left, r.top};
  }
  return std::max(minHeight(), workAreaHeight(at));
}

int WindowPlacer::edgeHeight() const {
  const int dpi = windowDpi(m_bar);
  return std::max(scaleToDpi(2, dpi), systemMetricAt(SM_CYSIZEFRAME, dpi));
}

BarPlacement WindowPlacer::restore(int defaultHeight) {
  Settings& s = m_settings;
  const Rect primary = primaryWorkArea();
  BarPlacement place =
      restoredPlacement(s.positionX, s.positionY, s.height, m_width, minHeight(),
                        std::max(minHeight(), primary.height()), defaultHeight, allWorkAreas(), primary);
  s.positionX = place.x;
  s.positionY = place.y;
  m_height = m_normalHeight = m_savedHeight = place.height;
  m_maximized = s.isMaxSize;
  return place;
}

void WindowPlacer::keepNormalPosition(const BarPlacement& place) {
  // The normal position is where the window was made unless it was made
  // maximized; setting it again would move the window once more for nothing.
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  GetWindowPlacement(m_bar, &wp);
  const RECT normal{place.x, place.y, place.x + m_width, place.y + m_normalHeight};
  if (!EqualRect(&wp.rcNormalPosition, &normal)) {
    wp.showCmd = SW_HIDE;
    wp.rcNormalPosition = normal;
    if (!SetWindowPlacement(m_bar, &wp)) FW_TRACE_FAILURE("SetWindowPlacement");
  }
}

BarPlacement WindowPlacer::placementToSave(int defaultHeight) {
  Settings& s = m_settings;
  recordPlacement();
  s.isMaxSize = m_maximized;
  const int height = m_maximized ? m_savedHeight : m_height;
  // A bar that was hidden or dragged away is saved where it can be found again.
  return restoredPlacement(s.positionX, s.positionY, height, m_width, minHeight(),
                           std::max(minHeight(), primaryWorkArea().height()), defaultHeight, allWorkAreas(),
                           primaryWorkArea());
}

void WindowPlacer::recordPlacement() {
  if (!m_bar || IsIconic(m_bar)) return;
  RECT r;
  GetWindowRect(m_bar, &r);
  m_settings.positionX = r.left;
  m_settings.positionY = r.top;
}

void WindowPlacer::fitLayout() {
  if (!m_bar) return;
  m_height = std::max(m_height, minHeight());
  SetWindowPos(m_bar, nullptr, 0, 0, m_width, m_height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowPlacer::workAreaChanged() {
  if (!m_maximized) return;
  m_savedHeight = std::min(m_savedHeight, maxHeight());
  SetWindowPos(m_bar, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowPlacer::dpiChanged(const RECT& target, int oldDpi, int newDpi) {
  if (!m_bar) return;
  const int width = m_width > 0 ? m_width : target.right - target.left;
  if (m_maximized) {
    m_savedHeight = MulDiv(m_savedHeight, newDpi, oldDpi > 0 ? oldDpi : newDpi);
    m_height = maxHeight();
  } else {
    m_height = std::clamp(static_cast<int>(target.bottom - target.top), minHeight(), maxHeight());
  }
  SetWindowPos(m_bar, nullptr, target.left, target.top, width, m_height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowPlacer::applyRegion(int ellipseWidth, int flatRatio) {
  // The corners are designed at 96 DPI.
  ellipseWidth = scaleToDpi(ellipseWidth, windowDpi(m_bar));
  RECT rc;
  GetWindowRect(m_bar, &rc);
  const int width = rc.right - rc.left, height = rc.bottom - rc.top;
  // A restore at the same size keeps its region: reshaping a window is slow.
  if (width == m_regionSize.cx && height == m_regionSize.cy && m_regionCorners == ellipseWidth &&
      m_regionFlat == flatRatio) {
    return;
  }
  m_regionSize = {width, height};
  m_regionCorners = ellipseWidth;
  m_regionFlat = flatRatio;
  RegionCorners corners = regionCorners(ellipseWidth, flatRatio);
  HRGN region = CreateRoundRectRgn(0, 0, width + 1, height + 1, corners.width - 1, corners.height - 1);
  if (!region) {
    FW_TRACE_FAILURE("CreateRoundRectRgn");
    return;
  }
  // The window owns the region from here on.
  if (!SetWindowRgn(m_bar, region, TRUE)) {
    FW_TRACE_FAILURE("SetWindowRgn");
    DeleteObject(region);
  }
}

void WindowPlacer::posChanging(WINDOWPOS& pos) {
  if (IsIconic(m_bar)) {
    if (!(pos.flags & SWP_NOMOVE)) {
      pos.x = -32000;
      pos.y = -32000;
    }
    SetAnimate(1);
    return;
  }
  SetAnimate(1);
  const bool zoomed = IsZoomed(m_bar) != FALSE;
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
  if (m_placeAtPoint && !(pos.flags & SWP_NOMOVE)) {
    m_placeAtPoint = false;
    Point topLeft{pos.x, pos.y};
    HMONITOR target = MonitorFromPoint(m_activationPoint, MONITOR_DEFAULTTONEAREST);
    if (m_settings.openAtClickPos && m_settings.lockLevel != 2) {
      topLeft = anchorAtPoint({m_activationPoint.x, m_activationPoint.y}, m_width, m_height,
                              static_cast<uint32_t>(m_settings.appearPos));
    } else {
      POINT saved{m_settings.positionX, m_settings.positionY};
      HMONITOR source = MonitorFromPoint(saved, MONITOR_DEFAULTTONEAREST);
      topLeft = {saved.x, saved.y};
      if (source != target) topLeft = mapProportional(topLeft, workAreaOf(source), workAreaOf(target));
    }
    topLeft = keepInside(topLeft, m_width, m_height, workAreaOf(target));
    pos.x = topLeft.x;
    pos.y = topLeft.y;
  }
  if (m_resizeMode == kNoResize) {
    pos.cx = m_width;
    pos.cy = m_height;
  }
}

void WindowPlacer::posChanged() {
  recordPlacement();
  if (!IsIconic(m_bar) && !m_maximized) {
    RECT r;
    GetWindowRect(m_bar, &r);
    m_height = r.bottom - r.top;
  }
  if (!IsIconic(m_bar) && m_maximized) keepRestoredOnBarScreen();
}

void WindowPlacer::keepRestoredOnBarScreen() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  if (!GetWindowPlacement(m_bar, &wp)) {
    FW_TRACE_FAILURE("GetWindowPlacement");
    return;
  }
  const RECT normal = wp.rcNormalPosition;
  HMONITOR barScreen = MonitorFromWindow(m_bar, MONITOR_DEFAULTTONEAREST);
  if (MonitorFromRect(&normal, MONITOR_DEFAULTTONEAREST) == barScreen) return;
  // A maximized bar moved to another screen restores there, not on the old one.
  RECT r;
  GetWindowRect(m_bar, &r);
  const int width = normal.right - normal.left, height = normal.bottom - normal.top;
  const Point at = keepInside({r.left, normal.top}, width, height, workAreaOf(barScreen));
  wp.rcNormalPosition = {at.x, at.y, at.x + width, at.y + height};
  wp.showCmd = IsWindowVisible(m_bar) ? SW_SHOWMAXIMIZED : SW_HIDE;
  wp.flags = 0;
  if (!SetWindowPlacement(m_bar, &wp)) FW_TRACE_FAILURE("SetWindowPlacement");
}

void WindowPlacer::minMaxInfo(MINMAXINFO& info) const {
  const int maxH = maxHeight();
  info.ptMaxPosition = {m_settings.positionX, primaryWorkArea().top};
  info.ptMaxSize = {m_width, maxH};
  info.ptMinTrackSize = {m_width, minHeight()};
  info.ptMaxTrackSize = {m_width, maxH};
}

bool WindowPlacer::beginResize(WPARAM hit, int screenY) {
  if ((hit != HTTOP && hit != HTBOTTOM) || m_maximized) return false;
  SetCapture(m_bar);
  RECT r;
  GetWindowRect(m_bar, &r);
  m_resizeMode = hit == HTTOP ? kResizeTop : kResizeBottom;
  m_resizeAnchor = hit == HTTOP ? screenY - r.top : r.bottom - screenY;
  return true;
}

void WindowPlacer::resizeTo(int screenY) {
  RECT r;
  GetWindowRect(m_bar, &r);
  const bool top = m_resizeMode == kResizeTop;
  const int height = resizedHeight(top, screenY, m_resizeAnchor, r.top, r.bottom, minHeight(), maxHeight());
  if (height == m_height) return;
  m_height = height;
  const int y = top ? r.bottom - height : r.top;
  SetWindowPos(m_bar, nullptr, r.left, y, m_width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool WindowPlacer::endResize() {
  if (!resizing()) return false;
  m_resizeMode = kNoResize;
  ReleaseCapture();
  m_normalHeight = m_height;
  return true;
}

void WindowPlacer::placeAt(POINT point) {
  m_placeAtPoint = true;
  m_activationPoint = point;
}

void WindowPlacer::show(DWORD processId) {
  if (!IsWindowVisible(m_bar)) {
    ShowWindow(m_bar, IsIconic(m_bar) ? SW_RESTORE : SW_SHOW);
  } else if (IsIconic(m_bar)) {
    ShowWindow(m_bar, SW_RESTORE);
  } else if (m_placeAtPoint) {
    // Already shown: a pending placement still moves it to the point.
    SetWindowPos(m_bar, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetForegroundWindow(frontWindowOf(m_bar, processId));
  // Paint now rather than when the queue runs dry: the keys of a hot key and
  // the activation messages would otherwise keep a bare window on screen.
  UpdateWindow(m_bar);
}

}  // namespace vorbin
