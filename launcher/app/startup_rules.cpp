// Start-up decisions that need no window.
#include "launcher/app/startup_rules.h"

#include <algorithm>
#include <array>
#include <cwctype>

#include "launcher/resources/resource_ids.h"
#include "launcher/services/text_chars.h"

namespace vorbin {

std::wstring_view commandLineArguments(std::wstring_view commandLine) {
  bool quoted = false;
  for (size_t i = 0; i < commandLine.size(); ++i) {
    if (commandLine[i] == L' ' && !quoted) return commandLine.substr(i + 1);
    if (commandLine[i] == L'"') quoted = !quoted;
  }
  return {};
}

LaunchArguments parseLaunchArguments(std::wstring_view rest) {
  LaunchArguments out;
  for (;;) {
    rest = trimFront(rest, isSpaceOrTab);
    if (rest.empty() || (rest.front() != L'/' && rest.front() != L'-')) break;
    size_t end = 1;
    while (end < rest.size() && !isSpaceOrTab(rest[end])) ++end;
    if (equalsFoldingAscii(rest.substr(1, end - 1), L"nologo")) out.noLogo = true;
    rest.remove_prefix(end);
  }
  out.command.assign(trimBack(rest, isSpaceOrTab));
  return out;
}

bool startupLaunchAllowed(bool shift, bool ctrl, bool alt) { return !shift && !ctrl && !alt; }

std::vector<std::wstring> splitStartupLine(std::wstring_view line) {
  line = line.substr(0, std::min<size_t>(line.size(), 260));
  return splitPieces(line, [](wchar_t c) { return isSpaceOrTab(c) || c == L',' || c == L'\0'; });
}

StartupPlan planStartupLaunch(bool modifierHeld, bool runningAsShell, std::wstring_view loadLine,
                              std::wstring_view runLine, std::wstring_view commandLine) {
  StartupPlan plan;
  if (modifierHeld) return plan;
  if (runningAsShell) {
    for (auto& e : splitStartupLine(loadLine)) plan.commands.push_back({e, true});
    for (auto& e : splitStartupLine(runLine)) plan.commands.push_back({e, false});
  }
  const std::wstring_view command = trimmed(commandLine, isSpaceOrTab);
  if (!command.empty()) plan.commands.push_back({std::wstring(command), false});
  plan.launchStartupGroups = true;
  return plan;
}

bool namesProgram(std::wstring_view shellValue, std::wstring_view exeName) {
  if (exeName.empty() || exeName.size() > shellValue.size()) return false;
  auto up = [](wchar_t c) { return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c))); };
  for (size_t i = 0; i + exeName.size() <= shellValue.size(); ++i) {
    size_t j = 0;
    while (j < exeName.size() && up(shellValue[i + j]) == up(exeName[j])) ++j;
    if (j == exeName.size()) return true;
  }
  return false;
}

std::span<const FirstRunImport> firstRunImports() {
  static constexpr std::array<FirstRunImport, 4> kImports{{
      {ImportFolder::Desktop, IDS_IMPORT_DESKTOP, 5},
      {ImportFolder::ControlPanel, IDS_IMPORT_CONTROL_PANEL, 0},
      {ImportFolder::CommonStartMenu, IDS_IMPORT_COMMON_START_MENU, 11},
      {ImportFolder::UserStartMenu, IDS_IMPORT_USER_START_MENU, 11},
  }};
  return kImports;
}

bool offerFirstRunImports(size_t groupCount) { return groupCount <= 2; }

bool swallowDialogChar(uint32_t character, int controlId) {
  return character == L'|' && (controlId & kNoBarFieldBit) != 0;
}

bool contextHelpWanted(int controlId, bool tipShown) {
  return !tipShown && controlId != 0 && controlId != 12320 && controlId != 0xFFFF && controlId != -1;
}

}  // namespace vorbin
