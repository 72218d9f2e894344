// The shell's context menu of a file inside the bar's menus.
#include "launcher/bar/shell_menu.h"

#include <shellapi.h>

#include "framework/trace.h"
#include "launcher/bar/menu_rules.h"
#include "launcher/services/shell_helpers.h"

namespace vorbin {

namespace {

// The system's Internet-shortcut object (its header does not compile on its own here).
constexpr CLSID kInternetShortcut = {
    0xFBF23B40, 0xE3F0, 0x101B, {0x84, 0x88, 0x00, 0xAA, 0x00, 0x3E, 0x56, 0xF8}};

}  // namespace

void ShellMenu::reset() {
  m_menu3.reset();
  m_menu2.reset();
  m_menu.reset();
  m_first = 0;
}

bool ShellMenu::query(HMENU popup, UINT first, UINT last, UINT flags) {
  const HRESULT hr = m_menu->QueryContextMenu(popup, 0, first, last, flags);
  if (FAILED(hr)) {
    FW_TRACE_FAILURE_CODE("IContextMenu::QueryContextMenu", static_cast<DWORD>(hr));
    reset();
    return false;
  }
  m_first = first;
  m_menu2 = m_menu.as<IContextMenu2>(IID_IContextMenu2);
  m_menu3 = m_menu.as<IContextMenu3>(IID_IContextMenu3);
  return true;
}

bool ShellMenu::fill(HMENU popup, const std::wstring& path, UINT first, UINT last) {
  reset();
  PIDLIST_ABSOLUTE list = pathToIdList(path.c_str());
  if (!list) return false;
  fw::ComPtr<IShellFolder> parent;
  PCUITEMID_CHILD child = nullptr;
  HRESULT hr = SHBindToParent(list, IID_IShellFolder, parent.putVoid(), &child);
  if (SUCCEEDED(hr))
    hr = parent->GetUIObjectOf(nullptr, 1, &child, IID_IContextMenu, nullptr, m_menu.putVoid());
  CoTaskMemFree(list);
  if (FAILED(hr) || !m_menu) {
    reset();
    return false;
  }
  return query(popup, first, last, CMF_NORMAL | CMF_EXPLORE);
}

bool ShellMenu::fillMany(HMENU popup, const std::wstring& folder, const std::vector<std::wstring>& names,
                         UINT first, UINT last) {
  reset();
  if (names.empty()) return false;
  PIDLIST_ABSOLUTE list = pathToIdList(folder.c_str());
  if (!list) return false;
  fw::ComPtr<IShellFolder> desktop, parent;
  HRESULT hr = SHGetDesktopFolder(desktop.put());
  if (SUCCEEDED(hr)) hr = desktop->BindToObject(list, nullptr, IID_IShellFolder, parent.putVoid());
  CoTaskMemFree(list);
  std::vector<PITEMID_CHILD> children;
  for (const std::wstring& name : names) {
    if (FAILED(hr)) break;
    PIDLIST_RELATIVE child = nullptr;
    hr = parent->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(name.c_str()), nullptr, &child, nullptr);
    if (SUCCEEDED(hr)) children.push_back(static_cast<PITEMID_CHILD>(child));
  }
  if (SUCCEEDED(hr))
    hr = parent->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()),
                               const_cast<PCUITEMID_CHILD_ARRAY>(children.data()), IID_IContextMenu, nullptr,
                               m_menu.putVoid());
  for (PITEMID_CHILD child : children) CoTaskMemFree(child);
  if (FAILED(hr) || !m_menu) {
    reset();
    return false;
  }
  return query(popup, first, last, CMF_NORMAL | CMF_EXPLORE | CMF_CANRENAME);
}

std::string ShellMenu::verbOf(UINT command) {
  if (!m_menu || command < m_first) return {};
  char verb[64] = {};
  if (FAILED(m_menu->GetCommandString(command - m_first, GCS_VERBA, nullptr, verb, sizeof(verb) - 1))) return {};
  verb[sizeof(verb) - 1] = 0;
  return verb;
}

bool ShellMenu::fillWebShortcut(HMENU popup, const std::wstring& path, UINT first, UINT last) {
  reset();
  fw::ComPtr<IPersistFile> file;
  if (FAILED(CoCreateInstance(kInternetShortcut, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistFile,
                              file.putVoid())))
    return false;
  if (FAILED(file->Load(path.c_str(), STGM_READ))) return false;
  m_menu = file.as<IContextMenu>(IID_IContextMenu);
  if (!m_menu) return false;
  return query(popup, first, last, CMF_NORMAL);
}

void ShellMenu::disableDelete(HMENU popup) {
  if (!m_menu) return;
  const int count = GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    const UINT id = GetMenuItemID(popup, i);
    if (id == static_cast<UINT>(-1) || id < m_first) continue;
    char verb[64] = {};
    if (FAILED(m_menu->GetCommandString(id - m_first, GCS_VERBA, nullptr, verb, sizeof(verb) - 1))) continue;
    verb[sizeof(verb) - 1] = 0;
    if (isDeleteVerb(verb)) EnableMenuItem(popup, i, MF_BYPOSITION | MF_GRAYED);
  }
}

bool ShellMenu::invoke(HWND owner, UINT command, POINT at) {
  if (!m_menu || command < m_first) return false;
  CMINVOKECOMMANDINFOEX info{};
  info.cbSize = sizeof(info);
  info.fMask = CMIC_MASK_UNICODE | CMIC_MASK_PTINVOKE;
  info.hwnd = owner;
  info.lpVerb = MAKEINTRESOURCEA(command - m_first);
  info.lpVerbW = MAKEINTRESOURCEW(command - m_first);
  info.nShow = SW_SHOWNORMAL;
  info.ptInvoke = at;
  const HRESULT hr = m_menu->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&info));
  if (FAILED(hr)) FW_TRACE_FAILURE_CODE("IContextMenu::InvokeCommand", static_cast<DWORD>(hr));
  return SUCCEEDED(hr);
}

bool ShellMenu::handleMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (msg != WM_INITMENUPOPUP && msg != WM_DRAWITEM && msg != WM_MEASUREITEM && msg != WM_MENUCHAR)
    return false;
  LRESULT answer = 0;
  if (m_menu3 && SUCCEEDED(m_menu3->HandleMenuMsg2(msg, wParam, lParam, &answer))) {
    if (result) *result = answer;
    return true;
  }
  if (msg != WM_MENUCHAR && m_menu2 && SUCCEEDED(m_menu2->HandleMenuMsg(msg, wParam, lParam))) {
    if (result) *result = msg == WM_INITMENUPOPUP ? 0 : TRUE;
    return true;
  }
  return false;
}

}  // namespace vorbin
