// The delayed actions of the bar's pointer.
#include "launcher/bar/hover_timers.h"

namespace vorbin {

void HoverTimers::note(const PointerEffects& e) {
  // The hover delay and the group scroll repeat are the delayed actions that
  // keep SC_CLOSE from hiding the bar.
  for (int id : e.killTimers)
    if (id == m_pending) m_pending = 0;
  for (const TimerRequest& t : e.armTimers)
    if (t.id == kTimerHoverGroup || t.id == kTimerGroupScroll) m_pending = t.id;
}

void HoverTimers::stop(const std::vector<int>& ids) {
  for (int id : ids) KillTimer(m_bar, static_cast<UINT_PTR>(id));
}

void HoverTimers::arm(const std::vector<TimerRequest>& timers) {
  for (const TimerRequest& t : timers)
    SetTimer(m_bar, static_cast<UINT_PTR>(t.id), static_cast<UINT>(t.milliseconds), nullptr);
}

void HoverTimers::released() {
  if (m_pending == kTimerGroupScroll) m_pending = 0;
}

void HoverTimers::clear() {
  KillTimer(m_bar, kTimerHoverGroup);
  KillTimer(m_bar, kTimerGroupScroll);
  KillTimer(m_bar, kTimerDragScroll);
  m_pending = 0;
}

int HoverTimers::hoverFired() {
  KillTimer(m_bar, kTimerHoverGroup);
  m_pending = 0;
  return m_hoveredGroup;
}

void HoverTimers::rearm(int id, int milliseconds) {
  SetTimer(m_bar, static_cast<UINT_PTR>(id), static_cast<UINT>(milliseconds), nullptr);
}

void HoverTimers::kill(int id) { KillTimer(m_bar, static_cast<UINT_PTR>(id)); }

}  // namespace vorbin
