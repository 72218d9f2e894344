// Feeds arbitrary characters to the folder combo's typed-path rules.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "launcher/widgets/folder_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(text.data(), data, text.size() * sizeof(wchar_t));
  for (const wchar_t* current : {L"C:\\Work\\Docs", L"\\\\srv\\share\\a"}) {
    const std::optional<std::wstring> path = vorbin::normaliseTypedPath(text, current);
    if (!path) continue;
    if (path->size() > vorbin::kMaxFolderChars || vorbin::pathRoot(*path).empty()) __builtin_trap();
    // Made once, the path is a fixed point.
    if (vorbin::normaliseTypedPath(*path, current) != path) __builtin_trap();
    const auto chain = vorbin::pathChain(*path);
    if (chain.empty() || vorbin::pathFromChain(chain, chain.size() - 1) != *path) __builtin_trap();
    for (size_t i = 1; i < chain.size(); ++i) {
      if (chain[i] == L"." || chain[i] == L".." || chain[i].empty()) __builtin_trap();
    }
  }
  return 0;
}
