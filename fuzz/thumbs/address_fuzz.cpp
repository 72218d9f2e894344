// Address fields come from other programs' windows: the comparison must hold
// for any text, and agree with itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "launcher/services/page_window_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring text;
  for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
  const size_t cut = size ? data[0] % (text.size() + 1) : 0;
  const std::wstring field = text.substr(0, cut), url = text.substr(cut);
  const std::wstring_view trimmed = vorbin::trimAddress(field);
  if (!trimmed.empty() && (trimmed.back() == L'/' || trimmed.back() == L' ')) std::abort();
  if (vorbin::trimAddress(trimmed) != trimmed) std::abort();
  if (vorbin::addressMatches(field, url) != vorbin::addressMatches(url, field)) std::abort();
  if (!trimmed.empty() && !vorbin::addressMatches(field, field)) std::abort();
  return 0;
}
