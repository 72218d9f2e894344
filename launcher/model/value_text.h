// Text forms of profile values: booleans, integers in text, colours, folder
// values, the activation letters, the mode-button list and the group order.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorbin {

// A leading integer after blanks, like the C library's atoi but saturating
// at the int range; 0 when the text does not start with a number.
int leadingInt(std::wstring_view text);
// Integers separated by blanks and commas; a field that is not a number reads as 0.
std::vector<int> splitNumbers(std::wstring_view text, size_t maxCount = 64);

// True when the text, after leading blanks, is a non-zero number or begins with y or t.
bool parseBool(std::wstring_view text);
inline const wchar_t* formatBool(bool value) { return value ? L"Yes" : L"No"; }

inline constexpr int kNoStrength = -1000;

// A colour slot value: red, green, blue and a strength in percent.
struct ColorValue {
  uint8_t r = 0, g = 0, b = 0;
  int strength = kNoStrength;
  bool operator==(const ColorValue&) const = default;
};
// Up to four numbers; missing ones after the first read as 128; an empty text
// gives the default; the fourth number is a signed byte used only within -100..100.
ColorValue parseColor(std::wstring_view text, const ColorValue& fallback);
// " r g b" and, when withStrength, " s".
std::wstring formatColor(const ColorValue& color, bool withStrength);

// A folder for a file-selection dialog and that dialog's four numbers.
struct FolderValue {
  std::wstring path;
  std::array<int, 4> numbers{1, 0, 0, 0};
  bool operator==(const FolderValue&) const = default;
};
// "path,n1,n2,n3,n4"; an empty path takes the fallback folder; n1 is at least 1;
// ignoreSecond drops n2 (the program folder keeps it 0).
FolderValue parseFolderValue(std::wstring_view text, const std::wstring& fallbackPath, bool ignoreSecond);
std::wstring formatFolderValue(const FolderValue& value, bool zeroSecond);

// Five letters for the left, top, right, bottom edges and the desktop click:
// bit i is set unless letter i is N; an empty mask means the desktop click only.
unsigned parseActivationLetters(std::wstring_view text);
std::wstring formatActivationLetters(unsigned mask);

// Three display modes of the command buttons; out-of-range entries read as 0.
std::array<int, 3> parseModeButtons(std::wstring_view text);
std::wstring formatModeButtons(const std::array<int, 3>& modes);

// The group order: section numbers, each preceded by a space. Parsing drops
// zeros, repeats and numbers that cannot name a section.
std::wstring formatOrder(const std::vector<uint32_t>& sections);
std::vector<uint32_t> parseOrder(std::wstring_view text, size_t maxGroups);

}  // namespace vorbin
