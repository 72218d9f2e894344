// Parsing the command buttons' (label, mark) pairs.
#include "launcher/render/command_labels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>

namespace vorbin {
namespace {

TEST(CommandLabels, PairsInOrder) {
  const auto l = parseCommandLabels(L"Switch,S,Normal,N,Minimize,M");
  ASSERT_EQ(l.size(), 3u);
  EXPECT_EQ(l[0].label, L"Switch");
  EXPECT_EQ(l[0].mark, L"S");
  EXPECT_EQ(l[2].label, L"Minimize");
  EXPECT_EQ(l[2].mark, L"M");
}

TEST(CommandLabels, MissingMarkAndEmptyPieces) {
  const auto l = parseCommandLabels(L"Close,,Button");
  ASSERT_EQ(l.size(), 2u);
  EXPECT_EQ(l[0].mark, L"");
  EXPECT_EQ(l[1].label, L"Button");
  EXPECT_EQ(l[1].mark, L"");
  EXPECT_TRUE(parseCommandLabels(L"").empty());
  // A trailing comma does not make an extra, empty button.
  EXPECT_TRUE(parseCommandLabels(L",").empty());
  EXPECT_EQ(parseCommandLabels(L"A,B,").size(), 1u);
}

TEST(CommandLabels, BoundedCountAndLength) {
  std::wstring text;
  for (int i = 0; i < 30; ++i) text += L"L" + std::to_wstring(i) + L",M,";
  EXPECT_EQ(parseCommandLabels(text).size(), 9u);
  EXPECT_EQ(parseCommandLabels(text, 2).size(), 2u);
  const auto l = parseCommandLabels(std::wstring(500, L'x') + L",y");
  ASSERT_EQ(l.size(), 1u);
  EXPECT_LT(l[0].label.size(), 100u);
  EXPECT_EQ(l[0].mark, L"y");
}

// The text of the labels in a language library's script, decoded from UTF-8.
std::wstring shippedLabels(const char* file) {
  std::ifstream in(std::string(VB_SOURCE_ROOT) + "/launcher/resources/" + file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.find("IDS_TASK_BUTTON_LABELS") == std::string::npos) continue;
    const auto a = line.find('"'), b = line.rfind('"');
    if (a == std::string::npos || b <= a) break;
    std::wstring out;
    for (std::size_t i = a + 1; i < b;) {
      const unsigned char c = static_cast<unsigned char>(line[i]);
      const int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
      std::uint32_t cp = n == 1 ? c : c & (0x3F >> (n - 1));
      for (int k = 1; k < n && i + k < b; ++k) cp = (cp << 6) | (line[i + k] & 0x3F);
      out += static_cast<wchar_t>(cp);
      i += n;
    }
    return out;
  }
  return {};
}

TEST(CommandLabels, ShippedTextsGiveOnePairPerTaskCommand) {
  // The marks are the keys that press the buttons, in button order.
  for (const char* file : {"Vorbr2ke.rc", "Vorbr2kj.rc"}) {
    const auto labels = parseCommandLabels(shippedLabels(file));
    ASSERT_EQ(labels.size(), 9u) << file;
    std::wstring marks;
    for (const auto& p : labels) {
      EXPECT_FALSE(p.label.empty()) << file;
      marks += p.mark;
    }
    EXPECT_EQ(marks, L"SNMGDUAZR") << file;
  }
}

}  // namespace
}  // namespace vorbin
