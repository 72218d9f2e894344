// Feeds arbitrary text to the WildCard split and join and to the spin reader:
// joining what was split gives a text without empty fields that splits back
// to the same pairs, and a read number stays inside its bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "launcher/dialogs/options_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring text;
  for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));

  const vorbin::PatternPairs pairs = vorbin::splitWildCard(text);
  const std::wstring joined = vorbin::joinWildCard(pairs);
  if (!joined.empty() && joined.substr(joined.size() - 2) != L"||") __builtin_trap();
  if (joined.find(L"|||") != std::wstring::npos) __builtin_trap();
  if (vorbin::joinWildCard(vorbin::splitWildCard(joined)) != joined) __builtin_trap();

  for (vorbin::SpinBounds bounds : {vorbin::kCloseDelayBounds, vorbin::kIntervalAtSelBounds}) {
    const int value = vorbin::readSpinText(text, bounds, bounds.min);
    if (value < bounds.min || value > bounds.max) __builtin_trap();
  }
  return 0;
}
