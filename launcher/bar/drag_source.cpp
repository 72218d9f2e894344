// Dragging buttons out of the bar (see drag_source.h).
#include "launcher/bar/drag_source.h"

#include <shlobj.h>

#include "framework/com.h"
#include "framework/trace.h"
#include "launcher/bar/drop_formats.h"
#include "launcher/model/item_record.h"
#include "launcher/services/shortcut_files.h"

namespace vorbin {
namespace {

// Removes a folder and what the drag left in it; nothing outside it is
// followed (a link to a folder is removed, not entered).
void removeTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + name;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
          !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        removeTree(path + L"\\");
      else if (!DeleteFileW(path.c_str()))
        FW_TRACE_FAILURE("DeleteFileW");
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  if (!RemoveDirectoryW(folder.c_str())) FW_TRACE_FAILURE("RemoveDirectoryW");
}

std::wstring shortcutExtension(const Item& item) { return (item.flags & kItemUrl) ? L".url" : L".lnk"; }

}  // namespace

std::optional<DragFolder> DragFolder::create(const std::wstring& parent) {
  std::wstring base = parent;
  if (base.empty()) {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) return std::nullopt;
    base = temp;
  }
  // A name nobody had before: a folder left by an earlier drag is never reused.
  const std::wstring stem =
      base + L"Vorbin drag " + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount());
  for (int n = 0; n < 100; ++n) {
    const std::wstring path = stem + L"-" + std::to_wstring(n);
    if (CreateDirectoryW(path.c_str(), nullptr)) return DragFolder(path + L"\\");
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      FW_TRACE_FAILURE("CreateDirectoryW");
      return std::nullopt;
    }
  }
  return std::nullopt;
}

DragFolder::~DragFolder() {
  if (!m_path.empty()) removeTree(m_path);
}

std::vector<std::wstring> writeDragFiles(const GroupTable& groups, const DragItems& items, const std::wstring& folder,
                                         const std::wstring& fallback) {
  std::vector<std::wstring> written;
  std::vector<std::wstring> taken;
  const Group* group = groups.group(items.group);
  if (!group) return written;
  auto writeItems = [&](const std::vector<int>& slots, const std::wstring& into, std::vector<std::wstring>& names,
                        std::vector<std::wstring>* top) {
    for (int slot : slots) {
      const Item* item = groups.item(items.group, slot);
      if (!item) continue;
      const std::wstring name = dragFileName(item->title, shortcutExtension(*item), fallback, names);
      if (writeShortcut(*item, into + name) && top) top->push_back(name);
    }
  };
  if (!items.tab) {
    writeItems(items.slots, folder, taken, &written);
    return written;
  }
  const std::wstring name = dragFileName(group->title, L"", fallback, taken);
  const std::wstring sub = folder + name + L"\\";
  if (!CreateDirectoryW(sub.c_str(), nullptr)) return written;
  std::vector<int> all;
  for (size_t s = 0; s < group->items.size(); ++s)
    if (group->items[s]) all.push_back(static_cast<int>(s));
  std::vector<std::wstring> inner;
  writeItems(all, sub, inner, nullptr);
  written.push_back(name);
  return written;
}

IDataObject* shellDataObject(HWND owner, const std::wstring& folder, const std::vector<std::wstring>& names) {
  if (names.empty()) return nullptr;
  PIDLIST_ABSOLUTE folderList = nullptr;
  if (FAILED(SHParseDisplayName(folder.c_str(), nullptr, &folderList, 0, nullptr)) || !folderList) return nullptr;
  fw::ComPtr<IShellFolder> desktop, parent;
  HRESULT hr = SHGetDesktopFolder(desktop.put());
  if (SUCCEEDED(hr)) hr = desktop->BindToObject(folderList, nullptr, IID_IShellFolder, parent.putVoid());
  CoTaskMemFree(folderList);
  if (FAILED(hr)) return nullptr;
  std::vector<PITEMID_CHILD> children;
  for (const std::wstring& name : names) {
    PIDLIST_RELATIVE child = nullptr;
    if (SUCCEEDED(parent->ParseDisplayName(owner, nullptr, const_cast<LPWSTR>(name.c_str()), nullptr, &child,
                                           nullptr)) &&
        child)
      children.push_back(reinterpret_cast<PITEMID_CHILD>(child));
  }
  IDataObject* data = nullptr;
  if (!children.empty() &&
      FAILED(parent->GetUIObjectOf(owner, static_cast<UINT>(children.size()),
                                   const_cast<PCUITEMID_CHILD_ARRAY>(children.data()), IID_IDataObject, nullptr,
                                   reinterpret_cast<void**>(&data))))
    data = nullptr;
  for (PITEMID_CHILD c : children) CoTaskMemFree(c);
  return data;
}

std::optional<DWORD> runDragOut(IDataObject* data, IDropSource* source, DWORD allowed) {
  if (!data || !source) return std::nullopt;
  DWORD effect = DROPEFFECT_NONE;
  const HRESULT hr = DoDragDrop(data, source, allowed, &effect);
  if (hr != DRAGDROP_S_DROP) return std::nullopt;
  return effect;
}

HRESULT BarDropSource::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
    *out = static_cast<IDropSource*>(this);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT BarDropSource::QueryContinueDrag(BOOL escape, DWORD keys) {
  m_keys = keys & (MK_SHIFT | MK_CONTROL);
  const DWORD held = m_right ? MK_RBUTTON : MK_LBUTTON;
  const DWORD other = m_right ? MK_LBUTTON : MK_RBUTTON;
  if (escape || (keys & other)) return DRAGDROP_S_CANCEL;
  if (!(keys & held)) return DRAGDROP_S_DROP;
  return S_OK;
}

}  // namespace vorbin
