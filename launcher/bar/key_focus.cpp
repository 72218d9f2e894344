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

std::optional<Hit> bindingBox(const KeyBinding& binding) {
  switch (binding.action) {
    case KeyAction::PressLogo:
      return Hit{hit_area::kLogo, 0};
    case KeyAction::PressFunctionKey:
      return Hit{hit_area::kFunctionKeys, binding.argument};
    case KeyAction::PressCaptionBox:
      return Hit{hit_area::kCaptionBoxes, binding.argument};
    case KeyAction::PressModeButton:
      return Hit{hit_area::kModes, binding.argument};
    case KeyAction::PressCommand:
      return Hit{hit_area::kCommands, binding.argument};
    default:
      return std::nullopt;
  }
}

namespace {
bool realGroup(int group, const FocusScene& s) { return group >= 1 && group <= s.groupCount; }
}  // namespace

int focusGroup(const FocusScene& s) {
  if (s.area == hit_area::kTabs) return -1;
  const int group = s.area == hit_area::kQuick ? 0 : s.activeGroup;
  if (group < 0 || group > s.groupCount || (group == 0 && s.taskMode)) return -1;
  return group;
}

Hit focusMove(const KeyBinding& binding, const FocusScene& s) {
  const Hit& at = s.focused;
  if (s.area == hit_area::kTabs) {
    // Without a focused tab the group list starts from the active group; the
    // task list from its first entry.
    const bool onTab = at.area == hit_area::kTabs && at.index >= 1;
    const int from = onTab ? at.index - 1 : s.taskMode ? -1 : s.activeGroup - 1;
    const int to = focusTarget(binding, from, s.tabs);
    return to < 0 ? Hit{} : Hit{hit_area::kTabs, to + 1};
  }
  const int group = focusGroup(s);
  if (group < 0) return {};
  const int area = group == 0 ? hit_area::kQuick : hit_area::kGrid;
  const int to = focusTarget(binding, at.area == area ? at.index : -1, s.buttons);
  return to < 0 ? Hit{} : Hit{area, to};
}

TabKeyStep tabKeyStep(const FocusScene& s, std::optional<int> gridSelectionFront) {
  // The task list has its own use of the tab area.
  if (s.taskMode) return {};
  const bool real = realGroup(s.activeGroup, s);
  if (s.area == hit_area::kTabs)
    return {hit_area::kGrid, real ? Hit{hit_area::kGrid, gridSelectionFront.value_or(0)} : Hit{}};
  return {hit_area::kTabs, real ? Hit{hit_area::kTabs, s.activeGroup} : Hit{}};
}

EnterStep enterKeyStep(const FocusScene& s, bool focusedHoldsItem) {
  if (s.area == hit_area::kTabs) return s.taskMode ? EnterStep::kTaskCommand : EnterStep::kNextGroup;
  return s.focused.area == s.area && focusedHoldsItem ? EnterStep::kPressFocused : EnterStep::kNone;
}

}  // namespace vorbin
