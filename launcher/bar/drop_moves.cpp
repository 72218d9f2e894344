// Buttons and tabs dropped back on the bar (see drop_moves.h).
#include "launcher/bar/drop_moves.h"

#include <algorithm>
#include <set>

namespace vorbin {

std::vector<ButtonMove> planMovesWithinGroup(std::vector<int> selected, int pressed, int dropped, bool copy,
                                             const SlotOccupied& occupied, int maxSlots) {
  std::vector<ButtonMove> moves;
  std::sort(selected.begin(), selected.end());
  selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
  selected.erase(std::remove_if(selected.begin(), selected.end(), [&](int s) { return s < 0 || s >= maxSlots; }),
                 selected.end());
  if (selected.empty()) return moves;
  const int offset = std::clamp(dropped - pressed, -selected.front(), maxSlots - 1 - selected.back());
  if (offset == 0) return moves;
  // Moving up the slots, the last button goes first, so that it is out of
  // the way of the one behind it; moving down, the first.
  if (offset > 0) std::reverse(selected.begin(), selected.end());
  std::set<int> filled;
  auto isFilled = [&](int slot) { return filled.count(slot) ? true : (occupied && occupied(slot)); };
  std::set<int> emptied;
  for (int from : selected) {
    const int to = from + offset;
    const bool full = !emptied.count(to) && isFilled(to);
    ButtonMove m{from, to, full ? MoveMode::kSwap : (copy ? MoveMode::kCopy : MoveMode::kMove)};
    moves.push_back(m);
    filled.insert(to);
    emptied.erase(to);
    if (m.mode == MoveMode::kMove) emptied.insert(from);
  }
  return moves;
}

std::vector<ButtonMove> planMovesToGroup(std::vector<int> selected, std::optional<int> droppedCell, bool copy,
                                         const SlotOccupied& occupied, int maxSlots) {
  std::vector<ButtonMove> moves;
  std::sort(selected.begin(), selected.end());
  selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
  std::set<int> taken;
  auto isTaken = [&](int slot) { return taken.count(slot) || (occupied && occupied(slot)); };
  const MoveMode plain = copy ? MoveMode::kCopy : MoveMode::kMove;
  if (selected.size() == 1 && droppedCell && *droppedCell >= 0 && *droppedCell < maxSlots) {
    moves.push_back({selected.front(), *droppedCell, isTaken(*droppedCell) ? MoveMode::kSwap : plain});
    return moves;
  }
  int next = 0;
  for (int from : selected) {
    while (next < maxSlots && isTaken(next)) ++next;
    if (next >= maxSlots) break;  // the group is full: the rest stay where they are
    moves.push_back({from, next, plain});
    taken.insert(next);
  }
  return moves;
}

std::optional<int> ownTabPictureSlot(std::vector<int> selected, const SlotOccupied& occupied, int maxSlots) {
  std::sort(selected.begin(), selected.end());
  for (int slot : selected)
    if (slot >= 0 && slot < maxSlots && occupied && occupied(slot)) return slot;
  return std::nullopt;
}

std::optional<int> tabDropIndex(int dragged, int onto, int placeholder) {
  if (dragged < 1 || dragged >= placeholder || onto < 1 || onto > placeholder) return std::nullopt;
  const int to = onto == placeholder ? placeholder - 1 : onto;
  if (to == dragged) return std::nullopt;
  return to;
}

}  // namespace vorbin
