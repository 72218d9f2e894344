// The shell's own context menu of one file, merged into a menu of the bar:
// filled through the desktop folder, its commands carried out with the bar
// as owner, and its owner-drawn submenus served while the menu is open.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "framework/com.h"

namespace vorbin {

class ShellMenu {
 public:
  // Fills popup with the shell's commands for the file at path, ids first..last.
  // False (popup untouched or partly filled) when any step fails.
  bool fill(HMENU popup, const std::wstring& path, UINT first, UINT last);
  // The same for several files of one folder (names relative to it).
  bool fillMany(HMENU popup, const std::wstring& folder, const std::vector<std::wstring>& names, UINT first,
                UINT last);
  // The language-independent verb of a command of this menu ("rename",
  // "delete"); empty when it has none.
  std::string verbOf(UINT command);
  // The commands of a web shortcut's own menu, for the shortcut file at path.
  bool fillWebShortcut(HMENU popup, const std::wstring& path, UINT first, UINT last);
  // Greys the entry whose verb is "delete" (its id depends on the handlers installed).
  void disableDelete(HMENU popup);
  // Carries out a chosen id of this menu.
  bool invoke(HWND owner, UINT command, POINT at);
  // WM_INITMENUPOPUP, WM_DRAWITEM, WM_MEASUREITEM and WM_MENUCHAR for the
  // shell's submenus while the menu is open; true when handled.
  bool handleMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
  bool active() const { return static_cast<bool>(m_menu); }
  void reset();

 private:
  bool query(HMENU popup, UINT first, UINT last, UINT flags);

  fw::ComPtr<IContextMenu> m_menu;
  fw::ComPtr<IContextMenu2> m_menu2;
  fw::ComPtr<IContextMenu3> m_menu3;
  UINT m_first = 0;
};

}  // namespace vorbin
