// The layout's rectangles as the system's RECT, for the Win32 drawing calls.
#pragma once
#include <windows.h>

#include "launcher/render/bar_layout.h"

namespace vorbin {

inline RECT toRect(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }
inline PixelRect fromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace vorbin
