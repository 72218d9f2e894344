// Fitting names into boxes: one line when it fits, word wrapping, the end
// ellipsis and the shortened flag that decides the tool tip.
#include "launcher/render/label_fit.h"

#include <gtest/gtest.h>

namespace vorbin {
namespace {

// Every character 5 pixels wide, except 'W' at 10 (widths need not be uniform).
int measure(std::wstring_view s) {
  int w = 0;
  for (wchar_t c : s) w += c == L'W' ? 10 : 5;
  return w;
}

TEST(FitLabel, FittingTextStaysOnOneLine) {
  const FittedLabel f = fitLabel(L"Notepad", 35, 2, measure);
  ASSERT_EQ(f.lines.size(), 1u);
  EXPECT_EQ(f.lines[0], L"Notepad");
  EXPECT_FALSE(f.shortened);
  EXPECT_TRUE(fitLabel(L"", 10, 2, measure).lines.empty());
}

TEST(FitLabel, WrapsAtBlanks) {
  const FittedLabel f = fitLabel(L"Word Processor", 50, 2, measure);
  ASSERT_EQ(f.lines.size(), 2u);
  EXPECT_EQ(f.lines[0], L"Word");
  EXPECT_EQ(f.lines[1], L"Processor");
  EXPECT_FALSE(f.shortened);
}

TEST(FitLabel, PacksSeveralWordsPerLine) {
  const FittedLabel f = fitLabel(L"a b c d e f", 25, 2, measure);
  ASSERT_EQ(f.lines.size(), 2u);
  EXPECT_EQ(f.lines[0], L"a b c");
  EXPECT_EQ(f.lines[1], L"d e f");
}

TEST(FitLabel, LongNameEndsInEllipsisAndIsMarked) {
  const FittedLabel f = fitLabel(L"Microsoft Visual Studio Code", 50, 2, measure);
  ASSERT_EQ(f.lines.size(), 2u);
  EXPECT_EQ(f.lines[0], L"Microsoft");
  EXPECT_TRUE(f.shortened);
  EXPECT_LE(measure(f.lines[1]), 50);
  EXPECT_TRUE(f.lines[1].ends_with(L"..."));
  EXPECT_EQ(f.lines[1], L"Visual...");
}

TEST(FitLabel, SingleLineBoxes) {
  const FittedLabel f = fitLabel(L"Minimize", 30, 1, measure);
  ASSERT_EQ(f.lines.size(), 1u);
  EXPECT_EQ(f.lines[0], L"Min...");
  EXPECT_TRUE(f.shortened);
}

TEST(FitLabel, WordWiderThanLineIsBroken) {
  const FittedLabel f = fitLabel(L"ABCDEFGHIJ", 25, 3, measure);
  ASSERT_EQ(f.lines.size(), 2u);
  EXPECT_EQ(f.lines[0], L"ABCDE");
  EXPECT_EQ(f.lines[1], L"FGHIJ");
  EXPECT_FALSE(f.shortened);
}

TEST(FitLabel, WideCharactersCount) {
  const FittedLabel f = fitLabel(L"WWWW", 30, 1, measure);
  ASSERT_EQ(f.lines.size(), 1u);
  EXPECT_EQ(f.lines[0], L"W...");
  EXPECT_TRUE(f.shortened);
}

TEST(FitLabel, BoxTooNarrowForAnything) {
  const FittedLabel f = fitLabel(L"Calc", 3, 2, measure);
  EXPECT_TRUE(f.shortened);
  ASSERT_FALSE(f.lines.empty());
  EXPECT_EQ(f.lines.back(), L"...");
  // Zero lines asked for still gives one.
  EXPECT_EQ(fitLabel(L"Calculator", 20, 0, measure).lines.size(), 1u);
}

TEST(FitLabel, OverlongNameIsCutToTheBuffer) {
  const std::wstring name(1000, L'x');
  const FittedLabel f = fitLabel(name, 100000, 2, measure);
  EXPECT_TRUE(f.shortened);
  std::size_t chars = 0;
  for (const auto& l : f.lines) chars += l.size();
  EXPECT_LT(chars, kLabelBufferChars + kEllipsis.size());
}

TEST(Ellipsize, TrailingBlanksDropBeforeTheDots) {
  EXPECT_EQ(ellipsize(L"ab cdef", 30, measure), L"ab...");
  EXPECT_EQ(ellipsize(L"abcdef", 0, measure), L"...");
}

}  // namespace
}  // namespace vorbin
