// Opening the options sheet, from the option command to the sheet painted,
// against a plain three-page property sheet of a minimal program in the same run.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/support/wine_timing.h"

namespace {

constexpr int kRuns = 15;

std::wstring binPath(const wchar_t* file) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  return path.substr(0, path.find_last_of(L'\\') + 1) + file;
}

bool waitFor(const std::function<bool()>& done, double timeoutMs) {
  const double start = benchsupport::nowMs();
  while (!done()) {
    if (benchsupport::nowMs() - start > timeoutMs) return false;
    Sleep(1);
  }
  return true;
}

struct Search {
  DWORD pid;
  const wchar_t* cls;
  bool needTabs;
  HWND found;
};

HWND topWindow(DWORD pid, const wchar_t* cls, bool needTabs) {
  Search s{pid, cls, needTabs, nullptr};
  EnumWindows(
      [](HWND w, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        wchar_t name[64] = {};
        GetWindowThreadProcessId(w, &owner);
        if (owner != s->pid || !GetClassNameW(w, name, 64) || lstrcmpW(name, s->cls) != 0) return TRUE;
        // The launcher's bar is the owned window of its class.
        if (!s->needTabs && lstrcmpW(name, L"Vorbin96_Class") == 0 && !GetWindow(w, GW_OWNER)) return TRUE;
        if (s->needTabs && (!IsWindowVisible(w) || !FindWindowExW(w, nullptr, WC_TABCONTROLW, nullptr)))
          return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// Shown and nothing left to paint on the sheet or its page.
bool painted(HWND sheet) {
  if (!IsWindowVisible(sheet)) return false;
  const auto page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  if (!page) return false;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(sheet, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
  return !GetUpdateRect(sheet, nullptr, FALSE) && !GetUpdateRect(page, nullptr, FALSE);
}

struct Program {
  PROCESS_INFORMATION pi{};
  bool start(const std::wstring& exe, const wchar_t* arguments = L"") {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    std::wstring line = L"\"" + exe + L"\" " + arguments;
    return CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) !=
           0;
  }
  void end(HWND w) {
    if (w) PostMessageW(w, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
};

// A program that opens a sheet on a message.
struct Subject {
  Program program;
  HWND window = nullptr;
  UINT message;
  WPARAM wParam;
  std::vector<double> times;

  bool start(const std::wstring& exe, const wchar_t* cls, bool launcher, const wchar_t* arguments = L"") {
    if (!program.start(exe, arguments)) return false;
    waitFor([&] { return (window = topWindow(program.pi.dwProcessId, cls, false)) != nullptr; }, 20000);
    WaitForInputIdle(program.pi.hProcess, 20000);
    if (launcher) {
      // The first-run questions, answered with Cancel.
      for (int i = 0; i < 4; ++i) {
        HWND q = nullptr;
        if (!waitFor([&] { return (q = topWindow(program.pi.dwProcessId, L"#32770", false)) != nullptr; },
                     1500))
          break;
        PostMessageW(q, WM_COMMAND, IDCANCEL, 0);
        waitFor([&] { return !IsWindow(q); }, 3000);
      }
    }
    return window != nullptr;
  }
  // Opens the sheet, waits for it painted and cancels it; false on time-out.
  bool run(bool keep) {
    const double t0 = benchsupport::nowMs();
    PostMessageW(window, message, wParam, 0);
    HWND sheet = nullptr;
    if (!waitFor(
            [&] {
              return (sheet = topWindow(program.pi.dwProcessId, L"#32770", true)) != nullptr &&
                     painted(sheet);
            },
            10000))
      return false;
    if (keep) times.push_back(benchsupport::nowMs() - t0);
    PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    PostMessageW(window, WM_NULL, 0, 0);  // the loop ends a cancelled sheet at its next message
    waitFor([&] { return !IsWindow(sheet); }, 5000);
    Sleep(50);
    return true;
  }
  double median() {
    if (times.empty()) return -1;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
  }
};

}  // namespace

int main() {
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Ornel\\vorbin96");
  Subject launcher{{}, nullptr, WM_SYSCOMMAND, 0x0080, {}};
  Subject minimal{{}, nullptr, WM_APP, 0, {}};
  Subject same{{}, nullptr, WM_APP, 0, {}};  // the launcher's own page templates, no code behind them
  if (!launcher.start(binPath(L"vorbin2k.exe"), L"Vorbin96_Class", true) ||
      !minimal.start(binPath(L"bench_minimal_sheet.exe"), L"VbMinimalSheetOwner", false))
    return 1;
  // The two minimal programs share a window class name; the second is found by its process.
  if (!same.start(binPath(L"bench_minimal_sheet.exe"), L"VbMinimalSheetOwner", false, L"templates")) return 1;
  Sleep(300);
  // Alternating runs share whatever else the machine is doing; the first of each warms up.
  for (int run = 0; run <= kRuns; ++run)
    if (!launcher.run(run > 0) || !minimal.run(run > 0) || !same.run(run > 0)) break;
  const double l = launcher.median(), m = minimal.median(), t = same.median();
  launcher.program.end(launcher.window);
  minimal.program.end(minimal.window);
  same.program.end(same.window);
  std::printf("%-34s launcher %8.1f ms  minimal %8.1f ms  ratio %5.2f\n", "option command to sheet painted",
              l, m, l / m);
  std::printf("%-34s launcher %8.1f ms  same pages %6.1f ms  ratio %5.2f\n", "... against its own templates", l,
              t, l / t);
  std::printf("Runs per figure: %d (median, alternating), after one warm-up run\n", kRuns);
  return l > 0 && m > 0 && t > 0 ? 0 : 1;
}
