// Messages for the results of save and restore.
#include "backup/result_message.h"

#include "backup/resource_ids.h"

namespace backup {

int messageForSave(long result) {
  if (result == 0) return IDS_SAVED;
  if (result == kGivenUp) return 0;
  return IDS_FAILED_CODE;
}

int messageForRestore(long result) {
  if (result == 0) return IDS_RESTORED;
  if (result == kGivenUp) return 0;
  if (result == kErrorBadDb || result == kErrorNotRegistryFile) return IDS_FAILED_HIVE;
  return IDS_FAILED_CODE;
}

std::wstring formatErrorText(std::wstring_view textTemplate, long code) {
  std::wstring text(textTemplate);
  size_t at = text.find(L"%d");
  if (at != std::wstring::npos) text.replace(at, 2, std::to_wstring(code));
  return text;
}

}  // namespace backup
