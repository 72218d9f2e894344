// The tips file rules: which lines are tips, the bounded search with its one
// rewind, stored positions, and the UTC time stamp text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/dialogs/tips_rules.h"

namespace vorbin {
namespace {

std::vector<uint8_t> utf16File(std::u16string_view text) {
  std::vector<uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

// Every tip shown by pressing Next `count` times from pos.
std::vector<std::u16string> walk(const std::vector<uint8_t>& file, int64_t pos, int count) {
  std::vector<std::u16string> shown;
  for (int i = 0; i < count; ++i) {
    TipFound tip = nextTip(file, pos);
    if (!tip.found) break;
    shown.push_back(tip.text);
    pos = tip.nextPos;
  }
  return shown;
}

TEST(TipsRules, LinesThatAreNotTips) {
  struct Row {
    std::u16string line, tip;
    int sourceLine;
  } rows[] = {
      {u"Press F2 to start a file.\r\n", u"Press F2 to start a file.", __LINE__},
      {u"\xFEFF; a comment after the mark\r\n", u"", __LINE__},
      {u"\xFEFF"
       u"First tip\r\n",
       u"First tip", __LINE__},
      {u"\xFEFF\r\n", u"", __LINE__},
      {u"; comment\n", u"", __LINE__},
      {u" indented\n", u"", __LINE__},
      {u"\tindented\n", u"", __LINE__},
      {u"\r\n", u"", __LINE__},
      {u"\x1A", u"", __LINE__},
      {u"Ends with the mark\x1A\r\n", u"Ends with the mark", __LINE__},
      {u"no line end", u"no line end", __LINE__},
  };
  for (const Row& r : rows) EXPECT_EQ(tipOfLine(r.line), r.tip) << "line " << r.sourceLine;
}

TEST(TipsRules, MarkCommentBlankAndThreeTipsWrapAround) {
  const auto file = utf16File(u"\xFEFF; tips of the day\r\n\r\nOne\r\nTwo\r\nThree\r\n");
  EXPECT_EQ(walk(file, 0, 5), (std::vector<std::u16string>{u"One", u"Two", u"Three", u"One", u"Two"}));
  // Continuing from where the last showing stopped.
  const TipFound first = nextTip(file, 0);
  const TipFound second = nextTip(file, first.nextPos);
  EXPECT_EQ(second.text, u"Two");
  EXPECT_EQ(nextTip(file, second.nextPos).text, u"Three");
}

TEST(TipsRules, FilesWithoutTipsEndTheSearch) {
  for (const std::u16string& text : {std::u16string(u"\xFEFF; only\r\n; comments\r\n\r\n"), std::u16string(),
                                     std::u16string(u"\xFEFF"), std::u16string(u" \t\r\n")}) {
    const auto file = utf16File(text);
    for (int64_t pos : {int64_t{0}, int64_t{3}, int64_t{-5}, int64_t{1000000000}}) {
      EXPECT_FALSE(nextTip(file, pos).found) << text.size() << " at " << pos;
    }
  }
  // An odd byte at the end is no character.
  std::vector<uint8_t> odd = utf16File(u"; c\n");
  odd.push_back('A');
  EXPECT_FALSE(nextTip(odd, 0).found);
}

TEST(TipsRules, StoredPositionsOutsideTheFileOrOdd) {
  const auto file = utf16File(
      u"\xFEFF"
      u"Alpha\r\nBeta\r\n");
  EXPECT_EQ(clampTipPos(3, 30), 2);
  EXPECT_EQ(clampTipPos(-5, 30), 0);
  EXPECT_EQ(clampTipPos(1000000000, 31), 30);
  EXPECT_EQ(clampTipPos(7, 0), 0);
  // Position 3 reads from just after the mark; beyond the end starts over.
  EXPECT_EQ(nextTip(file, 3).text, u"Alpha");
  EXPECT_EQ(nextTip(file, -5).text, u"Alpha");
  EXPECT_EQ(nextTip(file, 1000000000).text, u"Alpha");
  // The middle of the line "Alpha" (odd offset) rounds down to a character.
  EXPECT_EQ(nextTip(file, 7).text, u"pha");
}

TEST(TipsRules, OverlongLinesAreCutAndTheirRestDropped) {
  const std::u16string longLine(3000, u'x');
  const auto file = utf16File(longLine + u"\r\nAfter\r\n");
  const TipFound first = nextTip(file, 0);
  ASSERT_TRUE(first.found);
  EXPECT_EQ(first.text.size(), kMaxTipLength);
  EXPECT_EQ(nextTip(file, first.nextPos).text, u"After");
  // A line of exactly the limit keeps its own line feed handling.
  const auto exact = utf16File(std::u16string(999, u'y') + u"\nNext\n");
  const TipFound e = nextTip(exact, 0);
  EXPECT_EQ(e.text.size(), 999u);
  EXPECT_EQ(nextTip(exact, e.nextPos).text, u"Next");
}

TEST(TipsRules, TimeStampsInUtcAlsoBefore1970) {
  EXPECT_EQ(tipsTimeStamp(0), L"Thu Jan  1 00:00:00 1970");
  EXPECT_EQ(tipsTimeStamp(951782400), L"Tue Feb 29 00:00:00 2000");
  EXPECT_EQ(tipsTimeStamp(-1), L"Wed Dec 31 23:59:59 1969");
  EXPECT_EQ(tipsTimeStamp(-11644473600), L"Mon Jan  1 00:00:00 1601");
  EXPECT_EQ(tipsTimeStamp(1700000000), L"Tue Nov 14 22:13:20 2023");
  EXPECT_EQ(secondsSince1970(116444736000000000ull), 0);
  EXPECT_EQ(secondsSince1970(0), -11644473600);
  EXPECT_EQ(secondsSince1970(116444736009999999ull), 0);
}

TEST(TipsRules, StartValuesAndStartUpChoice) {
  // Same file: the stored choice and position hold (clamped).
  TipsStart s = startTips(1, 7, L"stamp", L"stamp", 100);
  EXPECT_FALSE(s.showAtStartUp);
  EXPECT_EQ(s.pos, 6);
  EXPECT_FALSE(s.stampChanged);
  // A replaced file: from its start, tips on again.
  s = startTips(1, 40, L"old", L"new", 100);
  EXPECT_TRUE(s.showAtStartUp);
  EXPECT_EQ(s.pos, 0);
  EXPECT_TRUE(s.stampChanged);

  EXPECT_TRUE(tipsAtStartUp(false, 0, L"a", L"a"));
  EXPECT_FALSE(tipsAtStartUp(true, 0, L"a", L"a"));
  EXPECT_FALSE(tipsAtStartUp(false, 1, L"a", L"a"));
  EXPECT_TRUE(tipsAtStartUp(false, 1, L"a", L"b"));
  EXPECT_FALSE(tipsAtStartUp(false, 1, L"a", L""));  // no file: nothing new to show
  EXPECT_EQ(tipsFileNames(1).first, L"tips-j.dat");
  EXPECT_EQ(tipsFileNames(0).first, L"tips-e.dat");
  EXPECT_EQ(tipsFileNames(0).second, L"tips-j.dat");
}

}  // namespace
}  // namespace vorbin
