// Whole-program figures under Wine, each against the minimal reference
// program measured in the same run: start to window shown and idle, show
// latency (hot key to shown and painted), working set after start.
//   bench_wine_programs.exe [runs]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Program {
  const wchar_t* label;
  std::wstring path;
  const wchar_t* windowClass;
  bool isLauncher;
};

double now() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

std::wstring binDir() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L"\\/") + 1);
}

struct Find {
  DWORD pid;
  const wchar_t* cls;
  HWND found;
};

HWND findWindowOf(DWORD pid, const wchar_t* cls, bool visibleOnly) {
  Find f{pid, cls, nullptr};
  auto proc = [](HWND h, LPARAM lp) -> BOOL {
    auto* f = reinterpret_cast<Find*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    wchar_t name[64];
    if (owner == f->pid && GetClassNameW(h, name, 64) && lstrcmpW(name, f->cls) == 0 &&
        (lstrcmpW(f->cls, L"Vorbin96_Class") != 0 || GetWindow(h, GW_OWNER))) {
      f->found = h;
      return FALSE;
    }
    return TRUE;
  };
  EnumWindows(proc, reinterpret_cast<LPARAM>(&f));
  if (f.found && visibleOnly && !IsWindowVisible(f.found)) return nullptr;
  return f.found;
}

struct Started {
  PROCESS_INFORMATION pi{};
  HWND window = nullptr;
  double seconds = 0;
};

Started start(const Program& p) {
  Started s;
  if (p.isLauncher) RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Ornel\\vorbin96");
  std::wstring cmd = L"\"" + p.path + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  double t0 = now();
  if (!CreateProcessW(p.path.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, binDir().c_str(), &si,
                      &s.pi))
    return s;
  for (int i = 0; i < 3000 && !s.window; ++i) {
    s.window = findWindowOf(s.pi.dwProcessId, p.windowClass, true);
    if (!s.window) Sleep(2);
  }
  WaitForInputIdle(s.pi.hProcess, 10000);
  s.seconds = now() - t0;
  return s;
}

void stop(Started& s) {
  if (!s.pi.hProcess) return;
  if (s.window) PostMessageW(s.window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(s.pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(s.pi.hProcess, 1);
  CloseHandle(s.pi.hProcess);
  CloseHandle(s.pi.hThread);
  s = {};
}

double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Figures {
  double startSeconds = 0, showSeconds = 0;
  double workingSetMiB = 0;
  bool ok = false;
};

Figures measure(const Program& p, int runs) {
  Figures f;
  std::vector<double> starts, shows;
  SIZE_T workingSet = 0;
  for (int r = 0; r < runs; ++r) {
    Started s = start(p);
    if (!s.window) {
      fwprintf(stderr, L"%ls: no window\n", p.label);
      stop(s);
      return f;
    }
    starts.push_back(s.seconds);
    if (r == 0) {
      Sleep(500);
      PROCESS_MEMORY_COUNTERS pmc{};
      pmc.cb = sizeof(pmc);
      if (GetProcessMemoryInfo(s.pi.hProcess, &pmc, sizeof(pmc))) workingSet = pmc.WorkingSetSize;
      // Show latency: hidden, then the hot key (or its counterpart) until shown and painted.
      for (int i = 0; i < 20; ++i) {
        ShowWindow(s.window, SW_HIDE);
        double t0 = now();
        if (p.isLauncher)
          SendMessageW(s.window, WM_HOTKEY, 0, 0);
        else
          SendMessageW(s.window, WM_APP, 0, 0);
        UpdateWindow(s.window);
        double t1 = now();
        if (IsWindowVisible(s.window)) shows.push_back(t1 - t0);
      }
    }
    stop(s);
  }
  f.startSeconds = median(starts);
  f.showSeconds = median(shows);
  f.workingSetMiB = static_cast<double>(workingSet) / (1024.0 * 1024.0);
  f.ok = !shows.empty();
  return f;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int runs = argc > 1 ? _wtoi(argv[1]) : 7;
  if (runs < 1) runs = 1;
  std::wstring dir = binDir();
  Program minimal{L"minimal window", dir + L"bench_minimal_window.exe", L"VorbinBenchMinimal", false};
  Program launcher{L"vorbin2k (empty profile)", dir + L"vorbin2k.exe", L"Vorbin96_Class", true};
  Figures ref = measure(minimal, runs);
  Figures bar = measure(launcher, runs);
  wprintf(L"%-28ls %12ls %14ls %14ls\n", L"program", L"start (ms)", L"show (us)", L"working set");
  for (auto [label, f] : {std::pair{minimal.label, ref}, std::pair{launcher.label, bar}}) {
    wprintf(L"%-28ls %12.1f %14.1f %11.1f MiB%ls\n", label, f.startSeconds * 1e3, f.showSeconds * 1e6,
            f.workingSetMiB, f.ok ? L"" : L"  (incomplete)");
  }
  if (ref.ok && bar.ok && ref.startSeconds > 0 && ref.showSeconds > 0) {
    wprintf(L"ratios: start %.2fx (goal <= 1.5x), show %.2fx (goal <= 1.2x), working set +%.1f MiB (goal <= +8)\n",
            bar.startSeconds / ref.startSeconds, bar.showSeconds / ref.showSeconds,
            bar.workingSetMiB - ref.workingSetMiB);
  }
  return ref.ok && bar.ok ? 0 : 1;
}
