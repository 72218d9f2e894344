// Thumbnail settings arithmetic (see thumb_dialog_rules.h).
#include "launcher/dialogs/thumb_dialog_rules.h"

#include <algorithm>

namespace vorbin {

int ratioSliderPosition(int ratio) { return std::clamp((std::clamp(ratio, 0, 100) + 5) / 10, 0, kRatioSliderMax); }

int qualityStep(int quality) { return std::clamp(quality / 25, kQualityStepMin, kQualityStepMax); }

int qualityOfStep(int step) { return std::clamp(step, kQualityStepMin, kQualityStepMax) * 25; }

RatioField readRatioField(std::wstring_view text) {
  while (!text.empty() && text.front() == L' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == L' ') text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) {
    negative = text.front() == L'-';
    text.remove_prefix(1);
  }
  if (text.empty()) return {0, false};  // an emptied field is being typed into
  long long value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return {0, true};
    value = std::min(value * 10 + (c - L'0'), 1000LL);
  }
  if (negative) value = -value;
  if (value < 0) return {0, true};
  if (value > 100) return {100, true};
  return {static_cast<int>(value), false};
}

}  // namespace vorbin
