// The main list: which subfolders of the tool folder are backups, in which
// order they are shown, and how wide the columns are.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace backup {

// One entry of the tool folder as the folder listing returned it.
struct FolderEntry {
  std::wstring name;
  bool isDirectory = false;
  bool holdsBackupFile = false;  // the folder contains "vorbinbr.dat"
  uint64_t lastWriteTime = 0;    // the folder's own time (FILETIME units)
};

// The rows of the list: folders holding a backup file, other than "." and "..",
// each inserted at the top, so the last entry of the listing comes first.
std::vector<FolderEntry> listRows(std::span<const FolderEntry> listing);

struct ColumnWidths {
  int name = 0;
  int date = 0;
};
// Three fifths for the name and two for the date of the width left beside a
// vertical scroll bar.
ColumnWidths columnWidths(int listWidth, int scrollBarWidth);

// The name dialog's choices: the default name, then the list's names in list order.
std::vector<std::wstring> nameChoices(std::wstring_view defaultName, std::span<const std::wstring> listNames);

}  // namespace backup
