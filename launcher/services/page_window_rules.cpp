// Address comparison and pane choice for web-page thumbnails.
#include "launcher/services/page_window_rules.h"

#include <algorithm>

namespace vorbin {
namespace {

constexpr bool isBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == 0x3000; }
constexpr wchar_t foldLatin(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

}  // namespace

std::wstring_view trimAddress(std::wstring_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && (isBlank(text.back()) || text.back() == L'/')) text.remove_suffix(1);
  return text;
}

bool addressMatches(std::wstring_view fieldText, std::wstring_view url) {
  const std::wstring_view a = trimAddress(fieldText), b = trimAddress(url);
  // An empty address would match every empty field.
  if (b.empty() || a.size() != b.size()) return false;
  return std::equal(a.begin(), a.end(), b.begin(),
                    [](wchar_t x, wchar_t y) { return foldLatin(x) == foldLatin(y); });
}

bool searchedTopLevel(std::uint32_t style) {
  constexpr std::uint32_t kVisible = 0x10000000, kFrames = 0x00CF0000;
  return (style & kVisible) && (style & kFrames);
}

bool isPagePaneClass(std::wstring_view className) {
  return className == L"Shell DocObject View" || className == L"Afx:400000:3028";
}

bool isAddressFieldClass(std::wstring_view className) {
  return className.size() == 4 && std::equal(className.begin(), className.end(), L"edit",
                                             [](wchar_t x, wchar_t y) { return foldLatin(x) == y; });
}

void PaneChoice::consider(std::uintptr_t child, std::wstring_view className, long long width, long long height) {
  if (!child) return;
  const long long area = std::max(0LL, width) * std::max(0LL, height);
  if (area > m_largestArea) {
    m_largest = child;
    m_largestArea = area;
  }
  if (isPagePaneClass(className) && area > m_pageArea) {
    m_page = child;
    m_pageArea = area;
  }
}

}  // namespace vorbin
