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
#include "launcher/interact/launch_item.h"

namespace vorbin {

struct Item;
class GroupTable;
class ModalBusy;
class Profile;
class TaskTable;
struct Settings;

// What the menus need of the bar window: its data, its selection and the
// operations their commands end in.
class MenuHost {
 public:
  virtual HWND window() const = 0;
  virtual GroupTable& groups() = 0;
  virtual Settings& settings() = 0;
  virtual Profile& profile() = 0;
  virtual bool taskMode() const = 0;
  virtual const TaskTable& tasks() const = 0;
  // The selected slots when the selection lies in that group; empty otherwise.
  virtual std::vector<int> selectionIn(int group) const = 0;
  // A function key's (index 0..7) or the logo's box (index -1) on the screen.
  virtual RECT boxOnScreen(int functionKey) const = 0;
  // A menu opened by a press took its release: the press ends, drawn released.
  virtual void endPress() = 0;
  virtual void stopBlinking() = 0;
  virtual void relayout() = 0;
  virtual void repaintAll() = 0;
  virtual void repaintContent() = 0;
  virtual void repaintButton(int group, int slot) = 0;
  // Items or groups were added, moved or removed: marks, tabs and picture again.
  virtual void groupsChanged() = 0;
  virtual void groupRemoved(int index) = 0;
  virtual void saveWindowState() = 0;
  virtual void endSession() = 0;
  virtual void launchItem(int group, int slot) = 0;
  virtual LaunchContext launchContext() = 0;
  // The item sheet of a slot, or the new-item wizard for an empty one.
  virtual void editItem(int group, int slot) = 0;
  // Defers outside work while the group sheet runs; none: nothing is deferred.
  virtual ModalBusy* modalBusy() { return nullptr; }

 protected:
  ~MenuHost() = default;
};

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
  explicit BarMenus(MenuHost& bar) : m_bar(bar), m_shutdown(ShutdownActions::system()) {}

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
  // A button as the menu saw it; identity 0: an empty slot.
  struct ItemRef {
    int group = 0, slot = -1;
    uint64_t identity = 0;
  };
  Item* find(const ItemRef& ref) const;
  std::vector<ItemRef> selectionRefs(int group, int slot) const;
  UINT track(HMENU popup, POINT at, UINT flags = 0);
  void runButtonCommand(UINT command, const ItemRef& ref, const std::vector<ItemRef>& selection, POINT at);
  void deleteRefs(const std::vector<ItemRef>& chosen);
  void setFontSize(int size);
  void toggleFolder(const ItemRef& ref, int command);
  void editItem(const ItemRef& ref);
  // The dialogs the commands open.
  void startWithParameters(const ItemRef& ref);
  // Photographs a web item's page and names the picture in the item.
  void thumbnailDialog(const ItemRef& ref);
  void groupProperties(int group);
  void windowDetails(HWND window);

  MenuHost& m_bar;
  ShutdownActions m_shutdown;
  ShellMenu m_shell;  // the file's menu
  ShellMenu m_web;    // a web shortcut's own menu
  bool m_tracking = false;
};

}  // namespace vorbin
