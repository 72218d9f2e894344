// Shell, file and process helpers over the system.
#include "launcher/services/shell_helpers.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "framework/com.h"
#include "framework/trace.h"
#include "launcher/services/text_format.h"

namespace vorbin {

namespace {

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring appDataFolder() {
  wchar_t path[MAX_PATH] = {};
  const HRESULT hr = SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
  if (FAILED(hr)) {
    FW_TRACE_FAILURE_CODE("SHGetFolderPathW", hr);
    return {};
  }
  return path;
}

void makeFolder(const std::wstring& folder) {
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    FW_TRACE_FAILURE("CreateDirectoryW");
}

ULONG attributesOf(IShellFolder* folder, PCUITEMID_CHILD child, ULONG mask) {
  ULONG attributes = mask;
  if (FAILED(folder->GetAttributesOf(1, &child, &attributes))) return 0;
  if (attributes == 0xFFFFFFFF) return 0;
  return attributes & mask;
}

// "C:\..." or "\\server\share...": a full path that the file system answers
// for itself. Relative names, shell names ("::{...}") and "\\?\" forms are
// left to the shell, which reads them its own way (it refuses forward slashes).
bool isFullFileSystemPath(const wchar_t* path) {
  const wchar_t c = path[0];
  const bool letter = (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
  if (letter && path[1] == L':' && path[2] == L'\\') return true;
  return path[0] == L'\\' && path[1] == L'\\' && path[2] && path[2] != L'?' && path[2] != L'.' &&
         path[2] != L'\\';
}

// Whether files with the extension of path are shortcuts: their class says
// so with an "IsShortcut" value, which is where the shell itself looks.
bool extensionIsShortcut(const wchar_t* path) {
  const wchar_t* ext = PathFindExtensionW(path);
  if (!ext || ext[0] != L'.' || !ext[1]) return false;
  wchar_t className[260] = {};
  DWORD bytes = sizeof(className);
  if (RegGetValueW(HKEY_CLASSES_ROOT, ext, nullptr, RRF_RT_REG_SZ, nullptr, className, &bytes) != ERROR_SUCCESS ||
      !className[0])
    return false;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, className, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  const bool marked = RegQueryValueExW(key, L"IsShortcut", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return marked;
}

}  // namespace

std::wstring dataFolder(const wchar_t* fileName, const std::wstring& fallback, bool create) {
  const std::wstring name = fileName ? fileName : L"";
  std::wstring base = appDataFolder();
  if (base.empty()) return create ? fallback : fallback + name;
  std::wstring folder = base + L"\\Ornelsoft";
  if (create) makeFolder(folder);
  folder += L"\\Vorbin2k";
  if (create) makeFolder(folder);
  folder += L"\\";
  if (create) return folder + name;
  if (!name.empty()) return fileExists(folder + name) ? folder + name : fallback + name;
  return folder;
}

std::wstring uniqueFileName(const std::wstring& folder, const std::wstring& extension) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return pickUniqueName(now.wMonth, now.wDay, static_cast<uint16_t>(GetTickCount() & 0xFFFF), extension,
                        [&](const std::wstring& name) { return fileExists(folder + name); });
}

ULONG shellAttributes(PCIDLIST_ABSOLUTE idList, ULONG mask) {
  if (!idList) return 0;
  fw::ComPtr<IShellFolder> parent;
  PCUITEMID_CHILD child = nullptr;
  if (FAILED(SHBindToParent(idList, IID_IShellFolder, parent.putVoid(), &child))) return 0;
  return attributesOf(parent.get(), child, mask);
}

ULONG shellAttributes(const wchar_t* path, ULONG mask) {
  if (!path || !*path) return 0;
  PIDLIST_ABSOLUTE list = pathToIdList(path);
  if (!list) return 0;
  ULONG result = shellAttributes(list, mask);
  CoTaskMemFree(list);
  return result;
}

// A full path of a file or folder that exists is answered from its
// attributes: asking the shell makes it look for folder settings in every
// folder up the chain, and in a folder of thousands of files each such miss
// is a slow search (folder registration asks once or twice per file).
bool shellExists(const wchar_t* path) {
  if (!path || !*path) return false;
  if (isFullFileSystemPath(path) && GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) return true;
  return shellAttributes(path, 0xFFFFFFFE) != 0;
}
bool shellExists(PCIDLIST_ABSOLUTE idList) { return shellAttributes(idList, 0xFFFFFFFE) != 0; }

bool isShellLink(const wchar_t* path) {
  if (!path || !*path) return false;
  if (isFullFileSystemPath(path)) {
    const DWORD attributes = GetFileAttributesW(path);
    // A folder may stand for a link through its own settings: the shell knows.
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
      return extensionIsShortcut(path);
  }
  return shellAttributes(path, SFGAO_LINK) != 0;
}

std::span<const uint8_t> idListBytes(PCIDLIST_ABSOLUTE idList, size_t bound) {
  if (!idList) return {};
  auto* bytes = reinterpret_cast<const uint8_t*>(idList);
  std::span<const uint8_t> candidate(bytes, bound);
  // Walk the counts one entry at a time so that no read passes the terminator.
  size_t at = 0;
  for (;;) {
    if (at + 2 > bound) return {};
    uint16_t count = static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
    if (count == 0) return candidate.first(at + 2);
    if (count < 2) return {};
    at += count;
  }
}

PIDLIST_ABSOLUTE idListToShell(const IdListBytes& bytes) {
  size_t size = idListSize(bytes);
  if (size == 0) return nullptr;
  void* mem = CoTaskMemAlloc(size);
  if (!mem) return nullptr;
  memcpy(mem, bytes.data(), size);
  return static_cast<PIDLIST_ABSOLUTE>(mem);
}

PIDLIST_ABSOLUTE pathToIdList(const wchar_t* path) {
  if (!path || !*path) return nullptr;
  fw::ComPtr<IShellFolder> desktop;
  if (const HRESULT hr = SHGetDesktopFolder(desktop.put()); FAILED(hr)) {
    FW_TRACE_FAILURE_CODE("SHGetDesktopFolder", hr);
    return nullptr;
  }
  PIDLIST_RELATIVE list = nullptr;
  std::wstring copy = path;
  if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, copy.data(), nullptr, &list, nullptr))) return nullptr;
  return reinterpret_cast<PIDLIST_ABSOLUTE>(list);
}

