// Character classes shared by the launcher's text rules: which blanks a rule
// skips or splits at, and the ASCII-only case folding of names.
#pragma once
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace vorbin {

// Space or tab: the blanks between the words of a command line or a label.
constexpr bool isSpaceOrTab(wchar_t c) { return c == L' ' || c == L'\t'; }
// Space, tab, CR or LF: the white space around values typed or stored by hand.
constexpr bool isWhiteSpace(wchar_t c) { return isSpaceOrTab(c) || c == L'\r' || c == L'\n'; }

// The text without the leading (trimFront), trailing (trimBack) or both
// (trimmed) characters for which drop is true.
constexpr std::wstring_view trimFront(std::wstring_view text, bool (*drop)(wchar_t)) {
  while (!text.empty() && drop(text.front())) text.remove_prefix(1);
  return text;
}
constexpr std::wstring_view trimBack(std::wstring_view text, bool (*drop)(wchar_t)) {
  while (!text.empty() && drop(text.back())) text.remove_suffix(1);
  return text;
}
constexpr std::wstring_view trimmed(std::wstring_view text, bool (*drop)(wchar_t)) {
  return trimBack(trimFront(text, drop), drop);
}

// The pieces of text between separators (characters for which isSeparator is
// true), without the empty ones.
template <class IsSeparator>
std::vector<std::wstring> splitPieces(std::wstring_view text, IsSeparator isSeparator) {
  std::vector<std::wstring> pieces;
  std::wstring current;
  for (wchar_t c : text) {
    if (!isSeparator(c)) {
      current.push_back(c);
    } else if (!current.empty()) {
      pieces.push_back(std::move(current));
      current.clear();
    }
  }
  if (!current.empty()) pieces.push_back(std::move(current));
  return pieces;
}

// A-Z as a-z, every other character as it is: how the registry compares
// names, and free of the C library's locale.
constexpr wchar_t foldAscii(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}
constexpr bool equalsFoldingAscii(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return foldAscii(x) == foldAscii(y);
         });
}

}  // namespace vorbin
