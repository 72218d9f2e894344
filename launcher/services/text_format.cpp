// Number and file-name texts shared across the launcher.
#include "launcher/services/text_format.h"

#include <array>
#include <cstdio>

namespace vorbin {

namespace {

std::wstring hex4(uint32_t value) {
  static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
  std::wstring out(4, L'0');
  for (int i = 3; i >= 0; --i) {
    out[static_cast<size_t>(i)] = kDigits[value & 0xF];
    value >>= 4;
  }
  return out;
}

std::wstring twoDigits(int value) {
  std::wstring out(2, L'0');
  out[0] = static_cast<wchar_t>(L'0' + (value / 10) % 10);
  out[1] = static_cast<wchar_t>(L'0' + value % 10);
  return out;
}

struct Replacement {
  wchar_t from;
  wchar_t to;
};
constexpr std::array<Replacement, 10> kSafeReplacements{{
    {L'\\', 0xFFE5},
    {L'/', 0xFF0F},
    {L':', 0xFF1A},
    {L',', 0xFF0C},
    {L'*', 0xFF0A},
    {L'?', 0xFF1F},
    {L'"', 0x201D},
    {L'<', 0xFF1C},
    {L'>', 0xFF1E},
    {L'|', 0xFF5C},
}};

}  // namespace

std::wstring hexWord(uint32_t number) { return hex4(number & 0xFFFF); }

std::wstring hexLong(uint32_t number, bool separator) {
  return hex4(number >> 16) + (separator ? L":" : L"") + hex4(number & 0xFFFF);
}

DecimalTexts decimal(int32_t number) {
  // Through int64 so that INT32_MIN negates without overflow.
  int64_t wide = number;
  std::wstring s = std::to_wstring(wide);
  std::wstring u = std::to_wstring(static_cast<uint32_t>(number));
  return {s, u};
}

std::wstring substituteName(std::wstring_view messageTemplate, std::wstring_view name) {
  const size_t at = messageTemplate.find(L"%s");
  if (at == std::wstring_view::npos) return std::wstring(messageTemplate);
  std::wstring text(messageTemplate.substr(0, at));
  text += name;
  text += messageTemplate.substr(at + 2);
  return text;
}

std::wstring substituteCount(std::wstring_view messageTemplate, int count) {
  const std::wstring number = std::to_wstring(count);
  const size_t at = messageTemplate.find(L"%d");
  if (at == std::wstring_view::npos) return std::wstring(messageTemplate) + L" (" + number + L")";
  std::wstring text(messageTemplate);
  return text.replace(at, 2, number);
}

std::wstring safeFileName(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) {
    for (const auto& r : kSafeReplacements) {
      if (c == r.from) {
        c = r.to;
        break;
      }
    }
  }
  return out;
}

std::wstring uniqueNameCandidate(int month, int day, uint16_t number, std::wstring_view extension) {
  return twoDigits(month) + twoDigits(day) + hex4(number) + std::wstring(extension);
}

std::wstring pickUniqueName(int month, int day, uint16_t start, std::wstring_view extension,
                            const std::function<bool(const std::wstring&)>& exists) {
  uint16_t number = start;
  for (uint32_t tries = 0; tries < 0x10000; ++tries, ++number) {
    std::wstring name = uniqueNameCandidate(month, day, number, extension);
    if (!exists(name)) return name;
  }
  return {};
}

}  // namespace vorbin
