// The bar's task list: enumerating the top-level windows and following the
// hook library's reports about them.
#include "launcher/bar/task_list.h"

#include <shellapi.h>

#include "framework/trace.h"
#include "launcher/bar/task_change.h"
#include "launcher/bar/task_commands_win.h"
#include "launcher/bar/task_rules.h"
#include "launcher/interact/apply_show_state.h"
#include "launcher/interact/task_commands.h"
#include "launcher/services/process_info.h"

namespace vorbin {

namespace {

// A hung program answers at once (abort if hung); a slow one gets a second.
constexpr UINT kIconAskMs = 1000;

// The icon the window itself gives: the one it was given to show, its drag
// icon (which also answers for a window with only a small icon of its own)
// or its class's. Two questions at most: each costs a trip to the program.
HICON ownIconOf(HWND window) {
  DWORD_PTR icon = 0;
  if (SendMessageTimeoutW(window, WM_GETICON, ICON_BIG, 0, SMTO_ABORTIFHUNG, kIconAskMs, &icon) && icon)
    return reinterpret_cast<HICON>(icon);
  if (SendMessageTimeoutW(window, WM_QUERYDRAGICON, 0, 0, SMTO_ABORTIFHUNG, kIconAskMs, &icon) && icon)
    return reinterpret_cast<HICON>(icon);
  if (const ULONG_PTR c = GetClassLongPtrW(window, GCLP_HICON)) return reinterpret_cast<HICON>(c);
  return reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM));
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
  // Every question about another program's window is a trip to the window
  // server: each fact is read once, from the styles where they hold it, and a
  // window the list leaves out is left before its title is read.
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  TaskCandidate candidate;
  candidate.alive = style != 0 || IsWindow(window) != FALSE;
  candidate.excluded = window == bar || window == GetWindow(bar, GW_OWNER);
  candidate.child = (style & WS_CHILD) != 0;
  candidate.systemMenu = (style & WS_SYSMENU) != 0;
  candidate.toolWindow = (exStyle & WS_EX_TOOLWINDOW) && !(exStyle & WS_EX_APPWINDOW);
  // Without details, a window left out by its styles alone is left before
  // its owner and title are asked.
  candidate.titled = true;
  if (!detailed && !qualifiesForTaskList(candidate, false)) return false;
  candidate.owned = GetWindow(window, GW_OWNER) != nullptr;
  const std::wstring raw = rawTitleOf(window);
  candidate.titled = !raw.empty();
  if (!qualifiesForTaskList(candidate, detailed)) return false;
  entry.title = titleOf(window, raw, detailed);
  // The icon is asked when the entry is first shown (iconFor): asking costs a
  // trip to each program, and a long list shows only some of its entries.
  entry.icon = nullptr;
  entry.window = window;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  entry.processId = processId;
  // A top-level window is visible, minimised and maximised exactly as its style says.
  entry.showState = !(style & WS_VISIBLE) ? 0 : (style & WS_MAXIMIZE) ? 3 : (style & WS_MINIMIZE) ? 2 : 1;
  entry.topmost = (exStyle & WS_EX_TOPMOST) ? 1 : 0;
  if (detailed) entry.details = detailsOf(window);
  return true;
}

HICON TaskList::iconFor(int entry) {
  if (entry < 1 || static_cast<size_t>(entry) >= m_tasks.size()) return nullptr;
  TaskEntry& e = m_tasks[static_cast<size_t>(entry)];
  if (!e.icon) e.icon = iconOf(static_cast<HWND>(e.window));
  return static_cast<HICON>(e.icon);
}

TaskList::~TaskList() {
  for (auto& [path, icon] : m_fileIcons)
    if (icon) DestroyIcon(icon);
}

