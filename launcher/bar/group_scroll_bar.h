// The group scroll bar beside the tabs (control 202, with GrpScrollMode 1)
// and the wheel's steps over the tabs and the application grid.
#pragma once
#include <windows.h>

#include <optional>

#include "launcher/bar/tab_scroll.h"
#include "launcher/render/bar_layout.h"

namespace vorbin {

class GroupScrollBar {
 public:
  // Makes the control when wanted and missing, removes it when not wanted.
  void update(HWND bar, bool wanted, const PixelRect& place);
  // Places it, hides it when it has no room (or in task mode), sets its range and thumb.
  void sync(HWND bar, const PixelRect& place, bool shown, const TabRows& rows, int offset);
  // A WM_VSCROLL from the control: the new first row, or nothing when the
  // scroll has ended (the keys then go back to the bar).
  std::optional<int> request(HWND bar, int request, int thumb, const TabRows& rows, int offset);
  bool isControl(HWND w) const { return m_control && w == m_control; }
  // The bar is going: the control goes with it.
  void forget() { m_control = nullptr; }

  // Rows the wheel scrolls the grid and the tabs; anywhere else its rest is forgotten.
  int wheelGridRows(int delta) { return vorbin::wheelGridRows(m_wheel, delta); }
  int wheelTabRows(int delta, bool pages, int page) {
    return vorbin::wheelTabRows(m_wheel, delta, pages, page);
  }
  void wheelElsewhere() { m_wheel.reset(); }

 private:
  HWND m_control = nullptr;  // a child of the bar: destroyed with it
  WheelSteps m_wheel;
};

}  // namespace vorbin
