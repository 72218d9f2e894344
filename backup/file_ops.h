// Files and folders of the backup tool: the tool folder, the launcher's data
// folder, folder listings, copying the files of one folder, deleting a tree.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "backup/backup_list.h"

namespace backup {

// The folder of this program's executable, with the trailing backslash.
std::wstring toolFolder();

// The launcher's data folder (application data + "Ornelsoft\Vorbin2k\"), found
// without creating anything; the tool folder stands in for application data
// when the system can't name it.
std::wstring launcherDataFolder(const std::wstring& toolFolder);
// The same folder made anew: created where missing, emptied where present.
// Empty on failure.
std::wstring recreateLauncherDataFolder(const std::wstring& toolFolder);

bool folderExists(const std::wstring& path);
bool fileExists(const std::wstring& path);

// The entries of a folder in the order the system lists them; each folder
// entry tells whether it holds "vorbinbr.dat".
std::vector<FolderEntry> listFolder(const std::wstring& folder);

// Copies every file (not subfolders) lying directly in from (a folder path
// with trailing backslash) into to, overwriting; files that can't be copied
// are skipped, as are the backup file when skipBackupFile is set.
void copyFolderFiles(const std::wstring& from, const std::wstring& to, bool skipBackupFile);

// The whole content of a file of at most maxBytes; nothing when it is missing,
// unreadable or larger.
std::optional<std::string> readWholeFile(const std::wstring& path, size_t maxBytes);

// Deletes a folder with all its contents, silently. True when it is gone.
bool deleteFolderTree(const std::wstring& path);

}  // namespace backup
