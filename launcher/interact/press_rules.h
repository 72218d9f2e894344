// Decisions of a press on the bar that need no window: rubber band or button,
// the drag distance, the launch confirmation, the scroll-arrow repeat and the
// context help of each area.
#pragma once

#include "launcher/interact/hit_areas.h"

namespace vorbin {

// Selection modes of a press.
namespace select_mode {
inline constexpr int kButton = 0;
inline constexpr int kBandPrepared = 1;  // an empty place was pressed; a band may follow
inline constexpr int kBand = 2;
inline constexpr int kBlinking = 3;
}  // namespace select_mode

struct PressFacts {
  int area = hit_area::kGrid;  // kGrid or kQuick
  int gridColumns = 1;
  bool occupied = false;  // the pressed slot holds an item
  bool shift = false;
  bool shiftSelOnly = false;
  bool blinkingAndSelected = false;  // the selection blinks and the pressed button is in it
  HitRect image;                     // the pressed button's image
  int x = 0, y = 0;
};

// Below the image in a grid of several columns and in the quick list, right of
// it in a one-column grid.
bool outsideImage(int area, int gridColumns, const HitRect& image, int x, int y);
int pressSelectionMode(const PressFacts& press);

// Moves closer than twice the system's drag width and height change nothing.
bool beyondDragDistance(int dx, int dy, int dragWidth, int dragHeight);

// More selected buttons than ExeLimit (2..1000) need the user's OK.
bool launchNeedsConfirmation(int selectedCount, int exeLimit);

struct ScrollRepeat {
  int firstWait = 0, nextWait = 0;
};
ScrollRepeat scrollRepeatDelays(int scrollTime);

// The context-help id of a right press, 0 for areas that open a menu instead.
int contextHelpId(int area, int index);

}  // namespace vorbin
