// Backup names, list rows and columns, the command line and result messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backup/backup_list.h"
#include "backup/backup_name.h"
#include "backup/command_line.h"
#include "backup/resource_ids.h"
#include "backup/result_message.h"

namespace backup {
namespace {

// ---------------------------------------------------------------------------
// Name conversion

TEST(StoredName, EachForbiddenCharacterBecomesItsFullWidthForm) {
  EXPECT_EQ(toStoredName(L"a:b"),
            L"a\xFF1A"
            L"b");
  EXPECT_EQ(toStoredName(L"\\/:,*?\"<>|"), L"\xFFE5\xFF0F\xFF1A\xFF0C\xFF0A\xFF1F\x201D\xFF1C\xFF1E\xFF5C");
}

TEST(StoredName, OtherCharactersStayAsTyped) {
  const std::wstring kept = L"Backup 2024-01-02 (v1.0) \x30D0\x30C3\xFF8A; [x] {y} & ' ` ~ ! @ # $ % ^ + = .";
  EXPECT_EQ(toStoredName(kept), kept);
  EXPECT_EQ(toStoredName(L""), L"");
  // Converted output is left alone when converted again.
  std::wstring once = toStoredName(L"x:y/z");
  EXPECT_EQ(toStoredName(once), once);
}

// ---------------------------------------------------------------------------
// Name validation

TEST(NameCheck, NamesThatAddressTheToolFolderOrItsParentAreRefused) {
  struct Case {
    int line;
    const wchar_t* name;
    NameCheck expected;
  };
  const Case cases[] = {
      {__LINE__, L"", NameCheck::kEmpty},
      {__LINE__, L".", NameCheck::kOnlyDotsOrBlanks},
      {__LINE__, L"..", NameCheck::kOnlyDotsOrBlanks},
      {__LINE__, L"...", NameCheck::kOnlyDotsOrBlanks},
      {__LINE__, L" ", NameCheck::kOnlyDotsOrBlanks},
      {__LINE__, L"    ", NameCheck::kOnlyDotsOrBlanks},
      {__LINE__, L" . ", NameCheck::kOnlyDotsOrBlanks},
      {__LINE__, L"name.", NameCheck::kTrailingDotOrBlank},
      {__LINE__, L"name ", NameCheck::kTrailingDotOrBlank},
      {__LINE__, L"a\tb", NameCheck::kInvalid},
      {__LINE__, L"a\x01", NameCheck::kInvalid},
      {__LINE__, L"CON", NameCheck::kInvalid},
      {__LINE__, L"nul", NameCheck::kInvalid},
      {__LINE__, L"Com1", NameCheck::kInvalid},
      {__LINE__, L"LPT9.txt", NameCheck::kInvalid},
      {__LINE__, L"aux .x", NameCheck::kInvalid},
      {__LINE__, L"COM0", NameCheck::kOk},
      {__LINE__, L"CONSOLE", NameCheck::kOk},
      {__LINE__, L"nul2", NameCheck::kOk},
      {__LINE__, L" lead", NameCheck::kOk},
      {__LINE__, L".hidden", NameCheck::kOk},
      {__LINE__, L"a.b", NameCheck::kOk},
      {__LINE__, L"\xFF8A\xFF9E\xFF6F\xFF78\xFF71\xFF6F\xFF8C\xFF9F", NameCheck::kOk},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(checkBackupName(c.name, 20), c.expected);
  }
}

TEST(NameCheck, BackupFilePathMustFitThePathLimit) {
  const size_t folder = 40;  // "C:\...\" with its backslash
  // folder + name + "\vorbinbr.dat" may reach 259 characters, not more.
  const size_t longest = kMaxPathLength - folder - 1 - kBackupFileName.size();
  EXPECT_EQ(checkBackupName(std::wstring(longest, L'n'), folder), NameCheck::kOk);
  EXPECT_EQ(checkBackupName(std::wstring(longest + 1, L'n'), folder), NameCheck::kTooLong);
  EXPECT_EQ(checkBackupName(std::wstring(600, L'n'), 3), NameCheck::kTooLong);
  // A deep tool folder leaves room for no name at all.
  EXPECT_EQ(checkBackupName(L"a", kMaxPathLength), NameCheck::kTooLong);
}

TEST(NameCheck, ConvertedNamesStayInsideTheToolFolder) {
  for (const wchar_t* typed : {L"..\\..\\Windows", L"../x", L"C:\\x", L"a/b\\c", L"\\\\server\\share"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(typed)));
    std::wstring stored = toStoredName(typed);
    EXPECT_EQ(checkBackupName(stored, 20), NameCheck::kOk);
    EXPECT_TRUE(namesSubfolder(stored));
  }
}

TEST(SubfolderName, OnlyPlainNamesAddressASubfolder) {
  EXPECT_TRUE(namesSubfolder(L"backup"));
  EXPECT_TRUE(
      namesSubfolder(L"a\xFF1A"
                     L"b"));
  EXPECT_TRUE(namesSubfolder(L".x"));
  for (const wchar_t* name :
       {L"", L".", L"..", L" ", L". .", L"a\\b", L"a/b", L"..\\x", L"C:x", L"a:stream"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
    EXPECT_FALSE(namesSubfolder(name));
  }
}

TEST(BackupFileName, MatchesInAnyLetterCase) {
  EXPECT_TRUE(isBackupFileName(L"vorbinbr.dat"));
  EXPECT_TRUE(isBackupFileName(L"VorbinBR.DAT"));
  EXPECT_FALSE(isBackupFileName(L"vorbinbr.dat.bak"));
  EXPECT_FALSE(isBackupFileName(L"vorbinbr"));
  EXPECT_FALSE(isBackupFileName(L"xorbinbr.dat"));
}

// ---------------------------------------------------------------------------
// List rows and columns

TEST(ListRows, BackupFoldersInReverseListingOrder) {
  std::vector<FolderEntry> listing = {
      {L".", true, false, 1},
      {L"..", true, false, 2},
      {L"first", true, true, 10},
      {L"file.txt", false, false, 3},
      {L"plain", true, false, 4},
      {L"second", true, true, 20},
      {L"vorbinbr.dat", false, true, 5},
      {L"third", true, true, 30},
  };
  std::vector<FolderEntry> rows = listRows(listing);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].name, L"third");
  EXPECT_EQ(rows[1].name, L"second");
  EXPECT_EQ(rows[2].name, L"first");
  EXPECT_EQ(rows[0].lastWriteTime, 30u) << "rows keep the folder's own time";
}

