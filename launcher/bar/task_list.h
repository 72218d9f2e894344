// The bar's task list: the top-level windows it lists, kept current by the
// hook library's reports, the entry drawn pressed and the task commands run
// on an entry.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "launcher/model/group_table.h"

namespace vorbin {

class TaskList {
 public:
  const TaskTable& table() const { return m_tasks; }
  size_t size() const { return m_tasks.size(); }

  // Lists the top-level windows again; the bar and its owner stay out.
  void refresh(HWND bar, bool detailed);
  // One report of the hook library (code as in task_change.h); true when the
  // list changed.
  bool report(HWND bar, HWND window, int code, bool detailed);
  // Painting marks the entries whose titles did not fit.
  void markCut(const std::vector<int>& cut);

  // The entry drawn pressed (0: none), remembered with its window: the list
  // may change before the release.
  void press(int entry);
  int pressed() const { return m_pressed; }
  // The pressed window's entry now (0: it is gone).
  int pressedEntryNow() const;

  // A task command on one entry; true when it asks the bar to hide.
  bool runCommand(int entry, int command, bool detailed);
  // A command button: the command on every marked window, taken before the
  // first one is touched. Command 8 goes to makeButton per window. A beep
  // when nothing was acted on.
  struct CommandRun {
    int acted = 0;
    bool hidesBar = false;
  };
  CommandRun runOnMarked(int command, bool detailed, const std::function<bool(HWND)>& makeButton);

  // A click on an entry with the modifiers held; true when it is a plain
  // click that switches to the window.
  bool click(int entry, bool ctrl, bool shift, bool* marksChanged = nullptr);
  std::vector<HWND> markedWindows() const;
  TaskTable& mutableTable() { return m_tasks; }

 private:
  // The entry of a window, when the listing rules take it.
  bool entryFor(HWND bar, HWND window, bool detailed, TaskEntry& entry);
  // The details line of a window's process, asked once per process and refresh.
  const std::wstring& detailsOf(HWND window);

  TaskTable m_tasks;
  int m_pressed = 0;
  void* m_pressedWindow = nullptr;
  int m_markAnchor = 0;
  std::unordered_map<DWORD, std::wstring> m_detailsByProcess;
};

}  // namespace vorbin
