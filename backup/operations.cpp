// Save, restore and delete of backups.
#include "backup/operations.h"

#include "backup/backup_name.h"
#include "backup/file_ops.h"
#include "backup/hive.h"
#include "backup/launcher_control.h"
#include "backup/privilege.h"
#include "backup/resource_ids.h"
#include "backup/result_message.h"
#include "framework/handle.h"
#include "framework/trace.h"

namespace backup {

namespace {
const wchar_t kSaveKey[] = L"software\\ornel\\vorbin96";
const wchar_t kRestoreKey[] = L"software\\ornel\\Vorbin96";

std::wstring backupFile(const std::wstring& folder) { return folder + L"\\" + std::wstring(kBackupFileName); }

// Systems outside the NT family take the registry file by its short name.
std::wstring hivePath(const ToolContext& context, const std::wstring& folder) {
  if (context.ntFamily) return backupFile(folder);
  wchar_t shortFolder[MAX_PATH] = {};
  DWORD n = GetShortPathNameW(folder.c_str(), shortFolder, MAX_PATH);
  if (n == 0) FW_TRACE_FAILURE("GetShortPathNameW");
  if (n == 0 || n >= MAX_PATH) return backupFile(folder);
  return backupFile(shortFolder);
}

// A short folder beside the backups, new for each save that replaces one.
std::wstring stagingFolder(const ToolContext& context) {
  wchar_t name[32];
  wsprintfW(name, L"~vbr%lx", GetCurrentProcessId());
  return context.toolFolder + name;
}

long lastError() { return static_cast<long>(GetLastError()); }
}  // namespace

bool launcherSettingsExist() {
  fw::RegKey key;
  return RegOpenKeyExW(HKEY_CURRENT_USER, kSaveKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

long makeBackup(const ToolContext& context, const std::wstring& storedName, const Prompter& prompter) {
  switch (checkBackupName(storedName, context.toolFolder.size())) {
    case NameCheck::kOk:
      break;
    case NameCheck::kTooLong:
      prompter.tell(IDS_NAME_TOO_LONG, MB_ICONEXCLAMATION);
      return kGivenUp;
    default:
      prompter.tell(IDS_NAME_UNUSABLE, MB_ICONEXCLAMATION);
      return kGivenUp;
  }
  const std::wstring folder = context.toolFolder + storedName;
  const bool replacing = folderExists(folder);
  if (replacing) {
    if (!prompter.confirm(IDS_ASK_OVERWRITE)) return kGivenUp;
    // A folder that isn't a backup is never replaced, asked or silent.
    if (!fileExists(backupFile(folder))) {
      prompter.tell(IDS_NOT_A_BACKUP, 0);
      return kGivenUp;
    }
  }

  fw::RegKey key;
  long rc = RegOpenKeyExW(HKEY_CURRENT_USER, kSaveKey, 0, KEY_READ, key.put());
  if (rc != ERROR_SUCCESS) {
    FW_TRACE_FAILURE_CODE("RegOpenKeyExW", rc);
    return rc;
  }
  if (context.ntFamily && !enablePrivilege(SE_BACKUP_NAME)) return kPrivilegeNotHeld;

  // A replacing save goes into a fresh folder first, so that a failure
  // leaves the old backup as it was.
  const std::wstring target = replacing ? stagingFolder(context) : folder;
  if (replacing && folderExists(target)) deleteFolderTree(target);
  if (!CreateDirectoryW(target.c_str(), nullptr)) {
    FW_TRACE_FAILURE("CreateDirectoryW");
    return lastError();
  }
  rc = saveKeyToHive(key.get(), hivePath(context, target));
  if (rc != ERROR_SUCCESS) {
    deleteFolderTree(target);
    return rc;
  }
  copyFolderFiles(launcherDataFolder(context.toolFolder), target, false);
  if (replacing) {
    if (!deleteFolderTree(folder)) {
      deleteFolderTree(target);
      return ERROR_ACCESS_DENIED;
    }
    if (!MoveFileW(target.c_str(), folder.c_str())) {
      FW_TRACE_FAILURE("MoveFileW");
      return lastError();
    }
  }
  return ERROR_SUCCESS;
}

long restoreBackup(const ToolContext& context, const std::wstring& name) {
  if (!namesSubfolder(name)) return ERROR_INVALID_NAME;
  const std::wstring folder = context.toolFolder + name;
  fw::RegKey key;
  long rc = RegCreateKeyExW(HKEY_CURRENT_USER, kRestoreKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                            nullptr);
  if (rc != ERROR_SUCCESS) {
    FW_TRACE_FAILURE_CODE("RegCreateKeyExW", rc);
    return rc;
  }
  if (context.ntFamily && !enablePrivilege(SE_RESTORE_NAME)) return kPrivilegeNotHeld;
  // Loading a hive beside the user's keys also needs the backup privilege.
  const bool loadAndCopy = !context.ntFamily || context.underWine;
  if (context.ntFamily && loadAndCopy && !enablePrivilege(SE_BACKUP_NAME)) return kPrivilegeNotHeld;
  // A backup that went away since the list was filled leaves the launcher running.
  if (!fileExists(backupFile(folder))) return ERROR_FILE_NOT_FOUND;

  std::optional<RunningLauncher> launcher = findRunningLauncher(context.ntFamily);
  if (launcher) closeLauncher(*launcher);

  RestoreMethod method = !loadAndCopy        ? RestoreMethod::kSystem
                         : context.underWine ? RestoreMethod::kWineLoadAndCopy
                                             : RestoreMethod::kLoadAndCopy;
  rc = restoreKeyFromHive(key.get(), hivePath(context, folder), method);
  if (rc == ERROR_SUCCESS) {
    std::wstring data = recreateLauncherDataFolder(context.toolFolder);
    if (!data.empty()) copyFolderFiles(folder, data, true);
  }
  key.reset();
  if (launcher && !launcher->executable.empty()) startLauncher(launcher->executable);
  return rc;
}

bool deleteBackup(const ToolContext& context, const std::wstring& name) {
  if (!namesSubfolder(name)) return false;
  const std::wstring folder = context.toolFolder + name;
  return !folderExists(folder) || deleteFolderTree(folder);
}

}  // namespace backup
