// Decisions of the window hooks (CBT, title/icon, command line) that need no
// window: change codes, the popup-menu signature, bounded command lines.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "hook/shared_hook_state.h"

namespace vorber {

// The shell reported a new top-level window: it becomes the newest window,
// unless it is the launcher's own.
void noteWindowCreated(SharedHookState& state, uintptr_t window);
// The shell reported an activation: true once, when the newest window is
// activated for the first time (the launcher is then told).
bool noteWindowActivated(SharedHookState& state, uintptr_t window);

// Change codes posted with the task-change message.
enum TaskChange : int32_t {
  kTaskHidden = 0,
  kTaskShown = 1,
  kTaskMinimised = 2,
  kTaskMaximised = 3,
  kTaskCreated = 4,
  kTaskDestroyed = 5,
  kTaskTitleSet = 0x0C,  // the message number of WM_SETTEXT
  kTaskIconSet = 0x80,   // the message number of WM_SETICON
};

// The change code for a show command of a minimise/maximise notification.
// Commands that do not say hidden, minimised or maximised (including
// SW_SHOWDEFAULT and unknown values) report the window as shown.
int32_t changeCodeForShowCommand(int64_t showCommand);

// The system's popup-menu window: WS_POPUP|WS_BORDER, the dialog-frame,
// tool-window and window-edge extended styles, and the class "#32768".
bool isPopupMenuWindow(uint32_t style, uint32_t exStyle, std::string_view className);

// What the CBT hook needs to know about a window.
class WindowQueries {
 public:
  virtual uintptr_t parentOf(uintptr_t window) = 0;  // parent or owner, as the system reports it
  virtual uint32_t processOf(uintptr_t window) = 0;
  virtual bool isPopupMenu(uintptr_t window) = 0;  // styles and class of the system's popup menu

 protected:
  ~WindowQueries() = default;
};

// CBT hook codes.
inline constexpr int32_t kCbtMinMax = 1, kCbtCreateWnd = 3, kCbtDestroyWnd = 4, kCbtActivate = 5;

struct CbtDecision {
  bool report = false;  // post the task change below
  int32_t change = 0;
  bool refuse = false;        // refuse the window's creation (a suppressed menu)
  bool animationOff = false;  // the launcher's window is minimised or maximised
};

// One CBT notification (code, window, code-specific value). Flags and codes
// are tested before any window query.
CbtDecision decideCbt(SharedHookState& state, WindowQueries& queries, int32_t code, uintptr_t window,
                      int64_t value);

// ASCII comparisons as the system compares class names.
bool equalsIgnoreCase(std::string_view a, std::string_view b);
bool startsWithIgnoreCase(std::string_view text, std::string_view prefix);

// A global atom holds at most 255 characters; longer command lines make none.
inline constexpr size_t kMaxAtomText = 255;
// Copies a NUL-terminated command line into buffer (kMaxAtomText + 1 bytes)
// reading at most kMaxAtomText + 1 characters of it; false when it is empty
// or too long for an atom.
bool copyCommandLineForAtom(const char* commandLine, char (&buffer)[kMaxAtomText + 1]);

}  // namespace vorber
