// Where things are on the running bar, computed the way the launcher lays it
// out with its default font: for tests that press its buttons from outside.
#pragma once
#include <windows.h>

#include "launcher/render/bar_fonts.h"
#include "launcher/render/bar_layout.h"

namespace driver {

// The layout of the bar window at its current height.
inline vorbin::BarLayout measuredBarLayout(HWND bar) {
  RECT client{};
  GetClientRect(bar, &client);
  HDC screen = GetDC(nullptr);
  const auto metrics = vorbin::measureLayoutMetrics(screen, vorbin::FontSettings{}, 25, 0, 4);
  ReleaseDC(nullptr, screen);
  return vorbin::computeBarLayout(metrics, false, client.bottom);
}

// The screen point at the centre of grid slot n.
inline POINT gridSlotCentre(HWND bar, const vorbin::BarLayout& layout, int n) {
  const vorbin::PixelRect r = vorbin::gridCellRect(layout, vorbin::gridCells(layout, 0), n);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(bar, &p);
  return p;
}

}  // namespace driver
