// Feeds arbitrary characters to the result-buffer and filter readers.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "launcher/widgets/picker_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(text.data(), data, text.size() * sizeof(wchar_t));
  size_t total = 0;
  for (const std::wstring& path : vorbin::pickedPaths({text.data(), text.size()})) {
    if (path.find(L'\0') != std::wstring::npos) __builtin_trap();
    total += path.size();
  }
  // Every path is the folder plus one name and a backslash at most.
  if (total > text.size() * text.size() + text.size()) __builtin_trap();
  const std::wstring filter = vorbin::systemFilter(text);
  if (filter.size() < 1 || filter.back() != L'\0') __builtin_trap();
  for (int index = -1; index < 4; ++index) {
    if (vorbin::filterPattern(text, index).empty()) __builtin_trap();
  }
  return 0;
}
