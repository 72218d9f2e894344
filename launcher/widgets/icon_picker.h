// The icon picker (template 132): a grid of 40x40 cells, six a row, filled
// from a file's icons, a folder's or ID list's shell icon, a group's pictures,
// or files found by browsing; it keeps its grid and selection between showings.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/handle.h"
#include "launcher/model/value_text.h"
#include "launcher/services/id_list.h"

namespace vorbin {

// Where the first grid comes from.
struct IconSource {
  enum class Kind { kNone, kFile, kFolder, kIdList, kGroup };
  Kind kind = Kind::kNone;
  std::wstring path;   // kFile: every icon of it; kFolder: its shell icon
  IdListBytes idList;  // kIdList: its shell icon
  // kGroup: the group's picture first, then per item either its own picture
  // (an ID-list target, or a target file without icons) or all icons of its
  // target. Icons are copied; the caller keeps its handles.
  struct GroupItem {
    std::wstring target;  // a file path; empty when the target is an ID list
    HICON picture = nullptr;
  };
  HICON groupPicture = nullptr;
  std::vector<GroupItem> items;

  static IconSource file(std::wstring path) { return {Kind::kFile, std::move(path), {}, nullptr, {}}; }
  static IconSource folder(std::wstring path) { return {Kind::kFolder, std::move(path), {}, nullptr, {}}; }
  static IconSource shellIdList(IdListBytes list) {
    return {Kind::kIdList, {}, std::move(list), nullptr, {}};
  }
};

// What OK hands back.
struct IconChoice {
  fw::IconHandle icon;  // a copy, owned by the caller
  // The file the icon came from and its index there; empty path when the
  // cell holds a shell icon or a group/item picture.
  std::wstring file;
  int index = 0;
  int cell = 0;  // position in the grid
};

class CIconPickerDialog;

// One picker per owning page: create it with the page, keep it while the page
// lives, and call pick() from the page's button. Calls come from the
// user-interface thread only (no cross-thread messages are accepted).
class IconPicker {
 public:
  // resources: the language library with template 132 (null: the program's).
  // iconDirectory: the IconDirectry value (folder, filter index, subfolder
  // option) the Browse button starts from and updates; may be null.
  explicit IconPicker(HINSTANCE resources = nullptr, FolderValue* iconDirectory = nullptr);
  ~IconPicker();
  IconPicker(const IconPicker&) = delete;
  IconPicker& operator=(const IconPicker&) = delete;

  // A different source empties the grid; the next pick() loads it.
  void setSource(IconSource source);
  // Shows the picker modally. OK: the chosen icon. Cancel: nothing. Either
  // way the grid, the selection and the scroll position are kept.
  std::optional<IconChoice> pick(HWND owner);

  // For tests and callers that show the grid size.
  int iconCount() const;

 private:
  std::unique_ptr<CIconPickerDialog> m_dialog;
};

}  // namespace vorbin
