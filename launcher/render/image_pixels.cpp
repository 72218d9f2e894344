// Pixels of stored images, scaling, and their composition over a destination.
#include "launcher/render/image_pixels.h"

#include <algorithm>

#include "launcher/render/icon_image.h"

namespace vorbin {

namespace {
constexpr int kSide = 32;
}

std::vector<Pixel> imageColourPixels(int depth, std::span<const std::uint8_t> bits) {
  std::vector<Pixel> out;
  const std::size_t stride = depth == 4 ? 16 : depth == 24 ? 96 : depth == 32 ? 128 : 0;
  if (stride == 0 || bits.size() < stride * kSide) return out;
  out.resize(kSide * kSide);
  for (int y = 0; y < kSide; ++y) {
    const std::uint8_t* row = bits.data() + (kSide - 1 - y) * stride;
    for (int x = 0; x < kSide; ++x) {
      Pixel p = 0;
      if (depth == 4) {
        const int index = (x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
        const PaletteColour c = kImagePalette[index];
        p = (Pixel{c.red} << 16) | (Pixel{c.green} << 8) | c.blue;
      } else if (depth == 24) {
        const std::uint8_t* q = row + x * 3;
        p = (Pixel{q[2]} << 16) | (Pixel{q[1]} << 8) | q[0];
      } else {
        const std::uint8_t* q = row + x * 4;
        p = (Pixel{q[3]} << 24) | (Pixel{q[2]} << 16) | (Pixel{q[1]} << 8) | q[0];
      }
      out[y * kSide + x] = p;
    }
  }
  return out;
}

std::vector<std::uint8_t> imageShape(std::span<const std::uint8_t, 128> mask) {
  std::vector<std::uint8_t> out(kSide * kSide);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) out[y * kSide + x] = maskOpaque(mask, x, y) ? 1 : 0;
  return out;
}

void composeImage(std::span<Pixel> dest, std::span<const Pixel> colour, std::span<const std::uint8_t> shape,
                  ImageDrawMode mode) {
  const std::size_t n = std::min({dest.size(), colour.size(), shape.size()});
  const bool alpha = hasAlpha(colour.first(n));
  for (std::size_t i = 0; i < n; ++i) {
    const Pixel background = dest[i];
    Pixel d = background;
    if (mode != ImageDrawMode::kColourOnly && shape[i]) d = 0;
    if (mode == ImageDrawMode::kMaskOnly) {
      dest[i] = d;
      continue;
    }
    Pixel c = colour[i];
    if (alpha) {
      // Mixed with the background by its own alpha, the pixel replaces it where opaque in shape.
      Pixel mixed = c;
      mixAlphaOverBackground(std::span<Pixel>(&mixed, 1), std::span<const Pixel>(&background, 1));
      c = mixed;
    }
    dest[i] = (d | c) & 0x00FFFFFF;
  }
}

}  // namespace vorbin
