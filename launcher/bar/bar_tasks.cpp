// The bar's task list: refreshing it and following the hook library's
// reports, handed to the task list; the bar repaints.
#include "launcher/bar/bar_window.h"

namespace vorbin {

void CBarWindow::refreshTaskList() {
  m_tasks.refresh(m_hwnd, m_context.settings.dispTaskDetails != 0);
  if (taskMode()) m_tasks.setFirstRow(clampedTaskRow(m_tasks.firstRow(), m_tabArea.taskListShape()));
  repaintAll();
}

LRESULT CBarWindow::onHookTaskChange(WPARAM wParam, LPARAM lParam) {
  const bool changed = m_tasks.report(m_hwnd, reinterpret_cast<HWND>(wParam), static_cast<int>(lParam),
                                      m_context.settings.dispTaskDetails != 0);
  if (!changed || !taskMode()) return 0;
  // Windows that went away may leave the last rows shown empty.
  m_tasks.setFirstRow(clampedTaskRow(m_tasks.firstRow(), m_tabArea.taskListShape()));
  repaintAll();
  return 0;
}

}  // namespace vorbin
