// Number texts, safe file names and generated file names.
#include "launcher/services/text_format.h"

#include <gtest/gtest.h>

#include <set>

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
