// The bar's task list: enumerating the top-level windows and following the
// hook library's reports about them.
#include "launcher/bar/task_list.h"

#include "framework/trace.h"
#include "launcher/bar/task_change.h"
#include "launcher/bar/task_commands_win.h"
#include "launcher/bar/task_rules.h"
#include "launcher/interact/apply_show_state.h"
#include "launcher/interact/task_commands.h"
#include "launcher/services/process_info.h"

namespace vorbin {

namespace {

HICON iconOf(HWND window) {
  DWORD_PTR icon = 0;
  if (SendMessageTimeoutW(window, WM_GETICON, ICON_BIG, 0, SMTO_ABORTIFHUNG, 1000, &icon) && icon) {
    return reinterpret_cast<HICON>(icon);
  }
  if (SendMessageTimeoutW(window, WM_QUERYDRAGICON, 0, 0, SMTO_ABORTIFHUNG, 1000, &icon) && icon) {
    return reinterpret_cast<HICON>(icon);
  }
  return reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
}

std::wstring rawTitleOf(HWND window) {
  wchar_t title[256] = {};
  // Reads the stored text: no message reaches a window that may hang.
  InternalGetWindowText(window, title, 256);
  return title;
}

// The entry's text: an untitled window of a detailed list shows its class.
std::wstring titleOf(HWND window, const std::wstring& raw, bool detailed) {
  if (!raw.empty() || !detailed) return raw;
  wchar_t name[257] = {};
  GetClassNameW(window, name, 257);
  return taskTitle(raw, name, detailed);
}

}  // namespace

bool TaskList::entryFor(HWND bar, HWND window, bool detailed, TaskEntry& entry) {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  TaskCandidate candidate;
  candidate.alive = IsWindow(window) != FALSE;
  candidate.excluded = window == bar || window == GetWindow(bar, GW_OWNER);
  candidate.child = (style & WS_CHILD) != 0;
  candidate.systemMenu = (style & WS_SYSMENU) != 0;
  candidate.owned = GetWindow(window, GW_OWNER) != nullptr;
  const std::wstring raw = rawTitleOf(window);
  candidate.titled = !raw.empty();
  if (!qualifiesForTaskList(candidate, detailed)) return false;
  HICON icon = iconOf(window);
  if (!icon && !detailed) return false;
  entry.title = titleOf(window, raw, detailed);
  entry.icon = icon ? icon : LoadIconW(nullptr, IDI_APPLICATION);
  entry.window = window;
  entry.showState = !IsWindowVisible(window) ? 0 : IsZoomed(window) ? 3 : IsIconic(window) ? 2 : 1;
  entry.topmost = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0;
  if (detailed) entry.details = detailsOf(window);
  return true;
}

const std::wstring& TaskList::detailsOf(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  auto known = m_detailsByProcess.find(processId);
  if (known != m_detailsByProcess.end()) return known->second;
  const ProcessDetails p = queryProcess(window);
  return m_detailsByProcess[processId] = taskDetailsLine(p.imagePath, processId, p.priorityName(), p.typeName);
}

void TaskList::refresh(HWND bar, bool detailed) {
  m_tasks.reset();
  // Process ids are reused: what was asked before the refresh is not kept.
  m_detailsByProcess.clear();
  struct Walk {
    TaskList* list;
    HWND bar;
    bool detailed;
  } walk{this, bar, detailed};
  // The walk never stops early: a false answer is a failure.
  if (!EnumWindows(
          [](HWND window, LPARAM data) -> BOOL {
            auto* w = reinterpret_cast<Walk*>(data);
            TaskEntry entry;
            if (w->list->entryFor(w->bar, window, w->detailed, entry)) w->list->m_tasks.add(std::move(entry));
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&walk)))
    FW_TRACE_FAILURE("EnumWindows");
}

bool TaskList::report(HWND bar, HWND window, int code, bool detailed) {
  // Windows that vanished meanwhile are ignored, except for their removal.
  if (code != kTaskDestroyed && !IsWindow(window)) return false;
  TaskWindowFacts facts;
  if (code != kTaskDestroyed) {
    facts.visible = IsWindowVisible(window) != FALSE;
    facts.maximized = IsZoomed(window) != FALSE;
    facts.topmost = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (code == kTaskRetitled) facts.title = titleOf(window, rawTitleOf(window), detailed);
    if (code == kTaskNewIcon) facts.icon = iconOf(window);
  }
  const TaskChange change = applyTaskChange(m_tasks, window, code, facts);
  if (change == TaskChange::NotListed) {
    TaskEntry entry;
    if (!entryFor(bar, window, detailed, entry)) return false;
    m_tasks.add(std::move(entry));
    return true;
  }
  return change != TaskChange::None;
}

void TaskList::markCut(const std::vector<int>& cut) {
  for (size_t i = 1; i < m_tasks.size(); ++i) m_tasks[i].titleCut = 0;
  for (int n : cut)
    if (n >= 1 && static_cast<size_t>(n) < m_tasks.size()) m_tasks[static_cast<size_t>(n)].titleCut = 1;
}

void TaskList::press(int entry) {
  m_pressed = entry;
  if (m_pressed > 0 && static_cast<size_t>(m_pressed) < m_tasks.size())
    m_pressedWindow = m_tasks[static_cast<size_t>(m_pressed)].window;
}

int TaskList::pressedEntryNow() const {
  int entry = 0;
  for (size_t i = 1; i < m_tasks.size(); ++i)
    if (m_tasks[i].window == m_pressedWindow) entry = static_cast<int>(i);
  return entry;
}

bool TaskList::runCommand(int entry, int command, bool detailed) {
  if (entry < 1 || static_cast<size_t>(entry) >= m_tasks.size()) return false;
  HWND window = static_cast<HWND>(m_tasks[static_cast<size_t>(entry)].window);
  const TaskCommandResult r = runTaskWindowCommand(window, command, detailed);
  const int pin = taskCommandSteps(command).pin;
  if (r.acted && pin != 0) m_tasks[static_cast<size_t>(entry)].topmost = pin > 0 ? 1 : 0;
  return r.hidesBar;
}

std::vector<HWND> TaskList::markedWindows() const {
  std::vector<HWND> windows;
  for (void* w : vorbin::markedWindows(m_tasks)) windows.push_back(static_cast<HWND>(w));
  return windows;
}

TaskList::CommandRun TaskList::runOnMarked(int command, bool detailed,
                                           const std::function<bool(HWND)>& makeButton) {
  CommandRun run;
  // A copy: questions and commands let reports change the list meanwhile.
  const std::vector<HWND> windows = markedWindows();
  for (HWND w : windows) {
    if (command == kMakeButtonCommand) {
      if (!IsWindow(w)) {
        MessageBeep(MB_OK);
        continue;
      }
      if (makeButton && makeButton(w)) ++run.acted;
      continue;
    }
    const TaskCommandResult r = runTaskWindowCommand(w, command, detailed);
    if (!r.acted) continue;
    ++run.acted;
    run.hidesBar |= r.hidesBar;
    const int pin = taskCommandSteps(command).pin;
    if (pin == 0) continue;
    for (size_t i = 1; i < m_tasks.size(); ++i)
      if (m_tasks[i].window == w) m_tasks[i].topmost = pin > 0 ? 1 : 0;
  }
  if (windows.empty()) MessageBeep(MB_OK);
  return run;
}

bool TaskList::click(int entry, bool ctrl, bool shift, bool* marksChanged) {
  const MarkOutcome out = markByClick(m_tasks, m_markAnchor, {entry, ctrl, shift});
  if (marksChanged) *marksChanged = out.changed;
  return out.switchTo;
}

}  // namespace vorbin
