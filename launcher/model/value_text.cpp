// Text forms of profile values.
#include "launcher/model/value_text.h"

#include <algorithm>
#include <climits>
#include <unordered_set>

#include "launcher/services/text_chars.h"

namespace vorbin {

namespace {

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool isSeparator(wchar_t c) { return isWhiteSpace(c) || c == L','; }

// Parses an optional sign and digits at pos; saturates; pos moves past them.
// Returns false when no digit follows.
bool readInt(std::wstring_view text, size_t& pos, long long& value) {
  size_t i = pos;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  if (i >= text.size() || !isDigit(text[i])) return false;
  long long v = 0;
  for (; i < text.size() && isDigit(text[i]); ++i)
    v = std::min<long long>(v * 10 + (text[i] - L'0'), 1LL << 40);
  value = negative ? -v : v;
  pos = i;
  return true;
}

int saturate(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

}  // namespace

int leadingInt(std::wstring_view text) {
  size_t pos = 0;
  while (pos < text.size() && isWhiteSpace(text[pos])) ++pos;
  long long v = 0;
  return readInt(text, pos, v) ? saturate(v) : 0;
}

std::vector<int> splitNumbers(std::wstring_view text, size_t maxCount) {
  std::vector<int> out;
  size_t pos = 0;
  while (pos < text.size() && out.size() < maxCount) {
    while (pos < text.size() && isSeparator(text[pos])) ++pos;
    if (pos >= text.size()) break;
    size_t end = pos;
    while (end < text.size() && !isSeparator(text[end])) ++end;
    out.push_back(leadingInt(text.substr(pos, end - pos)));
    pos = end;
  }
  return out;
}

bool parseBool(std::wstring_view text) {
  text = trimFront(text, isWhiteSpace);
  if (leadingInt(text) != 0) return true;
  if (text.empty()) return false;
  wchar_t c = text.front();
  return c == L'y' || c == L'Y' || c == L't' || c == L'T';
}

ColorValue parseColor(std::wstring_view text, const ColorValue& fallback) {
  std::vector<int> n = splitNumbers(text, 4);
  if (n.empty()) return fallback;
  while (n.size() < 3) n.push_back(128);
  ColorValue c;
  c.r = static_cast<uint8_t>(n[0]);
  c.g = static_cast<uint8_t>(n[1]);
  c.b = static_cast<uint8_t>(n[2]);
  c.strength = fallback.strength;
  if (n.size() > 3) {
    int s = static_cast<int8_t>(static_cast<uint8_t>(n[3]));
    if (s >= -100 && s <= 100) c.strength = s;
  }
  return c;
}

std::wstring formatColor(const ColorValue& color, bool withStrength) {
  std::wstring out =
      L" " + std::to_wstring(color.r) + L" " + std::to_wstring(color.g) + L" " + std::to_wstring(color.b);
  if (withStrength) out += L" " + std::to_wstring(color.strength);
  return out;
}

FolderValue parseFolderValue(std::wstring_view text, const std::wstring& fallbackPath, bool ignoreSecond) {
  // The numbers are the trailing comma fields; a path may itself hold commas.
  FolderValue value;
  value.numbers = {0, 0, 0, 0};
  std::array<int, 4> found{};
  size_t count = 0;
  std::wstring_view rest = text;
  while (count < 4) {
    size_t comma = rest.rfind(L',');
    if (comma == std::wstring_view::npos) break;
    std::wstring_view field = trimmed(rest.substr(comma + 1), isWhiteSpace);
    size_t pos = 0;
    long long v = 0;
    if (!readInt(field, pos, v) || pos != field.size()) break;
    found[count++] = saturate(v);
    rest = rest.substr(0, comma);
  }
  for (size_t i = 0; i < count; ++i) value.numbers[i] = found[count - 1 - i];
  value.path = std::wstring(trimmed(rest, isWhiteSpace));
  if (value.path.empty()) value.path = fallbackPath;
  if (value.numbers[0] < 1) value.numbers[0] = 1;
  if (ignoreSecond) value.numbers[1] = 0;
  return value;
}

std::wstring formatFolderValue(const FolderValue& value, bool zeroSecond) {
  std::wstring out = value.path;
  for (size_t i = 0; i < 4; ++i) out += L"," + std::to_wstring(zeroSecond && i == 1 ? 0 : value.numbers[i]);
  return out;
}

unsigned parseActivationLetters(std::wstring_view text) {
  unsigned mask = 0;
  for (unsigned i = 0; i < 5; ++i) {
    wchar_t c = i < text.size() ? text[i] : L'Y';
    if (c != L'N' && c != L'n') mask |= 1u << i;
  }
  return mask == 0 ? 16u : mask;
}

std::wstring formatActivationLetters(unsigned mask) {
  std::wstring out;
  for (unsigned i = 0; i < 5; ++i) out += (mask & (1u << i)) ? L'Y' : L'N';
  return out;
}

std::array<int, 3> parseModeButtons(std::wstring_view text) {
  std::array<int, 3> modes{0, 1, 3};
  std::vector<int> n = splitNumbers(text, 3);
  for (size_t i = 0; i < n.size(); ++i) modes[i] = (n[i] > 4 || n[i] < 0) ? 0 : n[i];
  return modes;
}

std::wstring formatModeButtons(const std::array<int, 3>& modes) {
  std::wstring out;
  for (int m : modes) out += std::to_wstring(m) + L" ";
  return out;
}

std::wstring formatOrder(const std::vector<uint32_t>& sections) {
  std::wstring out;
  for (uint32_t s : sections) out += L" " + std::to_wstring(s);
  return out;
}

std::vector<uint32_t> parseOrder(std::wstring_view text, size_t maxGroups) {
  std::vector<uint32_t> out;
  std::unordered_set<uint32_t> seen;
  size_t pos = 0;
  while (pos < text.size() && out.size() < maxGroups) {
    while (pos < text.size() && isSeparator(text[pos])) ++pos;
    if (pos >= text.size()) break;
    size_t end = pos;
    while (end < text.size() && !isSeparator(text[end])) ++end;
    std::wstring_view field = text.substr(pos, end - pos);
    pos = end;
    size_t at = 0;
    long long v = 0;
    if (!readInt(field, at, v) || v <= 0 || v > INT_MAX) continue;
    // Two groups on one section would overwrite each other's items.
    if (seen.insert(static_cast<uint32_t>(v)).second) out.push_back(static_cast<uint32_t>(v));
  }
  return out;
}

}  // namespace vorbin
