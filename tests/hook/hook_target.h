// Messages between the hook library's Wine tests and their second program.
#pragma once
#include <windows.h>

namespace hook_target {
inline constexpr UINT kMsgTopWindow = WM_APP + 1;    // wParam: the top-level window, lParam: process id
inline constexpr UINT kMsgChildWindow = WM_APP + 2;  // wParam: the child window
inline constexpr UINT kMsgDone = WM_APP + 3;         // the sequence is over
inline constexpr ULONG_PTR kCopyState = 0x5653;      // WM_COPYDATA tag of a shared-block copy
}  // namespace hook_target
