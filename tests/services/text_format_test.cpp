// Number texts, message templates, safe file names and generated file names;
// the shared character classes, trimming, splitting and case folding.
#include "launcher/services/text_format.h"

#include <gtest/gtest.h>

#include <set>

#include "launcher/services/text_chars.h"

namespace vorbin {
namespace {

TEST(HexTexts, WordAndLongForms) {
  EXPECT_EQ(hexWord(0), L"0000");
  EXPECT_EQ(hexWord(0xABCDEF12), L"EF12");  // only the low 16 bits
  EXPECT_EQ(hexLong(0x0001F00D, false), L"0001F00D");
  EXPECT_EQ(hexLong(0xDEADBEEF, true), L"DEAD:BEEF");
}

TEST(DecimalTexts, SignedAndUnsignedOfExtremes) {
  EXPECT_EQ(decimal(-1).signedText, L"-1");
  EXPECT_EQ(decimal(-1).unsignedText, L"4294967295");
  EXPECT_EQ(decimal(INT32_MIN).signedText, L"-2147483648");
  EXPECT_EQ(decimal(INT32_MIN).unsignedText, L"2147483648");
  EXPECT_EQ(decimal(42).signedText, decimal(42).unsignedText);
}

TEST(MessageTemplates, FillTheFirstPlaceLiterally) {
  EXPECT_EQ(substituteName(L"Cannot find '%s'.", L"C:\\%s%d%n"), L"Cannot find 'C:\\%s%d%n'.");
  EXPECT_EQ(substituteName(L"%s and %s", L"a"), L"a and %s");
  EXPECT_EQ(substituteName(L"no directive", L"x"), L"no directive");
  EXPECT_EQ(substituteName(L"100%", L"x"), L"100%");
  EXPECT_EQ(substituteCount(L"Start all %d items?", 12), L"Start all 12 items?");
  EXPECT_EQ(substituteCount(L"%d%d", -3), L"-3%d");
  EXPECT_EQ(substituteCount(L"Start them?", 4), L"Start them? (4)");
  EXPECT_EQ(substituteCount(L"%s", 4), L"%s (4)");
}

TEST(TextChars, TwoMeaningsOfBlankTrimSplitAndFold) {
  const std::wstring_view text = L"\r\n \tword \t\n";
  EXPECT_EQ(trimmed(text, isWhiteSpace), L"word");
  EXPECT_EQ(trimmed(text, isSpaceOrTab), L"\r\n \tword \t\n");  // CR and LF are not blanks of a line
  EXPECT_EQ(trimFront(L" \t a b ", isSpaceOrTab), L"a b ");
  EXPECT_EQ(trimBack(L" a b \t ", isSpaceOrTab), L" a b");
  EXPECT_EQ(trimmed(L" \t ", isSpaceOrTab), L"");

  const auto pieces = splitPieces(L";a;; b c;", [](wchar_t c) { return c == L';' || c == L' '; });
  EXPECT_EQ(pieces, (std::vector<std::wstring>{L"a", L"b", L"c"}));
  EXPECT_TRUE(splitPieces(L";;", [](wchar_t c) { return c == L';'; }).empty());

  // Only A-Z fold: the neighbours of the range and other scripts stay as they are.
  EXPECT_EQ(foldAscii(L'A'), L'a');
  EXPECT_EQ(foldAscii(L'Z'), L'z');
  for (wchar_t kept : {L'@', L'[', L'a', L'z', L'0', wchar_t(0xC4), wchar_t(0xFF21)})
    EXPECT_EQ(foldAscii(kept), kept) << int(kept);
  EXPECT_TRUE(equalsFoldingAscii(L"NoLogo", L"nologo"));
  EXPECT_FALSE(equalsFoldingAscii(L"nologo", L"nolog"));
  EXPECT_FALSE(equalsFoldingAscii(std::wstring(1, wchar_t(0xC4)), std::wstring(1, wchar_t(0xE4))));
}

TEST(SafeFileName, ReplacesEachReservedCharacterAndKeepsTheRest) {
  EXPECT_EQ(safeFileName(L"Plain name.txt"), L"Plain name.txt");
  std::wstring reserved = L"\\/:,*?\"<>|";
  std::wstring safe = safeFileName(reserved);
  ASSERT_EQ(safe.size(), reserved.size());
  const wchar_t expected[] = {0xFFE5, 0xFF0F, 0xFF1A, 0xFF0C, 0xFF0A, 0xFF1F, 0x201D, 0xFF1C, 0xFF1E, 0xFF5C};
  for (size_t i = 0; i < safe.size(); ++i) EXPECT_EQ(safe[i], expected[i]) << "position " << i;
  EXPECT_EQ(safeFileName(L"a:b"), std::wstring(L"a") + wchar_t(0xFF1A) + L"b");
}

TEST(UniqueFileName, TakesTheFirstFreeNumberAndWrapsAtFFFF) {
  EXPECT_EQ(uniqueNameCandidate(12, 31, 0xFFFF, L".jpg"), L"1231FFFF.jpg");
  EXPECT_EQ(uniqueNameCandidate(1, 2, 0x00A0, L""), L"010200A0");

  std::set<std::wstring> taken{L"1231FFFE.jpg", L"1231FFFF.jpg"};
  auto exists = [&](const std::wstring& n) { return taken.count(n) != 0; };
  EXPECT_EQ(pickUniqueName(12, 31, 0xFFFE, L".jpg", exists), L"12310000.jpg");
  EXPECT_EQ(pickUniqueName(12, 31, 0x1234, L".jpg", exists), L"12311234.jpg");
}

TEST(UniqueFileName, GivesUpWhenEveryNumberIsTaken) {
  int calls = 0;
  auto always = [&](const std::wstring&) {
    ++calls;
    return true;
  };
  EXPECT_EQ(pickUniqueName(6, 1, 7, L".x", always), L"");
  EXPECT_EQ(calls, 0x10000);
}

}  // namespace
}  // namespace vorbin
