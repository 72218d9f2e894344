// Helpers for end-to-end tests: start the real programs, find their windows,
// drive them with messages, seed and read the profile, capture pixels.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

inline constexpr wchar_t kProfileKey[] = L"Software\\Ornel\\vorbin96";
inline constexpr wchar_t kBarClass[] = L"Vorbin96_Class";

// Folder of the running test program; the programs under test sit beside it.
std::wstring binDir();
std::wstring binPath(const std::wstring& file);
// Folder for screenshots and other artefacts (created on demand).
std::wstring artifactDir();

// A process started by a test; killed at destruction if still running.
class Process {
 public:
  Process() = default;
  Process(Process&& o) noexcept;
  Process& operator=(Process&& o) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();

  // Starts program (a path) with the given arguments (may be empty).
  bool start(const std::wstring& program, const std::wstring& arguments = L"",
             int showCommand = SW_SHOWNORMAL);
  bool running() const;
  DWORD pid() const { return m_pi.dwProcessId; }
  HANDLE handle() const { return m_pi.hProcess; }
  // Waits for the exit; the exit code, or nothing on time-out.
  std::optional<DWORD> wait(DWORD timeoutMs);
  void kill();

 private:
  PROCESS_INFORMATION m_pi{};
};

// Starts vorbin2k.exe from the bin folder.
Process startLauncher(const std::wstring& arguments = L"", int showCommand = SW_SHOWNORMAL);

// Polls until a top-level window of the class (of process pid, 0 = any)
// exists and satisfies the flags; null on time-out.
enum WindowWait { kAnyWindow = 0, kVisible = 1, kOwned = 2 };
HWND waitForWindow(const wchar_t* className, DWORD pid, int flags, DWORD timeoutMs);
// The launcher's bar: the owned window of class Vorbin96_Class.
HWND waitForBar(DWORD pid, DWORD timeoutMs = 10000);
// Waits until pred() holds, pumping this thread's messages meanwhile.
template <class Pred>
bool waitUntil(Pred pred, DWORD timeoutMs);
void pumpFor(DWORD ms);
// True when the tests run under Wine (for checks that skip what Wine lacks).
bool runningUnderWine();

// Sends WM_CLOSE, waits for the exit, kills on time-out. True on a clean exit.
bool closeAndWait(Process& process, HWND window, DWORD timeoutMs = 10000);

// The launcher's profile under HKEY_CURRENT_USER.
namespace profile {
void clear();  // deletes the whole key
bool setString(const std::wstring& section, const std::wstring& name, const std::wstring& value);
bool setDword(const std::wstring& section, const std::wstring& name, DWORD value);
bool setBinary(const std::wstring& section, const std::wstring& name, const std::vector<uint8_t>& data);
std::optional<std::wstring> getString(const std::wstring& section, const std::wstring& name);
std::optional<DWORD> getDword(const std::wstring& section, const std::wstring& name);
std::optional<std::vector<uint8_t>> getBinary(const std::wstring& section, const std::wstring& name);
std::vector<std::wstring> valueNames(const std::wstring& section);
}  // namespace profile

// Pixels of a window as the screen shows them (BitBlt from the screen).
struct Capture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first
  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  COLORREF colorAt(int x, int y) const;
  bool saveBmp(const std::wstring& path) const;
};
std::optional<Capture> captureWindow(HWND window);
// Captures and saves <artifactDir>/<name>.bmp; returns the capture.
std::optional<Capture> captureToArtifact(HWND window, const std::wstring& name);

template <class Pred>
bool waitUntil(Pred pred, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (pred()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    pumpFor(20);
  }
}

}  // namespace e2e
