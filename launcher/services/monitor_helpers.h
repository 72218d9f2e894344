// Windows on the right monitor: the nearest monitor of a point or window,
// work areas, and moving windows so that they stay inside them.
#pragma once
#include <windows.h>

#include <vector>

#include "launcher/services/rect_math.h"

namespace vorbin {

// Nearest monitor of a point / window; both are remembered for clampToWorkArea.
HMONITOR monitorAt(POINT point);
HMONITOR monitorOf(HWND window);
Rect workAreaOf(HMONITOR monitor);
int workAreaHeight(POINT point);
// Work areas of every monitor, and the primary one.
std::vector<Rect> allWorkAreas();
Rect primaryWorkArea();

// The top-left corner keeping a width x height rectangle at point inside the
// work area of the remembered monitor. With source and target rectangles the
// point is first mapped proportionally from the work area of the source's
// monitor onto the target's.
POINT clampToWorkArea(int width, int height, POINT point, const RECT* source = nullptr,
                      const RECT* target = nullptr);

enum class PlaceZ { Keep, Top, TopMost };
// Moves (never resizes) window to point (default: the parent's top left +
// (60, 60)), centred on it when asked, kept inside the work area of the
// monitor under the point; extraWidth counts toward the kept width.
void placeWindow(HWND window, const POINT* point, PlaceZ z, bool centre, int extraWidth);

}  // namespace vorbin
