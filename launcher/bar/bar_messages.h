// The bar window's class name, the messages of the bar beyond the system's
// and the hook library's, and the system commands of the bar's own menus.
#pragma once
#include <windows.h>

namespace vorbin {

// The bar window's class, which other programs look for.
inline constexpr wchar_t kBarClassName[] = L"Vorbin96_Class";

// Posted to the bar itself: requests of message 0x0520 wait in its queue.
inline constexpr UINT kMsgAddRequestsQueued = WM_USER + 0x07C;  // 0x047C
inline constexpr UINT kMsgTrayCallback = WM_USER + 0x07D;   // 0x047D
inline constexpr UINT kMsgDropsQueued = WM_USER + 0x07E;    // 0x047E
inline constexpr UINT kMsgOptionsClosed = WM_USER + 0x07F;  // 0x047F
inline constexpr UINT kMsgDragOver = 0x022B;
inline constexpr UINT kMsgRaise = 0x022E;

inline constexpr UINT kCmdExit = 0x0020;
inline constexpr UINT kCmdEndSession = 0x0040;
inline constexpr UINT kCmdOptions = 0x0080;
inline constexpr UINT kCmdHelp = 0x8010;
inline constexpr UINT kCmdTip = 0x8020;
inline constexpr UINT kCmdAbout = 0x8030;
inline constexpr UINT kCmdFrameworkHelp = 0xE146;

}  // namespace vorbin
