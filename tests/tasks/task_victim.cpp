// A program for the task-list tests to act on: one top-level window, with
// options for its title, its priority, its shape and for stopping to answer.
//   /title:TEXT  /notitle  /priority:idle|high|above|below  /dialog (no
//   minimise box)  /maximized  /hangafter:MS  /windows:N (N windows, for
//   benchmarks) and any padding arguments.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kClass[] = L"VbTaskVictim";

LRESULT CALLBACK victimProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

std::wstring option(const wchar_t* line, const wchar_t* name) {
  const wchar_t* at = std::wcsstr(line, name);
  if (!at) return {};
  at += std::wcslen(name);
  const wchar_t* end = at;
  while (*end && *end != L' ') ++end;
  return std::wstring(at, end);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const wchar_t* line = GetCommandLineW();
  const std::wstring priority = option(line, L"/priority:");
  if (priority == L"idle") SetPriorityClass(GetCurrentProcess(), IDLE_PRIORITY_CLASS);
  if (priority == L"high") SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
  if (priority == L"above") SetPriorityClass(GetCurrentProcess(), ABOVE_NORMAL_PRIORITY_CLASS);
  if (priority == L"below") SetPriorityClass(GetCurrentProcess(), BELOW_NORMAL_PRIORITY_CLASS);

  WNDCLASSW wc{};
  wc.lpfnWndProc = victimProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClass;
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&wc);

  std::wstring title = option(line, L"/title:");
  if (title.empty()) title = L"task victim " + std::to_wstring(GetCurrentProcessId());
  if (std::wcsstr(line, L"/notitle")) title.clear();
  const DWORD style = std::wcsstr(line, L"/dialog") ? WS_POPUP | WS_CAPTION | WS_SYSMENU : WS_OVERLAPPEDWINDOW;
  HWND w = CreateWindowExW(0, kClass, title.c_str(), style, 100, 100, 300, 200, nullptr, nullptr, instance,
                           nullptr);
  if (!w) return 1;
  ShowWindow(w, std::wcsstr(line, L"/maximized") ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
  UpdateWindow(w);
  const int more = _wtoi(option(line, L"/windows:").c_str()) - 1;
  for (int k = 1; k <= more && k < 1000; ++k) {
    const std::wstring each = title + L" #" + std::to_wstring(k);
    HWND extra = CreateWindowExW(0, kClass, each.c_str(), style, 100 + k, 100 + k, 300, 200, nullptr, nullptr,
                                 instance, nullptr);
    ShowWindow(extra, SW_SHOWNOACTIVATE);
  }

  const std::wstring hang = option(line, L"/hangafter:");
  const DWORD hangAt = hang.empty() ? 0 : GetTickCount() + static_cast<DWORD>(_wtoi(hang.c_str()));
  MSG msg;
  for (;;) {
    if (hangAt && static_cast<LONG>(GetTickCount() - hangAt) >= 0) {
      // Stops answering for good; the test ends the process.
      Sleep(INFINITE);
    }
    if (hangAt) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) return 0;
        DispatchMessageW(&msg);
      }
      continue;
    }
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
