// System side of the settings and the data model.
#include "launcher/model/model_win.h"

#include <algorithm>
#include <vector>

#include "framework/trace.h"
#include "launcher/services/language_strings.h"
#include "launcher/resources/resource_ids.h"

namespace vorbin {

namespace {

std::wstring upper(std::wstring s) {
  if (!s.empty()) CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

std::wstring modulePath() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) {
      FW_TRACE_FAILURE("GetModuleFileNameW");
      return {};
    }
    if (n < path.size()) return std::wstring(path.data(), n);
    path.resize(path.size() * 2);
  }
}

// FileVersion and the two legal texts from the program's version resource (block xxxx04B0).
void readVersionTexts(const std::wstring& exe, Settings& s) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  if (size == 0) return;  // no version resource: nothing to read, not a failure
  std::vector<uint8_t> block(size);
  if (!GetFileVersionInfoW(exe.c_str(), 0, size, block.data())) {
    FW_TRACE_FAILURE("GetFileVersionInfoW");
    return;
  }
  WORD language = 0x0411;
  struct Translation {
    WORD language, codePage;
  }* translations = nullptr;
  UINT bytes = 0;
  if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                     &bytes) &&
      bytes >= sizeof(Translation))
    language = translations[0].language;
  auto text = [&](const wchar_t* name) {
    wchar_t path[64];
    swprintf(path, 64, L"\\StringFileInfo\\%04x04b0\\%ls", language, name);
    wchar_t* value = nullptr;
    UINT chars = 0;
    if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&value), &chars) || !value)
      return std::wstring();
    return std::wstring(value, wcsnlen(value, chars));
  };
  s.fileVersion = text(L"FileVersion");
  s.legalCopyright = text(L"LegalCopyright");
  s.legalTrademarks = text(L"LegalTrademarks");
}

// The launcher runs as the shell when WinLogon's Shell names its program file.
bool runsAsShell(const std::wstring& exe) {
  wchar_t shell[261] = {};
  DWORD bytes = sizeof(shell) - sizeof(wchar_t);
  if (RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\WinLogon", L"Shell",
                   RRF_RT_REG_SZ, nullptr, shell, &bytes) != ERROR_SUCCESS)
    return false;
  size_t slash = exe.find_last_of(L"\\/");
  std::wstring name = upper(slash == std::wstring::npos ? exe : exe.substr(slash + 1));
  return !name.empty() && upper(shell).find(name) != std::wstring::npos;
}

}  // namespace

bool ThreadHotKeys::registerHotKey(int id, unsigned modifiers, unsigned virtualKey) {
  if (RegisterHotKey(nullptr, id, modifiers, virtualKey)) return true;
  FW_TRACE_FAILURE("RegisterHotKey");
  return false;
}

void ThreadHotKeys::unregisterHotKey(int id) { UnregisterHotKey(nullptr, id); }

std::wstring systemAnsiDecoder(std::string_view bytes) {
  if (bytes.empty()) return {};
  int size = static_cast<int>(std::min<size_t>(bytes.size(), 1u << 20));
  int chars = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  if (chars <= 0) FW_TRACE_FAILURE("MultiByteToWideChar");
  std::wstring out(static_cast<size_t>(std::max(chars, 0)), L'\0');
  if (chars > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, out.data(), chars);
  return out;
}

ModelOptions launcherModelOptions(const Settings& settings) {
  static ThreadHotKeys hotKeys;
  ModelOptions o = ModelOptions::fromSettings(settings);
  o.decodeAnsi = systemAnsiDecoder;
  o.hotKeys = &hotKeys;
  o.newGroupTitle = resourceString(IDS_NEW_GROUP_TITLE);
  return o;
}

std::wstring wildCardOrDefault(const Settings& settings) {
  return settings.wildCard.empty() ? resourceString(IDS_DEFAULT_WILDCARD) : settings.wildCard;
}

SystemInfo currentSystemInfo() {
  SystemInfo info;
  wchar_t folder[MAX_PATH] = {};
  UINT n = GetWindowsDirectoryW(folder, MAX_PATH);
  if (n == 0) FW_TRACE_FAILURE("GetWindowsDirectoryW");
  info.windowsFolder.assign(folder, n < MAX_PATH ? n : 0);
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExW(&version)) {
    info.win2000OrLater = version.dwMajorVersion > 4;
  } else {
    FW_TRACE_FAILURE("GetVersionExW");
  }
#pragma GCC diagnostic pop
  return info;
}

void loadSettings(const Profile& profile, Settings& settings) {
  const std::wstring exe = modulePath();
  size_t slash = exe.find_last_of(L"\\/");
  settings.programFolder = slash == std::wstring::npos ? std::wstring() : exe.substr(0, slash + 1);
  readVersionTexts(exe, settings);
  settings.runningAsShell = runsAsShell(exe);
  loadSettings(profile, currentSystemInfo(), settings);
  // Images made from icons follow the value read at start-up for the whole run.
  setKeepImagesPacked(settings.keepCompression);
}

}  // namespace vorbin
