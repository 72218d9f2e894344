// Fills arbitrary patterns with arbitrary paths and details and checks that
// the arguments come through literally, at most once each, and that nothing
// but "%s" and "%%" of the pattern is interpreted.
#include <cstddef>
#include <cstdint>
#include <string>

#include "launcher/bar/tip_text.h"

namespace {

std::wstring wide(const uint8_t* data, size_t size) {
  std::wstring text;
  for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // Byte 0 and 1 split the rest into pattern, path and details.
  const size_t rest = size - 2;
  const size_t a = rest ? data[0] % (rest + 1) : 0;
  const size_t b = rest ? a + data[1] % (rest - a + 1) : 0;
  const std::wstring pattern = wide(data + 2, a);
  const std::wstring path = wide(data + 2 + a, b - a);
  const std::wstring details = wide(data + 2 + b, rest - b);

  const std::wstring out = vorbin::fillPathPattern(pattern, path, details);
  // Without the arguments the result is the pattern's own text.
  const std::wstring bare = vorbin::fillPathPattern(pattern, L"", L"");
  if (out.size() > bare.size() + path.size() + details.size()) __builtin_trap();
  if (out.size() < bare.size()) __builtin_trap();
  if (bare.size() > pattern.size()) __builtin_trap();
  // Arguments of lengths 1 and 2 tell how many the pattern takes; real ones,
  // directives or not, then come through whole.
  const size_t taken = vorbin::fillPathPattern(pattern, L"\x1", L"\x1\x1").size() - bare.size();
  if (taken != 0 && taken != 1 && taken != 3) __builtin_trap();
  const size_t expected = bare.size() + (taken >= 1 ? path.size() : 0) + (taken == 3 ? details.size() : 0);
  if (out.size() != expected) __builtin_trap();
  // A pattern without "%" is returned unchanged, arguments dropped.
  if (pattern.find(L'%') == std::wstring::npos && out != pattern) __builtin_trap();
  return 0;
}
