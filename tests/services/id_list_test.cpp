// Item-ID lists: sizes, copies, joins and splits, and malformed input.
#include "launcher/services/id_list.h"

#include <gtest/gtest.h>

namespace vorbin {
namespace {

IdListBytes entry(std::initializer_list<uint8_t> payload) {
  IdListBytes e;
  uint16_t n = static_cast<uint16_t>(payload.size() + 2);
  e.push_back(static_cast<uint8_t>(n));
  e.push_back(static_cast<uint8_t>(n >> 8));
  e.insert(e.end(), payload);
  return e;
}

IdListBytes list(std::initializer_list<IdListBytes> entries) {
  IdListBytes out;
  for (const auto& e : entries) out.insert(out.end(), e.begin(), e.end());
  out.push_back(0);
  out.push_back(0);
  return out;
}

TEST(IdList, SizeCountsEntriesAndTerminator) {
  IdListBytes l = list({entry({1, 2, 3}), entry({4})});
  EXPECT_EQ(idListSize(l), 5u + 3u + 2u);
  EXPECT_EQ(idListCount(l), 2u);
  EXPECT_EQ(idListSize(list({})), 2u);
  // Trailing bytes after the terminator are not part of the list.
  IdListBytes padded = l;
  padded.push_back(0xEE);
  EXPECT_EQ(idListCopy(padded), l);
}

TEST(IdList, MalformedListsHaveNoSize) {
  EXPECT_EQ(idListSize({}), 0u);
  const uint8_t one[] = {0};
  EXPECT_EQ(idListSize(one), 0u);
  const uint8_t noTerminator[] = {4, 0, 9, 9};
  EXPECT_EQ(idListSize(noTerminator), 0u);
  const uint8_t pastEnd[] = {50, 0, 1, 2, 0, 0};
  EXPECT_EQ(idListSize(pastEnd), 0u);
  const uint8_t countOfOne[] = {1, 0, 0, 0};  // would not advance past its own count
  EXPECT_EQ(idListSize(countOfOne), 0u);
  EXPECT_TRUE(idListCopy(pastEnd).empty());
  EXPECT_FALSE(idListSplit(pastEnd).ok);
}

TEST(IdList, AppendJoinsWithoutTheFirstTerminator) {
  IdListBytes a = list({entry({1})});
  IdListBytes b = list({entry({2, 2}), entry({3})});
  IdListBytes joined = idListAppend(a, b);
  EXPECT_EQ(joined, list({entry({1}), entry({2, 2}), entry({3})}));
  EXPECT_EQ(idListAppend({}, b), b);
  const uint8_t bad[] = {9, 0};
  EXPECT_TRUE(idListAppend(bad, b).empty());
}

TEST(IdList, SplitSeparatesTheLastEntry) {
  IdListBytes l = list({entry({1}), entry({2, 2}), entry({3, 3, 3})});
  IdListSplit s = idListSplit(l);
  ASSERT_TRUE(s.ok);
  EXPECT_EQ(s.parent, list({entry({1}), entry({2, 2})}));
  EXPECT_EQ(s.lastOffset, 3u + 4u);
  EXPECT_EQ(l[s.lastOffset], 5);  // the last entry's count

  IdListSplit single = idListSplit(list({entry({7})}));
  ASSERT_TRUE(single.ok);
  EXPECT_EQ(single.parent, list({}));
}

TEST(IdList, SimpleListHoldsOneWellFormedEntry) {
  IdListBytes l = simpleIdListBytes(u"C:\\dir\\file.txt");
  EXPECT_EQ(idListCount(l), 1u);
  EXPECT_EQ(idListSize(l), l.size());
  EXPECT_EQ(l[2], 0x36);
  EXPECT_EQ(l[12] | (l[13] << 8), 0x20);
  EXPECT_EQ(l[14], 'C');

  std::u16string longName(1000, u'x');
  IdListBytes capped = simpleIdListBytes(longName);
  EXPECT_EQ(idListSize(capped), 14u + 261u * 2u + 2u);
}

}  // namespace
}  // namespace vorbin
