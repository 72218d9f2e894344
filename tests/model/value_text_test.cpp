// Text forms of profile values: what a hand-edited or damaged profile reads as.
#include "launcher/model/value_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace vorbin {
namespace {

TEST(ValueText, BooleansFollowNumberOrFirstLetter) {
  struct Case {
    const wchar_t* text;
    bool expected;
  } cases[] = {{L"true", true},   {L"1", true},     {L"yes", true},   {L"  Yes", true}, {L"T", true},
               {L"-1", true},     {L"12abc", true}, {L"0", false},    {L"No", false},   {L"", false},
               {L"false", false}, {L"  ", false},   {L"0yes", false}, {L"x", false}};
  for (const Case& c : cases)
    EXPECT_EQ(parseBool(c.text), c.expected) << "text: " << testing::PrintToString(std::wstring(c.text));
  EXPECT_TRUE(parseBool(formatBool(true)));
  EXPECT_FALSE(parseBool(formatBool(false)));
}

TEST(ValueText, LeadingIntegersSaturateAndStopAtText) {
  EXPECT_EQ(leadingInt(L"  +7"), 7);
  EXPECT_EQ(leadingInt(L"-5x"), -5);
  EXPECT_EQ(leadingInt(L"x5"), 0);
  EXPECT_EQ(leadingInt(L"99999999999999999999999"), INT_MAX);
  EXPECT_EQ(leadingInt(L"-99999999999999999999999"), INT_MIN);
  EXPECT_EQ(splitNumbers(L" 1,2  3,,x 4"), (std::vector<int>{1, 2, 3, 0, 4}));
  EXPECT_EQ(splitNumbers(L"1 2 3 4 5", 3).size(), 3u);
}

TEST(ValueText, ColoursFillMissingNumbersAndCheckStrength) {
  const ColorValue fallback{0, 128, 192, 50};
  EXPECT_EQ(parseColor(L"255", fallback), (ColorValue{255, 128, 128, 50}));
  EXPECT_EQ(parseColor(L"", fallback), fallback);
  EXPECT_EQ(parseColor(L" 1 2 3 -40", fallback), (ColorValue{1, 2, 3, -40}));
  EXPECT_EQ(parseColor(L"1,2,3,100", fallback), (ColorValue{1, 2, 3, 100}));
  // The strength is a signed byte: 120 is out of range, 200 is -56.
  EXPECT_EQ(parseColor(L"1 2 3 120", fallback).strength, 50);
  EXPECT_EQ(parseColor(L"1 2 3 200", fallback).strength, -56);
  EXPECT_EQ(formatColor({1, 2, 3, 50}, true), L" 1 2 3 50");
  EXPECT_EQ(formatColor({1, 2, 3, 50}, false), L" 1 2 3");
  ColorValue c{9, 8, 7, -12};
  EXPECT_EQ(parseColor(formatColor(c, true), fallback), c);
}

TEST(ValueText, FolderValuesKeepCommasInPathsAndFixTheNumbers) {
  FolderValue v = parseFolderValue(L"C:\\Apps,0,5,6,7", L"C:\\windows", false);
  EXPECT_EQ(v.path, L"C:\\Apps");
  EXPECT_EQ(v.numbers, (std::array<int, 4>{1, 5, 6, 7}));
  EXPECT_EQ(parseFolderValue(L"C:\\Apps,2,5,6,7", L"", true).numbers, (std::array<int, 4>{2, 0, 6, 7}));
  EXPECT_EQ(parseFolderValue(L"C:\\a,b,2,3,4,5", L"", false).path, L"C:\\a,b");
  FolderValue empty = parseFolderValue(L"", L"C:\\windows", false);
  EXPECT_EQ(empty.path, L"C:\\windows");
  EXPECT_EQ(empty.numbers[0], 1);
  EXPECT_EQ(parseFolderValue(L"D:\\x", L"C:\\w", false).path, L"D:\\x");
  EXPECT_EQ(formatFolderValue({L"C:\\Apps", {3, 9, 1, 2}}, true), L"C:\\Apps,3,0,1,2");
  FolderValue round{L"C:\\x,y", {4, 5, 6, 7}};
  EXPECT_EQ(parseFolderValue(formatFolderValue(round, false), L"", false), round);
}

TEST(ValueText, ActivationLettersAndModeButtons) {
  EXPECT_EQ(parseActivationLetters(L"NNNNN"), 16u);
  EXPECT_EQ(parseActivationLetters(L"YNYNN"), 5u);
  EXPECT_EQ(parseActivationLetters(L"YYYYY"), 31u);
  EXPECT_EQ(parseActivationLetters(L"NNNNY"), 16u);
  EXPECT_EQ(formatActivationLetters(5), L"YNYNN");
  EXPECT_EQ(parseModeButtons(L"0 1 3"), (std::array<int, 3>{0, 1, 3}));
  EXPECT_EQ(parseModeButtons(L"5,2,9"), (std::array<int, 3>{0, 2, 0}));
  EXPECT_EQ(parseModeButtons(L"-1 4"), (std::array<int, 3>{0, 4, 3}));
  EXPECT_EQ(formatModeButtons({2, 0, 4}), L"2 0 4 ");
}

TEST(ValueText, GroupOrderDropsZerosRepeatsAndJunk) {
  EXPECT_EQ(formatOrder({0, 3, 1}), L" 0 3 1");
  EXPECT_EQ(parseOrder(L" 0 3 1", 100), (std::vector<uint32_t>{3, 1}));
  EXPECT_EQ(parseOrder(L"3,3, 2 3", 100), (std::vector<uint32_t>{3, 2}));
  EXPECT_EQ(parseOrder(L"-2 abc 4 99999999999", 100), (std::vector<uint32_t>{4}));
  EXPECT_EQ(parseOrder(L"1 2 3 4 5", 2), (std::vector<uint32_t>{1, 2}));
}

}  // namespace
}  // namespace vorbin
