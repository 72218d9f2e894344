// Shortcut files as items: a ".lnk" through the shell's link object, a ".url"
// through the Internet-shortcut object with the INI file read and repaired
// directly where that object keeps no field (Wine's keeps neither the hot key
// nor the icon).
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "launcher/dialogs/item_sheet_rules.h"
#include "launcher/model/group_table.h"

namespace vorbin {

// The record of a ".lnk" or ".url" file, or nothing when it is neither or
// cannot be read. owner: the window the shell may ask over while it looks for a
// moved target (null: it does not ask). decoration: the "Shortcut to " text
// taken out of the title.
std::optional<ShortcutRecord> readShortcutRecord(const std::wstring& file, HWND owner,
                                                 std::wstring_view decoration);

// The item as a shortcut: ".url" for web links, else ".lnk". True once the
// file is written and reads back with the item's fields.
bool writeShortcut(const Item& item, const std::wstring& file);
bool writeShortcut(const GroupTable& groups, int group, int slot, const std::wstring& file);

// The shortcut's fields as they lie in the file (a ".url" read as INI text,
// bounded); nothing when the file cannot be read or has no URL.
std::optional<UrlFields> readUrlFile(const std::wstring& file);

}  // namespace vorbin
