// Saving the launcher's key as a registry hive file and restoring it from one.
#pragma once
#include <windows.h>

#include <string>

namespace backup {

// How a key is restored: the system's restore service, or loading the hive
// beside the user's keys and copying it over the key. The second is for
// systems whose restore service is missing or does nothing (Wine's reports
// success and changes nothing); under Wine the hive is Wine's registry text,
// checked whole before loading because Wine's loader takes a damaged text as
// far as it can read it and reports success.
enum class RestoreMethod { kSystem, kLoadAndCopy, kWineLoadAndCopy };

// True when running under Wine (its ntdll names its version).
bool runningUnderWine();

// Writes key with everything below it into file (which must not exist).
LONG saveKeyToHive(HKEY key, const std::wstring& file);

// Replaces everything below key (opened with all access) by the hive in
// file. On failure the key keeps what it held.
LONG restoreKeyFromHive(HKEY key, const std::wstring& file, RestoreMethod method);

}  // namespace backup
