// The decisions behind the bar's context menus: which entries a button, tab
// or task menu keeps, checks and greys for the item under the pointer, the
// font-size and folder-flag commands, how a chosen id is told apart from the
// shell's own, and closing up or sorting a group without losing it on a
// failed write.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/model/group_table.h"

namespace vorbin {

// Command ids of the menus (menu resources 254 and the tab and task menus).
namespace menu_cmd {
inline constexpr int kDelete = 32781;
inline constexpr int kProperties = 32814;
inline constexpr int kShellMenu = 32815;  // replaced by the shell's own menu as a pop-up
inline constexpr int kFontFirst = 32820;  // font size +2 ...
inline constexpr int kFontLast = 32824;   // ... font size -2
inline constexpr int kStart = 32828;      // where web-shortcut commands go; "start again" for tasks
inline constexpr int kSort = 32830;
inline constexpr int kCloseUp = 32831;
inline constexpr int kOpenExplorer = 32838;
inline constexpr int kOpenRoot = 32839;
inline constexpr int kSearch = 32840;
inline constexpr int kGroupDispFirst = 32842;
inline constexpr int kGroupDispLast = 32846;
inline constexpr int kWindowDetails = 32847;
inline constexpr int kStartWith = 32856;
inline constexpr int kStartItem = 32857;
inline constexpr int kButtonModeFirst = 32900;
inline constexpr int kButtonModeLast = 32902;
inline constexpr int kThumbnail = 3072;
// The shell's commands get ids below every id of the launcher's own, so
// that no chosen id can mean both: the file's menu, then the commands of a
// web shortcut's own menu.
inline constexpr int kShellFirst = 1;
inline constexpr int kShellLast = 0x07FF;
inline constexpr int kWebFirst = 0x0800;
inline constexpr int kWebLast = 0x0BFF;
}  // namespace menu_cmd

// What kind of thing a button holds, as far as its menu cares.
enum class ItemKind { kEmpty, kFile, kFolder, kUrl, kIdList };
ItemKind itemKind(const Item* item);

struct ButtonMenuFacts {
  ItemKind kind = ItemKind::kEmpty;
  uint32_t flags = 0;
  std::wstring_view path;  // the file the shell is asked about (folder text for folder items)
  int selectedCount = 1;
  int fontSize = 0;
  int buttonMode = 0;
};

// Which entries of a loaded menu to remove, check and grey, and what to
// merge into it.
struct MenuPlan {
  std::vector<int> remove;
  std::vector<int> checked;
  std::vector<int> grayed;
  bool shellMenu = false;            // merge the shell's menu of `path` at kShellMenu
  bool webShortcutCommands = false;  // insert the web shortcut's commands before kStart (then remove it)
  bool thumbnail = false;            // add kThumbnail
  bool newItemText = false;          // kProperties reads "new item" (empty slot)
};
MenuPlan buttonMenuPlan(const ButtonMenuFacts& facts);

struct TabMenuFacts {
  bool deletable = false;  // a group with a section of its own
  int fontSize = 0;
  int groupDispMode = 0;
};
MenuPlan tabMenuPlan(const TabMenuFacts& facts);

struct TaskMenuFacts {
  bool programKnown = false;  // the window's program file was found
  int fontSize = 0;
};
MenuPlan taskMenuPlan(const TaskMenuFacts& facts);

// Font size of a font command (+2..-2), and the command of a size (none
// outside the menu's five steps).
std::optional<int> fontSizeOfCommand(int command);
std::optional<int> fontCommandOfSize(int size);

// An item's flags after one of the folder toggles; the flags unchanged for
// a toggle that is not allowed now (opening as the root without Explorer).
uint32_t toggleFolderFlag(uint32_t flags, int command);

// Where a chosen id goes: the launcher's own commands first.
enum class CommandOwner { kNone, kLauncher, kShell, kWebShortcut };
CommandOwner commandOwner(int command);
// The shell's "delete" verb, whatever id its handler gave it.
bool isDeleteVerb(std::string_view verb);
// A path the web shortcut's own menu applies to.
bool isWebShortcutPath(std::wstring_view path);

// Whether any web item of the table still names this picture file of the
// data folder, by bare name or by path (compared without regard to ASCII
// case): copied buttons share one.
bool pictureStillNamed(const GroupTable& table, std::wstring_view path, std::wstring_view dataFolder);

// The group's items in their new slot order (old slots): empty slots dropped;
// with sort, ordered by title without regard to case, equal titles keeping
// their order.
std::vector<int> closeUpOrder(const Group& group, bool sort);
// Closes up (and with sort, sorts) a group in memory and in the profile: the
// items are written under their new slots first and only then the names
// they no longer have are removed, so a failed write leaves every item
// stored. False when a write failed (the stale values are then kept).
bool closeUpGroup(GroupTable& table, int group, bool sort);

}  // namespace vorbin
