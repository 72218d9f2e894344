// Decisions of a press on the bar.
#include "launcher/interact/press_rules.h"

#include <algorithm>
#include <cstdlib>

namespace vorbin {

bool outsideImage(int area, int gridColumns, const HitRect& image, int x, int y) {
  if (area == hit_area::kGrid && gridColumns == 1) return x >= image.right;
  return y >= image.bottom;
}

int pressSelectionMode(const PressFacts& press) {
  if (press.shiftSelOnly) return press.shift ? select_mode::kBand : select_mode::kButton;
  if (press.blinkingAndSelected) return select_mode::kButton;
  if (!press.occupied || press.shift ||
      outsideImage(press.area, press.gridColumns, press.image, press.x, press.y)) {
    return select_mode::kBandPrepared;
  }
  return select_mode::kButton;
}

bool beyondDragDistance(int dx, int dy, int dragWidth, int dragHeight) {
  return std::abs(dx) > 2 * dragWidth || std::abs(dy) > 2 * dragHeight;
}

bool launchNeedsConfirmation(int selectedCount, int exeLimit) {
  return selectedCount > std::clamp(exeLimit, 2, 1000);
}

ScrollRepeat scrollRepeatDelays(int scrollTime) {
  const int third = std::max(scrollTime, 0) / 3;
  return {third <= 200 ? 300 - third : 100, third <= 90 ? 100 - third : 10};
}

int contextHelpId(int area, int index) {
  using namespace hit_area;
  switch (area) {
    case kFunctionKeys:
      return 48 + index;
    case kCommands:
      return 80 + index;
    case kLoad:
      return 64;
    case kClock:
      return 65;
    case kCaptionBoxes:
      return 128 + index;
    case kListScroll:
      return 176 + index;
    case kGroupScroll:
      return 192 + index;
    default:
      return area > kLogo ? 144 : 0;
  }
}

}  // namespace vorbin
