// The thumbnail settings dialog's arithmetic: the ratio slider in tens, the
// ratio field's bounds, the quality in steps of 25.
#pragma once

#include <string>
#include <string_view>

namespace vorbin {

inline constexpr int kRatioSliderMax = 10;
inline constexpr int kQualityStepMin = 1, kQualityStepMax = 4;

// The ratio slider's position for a ratio (nearest ten).
int ratioSliderPosition(int ratio);
// The quality slider's step for a stored quality (at least 1).
int qualityStep(int quality);
// The stored quality of a step.
int qualityOfStep(int step);

// The ratio field's text read as a number in 0..100; rewrite tells that the
// field must show the clamped value (it was outside the range or not a number).
struct RatioField {
  int value = 0;
  bool rewrite = false;
};
RatioField readRatioField(std::wstring_view text);

}  // namespace vorbin
