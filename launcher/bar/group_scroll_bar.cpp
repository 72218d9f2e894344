// The group scroll bar control beside the tabs.
#include "launcher/bar/group_scroll_bar.h"

#include "framework/trace.h"

namespace vorbin {

namespace {
constexpr int kGroupScrollBarId = 202;
}  // namespace

void GroupScrollBar::update(HWND bar, bool wanted, const PixelRect& r) {
  if (wanted && !m_control && bar) {
    m_control =
        CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | SBS_VERT, r.left, r.top, r.width(), r.height(),
                        bar, reinterpret_cast<HMENU>(kGroupScrollBarId), GetModuleHandleW(nullptr), nullptr);
    if (!m_control) FW_TRACE_FAILURE("CreateWindowExW");
  } else if (!wanted && m_control) {
    DestroyWindow(m_control);
    m_control = nullptr;
  }
}

void GroupScrollBar::sync(HWND bar, const PixelRect& r, bool shown, const TabRows& rows, int offset) {
  if (!m_control) return;
  if (!shown || r.width() <= 0 || r.height() <= 0) {
    if (IsWindowVisible(m_control)) ShowWindow(m_control, SW_HIDE);
    return;
  }
  RECT now;
  GetWindowRect(m_control, &now);
  MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&now), 2);
  if (now.left != r.left || now.top != r.top || now.right != r.right || now.bottom != r.bottom)
    MoveWindow(m_control, r.left, r.top, r.width(), r.height(), TRUE);
  const ScrollBarState state = scrollBarState(rows, offset);
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(m_control, SB_CTL, &info);
  if (info.nMin != 0 || info.nMax != state.max || static_cast<int>(info.nPage) != state.page ||
      info.nPos != state.position) {
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = state.max;
    info.nPage = static_cast<UINT>(state.page);
    info.nPos = state.position;
    SetScrollInfo(m_control, SB_CTL, &info, TRUE);
  }
  if (!IsWindowVisible(m_control)) ShowWindow(m_control, SW_SHOWNA);
}

std::optional<int> GroupScrollBar::request(HWND bar, int request, int thumb, const TabRows& rows,
                                           int offset) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_TRACKPOS;
  // The message's thumb position has 16 bits; the control's has all of them.
  if (m_control && GetScrollInfo(m_control, SB_CTL, &info)) thumb = info.nTrackPos;
  const std::optional<int> next = tabOffsetAfter(request, thumb, offset, rows);
  if (!next && m_control && GetFocus() == m_control) SetFocus(bar);
  return next;
}

}  // namespace vorbin
