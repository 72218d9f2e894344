// Windows on the right monitor.
#include "launcher/services/monitor_helpers.h"

#include "framework/trace.h"

namespace vorbin {

namespace {
// The monitor of the last placement point and of the last reference window.
HMONITOR g_pointMonitor = nullptr;
HMONITOR g_windowMonitor = nullptr;

Rect rectOf(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK collectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  reinterpret_cast<std::vector<Rect>*>(data)->push_back(workAreaOf(monitor));
  return TRUE;
}
}  // namespace

HMONITOR monitorAt(POINT point) { return g_pointMonitor = MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST); }

HMONITOR monitorOf(HWND window) { return g_windowMonitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST); }

Rect workAreaOf(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!monitor) return primaryWorkArea();
  if (!GetMonitorInfoW(monitor, &info)) {
    FW_TRACE_FAILURE("GetMonitorInfoW");
    return primaryWorkArea();
  }
  return rectOf(info.rcWork);
}

int workAreaHeight(POINT point) { return workAreaOf(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST)).height(); }

std::vector<Rect> allWorkAreas() {
  std::vector<Rect> areas;
  EnumDisplayMonitors(nullptr, nullptr, collectWorkArea, reinterpret_cast<LPARAM>(&areas));
  if (areas.empty()) areas.push_back(primaryWorkArea());
  return areas;
}

Rect primaryWorkArea() {
  // The screen's size only stands in when the work area cannot be read: each
  // of these questions costs requests to the window server under Wine.
  RECT r{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) {
    FW_TRACE_FAILURE("SystemParametersInfoW");
    r = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  return rectOf(r);
}

POINT clampToWorkArea(int width, int height, POINT point, const RECT* source, const RECT* target) {
  Point p{point.x, point.y};
  HMONITOR monitor = g_pointMonitor ? g_pointMonitor : monitorAt(point);
  if (source && target) {
    HMONITOR from = MonitorFromRect(source, MONITOR_DEFAULTTONEAREST);
    monitor = MonitorFromRect(target, MONITOR_DEFAULTTONEAREST);
    if (from != monitor) p = mapProportional(p, workAreaOf(from), workAreaOf(monitor));
  }
  Point inside = keepInside(p, width, height, workAreaOf(monitor));
  return {inside.x, inside.y};
}

void placeWindow(HWND window, const POINT* point, PlaceZ z, bool centre, int extraWidth) {
  RECT r;
  if (!GetWindowRect(window, &r)) return;
  const int width = r.right - r.left, height = r.bottom - r.top;
  POINT at{};
  if (point) {
    at = *point;
  } else {
    HWND parent = GetParent(window);
    RECT pr{};
    if (parent) GetWindowRect(parent, &pr);
    at = {pr.left + 60, pr.top + 60};
  }
  Point topLeft{at.x, at.y};
  if (centre) topLeft = centeredBelowThird(topLeft, width, height);
  Point inside = keepInside(topLeft, width + extraWidth, height, workAreaOf(monitorAt(at)));
  HWND after = z == PlaceZ::TopMost ? HWND_TOPMOST : HWND_TOP;
  UINT flags = SWP_NOSIZE | SWP_NOACTIVATE | (z == PlaceZ::Keep ? SWP_NOZORDER : 0);
  SetWindowPos(window, after, inside.x, inside.y, 0, 0, flags);
}

}  // namespace vorbin
