// Keeping the task list current.
#include "launcher/bar/task_change.h"

#include <vector>

namespace vorbin {

namespace {

// Refills the table: the visible entries, then `moved` when given, then the
// hidden entries (the table keeps visible ones first on its own).
void rebuild(TaskTable& table, std::vector<TaskEntry> rest, const TaskEntry* moved) {
  table.reset();
  for (auto& e : rest)
    if (e.showState != 0) table.add(e);
  if (moved) table.add(*moved);
  for (auto& e : rest)
    if (e.showState == 0) table.add(e);
}

}  // namespace

bool qualifiesForTaskList(const TaskCandidate& w, bool detailed) {
  if (!w.alive || w.excluded) return false;
  return detailed || (!w.child && w.systemMenu && !w.owned && w.titled && !w.toolWindow);
}

std::wstring taskTitle(std::wstring_view title, std::wstring_view className, bool detailed) {
  std::wstring text = title.empty() && detailed ? L"class:" + std::wstring(className) : std::wstring(title);
  if (text.size() > kTaskTitleLimit) text.resize(kTaskTitleLimit);
  return text;
}

TaskChange applyTaskChange(TaskTable& table, void* window, int code, const TaskWindowFacts& facts) {
  size_t found = 0;
  for (size_t i = table.size(); i-- > 1;) {
    if (table[i].window == window) {
      found = i;
      break;
    }
  }
  if (found == 0) {
    return (code == 4 || code == kTaskRetitled) ? TaskChange::NotListed : TaskChange::None;
  }
  TaskEntry& entry = table[found];
  switch (code) {
    case kTaskDestroyed: {
      std::vector<TaskEntry> rest;
      for (size_t i = 1; i < table.size(); ++i)
        if (i != found) rest.push_back(table[i]);
      rebuild(table, std::move(rest), nullptr);
      return TaskChange::Updated;
    }
    case kTaskRetitled:
      if (!facts.title) return TaskChange::None;
      entry.title = facts.title->substr(0, 255);
      return TaskChange::Updated;
    case kTaskNewIcon:
      entry.icon = facts.icon;
      return TaskChange::Updated;
    default:
      break;
  }
  if (code < 0 || code > 4) return TaskChange::None;
  const bool wasVisible = entry.showState != 0;
  TaskEntry changed = entry;
  changed.showState = !facts.visible ? 0 : (facts.maximized ? 3 : code);
  changed.topmost = facts.topmost ? 1 : 0;
  if ((changed.showState != 0) == wasVisible) {
    entry = changed;
    return TaskChange::Updated;
  }
  std::vector<TaskEntry> rest;
  for (size_t i = 1; i < table.size(); ++i)
    if (i != found) rest.push_back(table[i]);
  rebuild(table, std::move(rest), &changed);
  return TaskChange::Updated;
}

}  // namespace vorbin
