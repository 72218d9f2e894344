// Sizes at the monitor's DPI: the bar is designed in pixels at 96 DPI (100 %)
// and every fixed size is scaled from there, rounded the way MulDiv rounds.
// Also which of the launcher's drawn strips suits a DPI. Pure arithmetic.
#pragma once

namespace vorbin {

inline constexpr int kBaseDpi = 96;

// A size designed at 96 DPI, at dpi pixels per inch: value * dpi / 96 rounded
// to the nearest pixel, halves away from zero. A DPI of zero or less counts as 96.
int scaleToDpi(int value, int dpi);
// The other way: a size at dpi, as it would be at 96 DPI (same rounding).
int unscaleFromDpi(int value, int dpi);

// The launcher draws its glyph, lamp and key strips at 100, 150 and 200 %.
// The scale of the strips that suit a DPI: the nearest of the three, the
// smaller on a tie (a picture a little too small beats one cut off).
int stripPercent(int dpi);
// Resource id of a strip drawn at percent, from the id of its 100 % picture:
// 150 % pictures are 1000 above, 200 % ones 2000 above.
int stripResourceId(int baseId, int percent);
inline constexpr int kStripIdStep150 = 1000, kStripIdStep200 = 2000;

// The rectangle a window should take on a DPI change when the system suggests
// none (or a broken one): the same top-left corner, the size scaled from the
// old DPI to the new.
struct DpiRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const DpiRect&, const DpiRect&) = default;
};
DpiRect rectForDpiChange(const DpiRect& current, int oldDpi, int newDpi, const DpiRect* suggested);

}  // namespace vorbin
