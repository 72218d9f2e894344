// Time of building and painting the task list over 400 top-level windows of
// 10 programs, and of one task change (a retitle) taken into the list.
// Run by hand: scripts/wine-run.sh <build>/bin/tasks_bench.exe
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/support/wine_timing.h"

#include "launcher/app/launcher_app.h"
#include "launcher/bar/bar_window.h"
#include "launcher/bar/task_change.h"

namespace {

using benchsupport::perCallMs;

constexpr int kPrograms = 10;
constexpr int kWindowsEach = 40;

std::wstring besideMe(const wchar_t* file) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  return path.substr(0, path.find_last_of(L'\\') + 1) + file;
}

int victimWindows() {
  int n = 0;
  EnumWindows(
      [](HWND w, LPARAM count) -> BOOL {
        wchar_t name[32] = {};
        GetClassNameW(w, name, 32);
        if (lstrcmpW(name, L"VbTaskVictim") == 0 && IsWindowVisible(w)) ++*reinterpret_cast<int*>(count);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&n));
  return n;
}

}  // namespace

int main() {
  using namespace vorbin;
  std::vector<PROCESS_INFORMATION> programs;
  const std::wstring victim = besideMe(L"task_victim.exe");
  for (int i = 0; i < kPrograms; ++i) {
    std::wstring line = L"\"" + victim + L"\" /title:bench" + std::to_wstring(i) + L" /windows:" +
                        std::to_wstring(kWindowsEach);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      return 1;
    programs.push_back(pi);
  }
  for (int tries = 0; tries < 600 && victimWindows() < kPrograms * kWindowsEach; ++tries) Sleep(50);

  CLauncherApp::registerBarClass(GetModuleHandleW(nullptr));
  MemoryProfile profile;
  Settings settings;
  settings.positionX = settings.positionY = 10;
  settings.dispIconInTray = false;
  settings.dispTaskDetails = 1;  // every window listed, with its details line
  Colors colors = defaultColors();
  CmdHistory history;
  GroupTable groups(profile, ModelOptions{});
  groups.loadGroups();
  HWND owner = CreateWindowExW(WS_EX_TOOLWINDOW, kBarClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  CBarWindow bar(BarContext{settings, colors, profile, groups, history, true});
  if (!bar.createBar(owner, L"")) return 1;
  ShowWindow(bar.hwnd(), SW_SHOWNORMAL);
  bar.setTaskMode(true);
  UpdateWindow(bar.hwnd());

  const double build = perCallMs(20, [&] {
    bar.refreshTaskList();
    UpdateWindow(bar.hwnd());
  });
  // The listing alone: every window's styles and process; the titles, marks,
  // details and icons of the entries shown are read when they are painted
  // (part of the figure above).
  const double listing = perCallMs(20, [&] { bar.taskList().refresh(bar.hwnd(), true); });
  const size_t listed = bar.taskList().table().size() - 1;
  // One retitle report for a window in the middle of the list.
  HWND changed = static_cast<HWND>(bar.taskList().table()[listed / 2].window);
  const double report =
      perCallMs(200, [&] { bar.taskList().report(bar.hwnd(), changed, kTaskRetitled, true); });
  // The list part painted again after the change, as the bar does for a real one.
  const double reportAndPaint = perCallMs(50, [&] {
    bar.taskList().report(bar.hwnd(), changed, kTaskRetitled, true);
    bar.repaintContent();
    UpdateWindow(bar.hwnd());
  });
  std::printf("task list: %zu entries from %d programs (%d windows found)\n", listed, kPrograms,
              victimWindows());
  std::printf("build and paint the task list:      %.3f ms\n", build);
  std::printf("of which listing the windows:        %.3f ms\n", listing);
  std::printf("one task change into the list:      %.3f ms\n", report);
  std::printf("one task change and its repaint:    %.3f ms\n", reportAndPaint);
  DestroyWindow(bar.hwnd());
  DestroyWindow(owner);
  for (PROCESS_INFORMATION& pi : programs) {
    TerminateProcess(pi.hProcess, 0);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  return 0;
}
