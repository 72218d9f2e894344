// A small program for the launch tests: it writes how it was started (command
// line, current folder, show command, its window) to the file named by
// VB_PROBE_OUT, keeps a window open until it is closed and remembers the hot
// key it is given.
#include <windows.h>

#include <string>

namespace {

WPARAM g_hotKey = 0;  // the last hot key the window was given

LRESULT CALLBACK probeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_SETHOTKEY:
      g_hotKey = wParam;
      break;
    case WM_GETHOTKEY:
      // Where the system keeps no window hot keys, answer with the one received.
      if (LRESULT held = DefWindowProcW(window, message, wParam, lParam)) return held;
      return static_cast<LRESULT>(g_hotKey);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  wchar_t outPath[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"VB_PROBE_OUT", outPath, MAX_PATH) == 0) return 2;

  WNDCLASSW wc = {};
  wc.lpfnWndProc = probeProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"VbLaunchProbe";
  RegisterClassW(&wc);
  HWND window = CreateWindowW(L"VbLaunchProbe", L"Launch probe", WS_OVERLAPPEDWINDOW, 10, 10, 200, 120,
                              nullptr, nullptr, instance, nullptr);
  // "/visible": a program that ignores the show mode it was given.
  const bool ignoreShow = std::wstring(GetCommandLineW()).find(L"/visible") != std::wstring::npos;
  ShowWindow(window, ignoreShow ? SW_SHOWNORMAL : showCommand);

  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  std::wstring report = std::wstring(GetCommandLineW()) + L"\n" + folder + L"\n" +
                        std::to_wstring(showCommand) + L"\n" +
                        std::to_wstring(reinterpret_cast<uintptr_t>(window)) + L"\n";
  // Written under a temporary name and renamed, so that a reader never sees half of it.
  const std::wstring temporary = std::wstring(outPath) + L".part";
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  WriteFile(file, report.data(), static_cast<DWORD>(report.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(file);
  MoveFileExW(temporary.c_str(), outPath, MOVEFILE_REPLACE_EXISTING);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
