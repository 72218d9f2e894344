// Rows and columns of the main list.
#include "backup/backup_list.h"

namespace backup {

std::vector<FolderEntry> listRows(std::span<const FolderEntry> listing) {
  std::vector<FolderEntry> rows;
  for (auto it = listing.rbegin(); it != listing.rend(); ++it) {
    if (!it->isDirectory || !it->holdsBackupFile) continue;
    if (it->name == L"." || it->name == L"..") continue;
    rows.push_back(*it);
  }
  return rows;
}

ColumnWidths columnWidths(int listWidth, int scrollBarWidth) {
  int unit = (listWidth - scrollBarWidth - 4) / 5;
  if (unit < 0) unit = 0;
  return {3 * unit, 2 * unit};
}

std::vector<std::wstring> nameChoices(std::wstring_view defaultName,
                                      std::span<const std::wstring> listNames) {
  std::vector<std::wstring> choices;
  choices.reserve(listNames.size() + 1);
  choices.emplace_back(defaultName);
  choices.insert(choices.end(), listNames.begin(), listNames.end());
  return choices;
}

}  // namespace backup
