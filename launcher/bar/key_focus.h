// Where the keyboard moves the focus in an area of buttons or tabs: by one
// button, a row, a page or to either end, and which rows must come into view.
#pragma once
#include "launcher/bar/key_bindings.h"

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

}  // namespace vorbin
