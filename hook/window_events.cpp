// Decisions of the window hooks that need no window.
#include "hook/window_events.h"

namespace vorber {

void noteWindowCreated(SharedHookState& state, uintptr_t window) {
  if (window != state.launcherWindow) state.newestWindow = window;
}

bool noteWindowActivated(SharedHookState& state, uintptr_t window) {
  if (window == 0 || window != state.newestWindow) return false;
  state.newestWindow = 0;
  return true;
}

CbtDecision decideCbt(SharedHookState& s, WindowQueries& q, int32_t code, uintptr_t window, int64_t value) {
  CbtDecision d;
  const uint32_t launcherPid = s.launcherProcessId;
  if (code == kCbtActivate) {
    // A thread losing the activation may be told of a null window: no change.
    if (window != 0) s.launcherActivated = (launcherPid != 0 && q.processOf(window) == launcherPid) ? 1 : 0;
  } else if (s.taskMode != 0 && (code == kCbtMinMax || code == kCbtCreateWnd || code == kCbtDestroyWnd) &&
             q.parentOf(window) == 0 && q.processOf(window) != launcherPid) {
    d.report = true;
    d.change = code == kCbtCreateWnd    ? kTaskCreated
               : code == kCbtDestroyWnd ? kTaskDestroyed
                                        : changeCodeForShowCommand(value);
  }
  if (code == kCbtCreateWnd && s.suppressNextMenu != 0 && q.isPopupMenu(window)) {
    s.suppressNextMenu = 0;
    d.refuse = true;
    return d;
  }
  d.animationOff = code == kCbtMinMax && window != 0 && window == s.launcherWindow;
  return d;
}

int32_t changeCodeForShowCommand(int64_t showCommand) {
  switch (showCommand) {
    case 0:  // SW_HIDE
      return kTaskHidden;
    case 2:   // SW_SHOWMINIMIZED
    case 6:   // SW_MINIMIZE
    case 7:   // SW_SHOWMINNOACTIVE
    case 11:  // SW_FORCEMINIMIZE
      return kTaskMinimised;
    case 3:  // SW_SHOWMAXIMIZED
      return kTaskMaximised;
    default:
      return kTaskShown;
  }
}

bool isPopupMenuWindow(uint32_t style, uint32_t exStyle, std::string_view className) {
  constexpr uint32_t kPopupBorder = 0x80800000;  // WS_POPUP | WS_BORDER
  constexpr uint32_t kMenuExStyle = 0x181;       // WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE
  return (style & kPopupBorder) == kPopupBorder && (exStyle & kMenuExStyle) == kMenuExStyle &&
         className == "#32768";
}

namespace {
char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && startsWithIgnoreCase(a, b);
}

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (lowerAscii(text[i]) != lowerAscii(prefix[i])) return false;
  }
  return true;
}

bool copyCommandLineForAtom(const char* commandLine, char (&buffer)[kMaxAtomText + 1]) {
  buffer[0] = '\0';
  if (commandLine == nullptr) return false;
  size_t length = 0;
  while (length <= kMaxAtomText && commandLine[length] != '\0') ++length;
  if (length == 0 || length > kMaxAtomText) return false;
  for (size_t i = 0; i < length; ++i) buffer[i] = commandLine[i];
  buffer[length] = '\0';
  return true;
}

}  // namespace vorber
