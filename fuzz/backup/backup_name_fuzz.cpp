// Any typed name, once converted and accepted, is a plain subfolder name that
// fits the path limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "backup/backup_name.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  size_t folderLength = data[0] * 2u;  // tool folders of 0..510 characters
  std::wstring typed;
  for (size_t i = 1; i + 1 < size; i += 2)
    typed.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));

  std::wstring stored = backup::toStoredName(typed);
  if (stored.size() != typed.size()) abort();
  if (stored.find_first_of(L"\\/:,*?\"<>|") != std::wstring::npos) abort();
  if (backup::checkBackupName(stored, folderLength) == backup::NameCheck::kOk) {
    if (!backup::namesSubfolder(stored)) abort();
    if (stored.back() == L'.' || stored.back() == L' ') abort();
    if (folderLength + stored.size() + 1 + backup::kBackupFileName.size() > backup::kMaxPathLength) abort();
  }
  return 0;
}
