// The options sheet's mappings between controls and settings values.
#include "launcher/dialogs/options_rules.h"

#include <algorithm>
#include <cstdint>

namespace vorbin {

namespace {
constexpr int kPageMouseBits = 0x83;
constexpr unsigned kJapaneseLabel = 916;
constexpr unsigned kEnglishLabel = 917;
constexpr int kJapanese = 1;
constexpr int kEnglish = 2;
constexpr int kHotKeyControl = 2, kHotKeyAlt = 4;  // the hot-key control's modifier bits
}  // namespace

ActivationChecks activationChecks(unsigned vorbBar) {
  ActivationChecks checks{};
  for (int i = 0; i < kActivationPlaces; ++i) checks[i] = (vorbBar >> i) & 1u;
  // A profile that switches every place off still shows one: the bar must stay reachable.
  if (!anyChecked(checks)) checks.fill(true);
  return checks;
}

bool anyChecked(const ActivationChecks& checks) {
  return std::any_of(checks.begin(), checks.end(), [](bool b) { return b; });
}

unsigned activationMask(const ActivationChecks& checks, const ActivationChecks& kept) {
  const ActivationChecks& use = anyChecked(checks) ? checks : kept;
  unsigned mask = 0;
  for (int i = 0; i < kActivationPlaces; ++i)
    if (use[i]) mask |= 1u << i;
  return mask ? mask : 1u;
}

MouseChoices mouseChoices(int mouseButton) {
  return {(mouseButton & 0x01) != 0, (mouseButton & 0x02) != 0, (mouseButton & 0x80) != 0};
}

int mouseButtonOf(const MouseChoices& c, int previous) {
  int bits = (c.rightPrimary ? 0x01 : 0) | (c.secondary ? 0x02 : 0) | (c.doubleClick ? 0x80 : 0);
  return (previous & ~kPageMouseBits) | bits;
}

int readSpinText(std::wstring_view text, SpinBounds bounds, int previous) {
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
  };
  skipBlanks();
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  int64_t value = 0;
  bool digits = false;
  for (; i < text.size(); ++i) {
    if (text[i] == L',') continue;
    if (text[i] < L'0' || text[i] > L'9') break;
    digits = true;
    // Past the largest bound the exact value does not matter.
    value = std::min<int64_t>(value * 10 + (text[i] - L'0'), INT64_C(1) << 40);
  }
  skipBlanks();
  if (!digits || i != text.size()) return previous;
  if (negative) value = -value;
  return static_cast<int>(std::clamp<int64_t>(value, bounds.min, bounds.max));
}

int fontSizeEntry(int fontSize) { return 2 - std::clamp(fontSize, -2, 2); }
int fontSizeOfEntry(int entry) { return 2 - std::clamp(entry, 0, 4); }

AppearPosition appearPosition(int appearPos) {
  const auto bits = static_cast<uint32_t>(appearPos);
  return {std::min<int>(bits & 0xFFFF, 100), std::min<int>(bits >> 16, 100)};
}

int appearPosValue(AppearPosition p) {
  const auto low = static_cast<uint32_t>(std::clamp(p.horizontal, 0, 100));
  const auto high = static_cast<uint32_t>(std::clamp(p.vertical, 0, 100));
  return static_cast<int>(high << 16 | low);
}

PatternPairs splitWildCard(std::wstring_view wildCard) {
  PatternPairs pairs;
  size_t start = 0;
  for (int field = 0; field < 2 * kPatternPairs && start <= wildCard.size(); ++field) {
    size_t bar = wildCard.find(L'|', start);
    std::wstring_view text = wildCard.substr(start, bar == std::wstring_view::npos ? bar : bar - start);
    PatternPair& pair = pairs[field / 2];
    (field % 2 ? pair.pattern : pair.description) = text;
    if (bar == std::wstring_view::npos) break;
    start = bar + 1;
  }
  return pairs;
}

std::wstring withoutBars(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text)
    if (c != L'|') out += c;
  return out;
}

std::wstring joinWildCard(const PatternPairs& pairs) {
  std::wstring out;
  for (const PatternPair& pair : pairs) {
    std::wstring description = withoutBars(pair.description), pattern = withoutBars(pair.pattern);
    if (description.empty() || pattern.empty()) continue;
    out += description + L'|' + pattern + L'|';
  }
  if (!out.empty()) out += L'|';
  return out;
}

std::vector<LanguageEntry> languageEntries(bool japaneseAvailable, bool englishAvailable) {
  std::vector<LanguageEntry> entries;
  if (japaneseAvailable) entries.push_back({kJapanese, kJapaneseLabel});
  if (englishAvailable) entries.push_back({kEnglish, kEnglishLabel});
  return entries;
}

int languageEntryIndex(const std::vector<LanguageEntry>& entries, int language) {
  if (entries.empty()) return -1;
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i].language == language) return static_cast<int>(i);
  return 0;
}

int languageOfEntry(const std::vector<LanguageEntry>& entries, int index, int previous) {
  if (index < 0 || static_cast<size_t>(index) >= entries.size()) return previous;
  return entries[static_cast<size_t>(index)].language;
}

int hotKeyWithModifier(int hotKey) {
  hotKey &= 0xFFFF;
  if ((hotKey & 0xFF) == 0) return 0;
  // The extended-key flag is not a modifier.
  if (((hotKey >> 8) & 7) == 0) hotKey |= (kHotKeyControl | kHotKeyAlt) << 8;
  return hotKey;
}

}  // namespace vorbin
