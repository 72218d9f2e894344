// Changing the show state of top-level windows: one window, every window as
// the enumeration callback, and minimise-all.
#pragma once
#include <windows.h>

#include "launcher/interact/show_rules.h"

namespace vorbin {

WindowFacts windowFacts(HWND window);
void applyShowState(HWND window, const ShowStateRequest& request);
// The enumeration callback: lParam points at a ShowStateRequest; always continues.
BOOL CALLBACK applyShowStateProc(HWND window, LPARAM request);
// Minimises every window that can be, except the bar, then lets the system arrange them.
void minimiseAll(HWND bar);

}  // namespace vorbin
