// A stand-in web browser for the thumbnail tests: a framed window with an
// address field and a page pane (class "Shell DocObject View") painted in
// four known colours. Arguments: address, pane width, pane height, then
// "min" to start minimised. A posted WM_APP makes it stop answering for
// lParam milliseconds.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>

namespace {

constexpr COLORREF kQuadrants[4] = {RGB(220, 30, 30), RGB(30, 200, 40), RGB(30, 40, 210), RGB(240, 220, 30)};

LRESULT CALLBACK paneProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT c;
    GetClientRect(hwnd, &c);
    const int mx = c.right / 2, my = c.bottom / 2;
    const RECT parts[4] = {{0, 0, mx, my}, {mx, 0, c.right, my}, {0, my, mx, c.bottom}, {mx, my, c.right, c.bottom}};
    for (int i = 0; i < 4; ++i) {
      HBRUSH b = CreateSolidBrush(kQuadrants[i]);
      FillRect(dc, &parts[i], b);
      DeleteObject(b);
    }
    EndPaint(hwnd, &ps);
    return 0;
  }
  if (msg == WM_ERASEBKGND) return 1;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK frameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_APP) {
    Sleep(static_cast<DWORD>(lParam));
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 4) return 2;
  const std::wstring address = argv[1];
  const int paneW = _wtoi(argv[2]), paneH = _wtoi(argv[3]);
  const bool minimised = argc > 4 && std::wstring(argv[4]) == L"min";

  WNDCLASSW frame{};
  frame.lpfnWndProc = frameProc;
  frame.hInstance = instance;
  frame.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  frame.lpszClassName = L"ThumbTestBrowser";
  RegisterClassW(&frame);
  WNDCLASSW pane{};
  pane.lpfnWndProc = paneProc;
  pane.hInstance = instance;
  pane.lpszClassName = L"Shell DocObject View";
  RegisterClassW(&pane);

  RECT outer{0, 0, paneW + 8, paneH + 40};
  AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
  HWND top = CreateWindowExW(0, L"ThumbTestBrowser", L"Test browser", WS_OVERLAPPEDWINDOW, 60, 50,
                             outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
  CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", address.c_str(), WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 4, 4,
                  paneW, 24, top, nullptr, instance, nullptr);
  CreateWindowExW(0, L"Shell DocObject View", L"", WS_CHILD | WS_VISIBLE, 4, 34, paneW, paneH, top, nullptr, instance,
                  nullptr);
  ShowWindow(top, minimised ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL);
  UpdateWindow(top);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
