// Buttons and tabs dropped back on the bar: offsets kept, order that never
// overwrites, swaps with buttons in the way, free slots in another group.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "launcher/bar/drop_moves.h"

namespace vorbin {
namespace {

SlotOccupied slots(std::set<int> s) {
  return [s](int slot) { return s.count(slot) > 0; };
}

// Applies the moves to a map slot -> name, as the table would.
std::map<int, char> applyMoves(std::map<int, char> at, const std::vector<ButtonMove>& moves) {
  for (const ButtonMove& m : moves) {
    const char moving = at.at(m.from);
    if (m.mode == MoveMode::kSwap) {
      const char other = at.at(m.to);
      at[m.from] = other;
    } else if (m.mode == MoveMode::kMove) {
      at.erase(m.from);
    }
    at[m.to] = moving;
  }
  return at;
}

TEST(DropMoves, WithinAGroupTheArrangementIsKept) {
  const std::map<int, char> start{{2, 'a'}, {3, 'b'}, {5, 'c'}, {9, 'x'}};
  auto occupied = [&](int s) { return start.count(s) > 0; };
  struct Case {
    std::vector<int> selected;
    int pressed, dropped;
    bool copy;
    std::map<int, char> expected;
    int line;
  } cases[] = {
      // a, b and c one slot on: the last one goes first, nothing is lost.
      {{2, 3, 5}, 3, 4, false, {{3, 'a'}, {4, 'b'}, {6, 'c'}, {9, 'x'}}, __LINE__},
      // Back by two.
      {{2, 3, 5}, 3, 1, false, {{0, 'a'}, {1, 'b'}, {3, 'c'}, {9, 'x'}}, __LINE__},
      // Back by far more than room: the first stops at slot 0.
      {{2, 3, 5}, 5, 0, false, {{0, 'a'}, {1, 'b'}, {3, 'c'}, {9, 'x'}}, __LINE__},
      // Onto x: swapped with it.
      {{5}, 5, 9, false, {{2, 'a'}, {3, 'b'}, {9, 'c'}, {5, 'x'}}, __LINE__},
      // b and c by 4: c swaps with x, b lands on the slot c left.
      {{3, 5}, 3, 7, false, {{2, 'a'}, {7, 'b'}, {9, 'c'}, {5, 'x'}}, __LINE__},
      // A copy keeps the originals.
      {{2, 3}, 2, 6, true, {{2, 'a'}, {3, 'b'}, {5, 'c'}, {6, 'a'}, {7, 'b'}, {9, 'x'}}, __LINE__},
      // Beyond the last slot is not a place.
      {{9}, 9, 40, false, {{2, 'a'}, {3, 'b'}, {5, 'c'}, {11, 'x'}}, __LINE__},
  };
  for (const Case& c : cases)
    EXPECT_EQ(applyMoves(start, planMovesWithinGroup(c.selected, c.pressed, c.dropped, c.copy, occupied, 12)), c.expected)
        << "line " << c.line;
  EXPECT_TRUE(planMovesWithinGroup({2, 3}, 3, 3, false, occupied, 12).empty());
  EXPECT_TRUE(planMovesWithinGroup({}, 0, 4, false, occupied, 12).empty());
}

TEST(DropMoves, IntoAnotherGroupFreeSlotsOrTheCellDroppedOn) {
  EXPECT_EQ(planMovesToGroup({4, 1}, std::nullopt, false, slots({0, 2}), 100),
            (std::vector<ButtonMove>{{1, 1, MoveMode::kMove}, {4, 3, MoveMode::kMove}}));
  EXPECT_EQ(planMovesToGroup({4, 1}, 7, true, slots({0}), 100),
            (std::vector<ButtonMove>{{1, 1, MoveMode::kCopy}, {4, 2, MoveMode::kCopy}}));
  // One button on a cell takes it, swapping with a button there.
  EXPECT_EQ(planMovesToGroup({4}, 7, false, slots({7}), 100), (std::vector<ButtonMove>{{4, 7, MoveMode::kSwap}}));
  EXPECT_EQ(planMovesToGroup({4}, 7, false, slots({}), 100), (std::vector<ButtonMove>{{4, 7, MoveMode::kMove}}));
  // A full group takes what fits.
  EXPECT_EQ(planMovesToGroup({1, 2}, std::nullopt, false, slots({0, 1}), 3),
            (std::vector<ButtonMove>{{1, 2, MoveMode::kMove}}));
}

TEST(DropMoves, OnTheirOwnTabTheFirstButtonGivesThePicture) {
  // The lowest selected slot, whatever order the selection was made in.
  EXPECT_EQ(ownTabPictureSlot({5, 2, 9}, slots({2, 5, 9}), 100), 2);
  // A selected slot that has lost its button is passed over.
  EXPECT_EQ(ownTabPictureSlot({5, 2}, slots({5}), 100), 5);
  EXPECT_FALSE(ownTabPictureSlot({3}, slots({}), 100));
  EXPECT_FALSE(ownTabPictureSlot({}, slots({0}), 100));
  // Slots outside the group's range are never read.
  EXPECT_FALSE(ownTabPictureSlot({-1, 100}, [](int) { return true; }, 100));
}

TEST(DropMoves, TabsLandBetweenTheRealGroups) {
  EXPECT_EQ(tabDropIndex(1, 3, 5), 3);
  EXPECT_EQ(tabDropIndex(4, 2, 5), 2);
  EXPECT_EQ(tabDropIndex(2, 5, 5), 4);  // the placeholder: last
  EXPECT_FALSE(tabDropIndex(2, 2, 5));
  EXPECT_FALSE(tabDropIndex(4, 5, 5));
  EXPECT_FALSE(tabDropIndex(0, 2, 5));  // the quick group is no tab
  EXPECT_FALSE(tabDropIndex(5, 2, 5));  // nor is the placeholder dragged
  EXPECT_FALSE(tabDropIndex(2, 6, 5));
}

}  // namespace
}  // namespace vorbin
