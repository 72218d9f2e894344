// The program's command line: "-B" alone asks for a silent backup.
#pragma once
#include <string_view>

namespace backup {

// True when the whole command line is "-B" in either case.
bool isSilentBackupCommand(std::wstring_view commandLine);

}  // namespace backup
