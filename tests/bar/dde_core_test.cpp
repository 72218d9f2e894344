// Program Manager conversations without a window: execute strings as clients
// send them (either encoding, any bytes), request answers and their data
// blocks, and which initiates the bar takes.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "launcher/bar/dde_answers.h"
#include "launcher/bar/dde_commands.h"

namespace vorbin {
namespace {

// Commands as "name(arg|arg);" so that a table row reads like the input.
std::wstring shown(const std::vector<DdeCommand>& commands) {
  std::wstring out;
  for (const DdeCommand& c : commands) {
    out += c.name + L"(";
    for (size_t i = 0; i < c.arguments.size(); ++i) out += (i ? L"|" : L"") + c.arguments[i];
    out += L");";
  }
  return out;
}

// Memory of exactly these bytes, without a terminator: a read past the end is
// an ASan failure.
struct ExactMemory {
  explicit ExactMemory(const std::vector<uint8_t>& bytes) : size(bytes.size()), data(new uint8_t[size]) {
    std::copy(bytes.begin(), bytes.end(), data.get());
  }
  std::span<const uint8_t> span() const { return {data.get(), size}; }
  size_t size;
  std::unique_ptr<uint8_t[]> data;
};

std::vector<uint8_t> ansiBytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(DdeExecute, ParsesCommandsQuotesAndStopsAtBrokenOnes) {
  struct Case {
    const wchar_t* text;
    const wchar_t* expected;
    int line;
  } cases[] = {
      {L"[CreateGroup(Tools)][AddItem(notepad.exe,Editor)]",
       L"creategroup(Tools);additem(notepad.exe|Editor);", __LINE__},
      {L"[AddItem(\"C:\\Program Files (x86)\\a.exe\",A)]", L"additem(C:\\Program Files (x86)\\a.exe|A);",
       __LINE__},
      {L"[AddItem(\"a]b[c)\",\"x,y\")]", L"additem(a]b[c)|x,y);", __LINE__},
      {L"  [ ShowGroup ( Tools , 1 )] junk [rEloAd(G)]", L"showgroup(Tools|1);reload(G);", __LINE__},
      {L"[AddItem( \"a b\" ignored, \t c )]", L"additem(a b|c);", __LINE__},
      {L"[Reload()]", L"reload();", __LINE__},
      {L"[AddItem(,,x,)]", L"additem(||x|);", __LINE__},
      {L"CreateGroup(Tools)", L"", __LINE__},                                    // no "["
      {L"[CreateGroup(A)][Reload]", L"creategroup(A);", __LINE__},               // no "("
      {L"[CreateGroup(A)][Reload(B]", L"creategroup(A);", __LINE__},             // "]" before ")"
      {L"[CreateGroup(A)][Reload(B", L"creategroup(A);", __LINE__},              // no ")"
      {L"[AddItem(\"C:\\a.exe,A)][CreateGroup(B)]", L"", __LINE__},              // unterminated quote
      {L"[CreateGroup(A)][(x)][CreateGroup(B)]", L"creategroup(A);", __LINE__},  // empty name
      {L"[ \t(x)][CreateGroup(B)]", L"", __LINE__},
  };
  for (const Case& c : cases) EXPECT_EQ(shown(parseDdeCommands(c.text)), c.expected) << c.line;
}

TEST(DdeExecute, BoundsArgumentsAndCommands) {
  std::wstring longArg(kMaxDdeArgumentChars + 1, L'x');
  EXPECT_EQ(shown(parseDdeCommands(L"[AddItem(" + longArg + L")][Reload(G)]")), L"reload(G);")
      << "a command with an overlong argument is left out, the rest still run";
  longArg.pop_back();
  EXPECT_EQ(parseDdeCommands(L"[AddItem(\"" + longArg + L"\")]").at(0).arguments.at(0).size(),
            kMaxDdeArgumentChars);

  std::wstring many = L"[AddItem(";
  for (int i = 0; i < 20; ++i) many += std::to_wstring(i) + L",";
  EXPECT_EQ(parseDdeCommands(many + L")]").at(0).arguments.size(), kMaxDdeArguments);

  std::wstring repeated;
  for (size_t i = 0; i < kMaxDdeCommands + 5; ++i) repeated += L"[r(x)]";
  EXPECT_EQ(parseDdeCommands(repeated).size(), kMaxDdeCommands);
}

TEST(DdeExecute, HostileStringsCostOnePass) {
  // Each would be quadratic if a scan restarted at every "[", "(" or quote.
  const size_t n = 64 * 1024;
  std::wstring brackets(n, L'[');
  std::wstring opens;
  for (size_t i = 0; i < n / 2; ++i) opens += L"[a(";
  std::wstring quotes = L"[a(" + std::wstring(n, L'"');
  std::wstring closes;
  for (size_t i = 0; i < n / 8; ++i) closes += L"[a()";
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(parseDdeCommands(brackets).empty());
  EXPECT_TRUE(parseDdeCommands(opens).empty());
  EXPECT_TRUE(parseDdeCommands(quotes).empty()) << "an even run of quotes never closes the parenthesis";
  EXPECT_EQ(parseDdeCommands(closes).size(), n / 8);
  std::vector<uint8_t> bytes(n, '[');
  EXPECT_TRUE(parseDdeExecute(ExactMemory(bytes).span(), false).empty());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(DdeExecute, ReadsEitherEncodingWithinTheMemory) {
  // Unicode client: UTF-16LE, no terminator, an odd last byte ignored.
  std::vector<uint8_t> wide = utf16Bytes(L"[AddItem(\u00e9\u65e5.exe,\U0001F600)]");
  EXPECT_EQ(shown(parseDdeExecute(ExactMemory(wide).span(), true)), L"additem(\u00e9\u65e5.exe|\U0001F600);");
  wide.push_back('[');
  EXPECT_EQ(ddeExecuteText(ExactMemory(wide).span(), true), L"[AddItem(\u00e9\u65e5.exe,\U0001F600)]");
  // The same bytes from an ANSI client are not UTF-16.
  EXPECT_TRUE(parseDdeExecute(ExactMemory(wide).span(), false).empty());

  // ANSI client: bytes through the decoder; the text ends at a NUL.
  std::vector<uint8_t> ansi = ansiBytes("[CreateGroup(Caf\xE9)]");
  EXPECT_EQ(shown(parseDdeExecute(ExactMemory(ansi).span(), false)), L"creategroup(Caf\u00e9);");
  std::string seen;
  AnsiDecoder decoder = [&seen](std::string_view bytes) {
    seen = bytes;
    return std::wstring(L"[Reload(Shift-JIS)]");
  };
  ansi.insert(ansi.end(), {0, '[', 'x', '(', ')', ']'});
  EXPECT_EQ(shown(parseDdeExecute(ExactMemory(ansi).span(), false, decoder)), L"reload(Shift-JIS);");
  EXPECT_EQ(seen, "[CreateGroup(Caf\xE9)]") << "the decoder sees the bytes before the NUL only";
  std::vector<uint8_t> wideNul = utf16Bytes(std::wstring(L"[Reload(A)]") + L'\0' + L"[Reload(B)]");
  EXPECT_EQ(shown(parseDdeExecute(ExactMemory(wideNul).span(), true)), L"reload(A);");
  EXPECT_TRUE(parseDdeExecute({}, true).empty());
  EXPECT_TRUE(parseDdeExecute({}, false).empty());
}

DdeOperation meaning(const std::wstring& text) { return interpretDdeCommand(parseDdeCommands(text).at(0)); }

TEST(DdeExecute, AddItemBecomesARequest) {
  DdeOperation op = meaning(L"[AddItem(\"C:\\x y\\a.exe\" -p,Editor,C:\\i.dll,7,10,20,C:\\work,1234,1)]");
  ASSERT_EQ(op.action, DdeAction::kAddItem);
  EXPECT_EQ(op.item.target, L"C:\\x y\\a.exe");
  EXPECT_EQ(op.item.title, L"Editor");
  EXPECT_EQ(op.item.iconFile, L"C:\\i.dll");
  EXPECT_EQ(op.item.iconIndex, 7);
  EXPECT_EQ(op.item.folder, L"C:\\work");
  EXPECT_EQ(op.item.flags, 1u);
  EXPECT_EQ(op.item.slot, -1);
  EXPECT_EQ(op.item.picture, kNoCaptureMark) << "a DDE item asks for no page picture (and no \"no picture\" message)";

  struct Case {
    const wchar_t* text;
    int iconIndex;
    uint32_t flags;
    int line;
  } cases[] = {
      {L"[additem(a.exe)]", 0, 0, __LINE__},
      {L"[ADDITEM(a.exe,,,x,,,,,no)]", 0, 0, __LINE__},
      {L"[AddItem(a.exe,,,-3,,,,,-2)]", -3, 1, __LINE__},
  };
  for (const Case& c : cases) {
    DdeOperation o = meaning(c.text);
    EXPECT_EQ(o.action, DdeAction::kAddItem) << c.line;
    EXPECT_EQ(o.item.iconIndex, c.iconIndex) << c.line;
    EXPECT_EQ(o.item.flags, c.flags) << c.line;
  }
}

TEST(DdeExecute, GroupCommandsNeedANameAndUnknownOnesDoNothing) {
  struct Case {
    const wchar_t* text;
    DdeAction action;
    const wchar_t* group;
    int showCommand;
    int line;
  } cases[] = {
      {L"[CreateGroup(Tools,path)]", DdeAction::kCreateGroup, L"Tools", 0, __LINE__},
      {L"[DeleteGroup(\"My Tools\")]", DdeAction::kDeleteGroup, L"My Tools", 0, __LINE__},
      {L"[ShowGroup(Tools,7)]", DdeAction::kShowGroup, L"Tools", 7, __LINE__},
      {L"[Reload(Tools)]", DdeAction::kReload, L"Tools", 0, __LINE__},
      {L"[DeleteGroup()]", DdeAction::kUnknown, L"", 0, __LINE__},
      {L"[CreateGroup(\"\")]", DdeAction::kUnknown, L"", 0, __LINE__},
      {L"[AddItem(,Editor)]", DdeAction::kUnknown, L"", 0, __LINE__},
      {L"[ExitProgman(1)]", DdeAction::kUnknown, L"", 0, __LINE__},
  };
  for (const Case& c : cases) {
    DdeOperation o = meaning(c.text);
    EXPECT_EQ(o.action, c.action) << c.line;
    EXPECT_EQ(o.group, c.group) << c.line;
    EXPECT_EQ(o.showCommand, c.showCommand) << c.line;
  }
}

// A table as loaded: quick group, Tools (slots 0 and 3), Games (empty), placeholder.
class DdeAnswers : public ::testing::Test {
 protected:
  void SetUp() override {
    table.loadGroups();
    table[0].title = L"Quick";
    const std::wstring tools = L"Tools", games = L"Games";
    ASSERT_EQ(table.ensureGroup(1, &tools, false), 1);
    ASSERT_EQ(table.ensureGroup(2, &games, false), 2);
    put(1, 0, L"Editor", L"C:\\ed.exe -n", L"C:\\", 0x0001);
    put(1, 3, L"Web", L"https://example.org/", L"", kItemUrl);
    put(0, 1, L"Calc", L"calc.exe", L"", 0);
    groups = ddeGroupView(table);
  }
  void put(int group, int slot, const wchar_t* title, const wchar_t* target, const wchar_t* folder,
           uint32_t flags) {
    auto item = std::make_unique<Item>();
    item->title = title;
    item->setTargetPath(target);
    item->folder = folder;
    item->flags = flags;
    table.placeItem(group, slot, std::move(item));
  }
  std::wstring request(std::wstring_view item, int active = 1, bool taskMode = false) {
    return ddeRequestText(groups, item, active, taskMode, programPart);
  }

  MemoryProfile profile;
  GroupTable table{profile, ModelOptions{.isV416Later = true}};
  std::vector<const Group*> groups;
  // A fake file system: only the web address "exists" whole; the rest is cut at the first blank.
  DdeProgramPart programPart = [](const std::wstring& target) {
    return target.starts_with(L"https:") ? std::wstring() : target.substr(0, target.find(L' '));
  };
};

TEST_F(DdeAnswers, GroupsListTheQuickGroupFirstWithoutThePlaceholder) {
  ASSERT_EQ(table.size(), 4u);
  EXPECT_EQ(request(L"groups"), L"Quick\r\nTools\r\nGames\r\n");
  EXPECT_EQ(request(L"GROUPS"), request(L"groups"));
  EXPECT_EQ(findDdeGroup(groups, L"tOOLS"), 1);
  EXPECT_EQ(findDdeGroup(groups, L""), -1) << "the nameless placeholder is not there to match";
}

TEST_F(DdeAnswers, AGroupListsItsOccupiedSlots) {
  EXPECT_EQ(request(L"tools"),
            L"\"Tools\",,2,1\r\n"
            L"\"Editor\",\"C:\\ed.exe -n\",C:\\,C:\\ed.exe,0,0,0,0,1\r\n"
            L"\"Web\",\"https://example.org/\",,,0,0,0,0,0\r\n");
  EXPECT_EQ(request(L"Tools", 2), request(L"Tools", 2, true));
  EXPECT_TRUE(request(L"Tools", 2).starts_with(L"\"Tools\",,2,7\r\n")) << "not the active group";
  EXPECT_TRUE(request(L"Tools", 1, true).starts_with(L"\"Tools\",,2,7\r\n")) << "task mode";
  EXPECT_EQ(request(L"Games"), L"\"Games\",,0,7\r\n");
  EXPECT_EQ(request(L"Quick", 0), L"\"Quick\",,1,1\r\n\"Calc\",\"calc.exe\",,calc.exe,0,0,0,0,0\r\n");
  EXPECT_EQ(request(L"Nothing"), L"");
}

TEST_F(DdeAnswers, ALargeGroupIsAnsweredWhole) {
  for (int slot = 0; slot < 2000; ++slot)
    put(2, slot, L"Program", L"C:\\Program Files\\Some Vendor\\program.exe", L"C:\\Program Files", 0);
  std::wstring text = request(L"Games");
  const std::wstring line =
      L"\"Program\",\"C:\\Program Files\\Some Vendor\\program.exe\",C:\\Program "
      L"Files,C:\\Program,0,0,0,0,0\r\n";
  ASSERT_TRUE(text.starts_with(L"\"Games\",,2000,7\r\n"));
  EXPECT_EQ(text.size(), std::wstring(L"\"Games\",,2000,7\r\n").size() + 2000 * line.size());
  EXPECT_TRUE(text.ends_with(line));
  std::vector<uint8_t> block = ddeDataBlock(text, kClipboardUnicodeText);
  EXPECT_GT(block.size(), 65535u);
  EXPECT_EQ(block.size(), kDdeDataHeaderBytes + 2 * text.size() + 2);
}

TEST(DdeDataBlock, CarriesTheTextInTheAskedFormatOnly) {
  const std::wstring text = L"Caf\u00e9\u65e5\r\n";
  std::vector<uint8_t> unicode = ddeDataBlock(text, kClipboardUnicodeText);
  std::vector<uint8_t> expected = {0x00, 0x30, 13, 0};
  for (uint8_t b : utf16Bytes(text)) expected.push_back(b);
  expected.insert(expected.end(), {0, 0});
  EXPECT_EQ(unicode, expected);

  EXPECT_EQ(ddeDataBlock(text, kClipboardText),
            (std::vector<uint8_t>{0x00, 0x30, 1, 0, 'C', 'a', 'f', 0xE9, '?', '\r', '\n', 0}));
  AnsiEncoder encoder = [](std::wstring_view t) { return std::string(t.size() * 2, 'a'); };
  EXPECT_EQ(ddeDataBlock(L"xy", kClipboardText, encoder),
            (std::vector<uint8_t>{0x00, 0x30, 1, 0, 'a', 'a', 'a', 'a', 0}));
  EXPECT_EQ(ddeDataBlock(L"", kClipboardText).size(), kDdeDataHeaderBytes + 1);
  for (unsigned refused : {0u, 2u, 7u, 0xC000u}) EXPECT_TRUE(ddeDataBlock(text, refused).empty()) << refused;
}

TEST(DdeNames, CompareWithoutCaseBeyondAscii) {
  EXPECT_TRUE(ddeNamesEqual(L"Caf\u00c9 \u0414\u0410 \uff21", L"caf\u00e9 \u0434\u0430 \uff41"));
  EXPECT_TRUE(ddeNamesEqual(L"\u0401\u03a3", L"\u0451\u03c3"));
  EXPECT_FALSE(ddeNamesEqual(L"\u00d7", L"\u00f7")) << "times and division are not a case pair";
  EXPECT_FALSE(ddeNamesEqual(L"Tools", L"Tool"));
  EXPECT_FALSE(ddeNamesEqual(L"[", L"{")) << "only letters fold";
}

TEST(DdeInitiate, TakesProgmanOnTheBarsWindowAndBroadcastsOnlyAsTheShell) {
  using Name = std::optional<std::wstring_view>;
  struct Case {
    Name application, topic;
    bool broadcast, shell, accepted;
    int line;
  } cases[] = {
      {L"progman", L"Progman", false, false, true, __LINE__},
      {std::nullopt, std::nullopt, false, false, true, __LINE__},
      {L"PROGMAN", L"PROGMAN", true, false, false, __LINE__},
      {L"PROGMAN", L"PROGMAN", true, true, true, __LINE__},
      {std::nullopt, std::nullopt, true, true, true, __LINE__},
      {L"Shell", L"PROGMAN", false, false, false, __LINE__},
      {L"PROGMAN", L"AppProperties", false, true, false, __LINE__},
      {L"", L"PROGMAN", false, false, false, __LINE__},
      {L"PROGMAN2", std::nullopt, true, true, false, __LINE__},
  };
  for (const Case& c : cases)
    EXPECT_EQ(acceptDdeInitiate(c.application, c.topic, c.broadcast, c.shell), c.accepted) << c.line;
}

}  // namespace
}  // namespace vorbin
