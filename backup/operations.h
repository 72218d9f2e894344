// The tool's three operations on a named backup: save the launcher's settings
// into it, restore them from it, and delete it.
#pragma once
#include <string>

#include "backup/messages.h"

namespace backup {

struct ToolContext {
  std::wstring toolFolder;  // with the trailing backslash
  bool ntFamily = true;
  bool underWine = false;
};

// True when the launcher's settings key exists and can be read.
bool launcherSettingsExist();

// Saves the launcher's key and data files under storedName (already
// converted). Asks before replacing a backup and refuses folders that aren't
// backups. Returns 0, kGivenUp (the user was told or chose so), or an error code.
long makeBackup(const ToolContext& context, const std::wstring& storedName, const Prompter& prompter);

// Closes a running launcher, replaces its key by the backup's hive and its
// data files by the backup's, and starts the launcher again. Returns 0 or an
// error code; on failure the key keeps what it held.
long restoreBackup(const ToolContext& context, const std::wstring& name);

// Removes a backup folder with its contents; true when it is gone.
bool deleteBackup(const ToolContext& context, const std::wstring& name);

}  // namespace backup
