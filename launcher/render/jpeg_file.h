// Reading and writing JPEG files (web-page thumbnails and the pictures they show).
// Built on libjpeg linked into the launcher; a damaged or unwritable file never
// ends the process: the library's fatal errors jump back here.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "launcher/render/blend.h"

namespace vorbin {

struct JpegPicture {
  int width = 0;
  int height = 0;
  std::vector<Pixel> pixels;  // top-down rows, 0x00RRGGBB
};

// Writes picture as a baseline JPEG; quality is clamped to 1..100. False, and no
// file left behind, on any failure (empty or inconsistent picture, open or write
// error).
bool writeJpegFile(const std::wstring& path, const JpegPicture& picture, int quality);

// Reads a JPEG file (greyscale or colour); nothing for a missing or damaged file.
std::optional<JpegPicture> readJpegFile(const std::wstring& path);

}  // namespace vorbin