PIDLIST_ABSOLUTE simpleIdList(const wchar_t* path) {
  if (!path) return nullptr;
  std::u16string text(reinterpret_cast<const char16_t*>(path), wcslen(path));
  return idListToShell(simpleIdListBytes(text));
}

bool linkIconLocation(IShellLinkW* link, wchar_t* buffer, int size, int* index) {
  if (!link || !buffer || size <= 0 || !index) return false;
  buffer[0] = L'\0';
  *index = 0;
  fw::ComPtr<IExtractIconW> extract;
  if (FAILED(link->QueryInterface(IID_IExtractIconW, extract.putVoid())) || !extract) {
    return SUCCEEDED(link->GetIconLocation(buffer, size, index));
  }
  UINT flags = 0;
  if (extract->GetIconLocation(GIL_FORSHELL, buffer, static_cast<UINT>(size), index, &flags) != S_OK) return false;
  buffer[size - 1] = L'\0';
  if (flags & GIL_NOTFILENAME) {
    HICON large = nullptr, small = nullptr;
    if (SUCCEEDED(extract->Extract(buffer, static_cast<UINT>(*index), &large, &small, MAKELONG(32, 16)))) {
      if (large) DestroyIcon(large);
      if (small) DestroyIcon(small);
    }
    buffer[0] = L'\0';
  }
  return true;
}

unsigned keyState() {
  auto down = [](int vk) { return (GetKeyState(vk) & 0x8000) != 0; };
  // With swapped buttons the physical left button reports as VK_RBUTTON.
  const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
  unsigned state = 0;
  if (down(swapped ? VK_RBUTTON : VK_LBUTTON)) state |= 1;
  if (down(swapped ? VK_LBUTTON : VK_RBUTTON)) state |= 2;
  if (down(VK_SHIFT)) state |= 4;
  if (down(VK_CONTROL)) state |= 8;
  if (down(VK_MBUTTON)) state |= 16;
  return state;
}

bool hasVerb(const wchar_t* path, const wchar_t* verb) {
  if (!path || !verb) return false;
  HMODULE shlwapi = LoadLibraryW(L"shlwapi.dll");
  if (!shlwapi) {
    FW_TRACE_FAILURE("LoadLibraryW");
    return false;
  }
  using AssocQuery = HRESULT(WINAPI*)(ASSOCF, ASSOCSTR, LPCWSTR, LPCWSTR, LPWSTR, DWORD*);
  auto query = reinterpret_cast<AssocQuery>(reinterpret_cast<void*>(GetProcAddress(shlwapi, "AssocQueryStringW")));
  if (!query) FW_TRACE_FAILURE("GetProcAddress");
  bool found = false;
  if (query) {
    const wchar_t* ext = PathFindExtensionW(path);
    wchar_t command[MAX_PATH * 2] = {};
    DWORD size = ARRAYSIZE(command);
    found = *ext && SUCCEEDED(query(ASSOCF_NONE, ASSOCSTR_COMMAND, ext, verb, command, &size)) && command[0];
  }
  FreeLibrary(shlwapi);
  return found;
}

bool enablePrivilege(const wchar_t* name) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
    FW_TRACE_FAILURE("OpenProcessToken");
    return false;
  }
  TOKEN_PRIVILEGES tp{};
  tp.PrivilegeCount = 1;
  tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  const bool known = LookupPrivilegeValueW(nullptr, name, &tp.Privileges[0].Luid) != FALSE;
  if (!known) FW_TRACE_FAILURE("LookupPrivilegeValueW");
  bool ok = known && AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr) &&
            GetLastError() == ERROR_SUCCESS;
  // A token without the privilege (ERROR_NOT_ALL_ASSIGNED) is a plain user's, not a failure.
  if (known && !ok && GetLastError() != ERROR_NOT_ALL_ASSIGNED) FW_TRACE_FAILURE("AdjustTokenPrivileges");
  CloseHandle(token);
  return ok;
}

}  // namespace vorbin
