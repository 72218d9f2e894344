// The group scroll bar's messages and the mouse wheel over the tabs and the
// application grid (the rows themselves: tab_area.h).
#include "launcher/bar/bar_window.h"

#include <windowsx.h>

namespace vorbin {

LRESULT CBarWindow::onVScroll(WPARAM wParam, LPARAM lParam) {
  // Only the group scroll bar; the bar itself has no scroll bar.
  m_tabArea.scrollRequest(m_hwnd, wParam, lParam);
  return 0;
}

LRESULT CBarWindow::onMouseWheel(WPARAM wParam, LPARAM lParam) {
  if (m_actions.pointer().dragging()) return 0;
  // The wheel's point is on the screen.
  POINT client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(m_hwnd, &client);
  const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
  const int area = hitTest(m_actions.hitGeometry(), client.x, client.y).area;
  if (area == hit_area::kGrid && !taskMode()) {
    GroupTable& groups = m_context.groups;
    const int active = groups.activeGroup;
    if (active <= 0 || static_cast<size_t>(active) >= groups.size()) return 0;
    const int rows = m_tabArea.wheelGridRows(delta);
    // Row by row through the list arrows' own scrolling; it stops at the ends.
    for (int i = 0; i < std::abs(rows); ++i) {
      const int before = groups[static_cast<size_t>(active)].dispOffset;
      m_actions.scrollList(rows > 0 ? 1 : -1);
      if (groups[static_cast<size_t>(active)].dispOffset == before) break;
    }
  } else if (area == hit_area::kTabs || area == hit_area::kGroupScroll ||
             layout().groupScrollBar.contains(client.x, client.y)) {
    m_tabArea.wheelOverTabs(delta, (GET_KEYSTATE_WPARAM(wParam) & (MK_SHIFT | MK_CONTROL)) != 0);
  } else {
    m_tabArea.wheelElsewhere();
  }
  return 0;
}

}  // namespace vorbin
