// What the hook library's Win32 files share inside one process: the shared
// block, the module handle and the checked road by which reports leave.
#pragma once
#include <windows.h>

#include "hook/shared_hook_state.h"

namespace vorber {

extern SharedHookState g_shared;  // in the shared section; every process sees it
extern HINSTANCE g_module;        // per process

inline HHOOK hookHandle(uintptr_t value) { return reinterpret_cast<HHOOK>(value); }

// The launcher window when it is a live window of the recorded launcher
// process, else null: a stale or foreign handle in the shared block must not
// receive our messages.
HWND checkedLauncher(uintptr_t window);
bool postToLauncher(uintptr_t window, UINT message, WPARAM wParam, LPARAM lParam);

// True when a hook was called in this program for a window of another one:
// the system does that with hooks of the other bitness (in the thread that
// installed them). That program's own build of this library reports it in its
// own process, so the call is passed on here — in the 64-bit launcher only
// while a companion runs, as without it no other report would come.
bool reportedElsewhere(HWND window);

// Records the desktop window and the screen's edges in the shared block.
void readDesktop();

// Foreground hand-over through this process's own User32 entries.
void allowLauncherForeground(DWORD launcherProcessId);

}  // namespace vorber
