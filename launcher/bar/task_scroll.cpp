// The task list's first shown row.
#include "launcher/bar/task_scroll.h"

#include <algorithm>

namespace vorbin {

int clampedTaskRow(int firstRow, const TaskListShape& shape) { return shape.rows().clamp(firstRow); }

int taskRowForNewMode(int firstRow, int oldPerRow, const TaskListShape& now) {
  if (firstRow <= 0) return 0;
  // The first entry shown before, counted from 0; wide products stay in range.
  const long long first = static_cast<long long>(firstRow) * std::max(1, oldPerRow);
  const long long row = first / std::max(1, now.perRow);
  return clampedTaskRow(static_cast<int>(std::min<long long>(row, 0x7FFFFFFF)), now);
}

}  // namespace vorbin
