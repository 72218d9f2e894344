// Start-up launching, win.ini lines, first-run imports and pump filters.
#include "launcher/app/startup_rules.h"

#include <gtest/gtest.h>

#include "launcher/widgets/shutdown_choice.h"

namespace vorbin {
namespace {

TEST(LaunchArguments, ProgramNameIsSkippedQuotedOrNot) {
  EXPECT_EQ(commandLineArguments(L"vorbin2k.exe /nologo x"), L"/nologo x");
  EXPECT_EQ(commandLineArguments(L"\"C:\\Program Files\\V\\vorbin2k.exe\" notepad.exe"), L"notepad.exe");
  // Quotes may stand anywhere in the name; only the one space after it goes.
  EXPECT_EQ(commandLineArguments(L"\"C:\\a b\"c.exe  two"), L" two");
  EXPECT_EQ(commandLineArguments(L"C:\\x\"y z\"\\v.exe\targ b"), L"b");
  EXPECT_EQ(commandLineArguments(L"vorbin2k.exe"), L"");
  EXPECT_EQ(commandLineArguments(L"\"C:\\no end quote x"), L"");
  EXPECT_EQ(commandLineArguments(L""), L"");
  EXPECT_EQ(commandLineArguments(L"\""), L"");
}

TEST(LaunchArguments, SwitchesComeFirstAndTheRestIsTheCommand) {
  LaunchArguments plain = parseLaunchArguments(L"  notepad.exe  C:\\a b.txt  ");
  EXPECT_EQ(plain.command, L"notepad.exe  C:\\a b.txt");
  EXPECT_FALSE(plain.noLogo);
  LaunchArguments quiet = parseLaunchArguments(L"/NoLogo -x \"C:\\Program Files\\x.exe\" /y");
  EXPECT_TRUE(quiet.noLogo);
  EXPECT_EQ(quiet.command, L"\"C:\\Program Files\\x.exe\" /y");
  EXPECT_TRUE(parseLaunchArguments(L"").command.empty());
  EXPECT_TRUE(parseLaunchArguments(L"/nologo").command.empty());
  EXPECT_TRUE(parseLaunchArguments(L"\t/NOLOGO\t").noLogo);
  EXPECT_FALSE(parseLaunchArguments(L"/nologox").noLogo);
  EXPECT_FALSE(parseLaunchArguments(L"/").noLogo);
  EXPECT_EQ(parseLaunchArguments(L"- a").command, L"a");
}

TEST(StartupLaunch, AnyModifierSuppressesEverything) {
  EXPECT_TRUE(startupLaunchAllowed(false, false, false));
  EXPECT_FALSE(startupLaunchAllowed(true, false, false));
  EXPECT_FALSE(startupLaunchAllowed(false, true, false));
  EXPECT_FALSE(startupLaunchAllowed(false, false, true));
  StartupPlan held = planStartupLaunch(true, true, L"a.exe", L"b.exe", L"c.exe");
  EXPECT_TRUE(held.commands.empty());
  EXPECT_FALSE(held.launchStartupGroups);
}

TEST(StartupLaunch, WinIniLinesOnlyAsTheShellThenCommandLine) {
  StartupPlan shell = planStartupLaunch(false, true, L"tray.exe, clock.exe", L"mail.exe", L"  notepad.exe x.txt ");
  ASSERT_EQ(shell.commands.size(), 4u);
  EXPECT_EQ(shell.commands[0].command, L"tray.exe");
  EXPECT_TRUE(shell.commands[0].minimizedNoActivate);
  EXPECT_TRUE(shell.commands[1].minimizedNoActivate);
  EXPECT_EQ(shell.commands[2].command, L"mail.exe");
  EXPECT_FALSE(shell.commands[2].minimizedNoActivate);
  EXPECT_EQ(shell.commands[3].command, L"notepad.exe x.txt");
  EXPECT_TRUE(shell.launchStartupGroups);

  StartupPlan plain = planStartupLaunch(false, false, L"tray.exe", L"mail.exe", L"");
  EXPECT_TRUE(plain.commands.empty());
  EXPECT_TRUE(plain.launchStartupGroups);
}

TEST(StartupLaunch, LinesAreSplitAndCappedAt260Characters) {
  EXPECT_EQ(splitStartupLine(L" a.exe,,b.exe\tc.exe "), (std::vector<std::wstring>{L"a.exe", L"b.exe", L"c.exe"}));
  std::wstring longLine(250, L'x');
  longLine += L" yyyyyyyyyyyyyyyyyyyy";
  auto parts = splitStartupLine(longLine);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[1].size(), 9u);  // cut at 260 characters
}

TEST(StartupLaunch, ShellValueNamesTheProgram) {
  EXPECT_TRUE(namesProgram(L"C:\\Tools\\VORBIN2K.EXE", L"vorbin2k.exe"));
  EXPECT_TRUE(namesProgram(L"explorer.exe vorbin2k.exe", L"Vorbin2k.exe"));
  EXPECT_FALSE(namesProgram(L"explorer.exe", L"vorbin2k.exe"));
  EXPECT_FALSE(namesProgram(L"", L"vorbin2k.exe"));
  EXPECT_FALSE(namesProgram(L"vorbin2k", L""));
}

TEST(FirstRun, FourQuestionsInOrderOnlyForAnEmptyTable) {
  auto imports = firstRunImports();
  ASSERT_EQ(imports.size(), 4u);
  EXPECT_EQ(imports[0].questionId, 416);
  EXPECT_EQ(imports[0].howGetSubFolder, 5);
  EXPECT_EQ(imports[1].howGetSubFolder, 0);
  EXPECT_EQ(imports[2].folder, ImportFolder::CommonStartMenu);
  EXPECT_EQ(imports[3].questionId, 419);
  EXPECT_EQ(imports[3].howGetSubFolder, 11);
  EXPECT_TRUE(offerFirstRunImports(2));
  EXPECT_FALSE(offerFirstRunImports(3));
}

TEST(PumpFilters, VerticalBarOnlyInMarkedFieldsAndHelpIds) {
  EXPECT_TRUE(swallowDialogChar(L'|', 0x1005));
  EXPECT_FALSE(swallowDialogChar(L'|', 0x0005));
  EXPECT_FALSE(swallowDialogChar(L'a', 0x1005));
  EXPECT_TRUE(contextHelpWanted(1001, false));
  EXPECT_FALSE(contextHelpWanted(1001, true));
  for (int id : {0, 12320, 0xFFFF, -1}) EXPECT_FALSE(contextHelpWanted(id, false)) << id;
}

TEST(ShutdownChoice, ButtonsMapToExitFlags) {
  EXPECT_EQ(shutdownFlagsFor(318), 8);
  EXPECT_EQ(shutdownFlagsFor(319), 2);
  EXPECT_EQ(shutdownFlagsFor(320), 0);
  EXPECT_EQ(shutdownFlagsFor(2), -1);  // Cancel / Escape
  EXPECT_EQ(shutdownFlagsFor(1), -1);
}

}  // namespace
}  // namespace vorbin
