// Reading and writing JPEG files (web-page thumbnails and the pictures they
// show), on the memory coder of jpeg_codec.h.
#pragma once

#include <optional>
#include <string>

#include "launcher/render/jpeg_codec.h"

namespace vorbin {

// Writes picture as a baseline JPEG; quality is clamped to 1..100. False, and no
// file left behind, on any failure (empty or inconsistent picture, open or write
// error, a full disk).
bool writeJpegFile(const std::wstring& path, const JpegPicture& picture, int quality);

// Reads a JPEG file (greyscale or colour); nothing for a missing, damaged or
// oversized file.
std::optional<JpegPicture> readJpegFile(const std::wstring& path);

}  // namespace vorbin
