// Task commands, minimise-all, cascade and tile on real windows.
#include "launcher/bar/task_commands_win.h"

#include <algorithm>

#include "framework/trace.h"
#include "hook/vorber2k.h"
#include "launcher/interact/apply_show_state.h"
#include "launcher/interact/task_commands.h"

namespace vorbin {

namespace {

bool ownThread(HWND window) { return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId(); }

// Position changes for another thread's window are posted to it.
UINT asyncFor(HWND window) { return ownThread(window) ? 0 : SWP_ASYNCWINDOWPOS; }

void showWithoutWaiting(HWND window, int command) {
  if (ownThread(window)) {
    ShowWindow(window, command);
  } else {
    ShowWindowAsync(window, command);
  }
}

}  // namespace

bool windowAnswers(HWND window, UINT timeoutMs) {
  if (!IsWindow(window)) return false;
  if (ownThread(window)) return true;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

TaskCommandResult runTaskWindowCommand(HWND window, int command, bool detailed) {
  TaskCommandResult r;
  // The list may be older than the window's end.
  if (!IsWindow(window)) {
    MessageBeep(MB_OK);
    return r;
  }
  const TaskCommandSteps steps = taskCommandSteps(command);
  if (steps.foreground) SetForegroundWindow(window);
  if (steps.showCommand >= 0)
    applyShowState(window, {0, steps.showCommand, IsWindowVisible(window) != FALSE, detailed});
  if (steps.toTop)
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | asyncFor(window));
  if (steps.pin != 0 &&
      !SetWindowPos(window, steps.pin > 0 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                    SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | asyncFor(window)))
    FW_TRACE_FAILURE("SetWindowPos");
  if (steps.close && !PostMessageW(window, WM_CLOSE, 0, 0)) FW_TRACE_FAILURE("PostMessageW");
  r.acted = true;
  r.hidesBar = steps.hidesBar;
  return r;
}

void minimiseAllWindows(HWND bar) {
  SetAnimate(FALSE);
  minimiseAll(bar);
  SetAnimate(TRUE);
}

Rect barWorkArea(HWND bar) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromWindow(bar, MONITOR_DEFAULTTONEAREST), &info)) {
    FW_TRACE_FAILURE("GetMonitorInfoW");
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  }
  return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

ArrangeOutcome arrangeWindows(HWND bar, const std::vector<HWND>& windows, const ArrangeLayout& layout) {
  ArrangeOutcome out;
  std::vector<HWND> usable;
  for (HWND w : windows) {
    if (w && w != bar && windowAnswers(w)) {
      usable.push_back(w);
    } else {
      ++out.skipped;
    }
  }
  if (usable.empty()) return out;

  // Other maximised windows would cover the arrangement: out of the way
  // while it is made. Hung ones are left alone, as they could not be asked.
  struct Hide {
    HWND bar;
    HWND owner;
    const std::vector<HWND>* usable;
    std::vector<HWND> hidden;
  } hide{bar, GetWindow(bar, GW_OWNER), &usable, {}};
  EnumWindows(
      [](HWND w, LPARAM data) -> BOOL {
        auto* h = reinterpret_cast<Hide*>(data);
        if (w == h->bar || w == h->owner || !IsWindowVisible(w) || !IsZoomed(w)) return TRUE;
        if (std::find(h->usable->begin(), h->usable->end(), w) != h->usable->end()) return TRUE;
        if (!windowAnswers(w, 100)) return TRUE;
        h->hidden.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&hide));
  for (HWND w : hide.hidden) showWithoutWaiting(w, SW_HIDE);

  const std::vector<Rect> rects = layout(usable.size());
  for (size_t i = 0; i < usable.size() && i < rects.size(); ++i) {
    HWND w = usable[i];
    if (IsIconic(w) || IsZoomed(w)) showWithoutWaiting(w, SW_SHOWNORMAL);
    const Rect& r = rects[i];
    if (!SetWindowPos(w, nullptr, r.left, r.top, r.width(), r.height(),
                      SWP_NOZORDER | SWP_NOACTIVATE | asyncFor(w)))
      FW_TRACE_FAILURE("SetWindowPos");
    ++out.moved;
  }

  for (HWND w : hide.hidden) showWithoutWaiting(w, SW_SHOWNA);
  for (auto it = usable.rbegin(); it != usable.rend(); ++it) {
    SetWindowPos(*it, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | asyncFor(*it));
    SetForegroundWindow(*it);
  }
  return out;
}

}  // namespace vorbin
