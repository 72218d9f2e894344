// The task commands and the mode buttons' arrangements carried out on other
// programs' windows, none of which may make the bar wait on a hung program.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "launcher/services/rect_math.h"

namespace vorbin {

// True when the window's thread takes a message within timeoutMs (always for
// the bar's own thread); a hung program's window answers false at once or
// after the time-out.
bool windowAnswers(HWND window, UINT timeoutMs = 300);

// One task command (0..8 in button order) on a window; command 8 is left to
// the caller. False, after a beep, when the window no longer exists.
struct TaskCommandResult {
  bool acted = false;
  bool hidesBar = false;  // a switch: the bar hides unless locked
};
TaskCommandResult runTaskWindowCommand(HWND window, int command, bool detailed);

// Every visible top-level window but the bar minimised, with the system's
// window animation off meanwhile.
void minimiseAllWindows(HWND bar);

// Cascade and tile: the windows that still exist and answer are restored and
// moved to the rectangles layout gives for their number; every other visible
// maximised window is hidden during the move and always shown again; then
// the moved windows come to the top, the first last. Windows of other
// threads are moved without waiting for them.
struct ArrangeOutcome {
  int moved = 0;
  int skipped = 0;  // gone or hung
};
using ArrangeLayout = std::function<std::vector<Rect>(size_t count)>;
ArrangeOutcome arrangeWindows(HWND bar, const std::vector<HWND>& windows, const ArrangeLayout& layout);

// The work area of the monitor that holds the bar.
Rect barWorkArea(HWND bar);

}  // namespace vorbin
