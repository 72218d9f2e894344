// Feeds arbitrary bytes as a tips file from an arbitrary stored position: the
// search must end, stay inside its limits and agree with the line rule.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "launcher/dialogs/tips_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  int64_t pos;
  std::memcpy(&pos, data, sizeof(pos));
  const std::span<const uint8_t> file(data + 8, size - 8);
  const vorbin::TipFound tip = vorbin::nextTip(file, pos);
  if (!tip.found) {
    // Nothing from the start either.
    if (vorbin::nextTip(file, 0).found) __builtin_trap();
    return 0;
  }
  if (tip.text.empty() || tip.text.size() > vorbin::kMaxTipLength) __builtin_trap();
  if (tip.nextPos <= 0 || tip.nextPos > static_cast<int64_t>(file.size()) || tip.nextPos % 2 != 0)
    __builtin_trap();
  // A shown tip never starts as a comment or blank line and carries no line end.
  for (char16_t c : {u';', u' ', u'\t', u'\r', u'\n', char16_t{26}})
    if (tip.text.front() == c) __builtin_trap();
  for (char16_t c : {u'\r', u'\n', char16_t{26}})
    if (tip.text.back() == c) __builtin_trap();
  const int64_t clamped = vorbin::clampTipPos(pos, static_cast<int64_t>(file.size()));
  if (clamped < 0 || clamped > static_cast<int64_t>(file.size()) || clamped % 2 != 0) __builtin_trap();
  return 0;
}
