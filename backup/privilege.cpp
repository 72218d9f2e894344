// Token privileges of the backup tool.
#include "backup/privilege.h"

#include <windows.h>

#include "framework/handle.h"

namespace backup {

bool enablePrivilege(const wchar_t* name) {
  fw::KernelHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put()))
    return false;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid)) return false;
  // Success of the call alone is not enough: ERROR_NOT_ALL_ASSIGNED comes
  // back with a true result when the token lacks the privilege.
  SetLastError(ERROR_SUCCESS);
  AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
  return GetLastError() == ERROR_SUCCESS;
}

}  // namespace backup
