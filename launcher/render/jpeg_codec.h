// JPEG pictures in memory through libjpeg (web-page thumbnails). A damaged or
// crafted picture never ends the process: the library's fatal errors jump
// back here and come out as "nothing".
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "launcher/render/blend.h"

namespace vorbin {

struct JpegPicture {
  int width = 0;
  int height = 0;
  std::vector<Pixel> pixels;  // top-down rows, 0x00RRGGBB
};

// Larger pictures are refused on reading: a crafted header must not make us
// allocate gigabytes for a thumbnail.
inline constexpr long long kMaxJpegReadPixels = 64LL * 1024 * 1024;
inline constexpr int kMaxJpegSide = 65500;  // the format's own limit

// A baseline JPEG of the picture; quality is clamped to 1..100. Nothing for an
// empty or inconsistent picture.
std::optional<std::vector<uint8_t>> encodeJpeg(const JpegPicture& picture, int quality);

// The picture of a JPEG (greyscale or colour); nothing for damaged data (also
// a cut file or a bad marker, which the library would pad with grey), other
// colour spaces, or more than kMaxJpegReadPixels pixels.
std::optional<JpegPicture> decodeJpeg(std::span<const uint8_t> bytes);

}  // namespace vorbin
