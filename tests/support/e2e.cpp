// End-to-end test helpers.
#include "tests/support/e2e.h"

#include <utility>

namespace e2e {

std::wstring binDir() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L"\\/") + 1);
}

std::wstring binPath(const std::wstring& file) { return binDir() + file; }

std::wstring artifactDir() {
  std::wstring dir = binDir() + L"..\\artifacts\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

Process::Process(Process&& o) noexcept : m_pi(std::exchange(o.m_pi, PROCESS_INFORMATION{})) {}

Process& Process::operator=(Process&& o) noexcept {
  if (this != &o) {
    kill();
    m_pi = std::exchange(o.m_pi, PROCESS_INFORMATION{});
  }
  return *this;
}

Process::~Process() { kill(); }

bool Process::start(const std::wstring& program, const std::wstring& arguments, int showCommand) {
  kill();
  std::wstring cmd = L"\"" + program + L"\"";
  if (!arguments.empty()) cmd += L" " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(showCommand);
  std::wstring dir = program.substr(0, program.find_last_of(L"\\/") + 1);
  return CreateProcessW(program.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dir.empty() ? nullptr : dir.c_str(), &si, &m_pi) != FALSE;
}

bool Process::running() const {
  return m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::wait(DWORD timeoutMs) {
  if (!m_pi.hProcess) return std::nullopt;
  if (WaitForSingleObject(m_pi.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(m_pi.hProcess, &code);
  return code;
}

void Process::kill() {
  if (!m_pi.hProcess) return;
  if (running()) {
    TerminateProcess(m_pi.hProcess, 99);
    WaitForSingleObject(m_pi.hProcess, 5000);
  }
  CloseHandle(m_pi.hProcess);
  CloseHandle(m_pi.hThread);
  m_pi = {};
}

Process startLauncher(const std::wstring& arguments, int showCommand) {
  Process p;
  // The tip of the day would stand in front of every test; a test that wants
  // it sets Tip\StartUp itself.
  const bool tips = profile::getDword(L"Tip", L"StartUp").has_value();
  p.start(binPath(L"vorbin2k.exe"), tips ? arguments : L"/nologo " + arguments, showCommand);
  return p;
}

bool runningUnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

void pumpFor(DWORD ms) {
  DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (GetTickCount() - start < ms);
}

namespace {
struct FindArgs {
  const wchar_t* className;
  DWORD pid;
  int flags;
  HWND found;
};

BOOL CALLBACK findWindowProc(HWND hwnd, LPARAM lp) {
  auto* a = reinterpret_cast<FindArgs*>(lp);
  wchar_t cls[128];
  if (!GetClassNameW(hwnd, cls, 128) || lstrcmpW(cls, a->className) != 0) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (a->pid && pid != a->pid) return TRUE;
  if ((a->flags & kVisible) && !IsWindowVisible(hwnd)) return TRUE;
  if ((a->flags & kOwned) && !GetWindow(hwnd, GW_OWNER)) return TRUE;
  a->found = hwnd;
  return FALSE;
}
}  // namespace

HWND waitForWindow(const wchar_t* className, DWORD pid, int flags, DWORD timeoutMs) {
  FindArgs args{className, pid, flags, nullptr};
  waitUntil(
      [&] {
        args.found = nullptr;
        EnumWindows(findWindowProc, reinterpret_cast<LPARAM>(&args));
        return args.found != nullptr;
      },
      timeoutMs);
  return args.found;
}

HWND waitForBar(DWORD pid, DWORD timeoutMs) { return waitForWindow(kBarClass, pid, kOwned, timeoutMs); }

bool closeAndWait(Process& process, HWND window, DWORD timeoutMs) {
  if (window && IsWindow(window)) PostMessageW(window, WM_CLOSE, 0, 0);
  if (process.wait(timeoutMs)) return true;
  process.kill();
  return false;
}

namespace profile {
namespace {
std::wstring keyOf(const std::wstring& section) {
  return section.empty() ? std::wstring(kProfileKey) : std::wstring(kProfileKey) + L"\\" + section;
}
bool setValue(const std::wstring& section, const std::wstring& name, DWORD type, const void* data,
              DWORD size) {
  HKEY key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, keyOf(section).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return false;
  LONG rc = RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}
std::optional<std::vector<uint8_t>> getValue(const std::wstring& section, const std::wstring& name,
                                             DWORD* type) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, keyOf(section).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return std::nullopt;
  DWORD size = 0;
  LONG rc = RegQueryValueExW(key, name.c_str(), nullptr, type, nullptr, &size);
  std::vector<uint8_t> data(size);
  if (rc == ERROR_SUCCESS && size)
    rc = RegQueryValueExW(key, name.c_str(), nullptr, type, data.data(), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS) return std::nullopt;
  data.resize(size);
  return data;
}
}  // namespace

void clear() { RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey); }

bool setString(const std::wstring& section, const std::wstring& name, const std::wstring& value) {
  return setValue(section, name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * 2));
}
bool setDword(const std::wstring& section, const std::wstring& name, DWORD value) {
  return setValue(section, name, REG_DWORD, &value, sizeof(value));
}
bool setBinary(const std::wstring& section, const std::wstring& name, const std::vector<uint8_t>& data) {
  return setValue(section, name, REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
}
std::optional<std::wstring> getString(const std::wstring& section, const std::wstring& name) {
  DWORD type = 0;
  auto data = getValue(section, name, &type);
  if (!data || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
  std::wstring s(reinterpret_cast<const wchar_t*>(data->data()), data->size() / 2);
  while (!s.empty() && s.back() == L'\0') s.pop_back();
  return s;
}
std::optional<DWORD> getDword(const std::wstring& section, const std::wstring& name) {
  DWORD type = 0;
  auto data = getValue(section, name, &type);
  if (!data || type != REG_DWORD || data->size() != 4) return std::nullopt;
  return *reinterpret_cast<const DWORD*>(data->data());
}
std::optional<std::vector<uint8_t>> getBinary(const std::wstring& section, const std::wstring& name) {
  DWORD type = 0;
  return getValue(section, name, &type);
}
std::vector<std::wstring> valueNames(const std::wstring& section) {
  std::vector<std::wstring> names;
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, keyOf(section).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return names;
  wchar_t name[16384];
  for (DWORD i = 0;; ++i) {
    DWORD len = 16384;
    if (RegEnumValueW(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, len);
  }
  RegCloseKey(key);
  return names;
}
}  // namespace profile

COLORREF Capture::colorAt(int x, int y) const {
  uint32_t p = at(x, y);
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

std::optional<Capture> captureWindow(HWND window) {
  RECT rc;
  if (!GetWindowRect(window, &rc)) return std::nullopt;
  Capture cap;
  cap.width = rc.right - rc.left;
  cap.height = rc.bottom - rc.top;
  if (cap.width <= 0 || cap.height <= 0) return std::nullopt;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = cap.width;
  bi.bmiHeader.biHeight = -cap.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, cap.width, cap.height, screen, rc.left, rc.top, SRCCOPY);
  GdiFlush();
  cap.pixels.assign(static_cast<const uint32_t*>(bits),
                    static_cast<const uint32_t*>(bits) + static_cast<size_t>(cap.width) * cap.height);
  for (auto& p : cap.pixels) p &= 0x00FFFFFF;
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return cap;
}

bool Capture::saveBmp(const std::wstring& path) const {
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  ih.biSize = sizeof(ih);
  ih.biWidth = width;
  ih.biHeight = -height;
  ih.biPlanes = 1;
  ih.biBitCount = 32;
  DWORD dataSize = static_cast<DWORD>(pixels.size() * 4);
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(ih);
  fh.bfSize = fh.bfOffBits + dataSize;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(f, &fh, sizeof(fh), &written, nullptr) &&
            WriteFile(f, &ih, sizeof(ih), &written, nullptr) &&
            WriteFile(f, pixels.data(), dataSize, &written, nullptr);
  CloseHandle(f);
  return ok;
}

std::optional<Capture> captureToArtifact(HWND window, const std::wstring& name) {
  auto cap = captureWindow(window);
  if (cap) cap->saveBmp(artifactDir() + name + L".bmp");
  return cap;
}

}  // namespace e2e
