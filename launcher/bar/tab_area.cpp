#include "launcher/bar/tab_area.h"

#include <algorithm>

namespace vorbin {

TabRows TabArea::rows() const {
  if (m_context.settings.taskMode) return taskListShape().rows();
  const BarLayout& layout = m_context.layout();
  const TabLayout tabs = tabLayout(layout, m_context.settings.groupDispMode);
  const int tabCount = std::max(0, static_cast<int>(m_context.groups.placeholderIndex()) - 1);
  return tabRows(tabCount, tabs.perRow, tabs.tabHeight, layout.tabArea.height());
}

TaskListShape TabArea::taskListShape() const {
  const BarLayout& layout = m_context.layout();
  const TabLayout tabs = tabLayout(layout, m_context.settings.taskDispMode);
  // Entry 0 of the table is not listed.
  return {std::max(0, static_cast<int>(m_context.tasks.size()) - 1), tabs.perRow, tabs.tabHeight,
          layout.tabArea.height()};
}

int TabArea::offset() const {
  return m_context.settings.taskMode ? m_context.tasks.firstRow() : m_context.groups.dispGroupOffset;
}

void TabArea::setOffset(int offset) {
  if (m_context.settings.taskMode) {
    m_context.tasks.setFirstRow(offset);
  } else {
    m_context.groups.dispGroupOffset = offset;
  }
}

void TabArea::scrollTo(int offset) {
  offset = rows().clamp(offset);
  if (offset == this->offset()) return;
  setOffset(offset);
  m_context.repaintNow();
}

void TabArea::update(HWND bar) {
  m_scrollBar.update(bar, m_context.settings.grpScrollMode == 1, m_context.layout().groupScrollBar);
  sync(bar);
}

void TabArea::sync(HWND bar) {
  // A taller bar, fewer groups or windows: the rows above must not stay out of reach.
  const TabRows tabRows = rows();
  setOffset(tabRows.clamp(offset()));
  m_scrollBar.sync(bar, m_context.layout().groupScrollBar, true, tabRows, offset());
}

bool TabArea::scrollRequest(HWND bar, WPARAM wParam, LPARAM lParam) {
  if (!m_scrollBar.isControl(reinterpret_cast<HWND>(lParam))) return false;
  const std::optional<int> next =
      m_scrollBar.request(bar, LOWORD(wParam), static_cast<int>(HIWORD(wParam)), rows(), offset());
  if (next) {
    scrollTo(*next);
  } else {
    // The scroll has ended.
    m_context.repaintNow();
  }
  return true;
}

void TabArea::wheelOverTabs(int delta, bool pages) {
  const TabRows tabRows = rows();
  scrollTo(offset() + m_scrollBar.wheelTabRows(delta, pages, tabRows.page));
}

}  // namespace vorbin
