// A second program for the hook library's Wine tests: it owns the windows
// whose changes and clicks the hooks must report to the test program.
//   hook_target sequence <sink>       create, show, minimise, maximise, restore,
//                                     retitle, re-icon and destroy a window
//   hook_target idle <sink> [topmost|carrier] [text...]  a window over the whole
//                                     screen until closed; with carrier, a press on it hands the
//                                     capture to a window of the drag-and-drop class
//   hook_target state <sink>          send the shared block back by WM_COPYDATA
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "tests/hook/hook_target.h"

namespace {

HWND g_sink;
HWND g_carrier;  // stands in for the window that carries a drag and drop

LRESULT CALLBACK carrierProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_LBUTTONUP) ReleaseCapture();
  return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK targetProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY && GetParent(hwnd) == nullptr) PostQuitMessage(0);
  if (msg == WM_LBUTTONDOWN && g_carrier) SetCapture(g_carrier);
  return DefWindowProcA(hwnd, msg, wp, lp);
}

void pump(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (GetTickCount() - start < ms);
}

struct ThreadCall {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

DWORD WINAPI sendFromThread(LPVOID p) {
  auto* c = static_cast<ThreadCall*>(p);
  SendMessageA(c->window, c->message, c->wParam, c->lParam);
  return 0;
}

// Sends a message to the window from another thread, as other programs do.
void sendFromOtherThread(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ThreadCall call{window, message, wParam, lParam};
  HANDLE thread = CreateThread(nullptr, 0, sendFromThread, &call, 0, nullptr);
  // The window's thread must keep answering while the other thread waits.
  while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) pump(0);
  CloseHandle(thread);
}

HWND createTop(DWORD style, DWORD exStyle, int x, int y, int w, int h) {
  return CreateWindowExA(exStyle, "HookTarget", "hook target", style, x, y, w, h, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

int runSequence() {
  HWND top = createTop(WS_OVERLAPPEDWINDOW, 0, 50, 50, 300, 200);
  PostMessageA(g_sink, hook_target::kMsgTopWindow, reinterpret_cast<WPARAM>(top), GetCurrentProcessId());
  pump(50);
  ShowWindow(top, SW_SHOWNORMAL);
  pump(50);
  ShowWindow(top, SW_MINIMIZE);
  pump(50);
  ShowWindow(top, SW_MAXIMIZE);
  pump(50);
  ShowWindow(top, SW_RESTORE);
  pump(50);
  SetWindowTextA(top, "set by its own thread");
  sendFromOtherThread(top, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("set from another thread"));
  pump(50);
  sendFromOtherThread(top, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadIconA(nullptr, IDI_WARNING)));
  pump(50);
  HWND child = CreateWindowExA(0, "HookTarget", "child", WS_CHILD | WS_VISIBLE, 0, 0, 40, 40, top, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  PostMessageA(g_sink, hook_target::kMsgChildWindow, reinterpret_cast<WPARAM>(child), 0);
  sendFromOtherThread(child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("child title"));
  ShowWindow(child, SW_HIDE);
  DestroyWindow(child);
  pump(50);
  DestroyWindow(top);
  pump(50);
  PostMessageA(g_sink, hook_target::kMsgDone, 0, 0);
  return 0;
}

int runIdle(bool topmost, bool carrier) {
  if (carrier) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = carrierProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "CLIPBRDWNDCLASS";
    RegisterClassA(&wc);
    g_carrier = CreateWindowExA(0, "CLIPBRDWNDCLASS", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                wc.hInstance, nullptr);
  }
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  HWND top = createTop(WS_POPUP | WS_VISIBLE, topmost ? WS_EX_TOPMOST : 0, 0, 0, w, h);
  pump(50);
  PostMessageA(g_sink, hook_target::kMsgTopWindow, reinterpret_cast<WPARAM>(top), GetCurrentProcessId());
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

int runState() {
  // The test program's build of the library: its shared block is the one the tests use.
  HMODULE hook = LoadLibraryA("Vorber2k_test.dll");
  if (!hook) return 2;
  using CopyFn = UINT(WINAPI*)(void*, UINT);
  using RectFn = void(WINAPI*)(const RECT*);
  auto copy =
      reinterpret_cast<CopyFn>(reinterpret_cast<void*>(GetProcAddress(hook, "CopySharedStateForTests")));
  auto setRect = reinterpret_cast<RectFn>(reinterpret_cast<void*>(GetProcAddress(hook, "SetCtrlRect")));
  if (!copy || !setRect) return 3;
  static char block[4096];
  const UINT size = copy(block, sizeof block);
  if (size > sizeof block) return 4;
  COPYDATASTRUCT data{hook_target::kCopyState, size, block};
  SendMessageA(g_sink, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  // Written here, read back by the test program.
  const RECT rc{11, 22, 33, 44};
  setRect(&rc);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 1;
  g_sink = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(argv[2], nullptr, 16)));
  WNDCLASSA wc{};
  wc.lpfnWndProc = targetProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "HookTarget";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  RegisterClassA(&wc);
  if (std::strcmp(argv[1], "sequence") == 0) return runSequence();
  if (std::strcmp(argv[1], "idle") == 0) {
    return runIdle(argc > 3 && std::strcmp(argv[3], "topmost") == 0,
                   argc > 3 && std::strcmp(argv[3], "carrier") == 0);
  }
  if (std::strcmp(argv[1], "state") == 0) return runState();
  return 1;
}
