// Helper of scripts/screenshots.sh (the README's pictures), run under Wine:
//   readme_seed.exe seed "[CreateGroup(..)][AddItem(..)]" ...
//     starts the launcher on the profile as it is (the script empties it
//     and leaves the settings the pictures need), answers its first-run
//     questions with Cancel, sends each argument to its bar as a Program
//     Manager DDE execute string (so every button is made by the launcher
//     itself, with the picture it builds from the target) and closes it.
//   readme_seed.exe close
//     closes the running launcher through its bar and waits for it to end.
// Exit code 0 when everything was accepted.
#include <windows.h>

#include <dde.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/app/launcher_driver.h"
#include "tests/support/e2e.h"

namespace {

// A Program Manager conversation with the bar. The bar answers only an
// initiate sent to it by name of its window (a broadcast one is left to the
// system's Program Manager unless the bar is the shell), so the conversation
// is held with raw DDE messages rather than the management library, which
// only broadcasts.
class BarConversation {
 public:
  explicit BarConversation(HWND bar) : m_bar(bar) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VbReadmeSeedClient";
    RegisterClassW(&wc);
    m_window = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (!m_window) return;
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const ATOM name = GlobalAddAtomW(L"PROGMAN");
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(m_bar, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(m_window), MAKELPARAM(name, name),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
    GlobalDeleteAtom(name);
  }
  ~BarConversation() {
    if (m_connected) PostMessageW(m_bar, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(m_window), 0);
    e2e::pumpFor(100);
    if (m_window) DestroyWindow(m_window);
  }
  bool connected() const { return m_connected; }

  // One execute string; true when the bar acknowledged it positively.
  bool execute(const std::wstring& text) {
    const SIZE_T size = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    if (!block) return false;
    CopyMemory(GlobalLock(block), text.c_str(), size);
    GlobalUnlock(block);
    m_answered = false;
    m_positive = false;
    PostMessageW(m_bar, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(m_window), reinterpret_cast<LPARAM>(block));
    // Adding reads every target's picture: give it time.
    e2e::waitUntil([this] { return m_answered; }, 60000);
    GlobalFree(block);
    return m_positive;
  }

 private:
  static LRESULT CALLBACK windowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<BarConversation*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (msg != WM_DDE_ACK || !self) return DefWindowProcW(window, msg, wParam, lParam);
    if (InSendMessage()) {
      // The answer to the initiate: its atoms are the receiver's to delete.
      self->m_connected |= reinterpret_cast<HWND>(wParam) == self->m_bar;
      GlobalDeleteAtom(LOWORD(lParam));
      GlobalDeleteAtom(HIWORD(lParam));
    } else {
      UINT_PTR status = 0, block = 0;
      UnpackDDElParam(WM_DDE_ACK, lParam, &status, &block);
      FreeDDElParam(WM_DDE_ACK, lParam);
      self->m_positive = (status & 0x8000) != 0;
      self->m_answered = true;
    }
    return 0;
  }

  HWND m_bar;
  HWND m_window = nullptr;
  bool m_connected = false;
  bool m_answered = false;
  bool m_positive = false;
};

int seed(const std::vector<std::wstring>& commands) {
  e2e::Process launcher = e2e::startLauncher(L"/nologo");
  HWND bar = e2e::waitForBar(launcher.pid(), 30000);
  if (!bar) {
    std::fprintf(stderr, "readme_seed: the bar did not appear\n");
    return 1;
  }
  while (driver::answerDialog(launcher.pid(), IDCANCEL, 3000)) {
  }
  int status = 0;
  {
    BarConversation conversation(bar);
    if (!conversation.connected()) {
      std::fprintf(stderr, "readme_seed: the bar did not answer the DDE initiate\n");
      e2e::closeAndWait(launcher, bar);
      return 1;
    }
    for (const std::wstring& command : commands) {
      if (!conversation.execute(command)) {
        std::fprintf(stderr, "readme_seed: refused: %ls\n", command.c_str());
        status = 1;
      }
    }
  }
  if (!e2e::closeAndWait(launcher, bar, 20000)) {
    std::fprintf(stderr, "readme_seed: the launcher had to be killed\n");
    status = 1;
  }
  return status;
}

int close() {
  HWND bar = nullptr;
  // The bar is the owned window of the class (its owner has the same class).
  for (HWND w = FindWindowExW(nullptr, nullptr, e2e::kBarClass, nullptr); w;
       w = FindWindowExW(nullptr, w, e2e::kBarClass, nullptr))
    if (GetWindow(w, GW_OWNER)) bar = w;
  if (!bar) return 0;
  DWORD pid = 0;
  GetWindowThreadProcessId(bar, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
  PostMessageW(bar, WM_CLOSE, 0, 0);
  if (!process) return 1;
  int status = 0;
  if (WaitForSingleObject(process, 20000) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "readme_seed: the launcher did not end; killed\n");
    TerminateProcess(process, 1);
    status = 1;
  }
  CloseHandle(process);
  return status;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (mode == L"seed") return seed(std::vector<std::wstring>(argv + 2, argv + argc));
  if (mode == L"close") return close();
  std::fprintf(stderr, "usage: readme_seed seed \"[DDE commands]\"... | close\n");
  return 2;
}
