// The 64-bit library's side of the companion link: what the launcher sets is
// mirrored for the 32-bit library, and questions about windows of 32-bit
// programs are passed to it. Both do nothing in the 32-bit build.
#pragma once
#include <windows.h>

#include "hook/companion_link.h"

namespace vorber {

void mirrorForCompanion(MirrorCall call, int32_t a = 0, int32_t b = 0, int32_t c = 0, int32_t d = 0);

// True when a companion for this process (the launcher) has its window.
bool companionRunning();

// True when the window belongs to a 32-bit program on a 64-bit system; then
// `atom` is the companion's answer (0 without a companion).
bool taskInfoFromCompanion(HWND window, UINT& atom);

// The companion library's record of the pointer (the last activation and the
// last press it saw), when a companion for this process answers within a
// moment; false otherwise (and always in the 32-bit build).
bool pointerFromCompanion(PointerRecord& record);

}  // namespace vorber
