// The bar's task list: the top-level windows it lists, kept current by the
// hook library's reports, the entry drawn pressed and the task commands run
// on an entry.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "launcher/bar/task_rules.h"
#include "launcher/model/group_table.h"

namespace vorbin {

class TaskList {
 public:
  TaskList() = default;
  TaskList(const TaskList&) = delete;
  TaskList& operator=(const TaskList&) = delete;
  ~TaskList();

  const TaskTable& table() const { return m_tasks; }
  size_t size() const { return m_tasks.size(); }

  // Lists the top-level windows again; the bar and its owner stay out. With
  // details every window is listed, and what only a shown entry needs (its
  // title, topmost mark, details line and icon) is read for another
  // program's window when the entry is first shown (readShownFacts): each
  // such question is a trip to the window server, and a long list shows only
  // some of its entries. The count and order of the entries are right at once.
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
  // The marked windows in list order; a window gone or now another
  // program's (its handle reused) is given as null, which no command acts on.
  std::vector<HWND> markedWindows() const;
  TaskTable& mutableTable() { return m_tasks; }

  // A rubber band began (keep: Ctrl held, the marks made before stay) and
  // now touches these entries; true when some mark changed.
  void beginBand(bool keep);
  bool bandTouches(const std::vector<int>& entries);

  // The first row of entries shown: the list scrolls by rows.
  int firstRow() const { return m_firstRow; }
  void setFirstRow(int row) { m_firstRow = row; }

  // The group shown before task mode began, shown again when it ends; a
  // task made a button goes there.
  int returnGroup() const { return m_returnGroup; }
  void setReturnGroup(int group) { m_returnGroup = group; }

 private:
  // The entry of a window, when the listing rules take it. `owners` learns
  // the processes of a whole listing (null: the window is asked alone).
  bool entryFor(HWND bar, HWND window, bool detailed, TaskEntry& entry, WindowOwners* owners);
  // The title, topmost mark and details line of a listed entry.
  void readFacts(TaskEntry& entry);
  // The details line of a window's process, asked once per process and refresh.
  const std::wstring& detailsOf(HWND window, DWORD processId);
  // The window's icon: its own, else its program file's, else the system's
  // application icon; never null.
  HICON iconOf(HWND window, DWORD processId);

 public:
  // Entry n's icon, asked of its window when it is first needed (an entry
  // is listed without it); never null for a listed entry. Its other facts
  // not read yet are read first (readShownFacts).
  HICON iconFor(int entry);
  // Reads entry n's title, topmost mark and details line when the listing
  // left them for the entry's first showing.
  void readShownFacts(int entry);

 private:
  // The window when it is still the one listed for that process, else null.
  static HWND stillListed(const TaskTarget& target);

  TaskTable m_tasks;
  int m_pressed = 0;
  void* m_pressedWindow = nullptr;
  int m_markAnchor = 0;
  int m_firstRow = 0;
  int m_returnGroup = 1;
  std::vector<void*> m_bandKept;
  std::unordered_set<void*> m_unread;  // listed windows whose shown facts are not read yet
  std::unordered_map<DWORD, std::wstring> m_detailsByProcess;
  std::unordered_map<DWORD, HICON> m_iconByProcess;     // asked once per process and refresh
  std::unordered_map<std::wstring, HICON> m_fileIcons;  // program files' icons, owned
};

}  // namespace vorbin
