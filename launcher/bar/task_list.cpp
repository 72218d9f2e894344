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

BOOL CALLBACK collectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<void*>*>(list)->push_back(window);
  return TRUE;
}

// The top-level windows, topmost first. EnumWindows asks the window server
// once more about every window (whether it still exists) under Wine; the
// desktop's own listing hands the list over as it is, but there also holds
// the message-only windows, which are no top-level windows and are left out.
std::vector<void*> topLevelWindows() {
  std::vector<void*> windows;
  if (!EnumDesktopWindows(nullptr, collectWindow, reinterpret_cast<LPARAM>(&windows))) {
    windows.clear();
    if (!EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&windows))) FW_TRACE_FAILURE("EnumWindows");
    return windows;
  }
  std::vector<void*> messageOnly;
  // Bounded: a chain broken by a window going away meanwhile ends early.
  for (HWND w = nullptr; messageOnly.size() < 4096 && (w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr));)
    messageOnly.push_back(w);
  return windowsWithout(windows, messageOnly);
}

// The window's process; within one listing learned a thread at a time.
DWORD processOf(HWND window, WindowOwners* owners) {
  if (owners)
    if (const uint32_t known = owners->known(window)) return known;
  DWORD processId = 0;
  const DWORD thread = GetWindowThreadProcessId(window, &processId);
  if (owners && owners->asked(thread, processId)) {
    std::vector<void*> windows;
    EnumThreadWindows(thread, collectWindow, reinterpret_cast<LPARAM>(&windows));
    owners->listed(processId, windows);
  }
  return processId;
}

}  // namespace

bool TaskList::entryFor(HWND bar, HWND window, bool detailed, TaskEntry& entry, WindowOwners* owners) {
  // Every question about another program's window is a trip to the window
  // server: each fact is read once, from the styles where they hold it, and a
  // window the list leaves out is left before the next fact is asked.
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  TaskCandidate candidate;
  candidate.alive = style != 0 || IsWindow(window) != FALSE;
  candidate.excluded = window == bar || (bar && window == GetWindow(bar, GW_OWNER));
  candidate.child = (style & WS_CHILD) != 0;
  candidate.systemMenu = (style & WS_SYSMENU) != 0;
  // Until the title is read, the styles decide alone.
  candidate.titled = true;
  if (!qualifiesForTaskList(candidate, detailed)) return false;
  std::wstring raw;
  LONG_PTR exStyle = 0;
  if (!detailed) {
    exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    candidate.toolWindow = (exStyle & WS_EX_TOOLWINDOW) && !(exStyle & WS_EX_APPWINDOW);
    if (!qualifiesForTaskList(candidate, false)) return false;
    candidate.owned = GetWindow(window, GW_OWNER) != nullptr;
    if (!qualifiesForTaskList(candidate, false)) return false;
    raw = rawTitleOf(window);
    candidate.titled = !raw.empty();
    if (!qualifiesForTaskList(candidate, false)) return false;
  }
  // The icon is asked when the entry is first shown (iconFor).
  entry.icon = nullptr;
  entry.window = window;
  entry.processId = processOf(window, owners);
  // A top-level window is visible, minimised and maximised exactly as its style says.
  entry.showState = !(style & WS_VISIBLE) ? 0 : (style & WS_MAXIMIZE) ? 3 : (style & WS_MINIMIZE) ? 2 : 1;
  if (!detailed) {
    entry.title = titleOf(window, raw, false);
    entry.topmost = (exStyle & WS_EX_TOPMOST) ? 1 : 0;
    return true;
  }
  // This program's own windows answer without a trip.
  if (entry.processId == GetCurrentProcessId()) {
    readFacts(entry);
  } else {
    m_unread.insert(window);
  }
  return true;
}

void TaskList::readFacts(TaskEntry& entry) {
  HWND window = static_cast<HWND>(entry.window);
  entry.title = titleOf(window, rawTitleOf(window), true);
  entry.topmost = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0;
  entry.details = detailsOf(window, entry.processId);
}

void TaskList::readShownFacts(int entry) {
  if (entry < 1 || static_cast<size_t>(entry) >= m_tasks.size()) return;
  TaskEntry& e = m_tasks[static_cast<size_t>(entry)];
  if (m_unread.erase(e.window) != 0) readFacts(e);
}

HICON TaskList::iconFor(int entry) {
  if (entry < 1 || static_cast<size_t>(entry) >= m_tasks.size()) return nullptr;
  readShownFacts(entry);
  TaskEntry& e = m_tasks[static_cast<size_t>(entry)];
  if (!e.icon) e.icon = iconOf(static_cast<HWND>(e.window), e.processId);
  return static_cast<HICON>(e.icon);
}

TaskList::~TaskList() {
  for (auto& [path, icon] : m_fileIcons)
    if (icon) DestroyIcon(icon);
}

HICON TaskList::iconOf(HWND window, DWORD processId) {
  if (HICON own = ownIconOf(window)) return own;
  // Its program file's first icon, read once per program; the system's
  // application icon when the file has none or cannot be read.
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

const std::wstring& TaskList::detailsOf(HWND window, DWORD processId) {
  auto known = m_detailsByProcess.find(processId);
  if (known != m_detailsByProcess.end()) return known->second;
  const ProcessDetails p = queryProcess(window);
  return m_detailsByProcess[processId] =
             taskDetailsLine(p.imagePath, processId, p.priorityName(), p.typeName);
}

void TaskList::refresh(HWND bar, bool detailed) {
  m_tasks.reset();
  m_unread.clear();
  // Process ids are reused: what was asked before the refresh is not kept.
  m_detailsByProcess.clear();
  m_iconByProcess.clear();
  WindowOwners owners;
  for (void* window : topLevelWindows()) {
    TaskEntry entry;
    if (entryFor(bar, static_cast<HWND>(window), detailed, entry, &owners)) m_tasks.add(std::move(entry));
  }
}

bool TaskList::report(HWND bar, HWND window, int code, bool detailed) {
  // Windows that vanished meanwhile are ignored, except for their removal.
  if (code != kTaskDestroyed && !IsWindow(window)) return false;
  TaskWindowFacts facts;
  if (code == kTaskDestroyed) {
    m_unread.erase(window);
  } else {
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
    if (!entryFor(bar, window, detailed, entry, nullptr)) return false;
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
