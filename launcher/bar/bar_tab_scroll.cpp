// The group scroll bar beside the tabs and the mouse wheel over the tabs and
// the application grid.
#include "launcher/bar/bar_window.h"

namespace vorbin {

namespace {
constexpr int kGroupScrollBarId = 202;
}  // namespace

TabRows CBarWindow::groupTabRows() const {
  const GroupTable& groups = m_context.groups;
  const TabLayout tabs = tabLayout(m_layout, m_context.settings.groupDispMode);
  const int tabCount = std::max(0, static_cast<int>(groups.placeholderIndex()) - 1);
  return tabRows(tabCount, tabs.perRow, tabs.tabHeight, m_layout.tabArea.height());
}

void CBarWindow::updateGroupScrollBar() {
  const bool wanted = m_context.settings.grpScrollMode == 1;
  if (wanted && !m_groupScrollBar && m_hwnd) {
    const PixelRect& r = m_layout.groupScrollBar;
    m_groupScrollBar = CreateWindowExW(
        0, L"SCROLLBAR", nullptr, WS_CHILD | SBS_VERT, r.left, r.top, r.width(), r.height(), m_hwnd,
        reinterpret_cast<HMENU>(kGroupScrollBarId), GetModuleHandleW(nullptr), nullptr);
  } else if (!wanted && m_groupScrollBar) {
    DestroyWindow(m_groupScrollBar);
    m_groupScrollBar = nullptr;
  }
  syncGroupScrollBar();
}

void CBarWindow::syncGroupScrollBar() {
  GroupTable& groups = m_context.groups;
  if (!taskMode()) {
    // A taller bar or fewer groups: the rows above must not stay out of reach.
    groups.dispGroupOffset = groupTabRows().clamp(groups.dispGroupOffset);
  }
  if (!m_groupScrollBar) return;
  const PixelRect& r = m_layout.groupScrollBar;
  const bool show = !taskMode() && r.width() > 0 && r.height() > 0;
  if (!show) {
    if (IsWindowVisible(m_groupScrollBar)) ShowWindow(m_groupScrollBar, SW_HIDE);
    return;
  }
  RECT now;
  GetWindowRect(m_groupScrollBar, &now);
  MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&now), 2);
  if (now.left != r.left || now.top != r.top || now.right != r.right || now.bottom != r.bottom)
    MoveWindow(m_groupScrollBar, r.left, r.top, r.width(), r.height(), TRUE);
  const ScrollBarState state = scrollBarState(groupTabRows(), groups.dispGroupOffset);
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(m_groupScrollBar, SB_CTL, &info);
  if (info.nMin != 0 || info.nMax != state.max || static_cast<int>(info.nPage) != state.page ||
      info.nPos != state.position) {
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = state.max;
    info.nPage = static_cast<UINT>(state.page);
    info.nPos = state.position;
    SetScrollInfo(m_groupScrollBar, SB_CTL, &info, TRUE);
  }
  if (!IsWindowVisible(m_groupScrollBar)) ShowWindow(m_groupScrollBar, SW_SHOWNA);
}

void CBarWindow::scrollTabsTo(int offset) {
  GroupTable& groups = m_context.groups;
  offset = groupTabRows().clamp(offset);
  if (offset == groups.dispGroupOffset) return;
  groups.dispGroupOffset = offset;
  repaintAll();
  // The thumb and the wheel want to see each step.
  UpdateWindow(m_hwnd);
}

void CBarWindow::groupScrollRequest(int request, int thumb) {
  if (taskMode()) return;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_TRACKPOS;
  // The message's thumb position has 16 bits; the control's has all of them.
  if (m_groupScrollBar && GetScrollInfo(m_groupScrollBar, SB_CTL, &info)) thumb = info.nTrackPos;
  const std::optional<int> offset =
      tabOffsetAfter(request, thumb, m_context.groups.dispGroupOffset, groupTabRows());
  if (!offset) {
    // The scroll has ended: the keys belong to the bar again.
    if (GetFocus() == m_groupScrollBar) SetFocus(m_hwnd);
    repaintAll();
    return;
  }
  scrollTabsTo(*offset);
}

void CBarWindow::wheelAt(POINT client, int delta, bool pages) {
  if (taskMode() || m_pointer.dragging()) return;
  const int area = hitTest(hitGeometry(), client.x, client.y).area;
  if (area == hit_area::kGrid) {
    GroupTable& groups = m_context.groups;
    const int active = groups.activeGroup;
    if (active <= 0 || static_cast<size_t>(active) >= groups.size()) return;
    const int rows = wheelGridRows(m_wheel, delta);
    // Row by row through the list arrows' own scrolling; it stops at the ends.
    for (int i = 0; i < std::abs(rows); ++i) {
      const int before = groups[static_cast<size_t>(active)].dispOffset;
      scrollList(rows > 0 ? 1 : -1);
      if (groups[static_cast<size_t>(active)].dispOffset == before) break;
    }
  } else if (area == hit_area::kTabs || area == hit_area::kGroupScroll ||
             m_layout.groupScrollBar.contains(client.x, client.y)) {
    const TabRows rows = groupTabRows();
    scrollTabsTo(m_context.groups.dispGroupOffset + wheelTabRows(m_wheel, delta, pages, rows.page));
  } else {
    m_wheel.reset();
  }
}

}  // namespace vorbin
