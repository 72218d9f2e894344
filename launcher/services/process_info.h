// Which program owns another program's window: its process, full path,
// priority and type, and the command line it was started with. Asked for
// one window at a time, when a tip, a menu, the details or a new item need it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace vorbin {

struct ProcessDetails {
  DWORD processId = 0;     // 0: the window is gone
  std::wstring imagePath;  // empty when the process could not be asked
  int32_t basePriority = 0;
  bool is64Bit = false;  // the process runs 64-bit code (known when it could be opened)
  // The window's program type as the details name it: "16Bit" or "32Bit".
  std::wstring_view typeName = L"32Bit";

  std::wstring_view priorityName() const;
};

// The process that owns the window. The path and priority come with limited
// query rights, which the system grants for nearly every process; a process
// that cannot be opened or has ended leaves them empty.
ProcessDetails queryProcess(HWND window);

// The full path of a process's program; empty on failure.
std::wstring processImagePath(HANDLE process);

enum class CommandLineSource {
  kHookLibrary,  // the program's own command line
  kTitle,        // the program's path, and as argument a document path from the title
  kProgramOnly,  // the program's path, no arguments
};
struct TaskCommandLine {
  std::wstring program;
  std::wstring arguments;
  CommandLineSource source = CommandLineSource::kProgramOnly;
};
// The program and arguments a window's program was started with: from the
// hook library when it can publish the command line (up to 255 characters),
// otherwise the program's path with the document path its title shows.
TaskCommandLine taskCommandLine(HWND window);

// Reads the text of a global atom made by the hook library, and deletes it:
// it was made for this one read. Empty for atom 0.
std::wstring takeCommandLineAtom(UINT atom);

}  // namespace vorbin
