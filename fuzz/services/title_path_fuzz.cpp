// Feeds arbitrary window titles to the title-path rule and checks that what it
// returns is taken from the title.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "launcher/services/process_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  // The first byte decides which paths "exist", so both answers are explored.
  const uint8_t existing = data[0];
  std::wstring title;
  for (size_t i = 1; i + 1 < size; i += 2)
    title.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
  const vorbin::PathExists exists = [&](const std::wstring& path) {
    if (path.empty() || path.size() > vorbin::kMaxTitleChars) __builtin_trap();
    return ((path.size() ^ existing) & 1) != 0;
  };
  const auto found = vorbin::pathFromTitle(title, exists);
  if (!found) return 0;
  const std::wstring_view seen(title.data(), std::min(title.size(), vorbin::kMaxTitleChars));
  const std::wstring& path = found->path;
  if (path.size() < 3 || path[1] != L':' || path[2] != L'\\') __builtin_trap();
  if (seen.find(path) == std::wstring_view::npos) __builtin_trap();
  if (path.size() + found->other.size() > seen.size()) __builtin_trap();
  return 0;
}
