// Bulk enumeration of a folder, reported as messages 0x0520.
#include "launcher/services/find_files.h"

#include <vector>

#include "framework/com.h"
#include "framework/handle.h"
#include "framework/trace.h"
#include "launcher/services/folder_walk.h"

namespace vorbin {

namespace {

class DiskFolders : public FolderSource {
 public:
  std::vector<FolderEntry> list(const std::wstring& folder, const std::wstring& pattern) override {
    std::vector<FolderEntry> out;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
      // No match, or a folder that has gone since it was named: nothing to list.
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) FW_TRACE_FAILURE("FindFirstFileW");
      return out;
    }
    do {
      FolderEntry e;
      e.name = data.cFileName;
      e.directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      e.hidden = (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
      e.system = (data.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;
      e.reparse = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      if (e.name != L"." && e.name != L"..") out.push_back(std::move(e));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return out;
  }

  // Wine shows a symbolic link as a plain folder: the volume and file
  // number tell that it leads to a folder already walked.
  std::wstring folderIdentity(const std::wstring& folder) override {
    fw::FileHandle handle{CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    if (!handle) return {};
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle.get(), &info)) return {};
    wchar_t id[40];
    swprintf(id, 40, L"%08lX:%08lX%08lX", info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow);
    return id;
  }
};

struct ShellWalk {
  HWND target;
  const CancelCheck& cancelled;

  bool send(UINT flags, PCIDLIST_ABSOLUTE list) {
    SendMessageW(target, kMsgAddRequest, flags | kFoundByIdList, reinterpret_cast<LPARAM>(list));
    return !(cancelled && cancelled());
  }

  bool run(PCIDLIST_ABSOLUTE folder, UINT mode, int depth) {
    bool headerSent = (mode & kWalkHeaderSent) != 0;
    mode &= ~kWalkHeaderSent;
    fw::ComPtr<IShellFolder> shellFolder;
    fw::ComPtr<IShellFolder> desktop;
    if (const HRESULT hr = SHGetDesktopFolder(desktop.put()); FAILED(hr)) {
      FW_TRACE_FAILURE_CODE("SHGetDesktopFolder", hr);
      return true;
    }
    if (ILIsEmpty(folder)) {
      shellFolder = desktop;
    } else if (const HRESULT hr =
                   desktop->BindToObject(folder, nullptr, IID_IShellFolder, shellFolder.putVoid());
               FAILED(hr)) {
      FW_TRACE_FAILURE_CODE("IShellFolder::BindToObject", hr);
      return true;
    }
    auto header = [&]() { return headerSent || (headerSent = true, send(kFoundFolderHeader, folder)); };
    auto each = [&](SHCONTF flags, auto&& visit) {
      fw::ComPtr<IEnumIDList> items;
      const HRESULT listed = shellFolder->EnumObjects(nullptr, flags, items.put());
      if (FAILED(listed)) FW_TRACE_FAILURE_CODE("IShellFolder::EnumObjects", listed);
      if (listed != S_OK || !items) return true;
      PITEMID_CHILD child = nullptr;
      while (items->Next(1, &child, nullptr) == S_OK) {
        PIDLIST_ABSOLUTE full = ILCombine(folder, child);
        ULONG attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM;
        PCUITEMID_CHILD c = child;
        if (FAILED(shellFolder->GetAttributesOf(1, &c, &attributes))) attributes = 0;
        bool go = full ? visit(full, attributes) : true;
        CoTaskMemFree(full);
        CoTaskMemFree(child);
        if (!go) return false;
      }
      return true;
    };
    bool goOn = each(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, [&](PIDLIST_ABSOLUTE full, ULONG attributes) {
      if (attributes & (SFGAO_FOLDER | SFGAO_HASSUBFOLDER)) return true;
      if ((mode & (kWalkHeaderOnMatch | kWalkFilesOnly)) && !header()) return false;
      return send(kFoundFile, full);
    });
    if (!goOn || (mode & ~kWalkFilesOnly) == 0) return goOn;
    return each(SHCONTF_FOLDERS, [&](PIDLIST_ABSOLUTE full, ULONG attributes) {
      if (!(attributes & SFGAO_FOLDER)) return true;
      if (mode & kWalkFoldersAsItems) return header() && send(kFoundFolderItem, full);
      if ((mode & kWalkRecurse) && !(attributes & SFGAO_FILESYSTEM) && depth < 64) {
        return run(full, mode & ~kWalkFilesOnly, depth + 1);
      }
      return true;
    });
  }
};

}  // namespace

void findFiles(const std::wstring& folder, UINT mode, const std::wstring& patterns, HWND target,
               const CancelCheck& cancelled) {
  DiskFolders disk;
  walkFolder(disk, folder, mode, patterns, [&](uint32_t flags, const std::wstring& path) {
    SendMessageW(target, kMsgAddRequest, flags, reinterpret_cast<LPARAM>(path.c_str()));
    return !(cancelled && cancelled());
  });
}

void findFiles(PCIDLIST_ABSOLUTE folder, UINT mode, HWND target, const CancelCheck& cancelled) {
  if (!folder) return;
  ShellWalk walk{target, cancelled};
  walk.run(folder, mode, 0);
}

}  // namespace vorbin
