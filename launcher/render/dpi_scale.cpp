// Scaling of fixed sizes from 96 DPI.
#include "launcher/render/dpi_scale.h"

#include <cstdlib>
#include <limits>

namespace vorbin {

namespace {

int roundedRatio(long long value, long long numerator, long long denominator) {
  if (denominator <= 0) denominator = kBaseDpi;
  if (numerator <= 0) numerator = kBaseDpi;
  const long long product = std::llabs(value) * numerator;
  long long result = (product + denominator / 2) / denominator;
  if (result > std::numeric_limits<int>::max()) result = std::numeric_limits<int>::max();
  return static_cast<int>(value < 0 ? -result : result);
}

}  // namespace

int scaleToDpi(int value, int dpi) { return roundedRatio(value, dpi, kBaseDpi); }

int unscaleFromDpi(int value, int dpi) { return roundedRatio(value, kBaseDpi, dpi); }

int stripPercent(int dpi) {
  if (dpi <= 0) dpi = kBaseDpi;
  // In 96ths: 100 % is 96, 150 % 144, 200 % 192; the midpoints are 120 and 168.
  if (dpi <= 120) return 100;
  if (dpi <= 168) return 150;
  return 200;
}

int stripResourceId(int baseId, int percent) {
  if (percent >= 200) return baseId + kStripIdStep200;
  if (percent >= 150) return baseId + kStripIdStep150;
  return baseId;
}

DpiRect rectForDpiChange(const DpiRect& current, int oldDpi, int newDpi, const DpiRect* suggested) {
  if (suggested && suggested->right > suggested->left && suggested->bottom > suggested->top)
    return *suggested;
  if (oldDpi <= 0) oldDpi = kBaseDpi;
  if (newDpi <= 0) newDpi = kBaseDpi;
  const int width = roundedRatio(current.right - current.left, newDpi, oldDpi);
  const int height = roundedRatio(current.bottom - current.top, newDpi, oldDpi);
  return {current.left, current.top, current.left + width, current.top + height};
}

}  // namespace vorbin
