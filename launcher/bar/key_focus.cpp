// Keyboard focus moves in the bar's areas.
#include "launcher/bar/key_focus.h"

#include <algorithm>

namespace vorbin {

namespace {
// Arrow directions of the binding table.
enum Direction { kLeft = 0, kUp = 1, kRight = 2, kDown = 3 };
}  // namespace

int focusTarget(const KeyBinding& binding, int from, const FocusArea& area) {
  if (area.count <= 0) return -1;
  const int last = area.count - 1;
  const int columns = std::max(1, area.columns);
  const int page = std::max(1, area.page);
  const int arg = binding.argument;
  if (binding.action == KeyAction::FocusEnd) return arg == 0 ? 0 : last;
  const bool move = binding.action == KeyAction::FocusPage || binding.action == KeyAction::FocusMove ||
                    binding.action == KeyAction::FocusMoveExtend;
  if (!move) return -1;
  if (from < 0) return 0;
  from = std::min(from, last);
  long long to = from;
  if (binding.action == KeyAction::FocusPage) {
    to += static_cast<long long>(arg < 0 ? -page : page);
  } else if (arg == kLeft || arg == kRight) {
    to += arg == kLeft ? -1 : 1;
  } else {
    // A row up or down keeps the column; beyond either end the focus stays.
    const long long next = from + (arg == kUp ? -columns : columns);
    to = next < 0 || next > last ? from : next;
  }
  return static_cast<int>(std::clamp<long long>(to, 0, last));
}

int firstRowShowing(int row, int firstRow, int rowsShown) {
  rowsShown = std::max(1, rowsShown);
  if (row < firstRow) return std::max(0, row);
  if (row >= firstRow + rowsShown) return row - rowsShown + 1;
  return firstRow;
}

int nextGroup(int active, int last, bool back) {
  if (last < 1) return 1;
  return std::clamp(active + (back ? -1 : 1), 1, last);
}

}  // namespace vorbin
