// The group sheet's rules, the deferral of outside work during modal loops,
// and finding the edited group again after the table changed underneath.
#include "launcher/dialogs/group_sheet_rules.h"

#include <gtest/gtest.h>

#include "launcher/bar/modal_busy.h"
#include "launcher/model/group_table.h"
#include "launcher/services/folder_walk.h"
#include "launcher/model/profile.h"

namespace vorbin {
namespace {

TEST(GroupSheetRules, StartUpChecksRoundTripAndClicks) {
  struct Row {
    int line, stored;
    bool start, second, third;
    int written;
  } rows[] = {
      {__LINE__, 0, false, false, false, 0}, {__LINE__, 1, true, false, false, 1},
      {__LINE__, 3, true, true, false, 3},   {__LINE__, 5, true, false, true, 5},
      {__LINE__, 6, true, true, true, 7},    {__LINE__, 8, true, false, false, 1},
  };
  for (const Row& r : rows) {
    const StartUpChecks c = startUpChecksFromValue(r.stored);
    EXPECT_EQ(c.start, r.start) << r.line;
    EXPECT_EQ(c.second, r.second) << r.line;
    EXPECT_EQ(c.third, r.third) << r.line;
    EXPECT_EQ(startUpValue(c), r.written) << r.line;
  }
  // Both variants stored: the first click keeps only the clicked one, whatever the box now says.
  StartUpChecks both = startUpChecksFromValue(6);
  StartUpChecks c = afterStartUpClick(both, StartUpBox::kSecond, false);
  EXPECT_TRUE(c.second && !c.third);
  c = afterStartUpClick(both, StartUpBox::kThird, false);
  EXPECT_TRUE(c.third && !c.second);
  // Afterwards they exclude each other; the main box clears and gates them.
  c = afterStartUpClick(c, StartUpBox::kSecond, true);
  EXPECT_TRUE(c.second && !c.third);
  c = afterStartUpClick(c, StartUpBox::kStart, false);
  EXPECT_EQ(startUpValue(c), 0);
  c = afterStartUpClick(c, StartUpBox::kThird, true);
  EXPECT_FALSE(c.third) << "a variant without the main box";
}

TEST(GroupSheetRules, RegisterOptionsEnablingAndClicks) {
  for (int v = 0; v < 16; ++v) EXPECT_EQ(howGetSubFolderValue(registerOptionsFromValue(v)), v);
  RegisterOptions o = registerOptionsFromValue(11);  // subfolders, group per folder, only with files
  RegisterEnabling e = registerEnabling(o);
  EXPECT_TRUE(e.groupPerFolder && e.foldersAsItems && e.onlyWithFiles);
  // Without subfolders the others are out of reach and "only with files" goes.
  o = afterRegisterClick(o, RegisterBox::kSubfolders, false);
  e = registerEnabling(o);
  EXPECT_FALSE(e.groupPerFolder || e.foldersAsItems || e.onlyWithFiles);
  EXPECT_FALSE(o.onlyWithFiles);
  EXPECT_EQ(afterRegisterClick(o, RegisterBox::kFoldersAsItems, true).foldersAsItems, false);
  EXPECT_EQ(shownRegisterOptions(registerOptionsFromValue(8)).onlyWithFiles, false);
  // A group per folder and folder buttons exclude each other; the first carries "only with files".
  o = afterRegisterClick(registerOptionsFromValue(1), RegisterBox::kGroupPerFolder, true);
  EXPECT_EQ(howGetSubFolderValue(o), 1 | 2 | 8);
  o = afterRegisterClick(o, RegisterBox::kFoldersAsItems, true);
  EXPECT_EQ(howGetSubFolderValue(o), 1 | 4);
  o = afterRegisterClick(o, RegisterBox::kOnlyWithFiles, true);
  EXPECT_FALSE(o.onlyWithFiles) << "only with a group per folder";
  // The scan: the stored bits and either a group of its own or the header counted as sent.
  EXPECT_EQ(registerScanMode(11, true), 11u | kWalkFilesOnly);
  EXPECT_EQ(registerScanMode(5, false), 5u | kWalkHeaderSent);
  EXPECT_EQ(registerScanMode(-1, false), 15u | kWalkHeaderSent) << "stray high bits are not scan bits";
}

TEST(GroupSheetRules, PatternsAndTheEmptyPattern) {
  EXPECT_EQ(registerPatterns(L"Programs|*.exe;*.lnk|All|*.*|", L"Docs|*.txt|All|*.*"),
            (std::vector<std::wstring>{L"*.exe;*.lnk", L"*.*", L"*.txt"}));
  EXPECT_EQ(effectivePattern(L""), L"*.*");
  EXPECT_EQ(effectivePattern(L"   "), L"*.*");
  EXPECT_EQ(effectivePattern(L" *.lnk "), L"*.lnk");
}

TEST(GroupSheetRules, TheEditedGroupIsFoundBySectionAfterTheTableChanged) {
  MemoryProfile profile;
  GroupTable table(profile, ModelOptions{});
  table.loadGroups();
  std::wstring a = L"A", b = L"B";
  ASSERT_TRUE(table.ensureGroup(static_cast<int>(table.placeholderIndex()), &a, false));
  ASSERT_TRUE(table.ensureGroup(static_cast<int>(table.placeholderIndex()), &b, false));
  const uint32_t sectionB = table[2].sectionNumber;
  EXPECT_EQ(groupIndexBySection(table, sectionB), 2);
  // A group inserted before it moves it on.
  std::wstring c = L"C";
  ASSERT_TRUE(table.ensureGroup(0, &c, true));
  EXPECT_EQ(table[1].title, L"C");
  EXPECT_EQ(groupIndexBySection(table, sectionB), 3);
  EXPECT_EQ(groupIndexBySection(table, 0), static_cast<int>(table.placeholderIndex()));
  EXPECT_EQ(groupIndexBySection(table, 999), -1);
}

TEST(ModalBusy, DefersWhileBusyAndRunsInOrderAtTheOutermostEnd) {
  ModalBusy busy;
  std::vector<int> ran;
  EXPECT_FALSE(busy.defer([&] { ran.push_back(0); })) << "not busy: the caller does it now";
  EXPECT_TRUE(ran.empty());
  {
    ModalBusy::Scope sheet(&busy);
    EXPECT_TRUE(busy.defer([&] { ran.push_back(1); }));
    {
      ModalBusy::Scope scan(&busy);
      EXPECT_TRUE(busy.defer([&] { ran.push_back(2); }));
    }
    EXPECT_TRUE(ran.empty()) << "the sheet is still open";
    EXPECT_EQ(busy.pending(), 2u);
  }
  EXPECT_EQ(ran, (std::vector<int>{1, 2}));
  EXPECT_FALSE(busy.busy());
  EXPECT_EQ(busy.pending(), 0u);
}

TEST(ModalBusy, WorkThatOpensAnotherModalLoopKeepsTheRestWaiting) {
  ModalBusy busy;
  std::vector<int> ran;
  busy.enter();
  busy.defer([&] {
    ran.push_back(1);
    ModalBusy::Scope again(&busy);
    // Deferred inside: runs after what was already waiting.
    busy.defer([&] { ran.push_back(3); });
  });
  busy.defer([&] { ran.push_back(2); });
  busy.leave();
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
  busy.leave();  // an unmatched end does not go below zero
  EXPECT_FALSE(busy.defer([] {}));
}

}  // namespace
}  // namespace vorbin