TEST(ListRows, DotEntriesAreNeverRowsEvenWithABackupFile) {
  std::vector<FolderEntry> listing = {{L".", true, true, 1}, {L"..", true, true, 2}};
  EXPECT_TRUE(listRows(listing).empty());
  EXPECT_TRUE(listRows({}).empty());
}

TEST(ColumnWidths, ThreeFifthsAndTwoFifthsOfTheRoomBesideTheScrollBar) {
  ColumnWidths w = columnWidths(354, 17);  // (354 - 17 - 4) / 5 = 66
  EXPECT_EQ(w.name, 198);
  EXPECT_EQ(w.date, 132);
  ColumnWidths narrow = columnWidths(10, 17);
  EXPECT_EQ(narrow.name, 0);
  EXPECT_EQ(narrow.date, 0);
}

// ---------------------------------------------------------------------------
// Command line and results

TEST(CommandLine, OnlyTheWholeLineDashBAsksForSilentBackup) {
  EXPECT_TRUE(isSilentBackupCommand(L"-B"));
  EXPECT_TRUE(isSilentBackupCommand(L"-b"));
  for (const wchar_t* line : {L"", L"-B x", L"-Bx", L"B", L"/B", L" -B", L"-B ", L"--B", L"-c"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(line)));
    EXPECT_FALSE(isSilentBackupCommand(line));
  }
}

TEST(ResultMessage, OnlyARestoreCallsABadHiveSo) {
  EXPECT_EQ(messageForSave(kGivenUp), 0);
  EXPECT_EQ(messageForSave(kErrorBadDb), IDS_FAILED_CODE);
  EXPECT_EQ(messageForRestore(kErrorBadDb), IDS_FAILED_HIVE);
  EXPECT_EQ(messageForRestore(kErrorNotRegistryFile), IDS_FAILED_HIVE);
  EXPECT_EQ(messageForRestore(kPrivilegeNotHeld), IDS_FAILED_CODE);
  EXPECT_EQ(messageForRestore(2), IDS_FAILED_CODE);
}

TEST(ResultMessage, ErrorCodeReplacesThePlaceholder) {
  EXPECT_EQ(formatErrorText(L"failed (code:%d)", 481), L"failed (code:481)");
  EXPECT_EQ(formatErrorText(L"%d%d", -1), L"-1%d");
  EXPECT_EQ(formatErrorText(L"no placeholder", 5), L"no placeholder");
}

}  // namespace
}  // namespace backup
