// Start-up decisions that need no window.
#include "launcher/app/startup_rules.h"

#include <algorithm>
#include <array>
#include <cwctype>

namespace vorbin {

std::wstring_view commandLineArguments(std::wstring_view commandLine) {
  bool quoted = false;
  for (size_t i = 0; i < commandLine.size(); ++i) {
    if (commandLine[i] == L' ' && !quoted) return commandLine.substr(i + 1);
    if (commandLine[i] == L'"') quoted = !quoted;
  }
  return {};
}

namespace {
bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return std::towlower(static_cast<wint_t>(x)) == std::towlower(static_cast<wint_t>(y));
         });
}
}  // namespace

LaunchArguments parseLaunchArguments(std::wstring_view rest) {
  LaunchArguments out;
  for (;;) {
    while (!rest.empty() && isBlank(rest.front())) rest.remove_prefix(1);
    if (rest.empty() || (rest.front() != L'/' && rest.front() != L'-')) break;
    size_t end = 1;
    while (end < rest.size() && !isBlank(rest[end])) ++end;
    if (equalsIgnoringCase(rest.substr(1, end - 1), L"nologo")) out.noLogo = true;
    rest.remove_prefix(end);
  }
  while (!rest.empty() && isBlank(rest.back())) rest.remove_suffix(1);
  out.command.assign(rest);
  return out;
}

bool startupLaunchAllowed(bool shift, bool ctrl, bool alt) { return !shift && !ctrl && !alt; }

std::vector<std::wstring> splitStartupLine(std::wstring_view line) {
  line = line.substr(0, std::min<size_t>(line.size(), 260));
  std::vector<std::wstring> out;
  std::wstring current;
  for (wchar_t c : line) {
    if (c == L' ' || c == L',' || c == L'\t' || c == L'\0') {
      if (!current.empty()) out.push_back(std::move(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) out.push_back(std::move(current));
  return out;
}

StartupPlan planStartupLaunch(bool modifierHeld, bool runningAsShell, std::wstring_view loadLine,
                              std::wstring_view runLine, std::wstring_view commandLine) {
  StartupPlan plan;
  if (modifierHeld) return plan;
  if (runningAsShell) {
    for (auto& e : splitStartupLine(loadLine)) plan.commands.push_back({e, true});
    for (auto& e : splitStartupLine(runLine)) plan.commands.push_back({e, false});
  }
  size_t first = commandLine.find_first_not_of(L" \t");
  if (first != std::wstring_view::npos) {
    size_t last = commandLine.find_last_not_of(L" \t");
    plan.commands.push_back({std::wstring(commandLine.substr(first, last - first + 1)), false});
  }
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
      {ImportFolder::Desktop, 416, 5},
      {ImportFolder::ControlPanel, 417, 0},
      {ImportFolder::CommonStartMenu, 418, 11},
      {ImportFolder::UserStartMenu, 419, 11},
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
