// The task commands as steps on one window.
#include "launcher/interact/task_commands.h"

#include "launcher/interact/show_rules.h"

namespace vorbin {

TaskCommandSteps taskCommandSteps(int command) {
  TaskCommandSteps s;
  switch (command) {
    case 0:  // switch to
    case 1:  // normal
    case 3:  // maximize
      s.foreground = true;
      s.showCommand = command == 0 ? sw::kRestore : command == 1 ? sw::kShowNormal : sw::kMaximize;
      s.toTop = true;
      s.hidesBar = true;
      break;
    case 2:
      s.showCommand = sw::kMinNoActive;
      break;
    case 4:
      s.showCommand = sw::kHide;
      break;
    case 5:
    case 6:
      s.pin = command == 5 ? 1 : -1;
      break;
    case 7:
      s.close = true;
      break;
    case 8:
      s.makeButton = true;
      break;
    default:
      break;
  }
  return s;
}

}  // namespace vorbin
