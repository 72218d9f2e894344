// Token privileges of the backup tool.
#include "backup/privilege.h"

#include <windows.h>

#include "framework/handle.h"
#include "framework/trace.h"

namespace backup {

bool enablePrivilege(const wchar_t* name) {
  fw::KernelHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put())) {
    FW_TRACE_FAILURE("OpenProcessToken");
    return false;
  }
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid)) {
    FW_TRACE_FAILURE("LookupPrivilegeValueW");
    return false;
  }
  // Success of the call alone is not enough: ERROR_NOT_ALL_ASSIGNED comes
  // back with a true result when the token lacks the privilege.
  SetLastError(ERROR_SUCCESS);
  AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
  if (GetLastError() == ERROR_SUCCESS) return true;
  FW_TRACE_FAILURE("AdjustTokenPrivileges");
  return false;
}

}  // namespace backup
