// Scrolling the group tab rows and the application grid: the tab rows against
// the rows the tab area shows, the group scroll bar's requests, and the wheel.
#pragma once
#include <optional>

namespace vorbin {

// The tab rows against the whole rows the tab area shows.
struct TabRows {
  int rows = 0;  // rows of tabs
  int page = 1;  // whole rows the tab area shows, at least one
  // The last first row: the last page ends with the last row.
  int maxOffset() const { return rows > page ? rows - page : 0; }
  int clamp(int offset) const;
};
TabRows tabRows(int tabCount, int perRow, int tabHeight, int areaHeight);

// Requests of a scroll bar, numbered as the system numbers them.
enum class ScrollRequest {
  kLineUp = 0,
  kLineDown = 1,
  kPageUp = 2,
  kPageDown = 3,
  kThumbPosition = 4,
  kThumbTrack = 5,
  kTop = 6,
  kBottom = 7,
  kEnd = 8,
};
// The new first row for a request on the group scroll bar (thumb: where the
// thumb is); nothing for the end of a scroll and for unknown requests.
std::optional<int> tabOffsetAfter(int request, int thumb, int offset, const TabRows& rows);

// The group scroll bar's range and thumb for the rows.
struct ScrollBarState {
  int max = 0;  // the range is 0..max
  int page = 1;
  int position = 0;
  friend bool operator==(const ScrollBarState&, const ScrollBarState&) = default;
};
ScrollBarState scrollBarState(const TabRows& rows, int offset);

// What the wheel turns under the pointer.
enum class WheelTarget { kNone, kGrid, kTabs };

// Wheel deltas come in 120ths of a notch and add up until they make whole
// steps; a turn away from the user (positive) steps towards the start.
inline constexpr int kWheelNotch = 120;
// The tabs move a row for each 40th of the delta: three rows a notch.
inline constexpr int kWheelTabRowDelta = 40;
class WheelSteps {
 public:
  // Whole steps of `perStep` in this delta and what was left before; a new
  // target or step size starts afresh, and so does a turn the other way.
  int take(WheelTarget target, int delta, int perStep);
  void reset() { m_rest = 0; }

 private:
  WheelTarget m_target = WheelTarget::kNone;
  int m_perStep = 0;
  int m_rest = 0;
};

// Rows the grid scrolls for a delta: one a notch.
int wheelGridRows(WheelSteps& steps, int delta);
// Rows the tab offset moves for a delta: a row for each 40th, or whole pages a
// notch when Shift or Ctrl is held.
int wheelTabRows(WheelSteps& steps, int delta, bool pages, int page);

}  // namespace vorbin
