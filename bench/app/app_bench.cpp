// Whole-program figures of the launcher under Wine, each against the minimal
// one-window program measured in the same run: start to a shown, painted and
// idle window (empty profile and 1,000 items), hot key to a shown and painted
// bar, and the working set once idle.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "launcher/model/group_table.h"
#include "launcher/model/registry_profile.h"

namespace {

constexpr int kRuns = 7;

double now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::wstring binPath(const wchar_t* file) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path);
  return p.substr(0, p.find_last_of(L'\\') + 1) + file;
}

// Polls done every pauseMs (0: as often as the scheduler lets us).
bool waitFor(const std::function<bool()>& done, double timeoutMs, DWORD pauseMs = 0) {
  const double start = now();
  while (!done()) {
    if (now() - start > timeoutMs) return false;
    Sleep(pauseMs);
  }
  return true;
}

struct Program {
  PROCESS_INFORMATION pi{};
  bool start(const std::wstring& exe, const wchar_t* arguments = L"") {
    std::wstring cmd = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    return CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != FALSE;
  }
  void end(HWND window) {
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
};

HWND ownedWindowOf(const wchar_t* cls, DWORD pid, bool owned) {
  struct S {
    const wchar_t* cls;
    DWORD pid;
    bool owned;
    HWND found;
  } s{cls, pid, owned, nullptr};
  EnumWindows(
      [](HWND w, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<S*>(data);
        wchar_t name[64];
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == s->pid && GetClassNameW(w, name, 64) && lstrcmpW(name, s->cls) == 0 &&
            (!s->owned || GetWindow(w, GW_OWNER))) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

COLORREF centrePixel(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  HDC screen = GetDC(nullptr);
  COLORREF c = GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ReleaseDC(nullptr, screen);
  return c;
}

bool shownAndPainted(HWND w, COLORREF colour) {
  return IsWindowVisible(w) && !IsIconic(w) && centrePixel(w) == colour;
}

struct StartFigures {
  double ms = 0;
  SIZE_T workingSet = 0, privateBytes = 0;
};

// Start to shown, painted and idle; the colour is learnt on the first run.
// The watcher itself must not load the machine: it waits on the program's
// idle event, then looks for the window and its pixel once a millisecond,
// and last sends the window a message that its thread must answer.
// (Polling without pause kept one of the two cores and the registry and
// window server busy, which slowed every program in proportion to its own
// requests to the server.)
// The pointer rests in the screen's bottom right corner, away from both
// programs' windows: a window that comes up under the pointer handles a
// hover the other would not.
void parkPointer() { SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1); }

StartFigures measureStart(const std::wstring& exe, const wchar_t* cls, bool owned, COLORREF& colour) {
  parkPointer();
  Program p;
  const double t0 = now();
  if (!p.start(exe)) return {};
  WaitForInputIdle(p.pi.hProcess, 20000);
  HWND w = nullptr;
  waitFor([&] { return (w = ownedWindowOf(cls, p.pi.dwProcessId, owned)) != nullptr; }, 20000, 1);
  if (colour == CLR_INVALID) {
    waitFor([&] { return IsWindowVisible(w) && !IsIconic(w); }, 20000, 1);
    Sleep(500);
    colour = centrePixel(w);
  }
  waitFor([&] { return shownAndPainted(w, colour); }, 20000, 1);
  {
    RECT r{};
    POINT at{};
    GetWindowRect(w, &r);
    GetCursorPos(&at);
    if (PtInRect(&r, at)) std::fprintf(stderr, "warning: the pointer rests on the window\n");
  }
  // The idle event may come from another thread of the program: the window's
  // own thread must answer too (it is then back in a message loop).
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer);
  StartFigures f;
  f.ms = now() - t0;
  Sleep(300);
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(p.pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
  f.workingSet = memory.WorkingSetSize;
  f.privateBytes = memory.PrivateUsage;
  // Dismiss the first-run questions, if any, so that closing is quick.
  for (int i = 0; i < 4; ++i) {
    HWND q = ownedWindowOf(L"#32770", p.pi.dwProcessId, false);
    if (!q) break;
    PostMessageW(q, WM_COMMAND, IDCANCEL, 0);
    Sleep(100);
  }
  p.end(w);
  return f;
}

void pressHotKey() {
  const BYTE keys[] = {VK_SHIFT, VK_CONTROL, VK_MENU, 'K'};
  for (BYTE k : keys) keybd_event(k, static_cast<BYTE>(MapVirtualKeyW(k, 0)), 0, 0);
  for (int i = 3; i >= 0; --i) keybd_event(keys[i], static_cast<BYTE>(MapVirtualKeyW(keys[i], 0)), KEYEVENTF_KEYUP, 0);
}

// Hot key to shown and painted, from the hidden state, median of the runs.
double measureHotKey(const std::wstring& exe, const wchar_t* cls, bool owned, const wchar_t* arguments = L"") {
  parkPointer();
  Program p;
  if (!p.start(exe, arguments)) return -1;
  HWND w = nullptr;
  waitFor([&] { return (w = ownedWindowOf(cls, p.pi.dwProcessId, owned)) != nullptr; }, 20000);
  waitFor([&] { return IsWindowVisible(w) && !IsIconic(w); }, 20000);
  WaitForInputIdle(p.pi.hProcess, 20000);
  for (int i = 0; i < 4; ++i) {
    HWND q = nullptr;
    if (!waitFor([&] { return (q = ownedWindowOf(L"#32770", p.pi.dwProcessId, false)) != nullptr; }, 300)) break;
    PostMessageW(q, WM_COMMAND, IDCANCEL, 0);
    waitFor([&] { return !IsWindow(q); }, 3000);
  }
  Sleep(300);
  const COLORREF colour = centrePixel(w);
  std::vector<double> times;
  for (int run = 0; run < kRuns; ++run) {
    SetForegroundWindow(w);
    Sleep(100);
    pressHotKey();
    waitFor([&] { return IsIconic(w) != FALSE; }, 5000);
    Sleep(200);
    const double t0 = now();
    pressHotKey();
    if (waitFor([&] { return shownAndPainted(w, colour); }, 5000)) times.push_back(now() - t0);
    Sleep(100);
  }
  p.end(w);
  if (times.empty()) return -1;
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void clearProfile() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Ornel\\vorbin96"); }

void seedItems(int count) {
  clearProfile();
  vorbin::RegistryProfile profile;
  vorbin::GroupTable groups(profile, vorbin::ModelOptions{});
  groups.loadGroups();
  const int perGroup = 100;
  for (int g = 0; g * perGroup < count; ++g) {
    std::wstring title = L"Group " + std::to_wstring(g + 1);
    auto index = groups.ensureGroup(static_cast<int>(groups.placeholderIndex()), &title, false);
    if (!index) return;
    for (int slot = 0; slot < perGroup && g * perGroup + slot < count; ++slot) {
      auto item = std::make_unique<vorbin::Item>();
      item->title = L"Item " + std::to_wstring(g * perGroup + slot);
      item->setTargetPath(L"C:\\windows\\notepad.exe");
      groups.placeItem(*index, slot, std::move(item));
      groups.saveItem(*index, slot, false);
    }
  }
  groups.saveOrder();
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? -1 : v[v.size() / 2];
}

void startRow(const char* name, int items) {
  const std::wstring launcher = binPath(L"vorbin2k.exe"), minimal = binPath(L"bench_minimal.exe");
  COLORREF launcherColour = CLR_INVALID, minimalColour = CLR_INVALID;
  std::vector<double> l, m;
  SIZE_T lws = 0, mws = 0, lpriv = 0, mpriv = 0;
  for (int run = 0; run <= kRuns; ++run) {
    if (items == 0) clearProfile();
    StartFigures a = measureStart(launcher, L"Vorbin96_Class", true, launcherColour);
    StartFigures b = measureStart(minimal, L"VbMinimalWindow", false, minimalColour);
    if (run == 0) continue;  // the first run only warms the caches and learns the colours
    l.push_back(a.ms);
    m.push_back(b.ms);
    lws = std::max(lws, a.workingSet);
    mws = std::max(mws, b.workingSet);
    lpriv = std::max(lpriv, a.privateBytes);
    mpriv = std::max(mpriv, b.privateBytes);
  }
  const double lm = median(l), mm = median(m);
  std::printf("%-34s launcher %8.1f ms  minimal %8.1f ms  ratio %5.2f\n", name, lm, mm, lm / mm);
  std::printf("%-34s launcher %8.1f MiB minimal %8.1f MiB difference %6.1f MiB (private %6.1f / %6.1f MiB)\n",
              "  working set when idle", lws / 1048576.0, mws / 1048576.0, (double(lws) - double(mws)) / 1048576.0,
              lpriv / 1048576.0, mpriv / 1048576.0);
}

}  // namespace

int main(int argc, char** argv) {
  // "/seed N" only writes a profile of N items (for tracing a start by hand).
  if (argc == 3 && std::strcmp(argv[1], "/seed") == 0) {
    seedItems(std::atoi(argv[2]));
    return 0;
  }
  std::printf("Runs per figure: %d (median), after one warm-up run\n", kRuns);
  startRow("start to bar shown and idle, empty", 0);
  seedItems(1000);
  startRow("start to bar shown and idle, 1000", 1000);
  clearProfile();
  const double l = measureHotKey(binPath(L"vorbin2k.exe"), L"Vorbin96_Class", true);
  const double m = measureHotKey(binPath(L"bench_minimal.exe"), L"VbMinimalWindow", false);
  const double b = measureHotKey(binPath(L"bench_minimal.exe"), L"VbMinimalWindow", true, L"/bar");
  std::printf("%-34s launcher %8.1f ms  minimal %8.1f ms  ratio %5.2f\n", "hot key to bar shown and painted", l, m,
              l / m);
  std::printf("%-34s minimal with the bar's window attributes %8.1f ms  ratio %5.2f\n", "", b, l / b);
  clearProfile();
  return 0;
}
