// Taking the key typed into the shell's hot-key control of a web shortcut's
// property sheet for the launcher's own item hot key: while the sheet runs, a
// call-return hook on this thread subclasses that control, keeps every key
// the page reads from it and tells the page that none is set, so the shortcut
// file keeps no key of its own.
#pragma once
#include <windows.h>

#include <cstdint>

namespace vorbin {

// Before the sheet runs (on the launcher's thread): forgets an earlier control and key, installs the hook.
bool beginHotKeyCapture();
// After the sheet returned: removes the hook and the subclassing.
void endHotKeyCapture();
// The key the page last read (low byte virtual key, high byte modifiers), or 0.
uint16_t capturedHotKey();
// Whether a key was read during this sheet: without one, the item keeps its own key.
bool hotKeyCaptured();

}  // namespace vorbin
