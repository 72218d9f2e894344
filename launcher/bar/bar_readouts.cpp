// Placement of the clock, the a.m./p.m. mark and the load indicator, and the
// bar's height limits, from the layout.
#include "launcher/bar/bar_readouts.h"

#include <algorithm>

namespace vorbin {

namespace {
constexpr int kGap = 3;  // between boxes, leaving room for their sunken bevels
}

ReadoutBoxes placeReadouts(const BarLayout& l, int clockWidth, int amPmWidth, int indicatorWidth,
                           int minCaption) {
  ReadoutBoxes b;
  b.caption = l.captionText;
  const int top = l.captionText.top, bottom = l.captionText.bottom;
  const int limit = l.captionText.left + std::max(0, minCaption);
  int right = l.captionText.right;
  auto take = [&](PixelRect& box, int width) {
    if (width <= 0 || right - width - kGap < limit) return;
    box = {right - width, top, right, bottom};
    right -= width + kGap;
  };
  take(b.clock, clockWidth);
  if (b.clock.width() == 0) return b;
  take(b.amPm, amPmWidth);
  take(b.indicator, indicatorWidth);
  b.caption.right = std::max(b.caption.left, right - kGap);
  return b;
}

int barMinHeight(const BarLayout& l) { return clientHeightForRows(l, 1); }

int barDefaultHeight(const BarLayout& l) { return clientHeightForRows(l, 4); }

int restoredBarHeight(const BarLayout& l, int savedHeight, int savedRows) {
  if (savedHeight <= 0 || savedRows <= 0 || l.H <= 0) return savedHeight;
  if (visibleRows(l, savedHeight) == savedRows) return savedHeight;
  // A corrupt row count must not make the bar taller than any screen.
  return clientHeightForRows(l, std::min(savedRows, 100));
}

}  // namespace vorbin
