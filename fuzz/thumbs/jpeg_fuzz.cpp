// Thumbnail files live in the data folder, where anything may replace them:
// any bytes must decode to a consistent picture or to nothing, never a crash,
// an overrun or an allocation past the pixel limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "launcher/render/jpeg_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto picture = vorbin::decodeJpeg(std::span<const uint8_t>(data, size));
  if (!picture) return 0;
  if (picture->width <= 0 || picture->height <= 0) std::abort();
  const long long count = static_cast<long long>(picture->width) * picture->height;
  if (count > vorbin::kMaxJpegReadPixels || picture->pixels.size() != static_cast<size_t>(count)) std::abort();
  for (vorbin::Pixel p : picture->pixels)
    if (p > 0xFFFFFFu) std::abort();
  return 0;
}
