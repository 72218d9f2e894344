// The task list's first shown row: kept inside the list when windows go away
// or the bar gets taller, and kept in proportion when the display mode changes.
#pragma once

#include "launcher/bar/tab_scroll.h"

namespace vorbin {

// The list's shape: its entries (without the table's unused entry 0) in rows
// of perRow, in an area that shows areaHeight pixels of tabs tabHeight high.
struct TaskListShape {
  int entries = 0;
  int perRow = 1;
  int tabHeight = 1;
  int areaHeight = 0;
  TabRows rows() const { return tabRows(entries, perRow, tabHeight, areaHeight); }
};

// The first row within reach: the last page ends with the last row, and an
// empty or short list shows from its first row.
int clampedTaskRow(int firstRow, const TaskListShape& shape);

// The display mode changed from rows of oldPerRow entries: the entry that was
// first shown stays in the first shown row where the list allows it.
int taskRowForNewMode(int firstRow, int oldPerRow, const TaskListShape& now);

}  // namespace vorbin
