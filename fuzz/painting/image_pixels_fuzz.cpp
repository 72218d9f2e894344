// Reading arbitrary stored image bits at any claimed depth, scaling them and
// composing them over a destination: no read outside the input, sizes as promised.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "launcher/render/image_pixels.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const int depth = data[0] % 40;
  const int side = 1 + data[1] % 64;
  const auto mode = static_cast<vorbin::ImageDrawMode>(data[2] % 3);
  const std::span<const std::uint8_t> bits(data + 3, size - 3);
  const std::vector<vorbin::Pixel> colour = vorbin::imageColourPixels(depth, bits);
  if (!colour.empty() && colour.size() != 1024) std::abort();
  std::array<std::uint8_t, 128> mask{};
  for (std::size_t i = 0; i < mask.size() && i < bits.size(); ++i) mask[i] = bits[i];
  const std::vector<std::uint8_t> shape = vorbin::imageShape(mask);
  const auto scaledColour = vorbin::scaleSquare<vorbin::Pixel>(colour, 32, side);
  const auto scaledShape = vorbin::scaleSquare<std::uint8_t>(shape, 32, side);
  if (scaledShape.size() != static_cast<std::size_t>(side) * side) std::abort();
  std::vector<vorbin::Pixel> dest(static_cast<std::size_t>(side) * side, 0x00336699);
  const std::vector<vorbin::Pixel> kept = dest;
  vorbin::composeImage(dest, scaledColour, scaledShape, mode);
  vorbin::blendKept(kept, dest, data[1]);
  for (vorbin::Pixel p : dest)
    if (p > 0x00FFFFFF) std::abort();  // composition never leaves alpha in the destination
  return 0;
}
