// The bar's task list: enumerating the top-level windows and following the
// hook library's reports about them.
#include "launcher/bar/bar_window.h"

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

std::wstring titleOf(HWND window) {
  wchar_t title[256] = {};
  // Reads the stored text: no message reaches a window that may hang.
  InternalGetWindowText(window, title, 256);
  return title;
}

}  // namespace

bool CBarWindow::taskEntryFor(HWND window, TaskEntry& entry) const {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  TaskCandidate candidate;
  candidate.alive = IsWindow(window) != FALSE;
  candidate.excluded = window == m_hwnd || window == GetWindow(m_hwnd, GW_OWNER);
  candidate.child = (style & WS_CHILD) != 0;
  candidate.systemMenu = (style & WS_SYSMENU) != 0;
  candidate.owned = GetWindow(window, GW_OWNER) != nullptr;
  entry.title = titleOf(window);
  candidate.titled = !entry.title.empty();
  const bool detailed = m_context.settings.dispTaskDetails != 0;
  if (!qualifiesForTaskList(candidate, detailed)) return false;
  HICON icon = iconOf(window);
  if (!icon && !detailed) return false;
  entry.icon = icon ? icon : LoadIconW(nullptr, IDI_APPLICATION);
  entry.window = window;
  entry.showState = !IsWindowVisible(window) ? 0 : IsZoomed(window) ? 3 : IsIconic(window) ? 2 : 1;
  entry.topmost = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0;
  return true;
}

void CBarWindow::refreshTaskList() {
  m_tasks.reset();
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* bar = reinterpret_cast<CBarWindow*>(data);
        TaskEntry entry;
        if (bar->taskEntryFor(window, entry)) bar->m_tasks.add(std::move(entry));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(this));
  repaintAll();
}

LRESULT CBarWindow::onHookTaskChange(WPARAM wParam, LPARAM lParam) {
  HWND window = reinterpret_cast<HWND>(wParam);
  const int code = static_cast<int>(lParam);
  // Windows that vanished meanwhile are ignored, except for their removal.
  if (code != kTaskDestroyed && !IsWindow(window)) return 0;
  TaskWindowFacts facts;
  if (code != kTaskDestroyed) {
    facts.visible = IsWindowVisible(window) != FALSE;
    facts.maximized = IsZoomed(window) != FALSE;
    facts.topmost = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (code == kTaskRetitled) facts.title = titleOf(window);
    if (code == kTaskNewIcon) facts.icon = iconOf(window);
  }
  TaskChange change = applyTaskChange(m_tasks, window, code, facts);
  if (change == TaskChange::NotListed) {
    TaskEntry entry;
    if (!taskEntryFor(window, entry)) return 0;
    m_tasks.add(std::move(entry));
  } else if (change == TaskChange::None) {
    return 0;
  }
  if (taskMode()) repaintAll();
  return 0;
}

}  // namespace vorbin
