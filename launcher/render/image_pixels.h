// The pixels of a stored 32x32 image for drawing: colour bits of depth 4, 24 or
// 32 as top-down 32-bit pixels, its mask as a shape, nearest-pixel scaling, and
// the AND/OR composition over a destination.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "launcher/render/blend.h"

namespace vorbin {

// Colour bits (bottom-up rows, 4 bits with the fixed image palette, 24 or 32
// bits) as 32x32 top-down pixels; empty when the bits are too short or the
// depth is unknown.
std::vector<Pixel> imageColourPixels(int depth, std::span<const std::uint8_t> colourBits);
// The 128-byte AND mask (top row first) as 1024 shape flags (1 = opaque).
std::vector<std::uint8_t> imageShape(std::span<const std::uint8_t, 128> mask);

// Nearest-pixel scaling of a square of side `from` to side `to`.
template <class T>
std::vector<T> scaleSquare(std::span<const T> src, int from, int to) {
  std::vector<T> out;
  if (from <= 0 || to <= 0 || src.size() < static_cast<std::size_t>(from) * from) return out;
  out.resize(static_cast<std::size_t>(to) * to);
  for (int y = 0; y < to; ++y)
    for (int x = 0; x < to; ++x) out[y * to + x] = src[(y * from / to) * from + x * from / to];
  return out;
}

enum class ImageDrawMode { kNormal, kMaskOnly, kColourOnly };

// Draws the image into dest (all three of the same size): the mask clears the
// shape to black (AND), then the colour is added (OR); transparent pixels of
// the colour part are black in stored images, so they leave the destination.
// A colour part with alpha is mixed over the destination first.
void composeImage(std::span<Pixel> dest, std::span<const Pixel> colour, std::span<const std::uint8_t> shape,
                  ImageDrawMode mode);

}  // namespace vorbin
