// Starting items through the shell: the execution request, the program chooser
// for files without one, the retry that lets the shell explain a failure, and
// the start mode and hot key of the new program's window.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "launcher/interact/launch_rules.h"
#include "launcher/model/group_table.h"

namespace vorbin {

// What a launch needs from the bar.
struct LaunchContext {
  HWND owner = nullptr;           // owner of the request and of messages; its monitor is used
  HINSTANCE resources = nullptr;  // the language library with the message texts
  // Runs after a successful start; the bar hides there unless it is locked.
  std::function<void()> onStarted;
};

struct LaunchOutcome {
  bool started = false;
  int result = 0;  // the shell's result of the last attempt (> 32 success)
  std::wstring file, parameters, directory, verb;
  int showCommand = sw::kShowNormal;
  DWORD processId = 0;       // the started process when its window was looked for
  HWND newWindow = nullptr;  // the new top-level window that got the show state and hot key
};

// The system behind the launch decisions.
class Win32LaunchSystem : public LaunchSystem {
 public:
  std::optional<std::wstring> expandEnvironment(const std::wstring& text) override;
  bool exists(const std::wstring& path) override;
  bool isFolder(const std::wstring& path) override;
  std::optional<std::wstring> searchPath(const std::wstring& name, const std::wstring& extension) override;
  std::wstring windowsFolder() override;
  bool setCurrentFolder(const std::wstring& folder) override;
  bool is16BitWindowsProgram(const std::wstring& program) override;
  std::optional<std::wstring> shortPath(const std::wstring& path) override;
  std::wstring classDefaultVerb(const std::wstring& extension) override;
  Association findExecutable(const std::wstring& file) override;
};

LaunchOutcome launchItem(const LaunchRequest& request, const LaunchContext& context);
// Starts the item in that slot; nothing when the slot is empty.
LaunchOutcome launchSlot(const GroupTable& groups, int groupIndex, int slot, const LaunchContext& context);
// Starts every occupied slot of the group in order with the group's start-up show mode.
std::vector<LaunchOutcome> launchGroup(const GroupTable& groups, int groupIndex,
                                       const LaunchContext& context);

// With report, a missing folder is shown (and the text kept); without, it
// becomes the Windows folder.
bool checkFolder(std::wstring& folder, bool report, bool fullPath, const LaunchContext& context);
// >= 32 on success (the file text is now the program); with report a failure
// is shown and 32 returned, so that the caller goes on.
int findProgram(std::wstring& file, bool report, const LaunchContext& context);
void reportNotFound(const std::wstring& name, bool folder, bool noAssociation, const LaunchContext& context);

}  // namespace vorbin
