// The list tokenizer: quoting, delimiter sets and NUL-separated items.
#include "launcher/services/tokenizer.h"

#include <gtest/gtest.h>

namespace vorbin {
namespace {

std::vector<std::wstring> all(Tokenizer& t, const wchar_t* delimiters) {
  std::vector<std::wstring> out;
  while (auto tok = t.next(delimiters)) {
    out.push_back(*tok);
    if (out.size() > 100) break;
  }
  return out;
}

TEST(Tokenizer, QuotedTokenKeepsItsBlanks) {
  EXPECT_EQ(nextToken(std::wstring_view(L"\"a b\" c"), L" "), L"a b");
  EXPECT_EQ(nextToken(std::nullopt, L" "), L"c");
  EXPECT_EQ(nextToken(std::nullopt, L" "), std::nullopt);
}

TEST(Tokenizer, DelimitersAndLeadingBlanks) {
  Tokenizer t;
  t.reset(L"  one,two, three,,");
  EXPECT_EQ(all(t, L","), (std::vector<std::wstring>{L"one", L"two", L"three", L""}));
}

TEST(Tokenizer, LineFeedDelimiterTakesQuotesLiterally) {
  Tokenizer t;
  t.reset(L"\"quoted\" line\nsecond");
  EXPECT_EQ(all(t, L"\n"), (std::vector<std::wstring>{L"\"quoted\" line", L"second"}));
}

TEST(Tokenizer, EmptyDelimiterSetWalksNulSeparatedItems) {
  Tokenizer t;
  t.reset(std::wstring_view(L"first\0second item\0", 18));
  EXPECT_EQ(all(t, L""), (std::vector<std::wstring>{L"first", L"second item"}));
}

TEST(Tokenizer, NoDelimitersGivesTheRest) {
  Tokenizer t;
  t.reset(L"cmd rest of line");
  EXPECT_EQ(t.next(L" "), L"cmd");
  EXPECT_EQ(t.next(nullptr), L"rest of line");
  EXPECT_EQ(t.next(nullptr), std::nullopt);
}

TEST(Tokenizer, UnterminatedQuoteEndsAtTheText) {
  Tokenizer t;
  t.reset(L"\"open ended");
  EXPECT_EQ(all(t, L" "), (std::vector<std::wstring>{L"open ended"}));
}

}  // namespace
}  // namespace vorbin
