// Every timer of the bar window, by id: the window's own and those the
// pointer state machine arms. The ids are the stored behaviour's numbers.
#pragma once

namespace vorbin {

enum BarTimer : int {
  kTimerClock = 1,        // the clock and the indicator, once a second while shown
  kTimerDelayedHide = 2,  // CloseDelayTime after a deactivation
  kTimerHoverGroup = 3,   // a hovered tab opens its group (one shot)
  kTimerBlink = 4,        // a band selection blinks
  kTimerDragScroll = 6,   // a drag resting on a list scroll arrow
  kTimerGroupScroll = 7,  // a held group scroll button repeats
  kTimerTrayIcon = 9,     // adds the tray icon if the start has not settled by then (fires once)
};

}  // namespace vorbin
