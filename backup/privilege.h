// Enabling one privilege of this process's token.
#pragma once

namespace backup {

// Enables the named privilege ("SeBackupPrivilege", ...) alone; true when the
// adjustment left no error.
bool enablePrivilege(const wchar_t* name);

}  // namespace backup
