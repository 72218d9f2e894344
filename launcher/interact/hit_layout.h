// The hit geometry of the bar from its computed layout and the state of the
// group display.
#pragma once

#include "launcher/interact/hit_areas.h"
#include "launcher/render/bar_layout.h"

namespace vorbin {

// What the layout does not hold: the shown group, the tab list and the boxes
// the bar window places itself.
struct HitState {
  bool taskMode = false;
  int buttonMode = 0;       // of the shown group
  int tabDisplayMode = 0;   // GroupDispMode or TaskDispMode
  int tabScrollOffset = 0;  // pixels
  int tabCount = 0;
  bool groupScrollShown = false;
  PixelRect clockBox, loadBox;
};

HitGeometry hitGeometryFor(const BarLayout& layout, const HitState& state);

}  // namespace vorbin
