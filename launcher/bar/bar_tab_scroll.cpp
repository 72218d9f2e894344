// The group scroll bar beside the tabs and the mouse wheel over the tabs and
// the application grid.
#include "launcher/bar/bar_window.h"

#include <windowsx.h>

namespace vorbin {

TabRows CBarWindow::groupTabRows() const {
  if (taskMode()) return taskListShape().rows();
  const GroupTable& groups = m_context.groups;
  const TabLayout tabs = tabLayout(layout(), m_context.settings.groupDispMode);
  const int tabCount = std::max(0, static_cast<int>(groups.placeholderIndex()) - 1);
  return tabRows(tabCount, tabs.perRow, tabs.tabHeight, layout().tabArea.height());
}

TaskListShape CBarWindow::taskListShape() const {
  const TabLayout tabs = tabLayout(layout(), m_context.settings.taskDispMode);
  // Entry 0 of the table is not listed.
  return {std::max(0, static_cast<int>(m_tasks.size()) - 1), tabs.perRow, tabs.tabHeight,
          layout().tabArea.height()};
}

int CBarWindow::tabOffset() const {
  return taskMode() ? m_tasks.firstRow() : m_context.groups.dispGroupOffset;
}

void CBarWindow::setTabOffset(int offset) {
  if (taskMode()) {
    m_tasks.setFirstRow(offset);
  } else {
    m_context.groups.dispGroupOffset = offset;
  }
}

void CBarWindow::updateGroupScrollBar() {
  m_groupScroll.update(m_hwnd, m_context.settings.grpScrollMode == 1, layout().groupScrollBar);
  syncGroupScrollBar();
}

void CBarWindow::syncGroupScrollBar() {
  // A taller bar, fewer groups or windows: the rows above must not stay out of reach.
  const TabRows rows = groupTabRows();
  setTabOffset(rows.clamp(tabOffset()));
  m_groupScroll.sync(m_hwnd, layout().groupScrollBar, true, rows, tabOffset());
}

void CBarWindow::scrollTabsTo(int offset) {
  offset = groupTabRows().clamp(offset);
  if (offset == tabOffset()) return;
  setTabOffset(offset);
  repaintAll();
  // The thumb and the wheel want to see each step.
  UpdateWindow(m_hwnd);
}

LRESULT CBarWindow::onVScroll(WPARAM wParam, LPARAM lParam) {
  // Only the group scroll bar; the bar itself has no scroll bar.
  if (!m_groupScroll.isControl(reinterpret_cast<HWND>(lParam))) return 0;
  const std::optional<int> offset = m_groupScroll.request(
      m_hwnd, LOWORD(wParam), static_cast<int>(HIWORD(wParam)), groupTabRows(), tabOffset());
  if (!offset) {
    // The scroll has ended.
    repaintAll();
    return 0;
  }
  scrollTabsTo(*offset);
  return 0;
}

LRESULT CBarWindow::onMouseWheel(WPARAM wParam, LPARAM lParam) {
  // The wheel's point is on the screen.
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(m_hwnd, &p);
  wheelAt(p, GET_WHEEL_DELTA_WPARAM(wParam), (GET_KEYSTATE_WPARAM(wParam) & (MK_SHIFT | MK_CONTROL)) != 0);
  return 0;
}

void CBarWindow::wheelAt(POINT client, int delta, bool pages) {
  if (m_actions.pointer().dragging()) return;
  const int area = hitTest(hitGeometry(), client.x, client.y).area;
  if (area == hit_area::kGrid && !taskMode()) {
    GroupTable& groups = m_context.groups;
    const int active = groups.activeGroup;
    if (active <= 0 || static_cast<size_t>(active) >= groups.size()) return;
    const int rows = m_groupScroll.wheelGridRows(delta);
    // Row by row through the list arrows' own scrolling; it stops at the ends.
    for (int i = 0; i < std::abs(rows); ++i) {
      const int before = groups[static_cast<size_t>(active)].dispOffset;
      m_actions.scrollList(rows > 0 ? 1 : -1);
      if (groups[static_cast<size_t>(active)].dispOffset == before) break;
    }
  } else if (area == hit_area::kTabs || area == hit_area::kGroupScroll ||
             layout().groupScrollBar.contains(client.x, client.y)) {
    const TabRows rows = groupTabRows();
    scrollTabsTo(tabOffset() + m_groupScroll.wheelTabRows(delta, pages, rows.page));
  } else {
    m_groupScroll.wheelElsewhere();
  }
}

}  // namespace vorbin
