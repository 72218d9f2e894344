// The pickers' rules: history order, command rebuilding, the result buffer,
// filters and the icon grid's moves and hit test.
#include "launcher/widgets/picker_rules.h"

#include <gtest/gtest.h>

#include <set>

namespace vorbin {
namespace {

// A few files by exact path and a search folder.
class FileTable : public LaunchSystem {
 public:
  std::set<std::wstring> files;
  std::optional<std::wstring> expandEnvironment(const std::wstring& text) override { return text; }
  bool exists(const std::wstring& p) override { return files.count(p) != 0; }
  bool isFolder(const std::wstring&) override { return false; }
  std::optional<std::wstring> searchPath(const std::wstring& name, const std::wstring& ext) override {
    const std::wstring candidate = L"C:\\Windows\\" + name + ext;
    if (name.find(L'\\') == std::wstring::npos && files.count(candidate)) return candidate;
    return std::nullopt;
  }
  std::wstring windowsFolder() override { return L"C:\\Windows"; }
  bool setCurrentFolder(const std::wstring&) override { return true; }
  bool is16BitWindowsProgram(const std::wstring&) override { return false; }
  std::optional<std::wstring> shortPath(const std::wstring&) override { return std::nullopt; }
  std::wstring classDefaultVerb(const std::wstring&) override { return L""; }
  Association findExecutable(const std::wstring&) override { return {}; }
};

TEST(CommandHistory, NewestFirstWithoutRepeatsAndFifteenAtMost) {
  CmdHistory history;
  addToHistory(history, L"a");
  addToHistory(history, L"b");
  addToHistory(history, L"a");  // the same command twice: one entry, at the top
  EXPECT_EQ(historyEntries(history), (std::vector<std::wstring>{L"a", L"b"}));
  for (int i = 0; i < 16; ++i) addToHistory(history, L"c" + std::to_wstring(i));
  const auto entries = historyEntries(history);
  ASSERT_EQ(entries.size(), 15u);
  EXPECT_EQ(entries.front(), L"c15");
  EXPECT_EQ(entries.back(), L"c1");  // a, b and c0 were pushed out
  addToHistory(history, L"c7");      // moving up from the middle keeps the rest in order
  EXPECT_EQ(historyEntries(history)[0], L"c7");
  EXPECT_EQ(historyEntries(history)[1], L"c15");
  EXPECT_EQ(historyEntries(history).size(), 15u);
  addToHistory(history, L"");
  EXPECT_EQ(historyEntries(history)[0], L"c7");
}

TEST(CommandHistory, AGapEndsTheList) {
  CmdHistory history;
  history[0] = L"x";
  history[2] = L"lost";
  addToHistory(history, L"y");
  EXPECT_EQ(historyEntries(history), (std::vector<std::wstring>{L"y", L"x"}));
  EXPECT_EQ(history[2], L"");
}

TEST(Quoting, OnlyUnquotedNamesWithBlanks) {
  const struct {
    const wchar_t* in;
    const wchar_t* out;
  } rows[] = {
      {L"C:\\a.exe", L"C:\\a.exe"},
      {L"C:\\My Apps\\a.exe", L"\"C:\\My Apps\\a.exe\""},
      {L"\"C:\\My Apps\\a.exe\"", L"\"C:\\My Apps\\a.exe\""},
      {L"\"", L"\""},
      {L"", L""},
  };
  for (const auto& row : rows) EXPECT_EQ(quoteIfBlank(row.in), row.out) << row.in;
}

TEST(RebuildCommand, FullPathQuotedArgumentsKeptAndLimit) {
  FileTable sys;
  sys.files = {L"C:\\Windows\\notepad.exe", L"C:\\My Apps\\tool.exe"};
  const struct {
    int line;
    const wchar_t* typed;
    const wchar_t* text;
  } rows[] = {
      {__LINE__, L"  notepad  ", L"C:\\Windows\\notepad.exe"},
      {__LINE__, L"notepad a.txt", L"C:\\Windows\\notepad.exe a.txt"},
      {__LINE__, L"\"C:\\My Apps\\tool.exe\"   -x  -y ", L"\"C:\\My Apps\\tool.exe\" -x  -y"},
      {__LINE__, L"C:\\My Apps\\tool.exe", L"\"C:\\My Apps\\tool.exe\""},
      {__LINE__, L"unknown -v", L"unknown -v"},
      {__LINE__, L"\"C:\\Not here\\x.exe\" 1", L"\"C:\\Not here\\x.exe\" 1"},
  };
  for (const auto& row : rows) {
    const RebuiltCommand rebuilt = rebuildCommand(row.typed, sys);
    EXPECT_EQ(rebuilt.text, row.text) << row.line;
    EXPECT_TRUE(rebuilt.fits) << row.line;
  }
  // "notepad" grows to its full path: 22 characters then do not fit in 21.
  EXPECT_FALSE(rebuildCommand(L"notepad", sys, 21).fits);
  EXPECT_TRUE(rebuildCommand(L"notepad", sys, 22).fits);
}

std::vector<std::wstring> parse(std::wstring_view text) { return pickedPaths({text.data(), text.size()}); }

TEST(RebuildCommand, ProgramFolderOfFullPathsOnly) {
  const struct {
    const wchar_t* command;
    const wchar_t* folder;
  } cases[] = {
      {LR"("C:\Program Files\App\app.exe" -x)", LR"(C:\Program Files\App)"},
      {LR"(C:\tools\run.exe a b)", LR"(C:\tools)"},
      {LR"(C:\run.exe)", LR"(C:\)"},
      {LR"(\\server\share\tool.exe)", LR"(\\server\share)"},
      {L"notepad.exe file.txt", L""},
      {LR"(tools\run.exe)", L""},
      {LR"("unterminated\x.exe)", L""},
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(vorbin::programFolder(c.command), c.folder) << c.command;
}

TEST(PickedPaths, SingleMultipleAndUnterminated) {
  using V = std::vector<std::wstring>;
  EXPECT_EQ(parse(std::wstring_view(L"C:\\a\\b.exe\0\0", 12)), V{L"C:\\a\\b.exe"});
  EXPECT_EQ(parse(std::wstring_view(L"C:\\a\0x.ico\0y.dll\0\0", 19)), (V{L"C:\\a\\x.ico", L"C:\\a\\y.dll"}));
  EXPECT_EQ(parse(std::wstring_view(L"C:\\\0x.ico\0y.dll\0\0", 17)), (V{L"C:\\x.ico", L"C:\\y.dll"}));
  // No final NUL within the buffer: the names read so far still count.
  EXPECT_EQ(parse(std::wstring_view(L"C:\\a\0x.ico\0y.d", 14)), (V{L"C:\\a\\x.ico", L"C:\\a\\y.d"}));
  EXPECT_TRUE(parse(std::wstring_view(L"\0C:\\x\0\0", 7)).empty());
  EXPECT_TRUE(parse({}).empty());
}

TEST(Filters, PipesToNulsAndPatternByIndex) {
  const std::wstring filter = L"Icons|*.ico;*.dll|All files|*.*|";
  EXPECT_EQ(systemFilter(filter), std::wstring(L"Icons\0*.ico;*.dll\0All files\0*.*\0\0", 33));
  EXPECT_EQ(filterPattern(filter, 1), L"*.ico;*.dll");
  EXPECT_EQ(filterPattern(filter, 2), L"*.*");
  EXPECT_EQ(filterPattern(L"A|*.a|B", 2), L"*.*");  // pair without its pattern
  EXPECT_EQ(filterPattern(filter, 0), L"*.*");
  EXPECT_EQ(filterPattern(filter, 9), L"*.*");
  const std::wstring nul(L"A\0*.a\0\0", 7);
  EXPECT_EQ(filterPattern(nul, 1), L"*.a");
  EXPECT_EQ(systemFilter(nul), nul);
}

TEST(IconGrid, SevenIconsMoves) {
  using namespace icon_grid;
  const int n = 7;  // two rows: six and one
  EXPECT_EQ(rowCount(n), 2);
  EXPECT_EQ(rowCount(0), 0);
  EXPECT_EQ(rowCount(6), 1);
  const struct {
    int line;
    Cell from;
    Move key;
    Cell to;
  } rows[] = {
      {__LINE__, {1, 0}, Move::kRight, {1, 0}},  // the seventh icon is the last
      {__LINE__, {0, 5}, Move::kRight, {1, 0}},  // wraps to the next row
      {__LINE__, {1, 0}, Move::kLeft, {0, 5}},   // and back
      {__LINE__, {0, 0}, Move::kLeft, {0, 0}},   // the first cell stays
      {__LINE__, {0, 0}, Move::kDown, {1, 0}},     {__LINE__, {0, 1}, Move::kDown, {0, 1}},  // nothing below
      {__LINE__, {1, 0}, Move::kUp, {0, 0}},       {__LINE__, {0, 3}, Move::kUp, {0, 3}},
      {__LINE__, {0, 3}, Move::kEnd, {1, 0}},      {__LINE__, {1, 0}, Move::kHome, {0, 0}},
      {__LINE__, {0, 4}, Move::kPageDown, {1, 0}}, {__LINE__, {1, 0}, Move::kPageUp, {0, 0}},
  };
  for (const auto& row : rows) EXPECT_EQ(move(row.from, row.key, n), row.to) << row.line;
  EXPECT_EQ(move({0, 0}, Move::kRight, 0), (Cell{0, 0}));
  EXPECT_EQ(indexOf(cellOf(13)), 13);
}

TEST(IconGrid, HitTestAndScrollRange) {
  using namespace icon_grid;
  EXPECT_EQ(hitTest(45, 5, 0, 7), (Cell{0, 1}));
  EXPECT_EQ(hitTest(239, 199, 0, 30), (Cell{4, 5}));
  EXPECT_EQ(hitTest(500, 500, 0, 30), (Cell{4, 5}));  // clamped to the visible cells
  EXPECT_EQ(hitTest(5, 45, 0, 7), (Cell{1, 0}));
  EXPECT_EQ(hitTest(45, 45, 0, 7), std::nullopt);  // beyond the last icon
  EXPECT_EQ(hitTest(5, 5, 3, 30), (Cell{3, 0}));   // scrolled by three rows
  EXPECT_EQ(hitTest(-1, 5, 0, 7), std::nullopt);
  EXPECT_EQ(hitTest(5, 5, 0, 0), std::nullopt);
  EXPECT_EQ(maxTopRow(7), 0);
  EXPECT_EQ(maxTopRow(31), 1);
  EXPECT_EQ(maxTopRow(kMaxIcons), kMaxIcons / kColumns + 1 - kVisibleRows);
}

TEST(PickerPlacement, TheLastBoxComesBackInsideTheWorkAreaAndNeverSmallerThanTheDialog) {
  const Rect work{0, 0, 1024, 738};
  struct Case {
    Rect saved;
    std::optional<Rect> expected;
  } cases[] = {
      {{100, 50, 700, 500}, Rect{100, 50, 700, 500}},       // as it was left
      {{900, 600, 1500, 1050}, Rect{424, 288, 1024, 738}},  // off the right and bottom: moved back in
      {{-300, -40, 300, 410}, Rect{0, 0, 600, 450}},        // off the left and top
      {{100, 50, 300, 150}, Rect{100, 50, 600, 450}},       // shrunk below the dialog's own size
      {{-10, -10, 2000, 1000}, Rect{0, 0, 1024, 738}},      // larger than the screen
      {{100, 50, 100, 500}, std::nullopt},                  // no width: a damaged value
      {{}, std::nullopt},                                   // never shown
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.saved.left);
    EXPECT_EQ(restoredPickerBox(c.saved, work, 500, 400), c.expected);
  }
  // A second monitor's work area is kept as the place.
  EXPECT_EQ(restoredPickerBox({1100, 100, 1700, 550}, {1024, 0, 2048, 768}, 500, 400),
            (Rect{1100, 100, 1700, 550}));
}

}  // namespace
}  // namespace vorbin
