// Show states of top-level windows. Windows of other threads get their show
// commands posted, so that a hung program cannot hang the bar.
#include "launcher/interact/apply_show_state.h"

namespace vorbin {

WindowFacts windowFacts(HWND window) {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  WindowFacts facts;
  facts.handle = reinterpret_cast<uintptr_t>(window);
  facts.visible = IsWindowVisible(window) != FALSE;
  facts.hasSysMenu = (style & WS_SYSMENU) != 0;
  facts.ownedOrChild = GetWindow(window, GW_OWNER) != nullptr || (style & WS_CHILD) != 0;
  facts.hasMinBox = (style & WS_MINIMIZEBOX) != 0;
  facts.hasMaxBox = (style & WS_MAXIMIZEBOX) != 0;
  facts.minimized = IsIconic(window) != FALSE;
  return facts;
}

void applyShowState(HWND window, const ShowStateRequest& request) {
  if (!IsWindow(window)) return;
  const bool ownThread = GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
  for (int command : showStateSteps(windowFacts(window), request)) {
    if (ownThread) {
      ShowWindow(window, command);
    } else {
      ShowWindowAsync(window, command);
    }
  }
}

BOOL CALLBACK applyShowStateProc(HWND window, LPARAM request) {
  applyShowState(window, *reinterpret_cast<const ShowStateRequest*>(request));
  return TRUE;
}

void minimiseAll(HWND bar) {
  const ShowStateRequest request{reinterpret_cast<uintptr_t>(bar), sw::kMinNoActive, true, false};
  EnumWindows(applyShowStateProc, reinterpret_cast<LPARAM>(&request));
  ArrangeIconicWindows(GetDesktopWindow());
}

}  // namespace vorbin
