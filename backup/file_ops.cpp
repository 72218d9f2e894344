// Folders and files of the backup tool.
#include "backup/file_ops.h"

#include <shellapi.h>
#include <shlobj.h>

#include "backup/backup_name.h"
#include "framework/handle.h"
#include "framework/trace.h"

namespace backup {

namespace {
const wchar_t kDataSubfolder[] = L"Ornelsoft\\Vorbin2k\\";

std::wstring withBackslash(std::wstring path) {
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path;
}

std::wstring withoutBackslash(std::wstring path) {
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return path;
}

bool isDots(const wchar_t* name) { return lstrcmpW(name, L".") == 0 || lstrcmpW(name, L"..") == 0; }

// Application data, optionally created; the tool folder when the system has none.
std::wstring applicationData(const std::wstring& toolFolder, bool create) {
  wchar_t path[MAX_PATH] = {};
  int folder = CSIDL_APPDATA | (create ? CSIDL_FLAG_CREATE : 0);
  const HRESULT result = SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path);
  if (SUCCEEDED(result) && path[0]) return withBackslash(path);
  FW_TRACE_FAILURE_CODE("SHGetFolderPathW", result);
  return toolFolder;
}
}  // namespace

std::wstring toolFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) {
      FW_TRACE_FAILURE("GetModuleFileNameW");
      return {};
    }
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring launcherDataFolder(const std::wstring& toolFolder) {
  return applicationData(toolFolder, false) + kDataSubfolder;
}

std::wstring recreateLauncherDataFolder(const std::wstring& toolFolder) {
  std::wstring ornelsoft = applicationData(toolFolder, true) + L"Ornelsoft";
  CreateDirectoryW(ornelsoft.c_str(), nullptr);
  std::wstring data = ornelsoft + L"\\Vorbin2k";
  if (folderExists(data)) deleteFolderTree(data);
  if (!CreateDirectoryW(data.c_str(), nullptr) && !folderExists(data)) {
    FW_TRACE_FAILURE("CreateDirectoryW");
    return {};
  }
  return data + L"\\";
}

bool folderExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(withoutBackslash(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool fileExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<FolderEntry> listFolder(const std::wstring& folder) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAW data;
  fw::FindHandle find(FindFirstFileW((withBackslash(folder) + L"*").c_str(), &data));
  if (!find) {
    FW_TRACE_FAILURE("FindFirstFileW");
    return entries;
  }
  do {
    FolderEntry entry;
    entry.name = data.cFileName;
    entry.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.lastWriteTime = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                          data.ftLastWriteTime.dwLowDateTime;
    if (entry.isDirectory && !isDots(data.cFileName))
      entry.holdsBackupFile =
          fileExists(withBackslash(folder) + entry.name + L"\\" + std::wstring(kBackupFileName));
    entries.push_back(std::move(entry));
  } while (FindNextFileW(find.get(), &data));
  return entries;
}

void copyFolderFiles(const std::wstring& from, const std::wstring& to, bool skipBackupFile) {
  WIN32_FIND_DATAW data;
  fw::FindHandle find(FindFirstFileW((withBackslash(from) + L"*").c_str(), &data));
  if (!find) {
    // The launcher's data folder need not exist.
    if (GetLastError() != ERROR_FILE_NOT_FOUND && GetLastError() != ERROR_PATH_NOT_FOUND)
      FW_TRACE_FAILURE("FindFirstFileW");
    return;
  }
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (skipBackupFile && isBackupFileName(data.cFileName)) continue;
    if (!CopyFileW((withBackslash(from) + data.cFileName).c_str(),
                   (withBackslash(to) + data.cFileName).c_str(), FALSE))
      FW_TRACE_FAILURE("CopyFileW");
  } while (FindNextFileW(find.get(), &data));
}

std::optional<std::string> readWholeFile(const std::wstring& path, size_t maxBytes) {
  fw::FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    FW_TRACE_FAILURE("CreateFileW");
    return std::nullopt;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) {
    FW_TRACE_FAILURE("GetFileSizeEx");
    return std::nullopt;
  }
  if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > maxBytes) return std::nullopt;
  std::string content(static_cast<size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (content.empty()) return content;
  if (!ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &got, nullptr)) {
    FW_TRACE_FAILURE("ReadFile");
    return std::nullopt;
  }
  if (got != content.size()) return std::nullopt;
  return content;
}

bool deleteFolderTree(const std::wstring& path) {
  // The shell wants a list ending in two terminators.
  std::wstring from = withoutBackslash(path);
  from.push_back(L'\0');
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
  if (int result = SHFileOperationW(&operation); result != 0)
    FW_TRACE_FAILURE_CODE("SHFileOperationW", result);
  return !folderExists(path);
}

}  // namespace backup
