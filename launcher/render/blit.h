// Copies and scrolls inside one window's DC, and the press animation of a button.
#pragma once
#include <windows.h>

#include "launcher/render/blend.h"

namespace vorbin {

// Copies the area of size (w, h) at src to dest within one DC; through a
// temporary bitmap unless overlapping copies are known to be safe.
void blitWithin(HDC dc, POINT dest, POINT src, int w, int h);

// Moves the contents of area by (dx, dy) and reports the strips the caller
// must repaint. With useSystem the system's ScrollDC does the work.
UncoveredStrips scrollArea(HDC dc, const RECT& area, int dx, int dy, bool useSystem);

// One step of the press animation: step 0 merges the pattern brush into the
// strip under the top edge; steps 1..3 move the face down by one pixel.
void pressAnimationStep(HDC dc, const RECT& button, HBITMAP pattern, int step);

}  // namespace vorbin