HICON TaskList::iconOf(HWND window) {
  if (HICON own = ownIconOf(window)) return own;
  // Its program file's first icon, read once per program; the system's
  // application icon when the file has none or cannot be read.
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  auto known = m_iconByProcess.find(processId);
  if (known != m_iconByProcess.end()) return known->second;
  HICON icon = nullptr;
  const std::wstring path = queryProcess(window).imagePath;
  if (!path.empty()) {
    auto file = m_fileIcons.find(path);
    if (file == m_fileIcons.end()) {
      HICON large = nullptr;
      if (ExtractIconExW(path.c_str(), 0, &large, nullptr, 1) == 0) large = nullptr;
      // Bounded: a long session meets only so many programs.
      if (m_fileIcons.size() < 512) file = m_fileIcons.emplace(path, large).first;
      icon = large;
      if (file == m_fileIcons.end() && large) {
        DestroyIcon(large);
        icon = nullptr;
      }
    } else {
      icon = file->second;
    }
  }
  if (!icon) icon = LoadIconW(nullptr, IDI_APPLICATION);
  return m_iconByProcess[processId] = icon;
}

const std::wstring& TaskList::detailsOf(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  auto known = m_detailsByProcess.find(processId);
  if (known != m_detailsByProcess.end()) return known->second;
  const ProcessDetails p = queryProcess(window);
  return m_detailsByProcess[processId] =
             taskDetailsLine(p.imagePath, processId, p.priorityName(), p.typeName);
}

void TaskList::refresh(HWND bar, bool detailed) {
  m_tasks.reset();
  // Process ids are reused: what was asked before the refresh is not kept.
  m_detailsByProcess.clear();
  m_iconByProcess.clear();
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
    if (code == kTaskNewIcon) {
      // The program's icon of a process that may have gone meanwhile is asked anew.
      DWORD processId = 0;
      GetWindowThreadProcessId(window, &processId);
      m_iconByProcess.erase(processId);
      facts.icon = nullptr;  // asked again when shown
    }
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

HWND TaskList::stillListed(const TaskTarget& target) {
  HWND window = static_cast<HWND>(target.window);
  const bool exists = window && IsWindow(window);
  DWORD processNow = 0;
  if (exists) GetWindowThreadProcessId(window, &processNow);
  return sameTaskWindow(exists, target.processId, processNow) ? window : nullptr;
}

bool TaskList::runCommand(int entry, int command, bool detailed) {
  if (entry < 1 || static_cast<size_t>(entry) >= m_tasks.size()) return false;
  const TaskEntry& e = m_tasks[static_cast<size_t>(entry)];
  // A stale entry gives null: the command beeps instead of acting.
  HWND window = stillListed({e.window, e.processId});
  const TaskCommandResult r = runTaskWindowCommand(window, command, detailed);
  const int pin = taskCommandSteps(command).pin;
  if (r.acted && pin != 0) m_tasks[static_cast<size_t>(entry)].topmost = pin > 0 ? 1 : 0;
  return r.hidesBar;
}

std::vector<HWND> TaskList::markedWindows() const {
  std::vector<HWND> windows;
  for (const TaskTarget& t : markedTargets(m_tasks)) windows.push_back(stillListed(t));
  return windows;
}

void TaskList::beginBand(bool keep) {
  m_bandKept = keep ? vorbin::markedWindows(m_tasks) : std::vector<void*>{};
}

bool TaskList::bandTouches(const std::vector<int>& entries) {
  return markByBand(m_tasks, m_bandKept, entries);
}

TaskList::CommandRun TaskList::runOnMarked(int command, bool detailed,
                                           const std::function<bool(HWND)>& makeButton) {
  CommandRun run;
  // A copy: questions and commands let reports change the list meanwhile.
  const std::vector<TaskTarget> targets = markedTargets(m_tasks);
  for (const TaskTarget& target : targets) {
    // Checked just before each one: a question before it may have taken long.
    HWND w = stillListed(target);
    if (command == kMakeButtonCommand) {
      if (!w) {
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
  if (targets.empty()) MessageBeep(MB_OK);
  return run;
}

bool TaskList::click(int entry, bool ctrl, bool shift, bool* marksChanged) {
  const MarkOutcome out = markByClick(m_tasks, m_markAnchor, {entry, ctrl, shift});
  if (marksChanged) *marksChanged = out.changed;
  return out.switchTo;
}

}  // namespace vorbin
