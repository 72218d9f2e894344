// Which message tells the user how a save or restore ended.
#pragma once
#include <string>
#include <string_view>

namespace backup {

// Results of the operations: 0 done, kGivenUp when the user or a rule stopped
// it (already told), otherwise a system error code.
inline constexpr long kGivenUp = -1;
// What a privilege that can't be enabled is reported as.
inline constexpr long kPrivilegeNotHeld = 481;
inline constexpr long kErrorBadDb = 1009;            // ERROR_BADDB
inline constexpr long kErrorNotRegistryFile = 1017;  // ERROR_NOT_REGISTRY_FILE

// String id of the message for a result; 0 = say nothing.
int messageForSave(long result);
int messageForRestore(long result);

// The error message template with its first %d replaced by code.
std::wstring formatErrorText(std::wstring_view textTemplate, long code);

}  // namespace backup
