// Reading the program's command line.
#include "backup/command_line.h"

namespace backup {

bool isSilentBackupCommand(std::wstring_view commandLine) {
  return commandLine.size() == 2 && commandLine[0] == L'-' &&
         (commandLine[1] == L'B' || commandLine[1] == L'b');
}

}  // namespace backup
