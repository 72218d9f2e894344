// Where the keyboard moves the focus in an area of buttons or tabs: by one
// button, a row, a page or to either end, and which rows must come into view.
#pragma once
#include <optional>

#include "launcher/bar/key_bindings.h"
#include "launcher/interact/hit_areas.h"

namespace vorbin {

struct FocusArea {
  int count = 0;    // buttons (or tabs) in the area
  int columns = 1;  // buttons a row
  int page = 1;     // buttons a page shows
};

// The index the focus moves to from `from` (-1: no button has it yet, and any
// move but End goes to the first); -1 when the area is empty or the binding
// moves nothing.
int focusTarget(const KeyBinding& binding, int from, const FocusArea& area);

// The first shown row that brings `row` into view with as little scrolling as
// possible.
int firstRowShowing(int row, int firstRow, int rowsShown);

// Enter on the group tabs selects the next group (the previous one going
// back), staying within groups 1..last.
int nextGroup(int active, int last, bool back);

// The box a key presses (logo, function key, caption box, mode or command
// button); none for the focus keys.
std::optional<Hit> bindingBox(const KeyBinding& binding);

// The bar as the focus keys see it.
struct FocusScene {
  bool taskMode = false;
  int area = hit_area::kTabs;  // the area holding the keyboard
  Hit focused;                 // what the pointer is over (a grid index is its slot)
  int activeGroup = 1;
  int groupCount = 0;  // real groups: 1..groupCount
  FocusArea tabs;      // the group tabs, or the task entries the list shows
  FocusArea buttons;   // the buttons of focusGroup(): the grid or the quick list
};

// The group whose buttons the keyboard's area shows (0 the quick list); -1 for
// the tab area and for no real group (the quick list is hidden in task mode).
int focusGroup(const FocusScene& scene);

// Where a focus key sends the focus: a tab (numbered from 1) or a slot of the
// grid or the quick list; area kNone when it stays.
Hit focusMove(const KeyBinding& binding, const FocusScene& scene);

// Tab hands the keyboard between the group tabs and the grid (group mode
// only): the area it goes to (kNone: Tab does nothing) and where the focus
// lands: the active group's tab, or the grid's first selected button or its
// first (kNone: nowhere).
struct TabKeyStep {
  int area = hit_area::kNone;
  Hit focus;
};
TabKeyStep tabKeyStep(const FocusScene& scene, std::optional<int> gridSelectionFront);

// What Enter does: on the task list the first task command, on the group
// tabs the next group, on a button holding an item it presses the button.
enum class EnterStep { kNone, kTaskCommand, kNextGroup, kPressFocused };
EnterStep enterKeyStep(const FocusScene& scene, bool focusedHoldsItem);

}  // namespace vorbin
