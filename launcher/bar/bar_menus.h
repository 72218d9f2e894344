// The bar's menus and the commands behind them: a button's, a group tab's and
// a task's context menu (with the shell's own menu of the file merged in),
// the bar menu in the system menu and under the logo, the HELP key's and the
// tray icon's menus, deleting buttons and groups, closing up groups, and the
// EXIT key's shutdown. Every nested loop (a menu, the shell's command, a
// message box) may change the groups: items are found again afterwards by
// group, slot and identity, tasks by window.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "launcher/bar/shell_menu.h"

namespace vorbin {

class CBarWindow;
struct Item;

// How EXIT with FastExit powers the computer off. The program's own uses the
// system; the environment variable VORBIN_TEST_SHUTDOWN makes it testable
// under Wine, where ExitWindowsEx would end every program of the prefix:
// "deny" refuses the privilege, any other value names a file that receives
// "power off" instead of the call.
struct ShutdownActions {
  std::function<bool()> enablePrivilege;
  std::function<bool()> powerOff;
  static ShutdownActions system();
};

class BarMenus {
 public:
  explicit BarMenus(CBarWindow& bar) : m_bar(bar), m_shutdown(ShutdownActions::system()) {}

  // Right release on a button (Ctrl held: the shell's properties of its file instead).
  void openButtonMenu(int group, int slot, POINT screen);
  void openTabMenu(int group, POINT screen);
  void openTaskMenu(int entry, POINT screen);
  // The logo press: the bar menu with Exit as its default entry.
  void openLogoMenu(POINT screen);
  // The HELP key's menu below the key (screen coordinates).
  void openHelpMenu(const RECT& key);
  void openTrayMenu(POINT screen);
  // The system menu about to open: Close goes, the bar menu's entries come in (once).
  void prepareSystemMenu(HMENU menu);

  // Messages for the shell's owner-drawn submenus while a menu is open.
  bool menuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

  // Deleting, always asking first (the Delete key and the menus).
  void deleteButtons(int group, const std::vector<int>& slots);
  void deleteGroup(int group);
  // The shell's own properties of a button's file (message 672 when there is none).
  void showTargetProperties(int group, int slot);
  // The EXIT key.
  void exitKey();
  // A press on the HELP key or the logo opens its menu at once; true when it did.
  bool pressOpensMenu(int area, int index);
  // The Delete key and Alt+Enter on the focused button or tab.
  void deleteKey(int area, int group, int slot);
  void propertiesKey(int area, int group, int slot);
  void closeUp(int group, bool sort);
  void setShutdownActions(ShutdownActions actions) { m_shutdown = std::move(actions); }

 private:
  struct ItemRef {
    int group = 0, slot = -1;
    const Item* identity = nullptr;
  };
  Item* find(const ItemRef& ref) const;
  std::vector<ItemRef> selectionRefs(int group, int slot) const;
  UINT track(HMENU popup, POINT at, UINT flags = 0);
  void runButtonCommand(UINT command, const ItemRef& ref, const std::vector<ItemRef>& selection, POINT at);
  void deleteRefs(const std::vector<ItemRef>& refs);
  void setFontSize(int size);
  void toggleFolder(const ItemRef& ref, int command);
  void editItem(const ItemRef& ref);
  // The bar's item sheet, when the bar has one.
  template <class Bar>
  static void openItemSheet(Bar& bar, int group, int slot) {
    if constexpr (requires { bar.editItem(group, slot); }) bar.editItem(group, slot);
  }
  // Dialogs of later work: the calls are in place and do nothing yet.
  void startWithParameters(const ItemRef& ref);
  void thumbnailDialog(const ItemRef& ref);
  void groupProperties(int group);
  void windowDetails(HWND window);

  CBarWindow& m_bar;
  ShutdownActions m_shutdown;
  ShellMenu m_shell;  // the file's menu
  ShellMenu m_web;    // a web shortcut's own menu
  bool m_tracking = false;
};

}  // namespace vorbin
