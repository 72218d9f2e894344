// Reading shell shortcut files and display names through the shell.
#include "launcher/services/shortcut_reader.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "framework/com.h"
#include "framework/trace.h"
#include "launcher/services/shell_helpers.h"

namespace vorbin {
namespace {

std::wstring bounded(const wchar_t* text, size_t size) { return std::wstring(text, wcsnlen(text, size)); }

}  // namespace

fw::ComPtr<IShellLinkW> loadShellLink(const std::wstring& file) {
  fw::ComPtr<IShellLinkW> link;
  if (const HRESULT hr =
          CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.putVoid());
      FAILED(hr)) {
    FW_TRACE_FAILURE_CODE("CoCreateInstance", hr);
    return nullptr;
  }
  auto persist = link.as<IPersistFile>(IID_IPersistFile);
  if (!persist || FAILED(persist->Load(file.c_str(), STGM_READ))) return nullptr;
  return link;
}

std::optional<ShortcutContents> readShortcut(const std::wstring& file) {
  if (file.empty() || !isShellLink(file.c_str())) return std::nullopt;
  fw::ComScope com;
  fw::ComPtr<IShellLinkW> link = loadShellLink(file);
  if (!link) return std::nullopt;

  ShortcutContents out;
  wchar_t buffer[MAX_PATH * 4] = {};
  constexpr int kSize = static_cast<int>(std::size(buffer));
  if (link->GetPath(buffer, kSize, nullptr, SLGP_RAWPATH) == S_OK) out.path = bounded(buffer, kSize);
  if (out.path.empty()) {
    PIDLIST_ABSOLUTE list = nullptr;
    if (SUCCEEDED(link->GetIDList(&list)) && list) {
      out.idList = idListCopy(idListBytes(list));
      CoTaskMemFree(list);
    }
  }
  buffer[0] = 0;
  if (SUCCEEDED(link->GetArguments(buffer, kSize))) out.arguments = bounded(buffer, kSize);
  buffer[0] = 0;
  if (SUCCEEDED(link->GetWorkingDirectory(buffer, kSize))) out.folder = bounded(buffer, kSize);
  buffer[0] = 0;
  if (SUCCEEDED(link->GetDescription(buffer, kSize))) out.comment = bounded(buffer, kSize);
  int index = 0;
  if (linkIconLocation(link.get(), buffer, kSize, &index)) {
    out.iconFile = bounded(buffer, kSize);
    out.iconIndex = index;
  }
  WORD hotKey = 0;
  if (SUCCEEDED(link->GetHotkey(&hotKey))) out.hotKey = hotKey;
  int show = SW_SHOWNORMAL;
  if (SUCCEEDED(link->GetShowCmd(&show))) out.showCommand = show;
  return out;
}

namespace {

// One SHGetFileInfoW name (SHGFI_DISPLAYNAME or SHGFI_TYPENAME) of a path or ID list.
std::wstring shellInfoName(const std::wstring& path, const IdListBytes& idList, UINT which) {
  SHFILEINFOW info{};
  DWORD_PTR done = 0;
  if (!idList.empty()) {
    PIDLIST_ABSOLUTE list = idListToShell(idList);
    if (!list) return {};
    done = SHGetFileInfoW(reinterpret_cast<const wchar_t*>(list), 0, &info, sizeof(info), SHGFI_PIDL | which);
    CoTaskMemFree(list);
  } else if (!path.empty()) {
    done = SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), which);
  }
  if (!done) return {};
  return which == SHGFI_TYPENAME ? bounded(info.szTypeName, std::size(info.szTypeName))
                                 : bounded(info.szDisplayName, std::size(info.szDisplayName));
}

}  // namespace

std::wstring shellDisplayName(const std::wstring& path, const IdListBytes& idList) {
  return shellInfoName(path, idList, SHGFI_DISPLAYNAME);
}

std::wstring shellTypeName(const std::wstring& path, const IdListBytes& idList) {
  return shellInfoName(path, idList, SHGFI_TYPENAME);
}

}  // namespace vorbin
