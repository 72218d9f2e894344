// Driving the running launcher from a test.
#include "tests/app/launcher_driver.h"

#include <prsht.h>

#include <cwchar>

namespace driver {

namespace {

struct DialogSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK findDialogProc(HWND w, LPARAM data) {
  auto* s = reinterpret_cast<DialogSearch*>(data);
  wchar_t cls[16];
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == s->pid && IsWindowVisible(w) && GetClassNameW(w, cls, 16) && lstrcmpW(cls, L"#32770") == 0) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK longestStatic(HWND w, LPARAM data) {
  auto* best = reinterpret_cast<std::wstring*>(data);
  wchar_t cls[16];
  if (GetClassNameW(w, cls, 16) && lstrcmpiW(cls, L"Static") == 0) {
    std::wstring text = windowText(w);
    if (text.size() > best->size()) *best = text;
  }
  return TRUE;
}

}  // namespace

HWND findDialog(DWORD pid) {
  DialogSearch s{pid, nullptr};
  EnumWindows(findDialogProc, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND findSheet(DWORD pid) {
  DialogSearch s{pid, nullptr};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<DialogSearch*>(p);
        wchar_t cls[16] = {};
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == s->pid && IsWindowVisible(w) && GetClassNameW(w, cls, 16) && !wcscmp(cls, L"#32770") &&
            SendMessageW(w, PSM_GETCURRENTPAGEHWND, 0, 0)) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::wstring windowText(HWND window) {
  wchar_t text[1024] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  return text;
}

std::wstring dialogMessage(HWND dialog) {
  std::wstring best;
  EnumChildWindows(dialog, longestStatic, reinterpret_cast<LPARAM>(&best));
  return best;
}

std::optional<std::wstring> answerDialog(DWORD pid, int button, DWORD timeoutMs) {
  HWND dialog = nullptr;
  if (!e2e::waitUntil([&] { return (dialog = findDialog(pid)) != nullptr; }, timeoutMs)) return std::nullopt;
  e2e::pumpFor(50);
  std::wstring message = dialogMessage(dialog);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  e2e::waitUntil([&] { return !IsWindow(dialog); }, 5000);
  return message;
}

std::vector<std::wstring> libraryStrings(unsigned id) {
  std::vector<std::wstring> out;
  for (const wchar_t* name : {L"Vorbr2ke.dll", L"Vorbr2kj.dll"}) {
    HMODULE lib = LoadLibraryExW(e2e::binPath(name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    wchar_t text[512] = {};
    if (lib) {
      LoadStringW(lib, id, text, 512);
      FreeLibrary(lib);
    }
    out.emplace_back(text);
  }
  return out;
}

bool cancelFirstRunQuestions(DWORD pid) {
  for (int i = 0; i < 4; ++i) {
    if (!answerDialog(pid, IDCANCEL)) return false;
  }
  return true;
}

HWND startBarInFront(e2e::Process& launcher) {
  launcher = e2e::startLauncher();
  HWND bar = e2e::waitForBar(launcher.pid());
  if (!bar) return nullptr;
  for (int i = 0; i < 6 && answerDialog(launcher.pid(), IDCANCEL, 3000); ++i) {
  }
  if (!e2e::waitUntil([&] { return shown(bar); }, 5000)) return nullptr;
  SetWindowPos(bar, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  e2e::pumpFor(300);
  return bar;
}

void clickAt(POINT at, DWORD down, DWORD up) {
  SetCursorPos(at.x, at.y);
  e2e::waitUntil(
      [&] {
        POINT p;
        return GetCursorPos(&p) && p.x == at.x && p.y == at.y;
      },
      1000);
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = down;
  in[1].mi.dwFlags = up;
  SendInput(1, &in[0], sizeof(INPUT));
  e2e::pumpFor(60);
  SendInput(1, &in[1], sizeof(INPUT));
  e2e::pumpFor(100);
}

void tapKey(WORD key) {
  keybd_event(static_cast<BYTE>(key), static_cast<BYTE>(MapVirtualKeyW(key, 0)), 0, 0);
  keybd_event(static_cast<BYTE>(key), static_cast<BYTE>(MapVirtualKeyW(key, 0)), KEYEVENTF_KEYUP, 0);
  e2e::pumpFor(150);
}

void pressBarHotKey() {
  const BYTE keys[] = {VK_SHIFT, VK_CONTROL, VK_MENU, 'K'};
  for (BYTE k : keys) keybd_event(k, static_cast<BYTE>(MapVirtualKeyW(k, 0)), 0, 0);
  for (int i = 3; i >= 0; --i)
    keybd_event(keys[i], static_cast<BYTE>(MapVirtualKeyW(keys[i], 0)), KEYEVENTF_KEYUP, 0);
  e2e::pumpFor(50);
}

bool bringToFront(HWND window) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    SetForegroundWindow(window);
    if (e2e::waitUntil([&] { return GetForegroundWindow() == window; }, 500)) return true;
  }
  return false;
}

bool shown(HWND bar) { return IsWindowVisible(bar) && !IsIconic(bar); }
bool hidden(HWND bar) { return !IsWindowVisible(bar) || IsIconic(bar); }

TestWindow::TestWindow(int x, int y, int width, int height) {
  // A class of its own: a static control would let the mouse through.
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"vb_test_window";
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  m_hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"vb_test_window", L"test window", WS_POPUP | WS_VISIBLE, x, y,
                           width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  e2e::pumpFor(50);
}

TestWindow::~TestWindow() {
  if (m_hwnd) DestroyWindow(m_hwnd);
}

}  // namespace driver
