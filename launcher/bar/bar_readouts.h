// Where the bar puts its clock, the a.m./p.m. mark and the load indicator:
// at the right end of the caption row, which then ends before them.
#pragma once

#include "launcher/render/bar_layout.h"

namespace vorbin {

struct ReadoutBoxes {
  PixelRect caption;                 // what is left of the caption text
  PixelRect indicator, amPm, clock;  // empty (zero width) when left out
};

// Widths are those of the texts "00/00 00:00", "p.m." and "100" in their
// fonts. The a.m./p.m. box keeps its place with the 24-hour clock (it is then
// left empty), so that switching the clock moves nothing. Boxes that do not
// fit beside a caption of at least minCaption pixels are left out, the
// indicator first, then the mark.
ReadoutBoxes placeReadouts(const BarLayout& l, int clockWidth, int amPmWidth, int indicatorWidth,
                           int minCaption = 40);

// The bar's height limits: at least one row of buttons; the default shows four.
int barMinHeight(const BarLayout& l);
int barDefaultHeight(const BarLayout& l);
// The saved height to restore. The height is saved in pixels beside the rows
// it showed; when the same height shows another number of rows now (the
// screen's scale or the fonts changed since), the rows are what the user
// chose, and the height for them under this layout is taken.
int restoredBarHeight(const BarLayout& l, int savedHeight, int savedRows);

}  // namespace vorbin
