// Start-up decisions that need no window: whether the start-up launching
// runs, what the "load" and "run" lines of win.ini start, which first-run
// imports are offered, and the filters of the message pump.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorbin {

// What follows the program's name in a process command line: the name ends
// at the first space outside quotes, and that one space is skipped.
std::wstring_view commandLineArguments(std::wstring_view commandLine);

// What the launcher's own command line says.
struct LaunchArguments {
  std::wstring command;  // a program (with its arguments) to start
  bool noLogo = false;   // "/nologo": no tip of the day
};
// Leading switches ("/x" or "-x"; "/nologo" in any case is known), then the
// command, without surrounding blanks.
LaunchArguments parseLaunchArguments(std::wstring_view arguments);

// Holding Shift, Ctrl or Alt at start suppresses every start-up launch.
bool startupLaunchAllowed(bool shift, bool ctrl, bool alt);

// Entries of a win.ini "load"/"run" line (at most 260 characters are read),
// split at blanks and commas.
std::vector<std::wstring> splitStartupLine(std::wstring_view line);

struct StartupLaunch {
  std::wstring command;
  bool minimizedNoActivate = false;  // "load" entries start minimized without activation
};
struct StartupPlan {
  std::vector<StartupLaunch> commands;  // win.ini entries and the command line, in order
  bool launchStartupGroups = false;     // items of groups with the start-up flag
};
// What the bar's creation starts: nothing with a modifier held; the win.ini
// lines only when running as the shell; then the command line.
StartupPlan planStartupLaunch(bool modifierHeld, bool runningAsShell, std::wstring_view loadLine,
                              std::wstring_view runLine, std::wstring_view commandLine);

// True when the shell's command line names this program (case-insensitive).
bool namesProgram(std::wstring_view shellValue, std::wstring_view exeName);

// The first-run imports, in the order they are offered.
enum class ImportFolder { Desktop, ControlPanel, CommonStartMenu, UserStartMenu };
struct FirstRunImport {
  ImportFolder folder;
  int questionId;       // resource string of the question
  int howGetSubFolder;  // HowGetSubFolder during the import
};
std::span<const FirstRunImport> firstRunImports();
// The imports are offered only to a table of the quick group and the placeholder.
bool offerFirstRunImports(size_t groupCount);

// Dialog fields whose control id has this bit never take a vertical bar.
inline constexpr int kNoBarFieldBit = 0x1000;
bool swallowDialogChar(uint32_t character, int controlId);

// Context help is shown only for real control ids.
bool contextHelpWanted(int controlId, bool tipShown);

// The framework's private idle message, dropped by the pump.
inline constexpr uint32_t kIdleUpdateMessage = 0x036A;

}  // namespace vorbin
