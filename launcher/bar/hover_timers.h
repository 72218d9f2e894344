// The delayed actions of the bar's pointer: the timers the pointer state
// machine arms and stops, the one pending action (the hover delay or the
// group scroll repeat) that keeps SC_CLOSE from hiding the bar, the group a
// hover is about to open, and the blink phase of a band selection.
#pragma once
#include <windows.h>

#include "launcher/interact/bar_pointer.h"

namespace vorbin {

class HoverTimers {
 public:
  void attach(HWND bar) { m_bar = bar; }
  // Remembers which delayed action the effects arm or end.
  void note(const PointerEffects& e);
  void stop(const std::vector<int>& ids);
  void arm(const std::vector<TimerRequest>& timers);
  // The release ends the group scroll repeat.
  void released();
  // The hover delay, the group scroll repeat or a drag's list scroll is running.
  int pending() const { return m_pending; }
  // Stops every delayed action (the bar hides).
  void clear();

  // The tab group a hover armed the delay for (-1: none).
  void hovered(int group) { m_hoveredGroup = group; }
  void forgetHover() { m_hoveredGroup = -1; }
  // The hover delay fired: it is stopped and its group handed out (-1: none).
  int hoverFired();

  bool toggleBlink() { return m_blinkPhase = !m_blinkPhase; }
  // A one-shot timer again with a new period, or stopped.
  void rearm(int id, int milliseconds);
  void kill(int id);

 private:
  HWND m_bar = nullptr;
  int m_pending = 0;
  int m_hoveredGroup = -1;
  bool m_blinkPhase = false;
};

}  // namespace vorbin
