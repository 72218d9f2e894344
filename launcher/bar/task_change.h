// Keeping the task list current as the hook library reports windows that
// were shown, hidden, destroyed, retitled or given a new icon.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "launcher/model/group_table.h"

namespace vorbin {

// Change codes of the hook library's task reports.
inline constexpr int kTaskDestroyed = 5;
inline constexpr int kTaskRetitled = 12;
inline constexpr int kTaskNewIcon = 128;

// What the system says about the reported window now.
struct TaskWindowFacts {
  bool visible = false;
  bool maximized = false;
  bool topmost = false;
  std::optional<std::wstring> title;  // read for retitles (at most 255 characters)
  void* icon = nullptr;               // read for new icons
};

enum class TaskChange {
  None,       // nothing to repaint
  Updated,    // the list changed
  NotListed,  // an unknown window was shown or retitled: the listing rules decide
};

// The listing rule: a live, not excluded window; unless the list is detailed
// also a top-level window with a system menu, no owner and a title.
struct TaskCandidate {
  bool alive = false;
  bool excluded = false;
  bool child = false;
  bool systemMenu = false;
  bool owned = false;
  bool titled = false;
  // A tool window (palette, tray helper) not marked as an application window:
  // a taskbar leaves it out, and so does the list unless it is detailed.
  bool toolWindow = false;
};
bool qualifiesForTaskList(const TaskCandidate& window, bool detailed);

// The text an entry shows: the window's title; an untitled window in a
// detailed list shows "class:" and its class name instead. At most
// kTaskTitleLimit characters either way.
inline constexpr size_t kTaskTitleLimit = 255;
std::wstring taskTitle(std::wstring_view title, std::wstring_view className, bool detailed);

// Applies one report to the table: visible entries stay before hidden ones,
// a newly hidden entry becomes the first hidden one and a newly visible entry
// the last visible one.
TaskChange applyTaskChange(TaskTable& table, void* window, int code, const TaskWindowFacts& facts);

}  // namespace vorbin
