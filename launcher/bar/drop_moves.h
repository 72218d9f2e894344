// Buttons and tabs dragged within the bar and dropped back on it: which
// button goes to which slot (moved, copied or swapped), in an order that
// never overwrites a button still to be moved, and where a dragged tab lands.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "launcher/model/group_table.h"

namespace vorbin {

struct ButtonMove {
  int from = 0;
  int to = 0;
  MoveMode mode = MoveMode::kMove;
  bool operator==(const ButtonMove&) const = default;
};

// Whether a slot of the target group holds a button before the moves.
using SlotOccupied = std::function<bool(int slot)>;

// Within one group every selected button moves by the distance from the
// pressed cell to the drop cell, kept so that none leaves 0..maxSlots-1.
// A copy drag leaves the originals; an occupied target swaps.
std::vector<ButtonMove> planMovesWithinGroup(std::vector<int> selected, int pressed, int dropped, bool copy,
                                             const SlotOccupied& occupied, int maxSlots);
// Into another group each button takes the first free slot there, except one
// button dropped on a cell, which takes that cell.
std::vector<ButtonMove> planMovesToGroup(std::vector<int> selected, std::optional<int> droppedCell, bool copy,
                                         const SlotOccupied& occupied, int maxSlots);

// Buttons dropped on their own group's tab stay where they are and give the
// group the picture of the first of them: the lowest selected slot that
// holds a button; nothing when none does.
std::optional<int> ownTabPictureSlot(std::vector<int> selected, const SlotOccupied& occupied, int maxSlots);

// The index a dragged tab ends at when dropped on the tab `onto` (the
// placeholder's index puts it last among the real groups); nothing when it
// stays or either is not a real group.
std::optional<int> tabDropIndex(int dragged, int onto, int placeholder);

}  // namespace vorbin
