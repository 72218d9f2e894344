// The bar's hot key with the system, pressed as the user would for the
// activation gesture, and other programs' windows found by their own hot key.
#pragma once
#include <windows.h>

#include <cstdint>

namespace vorbin {

// Registers the bar's key under id 0 in place of the one before; an empty
// key stays unregistered. False when another program holds the key.
bool registerBarHotKey(HWND bar, uint16_t hotKey);

// Presses and releases the key with its modifiers (high byte: 1 Shift,
// 2 Ctrl, 4 Alt).
void pressHotKey(uint16_t hotKey);

// A top-level window whose own hot key (WM_SETHOTKEY) is this key comes to
// the front, restored when minimized or hidden; false when there is none.
bool restoreWindowWithHotKey(uint16_t hotKey);

}  // namespace vorbin
