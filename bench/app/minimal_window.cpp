// The reference program of the start-up benchmarks: one window, painted with
// one brush, shown and hidden by the same hot key as the launcher's bar.
// With "/bar" the window takes the bar's window attributes (a hidden owner,
// the bar's styles and size, a rounded window region, parked far off screen
// while minimized as Windows does with minimized windows, brought to the
// foreground when shown), so that what Wine itself costs for such a window
// can be told apart from what the launcher's own code costs. Parked, a
// window has nothing left to show when it comes back until it has painted.
#include <windows.h>

namespace {

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      HBRUSH brush = CreateSolidBrush(RGB(0, 128, 192));
      FillRect(dc, &ps.rcPaint, brush);
      DeleteObject(brush);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_HOTKEY:
      ShowWindow(hwnd, IsIconic(hwnd) ? SW_RESTORE : SW_MINIMIZE);
      if (!IsIconic(hwnd) && GetWindow(hwnd, GW_OWNER)) SetForegroundWindow(hwnd);
      return 0;
    case WM_WINDOWPOSCHANGING:
      if (GetWindow(hwnd, GW_OWNER) && IsIconic(hwnd)) {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(pos->flags & SWP_NOMOVE)) pos->x = pos->y = -32000;
      }
      break;
    case WM_DESTROY:
      if (!GetWindow(hwnd, GW_OWNER) && GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return 0;
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int showCommand) {
  const bool likeBar = arguments && wcsstr(arguments, L"/bar") != nullptr;
  WNDCLASSW wc{};
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"VbMinimalWindow";
  RegisterClassW(&wc);
  HWND owner = likeBar ? CreateWindowExW(WS_EX_TOOLWINDOW, L"VbMinimalWindow", L"", WS_POPUP, 0, 0, 0, 0,
                                         nullptr, nullptr, instance, nullptr)
                       : nullptr;
  const DWORD style = likeBar ? WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MAXIMIZEBOX : WS_POPUP;
  HWND hwnd =
      CreateWindowExW(likeBar ? WS_EX_CONTEXTHELP : 0, L"VbMinimalWindow", L"minimal", style, 100, 100,
                      likeBar ? 468 : 280, likeBar ? 309 : 360, owner, nullptr, instance, nullptr);
  if (likeBar) SetWindowRgn(hwnd, CreateRoundRectRgn(0, 0, 469, 310, 24, 24), TRUE);
  RegisterHotKey(hwnd, 0, MOD_SHIFT | MOD_CONTROL | MOD_ALT, 'K');
  ShowWindow(hwnd, showCommand);
  UpdateWindow(hwnd);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
