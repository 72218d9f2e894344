// The task commands of task mode: what each one does to its window and
// whether the bar hides after it.
#pragma once

namespace vorbin {

inline constexpr int kTaskCommandCount = 9;
inline constexpr int kTaskSwitchTo = 0;

struct TaskCommandSteps {
  bool foreground = false;  // brought to the foreground first
  int showCommand = -1;     // given through the window-show routine; -1 for none
  bool toTop = false;       // brought to the top afterwards
  int pin = 0;              // 1 made topmost, -1 made non-topmost
  bool close = false;       // sent the close request
  bool makeButton = false;  // its program becomes a new button
  bool hidesBar = false;    // the bar hides afterwards unless it is locked
};

// Commands 0..8 in the order of the command buttons; any other does nothing.
TaskCommandSteps taskCommandSteps(int command);

}  // namespace vorbin
