// The file browser's and the folder combo's rules.
#include <gtest/gtest.h>

#include <algorithm>

#include "launcher/dialogs/browser_rules.h"
#include "launcher/widgets/folder_rules.h"

namespace vorbin {
namespace {

TEST(BrowserFilters, ListEndsAtTheFirstEmptyDescription) {
  FilterList list = parseFilterText(L"Text|*.txt|Logs|*.log; *.old||Never|*.x|");
  ASSERT_EQ(list.descriptions, (std::vector<std::wstring>{L"Text", L"Logs"}));
  EXPECT_EQ(list.patterns, (std::vector<std::wstring>{L"*.txt", L"*.log; *.old"}));
  // A description without its pattern lists everything.
  list = parseFilterText(L"All");
  EXPECT_EQ(list.patterns, std::vector<std::wstring>{L"*.*"});
  EXPECT_TRUE(parseFilterText(L"").descriptions.empty());
  EXPECT_TRUE(parseFilterText(L"|*.txt|A|*.a").descriptions.empty());

  list = parseFilterText(L"A|*.a|B|*.b|");
  EXPECT_EQ(clampFilterIndex(7, list), 1);
  EXPECT_EQ(clampFilterIndex(-2, list), 0);
  EXPECT_EQ(clampFilterIndex(3, FilterList{}), 0);
}

TEST(BrowserFilters, PatternsNamingAnotherFolderAreRefused) {
  EXPECT_EQ(splitFilterPatterns(L" *.txt;*.*;; *.doc\t*.rtf "),
            (std::vector<std::wstring>{L"*.txt", L"*.*", L"*.doc", L"*.rtf"}));
  EXPECT_EQ(splitFilterPatterns(L"..\\*.exe;sub/*.txt;C:*.bat;.;..;*.ok"), std::vector<std::wstring>{L"*.ok"});
  EXPECT_TRUE(splitFilterPatterns(L" ; ").empty());
}

TEST(BrowserListing, OverlappingPatternsListANameOnce) {
  ListedNames names;
  EXPECT_TRUE(names.add(L"a.txt"));
  EXPECT_TRUE(names.add(L"b.log"));
  EXPECT_FALSE(names.add(L"A.TXT"));  // found again by "*.*"
  EXPECT_EQ(names.size(), 2u);
  names.clear();
  EXPECT_TRUE(names.add(L"a.txt"));

  EXPECT_EQ(shownFileName(L"README.TXT", false), L"Readme.txt");
  EXPECT_EQ(shownFileName(L"README.TXT", true), L"README.TXT");
  EXPECT_EQ(shownFileName(L"_x", false), L"_x");
  EXPECT_EQ(shownFileName(L"", false), L"");
}

TEST(BrowserSort, EachModeOrdersAsItSays) {
  const std::vector<FileRecord> files = {
      {30, L"b.txt"}, {10, L"a.b.txt"}, {20, L"C"}, {20, L"a.log"}, {40, L"A.txt"}};
  auto sorted = [&](int mode) {
    std::vector<FileRecord> copy = files;
    std::stable_sort(copy.begin(), copy.end(), [&](const FileRecord& a, const FileRecord& b) {
      return compareRecords(a, b, mode) < 0;
    });
    std::vector<std::wstring> names;
    for (const auto& r : copy) names.push_back(r.name);
    return names;
  };
  struct Row {
    int line, mode;
    std::vector<std::wstring> expected;
  } rows[] = {
      {__LINE__, 0, {L"a.b.txt", L"a.log", L"A.txt", L"b.txt", L"C"}},
      {__LINE__, 1, {L"C", L"b.txt", L"A.txt", L"a.log", L"a.b.txt"}},
      // Equal times fall through to names ascending.
      {__LINE__, 2, {L"a.b.txt", L"a.log", L"C", L"b.txt", L"A.txt"}},
      {__LINE__, 3, {L"A.txt", L"b.txt", L"a.log", L"C", L"a.b.txt"}},
      // No extension first; ".b.txt" is the extension of a.b.txt.
      {__LINE__, 4, {L"C", L"a.b.txt", L"a.log", L"A.txt", L"b.txt"}},
  };
  for (const Row& row : rows) EXPECT_EQ(sorted(row.mode), row.expected) << "line " << row.line;
  EXPECT_EQ(typeExtension(L"a.b.txt"), L".b.txt");
  EXPECT_EQ(typeExtension(L"none"), L"");

  EXPECT_EQ(sortAfterColumnClick(0, 0), 1);
  EXPECT_EQ(sortAfterColumnClick(0, 1), 0);
  EXPECT_EQ(sortAfterColumnClick(0, 4), 0);
  EXPECT_EQ(sortAfterColumnClick(1, 0), 3);
  EXPECT_EQ(sortAfterColumnClick(1, 3), 2);
  EXPECT_EQ(sortAfterColumnClick(1, 2), 3);
}

TEST(BrowserSelection, TextAndDeleteListStayInsideTheirBuffers) {
  EXPECT_EQ(selectionText({}), L"");
  EXPECT_EQ(selectionText({L"my file.txt"}), L"my file.txt");
  EXPECT_EQ(selectionText({L"a.txt", L"b c.log", L"d"}), L"\"a.txt\" \"b c.log\" \"d\"");
  // 200 names of 250 characters would take about 50,800.
  std::vector<std::wstring> many(200, std::wstring(250, L'x'));
  const std::wstring text = selectionText(many);
  EXPECT_LT(text.size(), kBrowserTextChars);
  EXPECT_EQ(text.size(), 129u * 253 - 1) << "names that fit are all kept";
  EXPECT_EQ(selectionText({std::wstring(kBrowserTextChars, L'y')}), L"");
  EXPECT_EQ(selectionText({L"abc", L"de"}, 10), L"\"abc\"");  // no room for the terminator
  EXPECT_EQ(selectionText({L"abc", L"de"}, 11), L"\"abc\" \"de\"");

  DeleteList list = deleteList(L"C:\\d", {L"a", L"b"});
  EXPECT_EQ(list.count, 2u);
  EXPECT_EQ(list.text, std::wstring(L"C:\\d\\a\0C:\\d\\b\0\0", 15));
  list = deleteList(L"C:\\long\\", many);
  EXPECT_LE(list.text.size(), kBrowserTextChars);
  EXPECT_EQ(list.count, kBrowserTextChars / (8 + 250 + 1));
  EXPECT_EQ(list.text.back(), L'\0');
  EXPECT_EQ(list.text[list.text.size() - 2], L'\0');
}

TEST(BrowserOk, WildcardsBecomePatternsAndSingleNamesAreQuoted) {
  struct Row {
    int line;
    const wchar_t* text;
    int selected;
    OkAction action;
    const wchar_t* result;
  } rows[] = {
      {__LINE__, L"   ", 0, OkAction::kBeep, L""},
      {__LINE__, L" *.log ", 0, OkAction::kUsePattern, L"*.log"},
      {__LINE__, L"a?.txt", 1, OkAction::kUsePattern, L"a?.txt"},
      {__LINE__, L"a.txt,*.log", 0, OkAction::kClose, L"a.txt,*.log"},
      {__LINE__, L"a b*", 0, OkAction::kClose, L"\"a b*\""},
      {__LINE__, L"a\x3000*", 0, OkAction::kClose, L"a\x3000*"},
      {__LINE__, L"my file.txt", 1, OkAction::kClose, L"\"my file.txt\""},
      {__LINE__, L"\"my file.txt\"", 1, OkAction::kClose, L"\"my file.txt\""},
      {__LINE__, L"\"a\" \"b c\"", 2, OkAction::kClose, L"\"a\" \"b c\""},
  };
  for (const Row& row : rows) {
    const OkDecision d = decideOk(row.text, row.selected);
    EXPECT_EQ(d.action, row.action) << "line " << row.line;
    EXPECT_EQ(d.text, row.result) << "line " << row.line;
  }
}

TEST(BrowserRename, NamesLeavingTheFolderOrMakingStreamsAreRefused) {
  for (const wchar_t* bad :
       {L"", L".", L"..", L"..\\evil.txt", L"sub\\x", L"a/b", L"a:b", L"x*", L"q?", L"<a>", L"p|q", L"\"q\"",
        L"tab\tname", L"dot.", L"blank ", L"CON", L"nul.txt", L"Com1", L"lpt9.log"}) {
    EXPECT_FALSE(acceptableNewName(bad)) << testing::PrintToString(std::wstring(bad));
  }
  for (const wchar_t* good : {L"evil.txt", L".profile", L"a b.c", L"com10", L"console.txt", L"日本語.txt"})
    EXPECT_TRUE(acceptableNewName(good)) << testing::PrintToString(std::wstring(good));
  EXPECT_FALSE(acceptableNewName(std::wstring(256, L'n')));
  EXPECT_TRUE(acceptableNewName(std::wstring(255, L'n')));

  EXPECT_FALSE(renameWanted(L"a.txt", L"A.TXT"));
  EXPECT_FALSE(renameWanted(L"a.txt", L""));
  EXPECT_TRUE(renameWanted(L"a.txt", L"b.txt"));
}

TEST(FolderPaths, TypedPathsAreMadeAbsoluteAndBounded) {
  const std::wstring current = L"C:\\Work\\Docs";
  struct Row {
    int line;
    std::wstring typed;
    std::optional<std::wstring> expected;
  } rows[] = {
      {__LINE__, L"D:\\Data\\", L"D:\\Data"},
      {__LINE__, L" \"d:/data//x\\\" ", L"D:\\data\\x"},
      {__LINE__, L"e:", L"E:\\"},
      {__LINE__, L"e:sub", L"E:\\sub"},
      {__LINE__, L"sub\\.\\deeper", L"C:\\Work\\Docs\\sub\\deeper"},
      {__LINE__, L"..\\..\\..\\..\\x", L"C:\\x"},
      {__LINE__, L"\\Temp", L"C:\\Temp"},
      {__LINE__, L"\\\\server\\share\\a\\..\\b", L"\\\\server\\share\\b"},
      {__LINE__, L"\\\\server\\share", L"\\\\server\\share\\"},
      {__LINE__, L"\\\\server\\share\\..\\..", L"\\\\server\\share\\"},
      {__LINE__, L"\\\\server", std::nullopt},
      {__LINE__, L"\\\\", std::nullopt},
      {__LINE__, L"C:\\a. \\b", L"C:\\a\\b"},
      {__LINE__, L"C:\\a:b", std::nullopt},
      {__LINE__, L"C:\\a*", std::nullopt},
      {__LINE__, L"", std::nullopt},
      {__LINE__, L"C:\\" + std::wstring(300, L'x'), std::nullopt},
      {__LINE__, L"C:\\" + std::wstring(256, L'x'), L"C:\\" + std::wstring(256, L'x')},
      {__LINE__, L"C:\\" + std::wstring(257, L'x'), std::nullopt},
  };
  for (const Row& row : rows)
    EXPECT_EQ(normaliseTypedPath(row.typed, current), row.expected) << "line " << row.line;
  // Relative text needs an absolute current folder.
  EXPECT_EQ(normaliseTypedPath(L"x", L"relative"), std::nullopt);
  EXPECT_EQ(normaliseTypedPath(L"x", L"\\\\srv\\sh\\in"), L"\\\\srv\\sh\\in\\x");
}

TEST(FolderPaths, ChainAndDeepestExistingFolder) {
  const auto chain = pathChain(L"C:\\Work\\Docs\\Old");
  ASSERT_EQ(chain, (std::vector<std::wstring>{L"C:\\", L"Work", L"Docs", L"Old"}));
  EXPECT_EQ(pathFromChain(chain, 0), L"C:\\");
  EXPECT_EQ(pathFromChain(chain, 2), L"C:\\Work\\Docs");
  EXPECT_EQ(pathFromChain(chain, 9), L"C:\\Work\\Docs\\Old");
  EXPECT_EQ(pathChain(L"\\\\s\\sh\\a"), (std::vector<std::wstring>{L"\\\\s\\sh\\", L"a"}));
  EXPECT_TRUE(pathChain(L"relative\\x").empty());
  EXPECT_EQ(pathRoot(L"c:"), L"C:\\");

  std::vector<std::wstring> asked;
  auto exists = [&](const std::wstring& p) {
    asked.push_back(p);
    return p == L"C:\\Work";
  };
  EXPECT_EQ(deepestExisting(L"C:\\Work\\Gone\\Deeper", exists), L"C:\\Work");
  EXPECT_EQ(asked, (std::vector<std::wstring>{L"C:\\Work\\Gone\\Deeper", L"C:\\Work\\Gone", L"C:\\Work"}));
  EXPECT_EQ(deepestExisting(L"D:\\none\\x", exists), L"D:\\");
  EXPECT_EQ(deepestExisting(L"nowhere", exists), L"");
}

TEST(FolderCombo, EntriesPicturesIndentsAndLetterJump) {
  EXPECT_FALSE(listedSubfolder(L".git"));
  EXPECT_FALSE(listedSubfolder(L".."));
  EXPECT_TRUE(listedSubfolder(L"src"));
  EXPECT_EQ(comboName(L"program files", false), L"Program files");
  EXPECT_EQ(comboName(L"progra~1", true), L"progra~1");

  // Current index 3: entries 1-2 above, 3 current, 4+ subfolders.
  EXPECT_EQ(folderImage(1, 3), ComboImage::kAbove);
  EXPECT_EQ(folderImage(3, 3), ComboImage::kCurrent);
  EXPECT_EQ(folderImage(4, 3), ComboImage::kSubfolder);
  EXPECT_EQ(folderIndent(2, 3), 12);
  EXPECT_EQ(folderIndent(3, 3), 16);
  EXPECT_EQ(folderIndent(4, 3), 20);
  EXPECT_EQ(folderIndent(9, 3), 20);
  EXPECT_EQ(driveImage(3), ComboImage::kFixed);
  EXPECT_EQ(driveImage(4), ComboImage::kNetwork);
  EXPECT_EQ(driveImage(5), ComboImage::kCdRom);
  EXPECT_EQ(driveImage(6), ComboImage::kRamDisk);
  EXPECT_EQ(driveImage(2), ComboImage::kRemovable);
  EXPECT_EQ(driveImage(0), ComboImage::kRemovable);

  const std::vector<std::wstring> entries = {L"", L"C:\\", L"Projects", L"pics", L"Papers", L"music"};
  EXPECT_EQ(nextEntryWithLetter(entries, 2, L'p'), 3);
  EXPECT_EQ(nextEntryWithLetter(entries, 4, L'P'), 2);  // wraps
  EXPECT_EQ(nextEntryWithLetter(entries, 5, L'm'), 5);  // the only one: itself
  EXPECT_EQ(nextEntryWithLetter(entries, -1, L'c'), 1);
  EXPECT_EQ(nextEntryWithLetter(entries, 1, L'z'), -1);
  EXPECT_EQ(nextEntryWithLetter({}, 0, L'a'), -1);
}

}  // namespace
}  // namespace vorbin

namespace vorbin {
namespace {

TEST(BrowserFilters, PromptingItemsPutTheirOwnPatternFirst) {
  const std::wstring filter = filePickFilter(L"Mine (%s)|%s|", L" *.txt ", L"All|*.*|", L"Logs|*.log|");
  EXPECT_EQ(filter, L"Mine (*.txt)|*.txt|All|*.*|Logs|*.log|");
  const FilterList list = parseFilterText(filter);
  EXPECT_EQ(list.patterns, (std::vector<std::wstring>{L"*.txt", L"*.*", L"*.log"}));
  EXPECT_EQ(filePickFilter(L"Mine (%s)|%s|", L"", L"All|*.*|", L""), L"All|*.*|");
}

}  // namespace
}  // namespace vorbin
