// Feeds arbitrary characters to the filter-text reader and the pattern split.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "launcher/dialogs/browser_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(text.data(), data, text.size() * sizeof(wchar_t));
  const vorbin::FilterList list = vorbin::parseFilterText(text);
  if (list.descriptions.size() != list.patterns.size()) __builtin_trap();
  for (size_t i = 0; i < list.descriptions.size(); ++i) {
    if (list.descriptions[i].empty() || list.patterns[i].empty()) __builtin_trap();
    for (const std::wstring& pattern : vorbin::splitFilterPatterns(list.patterns[i])) {
      if (pattern.empty() || pattern.find_first_of(L"\\/:; ") != std::wstring::npos) __builtin_trap();
    }
  }
  const int index = vorbin::clampFilterIndex(static_cast<int>(size) - 3, list);
  if (index < 0 || (!list.descriptions.empty() && index >= static_cast<int>(list.descriptions.size())))
    __builtin_trap();
  const vorbin::OkDecision ok = vorbin::decideOk(text, 1);
  if (ok.action != vorbin::OkAction::kBeep && ok.text.empty()) __builtin_trap();
  return 0;
}
