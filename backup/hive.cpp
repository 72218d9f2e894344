// Hive save and restore, with the load-and-copy way for systems whose
// restore service can't be used.
#include "backup/hive.h"

#include "backup/file_ops.h"
#include "backup/registry_tree.h"
#include "backup/wine_hive_text.h"
#include "framework/handle.h"
#include "framework/trace.h"

namespace backup {

namespace {
const wchar_t kTemporaryHive[] = L"TEMP_HIVE";
constexpr size_t kLargestHive = 256u << 20;

LONG readHive(const std::wstring& file, RegistryTree& tree) {
  // A hive left loaded by an interrupted run would block the name.
  RegUnLoadKeyW(HKEY_USERS, kTemporaryHive);
  LONG rc = RegLoadKeyW(HKEY_USERS, kTemporaryHive, file.c_str());
  if (rc != ERROR_SUCCESS) {
    FW_TRACE_FAILURE_CODE("RegLoadKeyW", rc);
    return rc;
  }
  {
    fw::RegKey hive;
    rc = RegOpenKeyExW(HKEY_USERS, kTemporaryHive, 0, KEY_READ, hive.put());
    if (rc == ERROR_SUCCESS)
      rc = readRegistryTree(hive.get(), tree);
    else
      FW_TRACE_FAILURE_CODE("RegOpenKeyExW", rc);
  }
  if (LONG unload = RegUnLoadKeyW(HKEY_USERS, kTemporaryHive); unload != ERROR_SUCCESS)
    FW_TRACE_FAILURE_CODE("RegUnLoadKeyW", unload);
  return rc;
}

LONG loadAndCopy(HKEY key, const std::wstring& file) {
  // Everything is read before the key is touched, so that a damaged file
  // changes nothing, and a copy that fails half-way can be undone.
  RegistryTree saved;
  LONG rc = readHive(file, saved);
  if (rc != ERROR_SUCCESS) return rc;
  // Wine's loader takes a damaged text hive as an empty one and reports
  // success; the launcher's settings are never empty, so nothing is taken
  // for a damaged file rather than for an order to delete every setting.
  if (saved.values.empty() && saved.subkeys.empty()) return ERROR_BADDB;
  RegistryTree current;
  rc = readRegistryTree(key, current);
  if (rc != ERROR_SUCCESS) return rc;
  rc = clearRegistryKey(key);
  if (rc == ERROR_SUCCESS) rc = writeRegistryTree(key, saved);
  if (rc != ERROR_SUCCESS) {
    clearRegistryKey(key);
    writeRegistryTree(key, current);
  }
  return rc;
}
}  // namespace

bool runningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

LONG saveKeyToHive(HKEY key, const std::wstring& file) {
  LONG rc = RegSaveKeyW(key, file.c_str(), nullptr);
  if (rc != ERROR_SUCCESS) FW_TRACE_FAILURE_CODE("RegSaveKeyW", rc);
  return rc;
}

LONG restoreKeyFromHive(HKEY key, const std::wstring& file, RestoreMethod method) {
  if (method == RestoreMethod::kSystem) {
    LONG rc = RegRestoreKeyW(key, file.c_str(), REG_FORCE_RESTORE);
    if (rc != ERROR_SUCCESS) FW_TRACE_FAILURE_CODE("RegRestoreKeyW", rc);
    return rc;
  }
  if (method == RestoreMethod::kWineLoadAndCopy) {
    std::optional<std::string> text = readWholeFile(file, kLargestHive);
    if (!text) return fileExists(file) ? ERROR_NOT_REGISTRY_FILE : ERROR_FILE_NOT_FOUND;
    if (!isWellFormedWineHiveText(*text)) return ERROR_BADDB;
  }
  return loadAndCopy(key, file);
}

}  // namespace backup
