// Feeds arbitrary text and delimiter sets to the tokenizer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "launcher/services/tokenizer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const wchar_t* const kSets[] = {L" ", L",", L"\n", L"", nullptr, L" ,\t"};
  const wchar_t* delimiters = kSets[data[0] % 6];
  std::wstring text;
  for (size_t i = 1; i < size; ++i) text.push_back(static_cast<wchar_t>(data[i]));
  vorbin::Tokenizer t;
  t.reset(text);
  size_t tokens = 0;
  while (auto tok = t.next(delimiters)) {
    if (tok->size() > text.size()) __builtin_trap();
    if (++tokens > text.size() + 1) __builtin_trap();  // every token consumes input
  }
  return 0;
}
