// The keyboard's focus on the bar: the focus is the button under the pointer
// (or the last one it was over in the bar), so a focus move puts the pointer
// on the target button and the ordinary hover tracking shows it; Enter
// presses the focused button.
#include "launcher/bar/bar_window.h"

#include "launcher/bar/key_focus.h"

namespace vorbin {

void CBarWindow::pointerOnto(const PixelRect& r) {
  // The system may report the pointer's old place for a moment: the bar
  // remembers where it put it, as it remembers the pointer's moves.
  m_pointerAt = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  POINT screen = m_pointerAt;
  ClientToScreen(m_hwnd, &screen);
  SetCursorPos(screen.x, screen.y);
}

Hit CBarWindow::hitUnderPointer() const {
  return slotHit(hitTest(hitGeometry(), m_pointerAt.x, m_pointerAt.y));
}

void CBarWindow::focusTab(int tab) {
  const GroupTable& groups = m_context.groups;
  const TabLayout tabs = tabLayout(layout(), m_context.settings.groupDispMode);
  const TabRows rows = groupTabRows();
  const int row = (tab - 1) / std::max(1, tabs.perRow);
  scrollTabsTo(firstRowShowing(row, groups.dispGroupOffset, rows.page));
  pointerOnto(tabRect(layout(), tabs, tab, groups.dispGroupOffset * tabs.tabHeight));
}

void CBarWindow::focusSlot(int group, int slot) {
  GroupTable& groups = m_context.groups;
  if (group > 0) {
    // The grid scrolls row by row until the slot shows.
    const Group& g = groups[static_cast<size_t>(group)];
    const CellLayout cells = gridCells(layout(), g.buttonMode);
    const int perRow = std::max(1, cells.columns * cells.slotsPerH);
    const int want = firstRowShowing(slot / perRow, g.dispOffset, layout().visibleRows);
    for (int before = -1; g.dispOffset != want && g.dispOffset != before;) {
      before = g.dispOffset;
      scrollList(want > g.dispOffset ? 1 : -1);
    }
  }
  if (const std::optional<ButtonGeometry> geo = slotGeometry(group, slot)) pointerOnto(geo->cell);
}

void CBarWindow::keyFocus(const KeyBinding& binding) {
  GroupTable& groups = m_context.groups;
  const Hit hit = hitUnderPointer();
  if (m_currentArea == hit_area::kTabs && taskMode()) {
    // The task list does not scroll: the focus stays on the entries it shows.
    const TabLayout tabs = tabLayout(layout(), m_context.settings.taskDispMode);
    const int rowsShown = std::max(1, layout().tabArea.height() / std::max(1, tabs.tabHeight));
    FocusArea area;
    area.columns = tabs.perRow;
    area.page = rowsShown * tabs.perRow;
    area.count = std::min(static_cast<int>(m_tasks.size()) - 1, area.page);
    const int from = hit.area == hit_area::kTabs && hit.index >= 1 ? hit.index - 1 : -1;
    const int to = focusTarget(binding, from, area);
    if (to >= 0) pointerOnto(tabRect(layout(), tabs, to + 1, 0));
    return;
  }
  if (m_currentArea == hit_area::kTabs) {
    const TabLayout tabs = tabLayout(layout(), m_context.settings.groupDispMode);
    FocusArea area;
    area.count = std::max(0, static_cast<int>(groups.placeholderIndex()) - 1);
    area.columns = tabs.perRow;
    area.page = groupTabRows().page * tabs.perRow;
    const int from = hit.area == hit_area::kTabs && hit.index >= 1 ? hit.index - 1 : groups.activeGroup - 1;
    const int to = focusTarget(binding, from, area);
    if (to >= 0) focusTab(to + 1);
    return;
  }
  const int group = groupOfArea(m_currentArea);
  if (group < 0 || static_cast<size_t>(group) >= groups.placeholderIndex() || (group == 0 && taskMode()))
    return;
  const Group& g = groups[static_cast<size_t>(group)];
  FocusArea area;
  area.count = static_cast<int>(g.items.size());
  if (group == 0) {
    // The quick list does not scroll: the focus stays on the cells it shows.
    int shown = 0;
    while (quickButton(layout(), shown).cell.bottom <= layout().quickList.bottom) ++shown;
    area.count = std::min(area.count, shown);
    area.page = std::max(1, shown);
  } else {
    const CellLayout cells = gridCells(layout(), g.buttonMode);
    area.columns = cells.columns;
    area.page = visibleSlots(layout(), cells);
  }
  const int hitArea = group == 0 ? hit_area::kQuick : hit_area::kGrid;
  const int from = hit.area == hitArea ? hit.index : -1;
  const int to = focusTarget(binding, from, area);
  if (to >= 0) focusSlot(group, to);
}

void CBarWindow::keyTab() {
  // Group mode only: the task list has its own use of the tab area.
  if (taskMode()) return;
  GroupTable& groups = m_context.groups;
  if (m_currentArea == hit_area::kTabs) {
    m_currentArea = hit_area::kGrid;
    repaintAll();
    const int group = groups.activeGroup;
    if (group <= 0 || static_cast<size_t>(group) >= groups.placeholderIndex()) return;
    const bool gridSelection = m_pointer.selectionArea() == hit_area::kGrid && !m_pointer.selection().empty();
    focusSlot(group, gridSelection ? m_pointer.selection().front() : 0);
    return;
  }
  m_currentArea = hit_area::kTabs;
  repaintAll();
  if (groups.activeGroup >= 1 && static_cast<size_t>(groups.activeGroup) < groups.placeholderIndex())
    focusTab(groups.activeGroup);
}

void CBarWindow::keyEnter(const KeyBinding& binding) {
  GroupTable& groups = m_context.groups;
  if (m_currentArea == hit_area::kTabs) {
    if (taskMode()) {
      runBoxCommand(Hit{hit_area::kCommands, 0});
      return;
    }
    const int last = static_cast<int>(groups.placeholderIndex()) - 1;
    PointerEffects select;
    select.selectGroup = nextGroup(groups.activeGroup, last, binding.argument < 0);
    applyPointerEffects(select);
    const TabLayout tabs = tabLayout(layout(), m_context.settings.groupDispMode);
    const int row = (groups.activeGroup - 1) / std::max(1, tabs.perRow);
    scrollTabsTo(firstRowShowing(row, groups.dispGroupOffset, groupTabRows().page));
    return;
  }
  // The focused button is pressed at its centre, as a click would; the key's release releases it.
  const Hit hit = hitUnderPointer();
  const int group = groupOfArea(m_currentArea);
  if (hit.area != m_currentArea || !m_context.groups.item(group, hit.index)) return;
  const std::optional<ButtonGeometry> geo = slotGeometry(group, hit.index);
  if (!geo) return;
  const POINT centre{(geo->cell.left + geo->cell.right) / 2, (geo->cell.top + geo->cell.bottom) / 2};
  m_keyPressAt = centre;
  onButtonDown(MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
}

void CBarWindow::releaseKeyPress() {
  if (!m_keyPressAt) return;
  const POINT at = *m_keyPressAt;
  m_keyPressAt.reset();
  onButtonUp(0, MAKELPARAM(at.x, at.y));
}

}  // namespace vorbin
