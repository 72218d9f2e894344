// Reading a shell shortcut file (.lnk): what a button made from it takes over.
#pragma once
#include <windows.h>
#include <shobjidl.h>

#include <cstdint>
#include <optional>
#include <string>

#include "framework/com.h"
#include "launcher/services/id_list.h"

namespace vorbin {

struct ShortcutContents {
  std::wstring path;  // the target's file-system path; empty for a shell object
  std::wstring arguments;
  IdListBytes idList;   // the target as an item-ID list when it has no path
  std::wstring folder;  // working folder
  std::wstring iconFile;
  int iconIndex = 0;
  uint16_t hotKey = 0;  // low byte virtual key, high byte 1 Shift, 2 Control, 4 Alt
  int showCommand = SW_SHOWNORMAL;
  std::wstring comment;
};

// The shortcut's contents, or nothing when the file is not a shortcut the
// shell can load. Starts COM for the call when the thread has not.
std::optional<ShortcutContents> readShortcut(const std::wstring& file);

// The shell's link object loaded from a ".lnk" file; null when it cannot be
// made or loaded. The caller's thread has COM.
fw::ComPtr<IShellLinkW> loadShellLink(const std::wstring& file);

// The shell's display name of a path or of an item-ID list; empty on failure.
std::wstring shellDisplayName(const std::wstring& path, const IdListBytes& idList);
// The shell's type name of a path or ID list ("Application", "File folder"); empty on failure.
std::wstring shellTypeName(const std::wstring& path, const IdListBytes& idList);

}  // namespace vorbin
