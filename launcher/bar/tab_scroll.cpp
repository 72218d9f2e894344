// Scrolling the group tab rows and the application grid.
#include "launcher/bar/tab_scroll.h"

#include <algorithm>

namespace vorbin {

int TabRows::clamp(int offset) const { return std::clamp(offset, 0, maxOffset()); }

TabRows tabRows(int tabCount, int perRow, int tabHeight, int areaHeight) {
  TabRows r;
  perRow = std::max(1, perRow);
  r.rows = std::max(0, tabCount) / perRow + (std::max(0, tabCount) % perRow ? 1 : 0);
  r.page = std::max(1, areaHeight / std::max(1, tabHeight));
  return r;
}

std::optional<int> tabOffsetAfter(int request, int thumb, int offset, const TabRows& rows) {
  int to = offset;
  switch (static_cast<ScrollRequest>(request)) {
    case ScrollRequest::kLineUp:
      to = offset - 1;
      break;
    case ScrollRequest::kLineDown:
      to = offset + 1;
      break;
    case ScrollRequest::kPageUp:
      to = offset - rows.page;
      break;
    case ScrollRequest::kPageDown:
      to = offset + rows.page;
      break;
    case ScrollRequest::kThumbPosition:
    case ScrollRequest::kThumbTrack:
      to = thumb;
      break;
    case ScrollRequest::kTop:
      to = 0;
      break;
    case ScrollRequest::kBottom:
      to = rows.maxOffset();
      break;
    default:
      return std::nullopt;
  }
  return rows.clamp(to);
}

ScrollBarState scrollBarState(const TabRows& rows, int offset) {
  ScrollBarState s;
  s.max = std::max(0, rows.rows - 1);
  s.page = rows.page;
  s.position = rows.clamp(offset);
  return s;
}

int WheelSteps::take(WheelTarget target, int delta, int perStep) {
  if (perStep <= 0) return 0;
  // A change of target or step size, or a turn back, forgets the part turned before.
  if (target != m_target || perStep != m_perStep || (m_rest > 0 && delta < 0) || (m_rest < 0 && delta > 0))
    m_rest = 0;
  m_target = target;
  m_perStep = perStep;
  // Deltas are 16-bit; the rest stays below one step, so the sum cannot overflow.
  const long long sum = static_cast<long long>(m_rest) + std::clamp(delta, -32768, 32767);
  const long long steps = sum / perStep;
  m_rest = static_cast<int>(sum - steps * perStep);
  return static_cast<int>(-steps);
}

int wheelGridRows(WheelSteps& steps, int delta) { return steps.take(WheelTarget::kGrid, delta, kWheelNotch); }

int wheelTabRows(WheelSteps& steps, int delta, bool pages, int page) {
  if (pages) return steps.take(WheelTarget::kTabs, delta, kWheelNotch) * std::max(1, page);
  return steps.take(WheelTarget::kTabs, delta, kWheelTabRowDelta);
}

}  // namespace vorbin
