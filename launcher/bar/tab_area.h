// The tab area's rows: the group tabs, or the task list's entries in task
// mode, the first row shown, and the group scroll bar and the wheel that
// move it.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>

#include "launcher/bar/group_scroll_bar.h"
#include "launcher/bar/task_list.h"
#include "launcher/bar/task_scroll.h"
#include "launcher/model/group_table.h"
#include "launcher/model/settings.h"
#include "launcher/render/bar_layout.h"

namespace vorbin {

class TabArea {
 public:
  struct Context {
    const Settings& settings;
    GroupTable& groups;
    TaskList& tasks;
    std::function<const BarLayout&()> layout;
    // The whole bar again, painted at once: the thumb and the wheel want to see each step.
    std::function<void()> repaintNow;
  };
  explicit TabArea(Context context) : m_context(std::move(context)) {}

  // The rows under the bar's layout and mode.
  TabRows rows() const;
  TaskListShape taskListShape() const;
  // The first row shown: the group tabs' or the task list's.
  int offset() const;
  // Scrolls to a row within reach; repaints when it moved.
  void scrollTo(int offset);

  // The scroll bar made or removed as the settings want, then placed.
  void update(HWND bar);
  // Placed and sized for the rows, the first row kept within reach.
  void sync(HWND bar);
  // The bar is going: the control goes with it.
  void forget() { m_scrollBar.forget(); }

  // A WM_VSCROLL; false when it came from another control.
  bool scrollRequest(HWND bar, WPARAM wParam, LPARAM lParam);
  // The wheel over the tabs or the scroll bar; rows and pages.
  void wheelOverTabs(int delta, bool pages);
  // The wheel over the application grid: the rows to scroll it.
  int wheelGridRows(int delta) { return m_scrollBar.wheelGridRows(delta); }
  void wheelElsewhere() { m_scrollBar.wheelElsewhere(); }

 private:
  void setOffset(int offset);

  Context m_context;
  GroupScrollBar m_scrollBar;
};

}  // namespace vorbin
