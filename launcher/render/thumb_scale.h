// Shrinking a captured page to a thumbnail: the size a ratio gives and the
// area-averaging scaler (each target pixel is the mean of the source area it covers).
#pragma once

#include <span>
#include <vector>

#include "launcher/render/blend.h"

namespace vorbin {

struct ThumbSize {
  int width = 0;
  int height = 0;
  bool operator==(const ThumbSize&) const = default;
};

// ratio percent (clamped to 100) of a width x height picture, each side at
// least one pixel; {0, 0} when the picture is empty or the ratio is not
// positive (no thumbnail then).
ThumbSize thumbSize(int width, int height, int ratio);

// Scales a top-down width x height picture of 0x00RRGGBB pixels (the fourth
// byte is ignored) to target. Empty when a size is not positive or pixels is
// shorter than width x height.
std::vector<Pixel> scaleByArea(std::span<const Pixel> pixels, int width, int height, ThumbSize target);

}  // namespace vorbin
