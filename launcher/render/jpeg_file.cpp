// JPEG files: the bytes go through the memory coder; only the file's opening,
// reading and writing happen here.
#include "launcher/render/jpeg_file.h"

#include <cstdio>
#include <vector>

namespace vorbin {
namespace {

// A thumbnail file is tens of kilobytes; anything past this is not one of ours.
constexpr long kMaxFileBytes = 32L * 1024 * 1024;

}  // namespace

bool writeJpegFile(const std::wstring& path, const JpegPicture& picture, int quality) {
  if (path.empty()) return false;
  const std::optional<std::vector<uint8_t>> bytes = encodeJpeg(picture, quality);
  if (!bytes) return false;
  std::FILE* file = _wfopen(path.c_str(), L"wb");
  if (!file) return false;
  bool ok = std::fwrite(bytes->data(), 1, bytes->size(), file) == bytes->size();
  // A full disk shows only when the buffered rest is flushed.
  ok = (std::fflush(file) == 0) && !std::ferror(file) && ok;
  ok = (std::fclose(file) == 0) && ok;
  if (!ok) _wremove(path.c_str());
  return ok;
}

std::optional<JpegPicture> readJpegFile(const std::wstring& path) {
  if (path.empty()) return std::nullopt;
  std::FILE* file = _wfopen(path.c_str(), L"rb");
  if (!file) return std::nullopt;
  std::vector<uint8_t> bytes;
  long size = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
  if (size > 0 && size <= kMaxFileBytes && std::fseek(file, 0, SEEK_SET) == 0) {
    bytes.resize(static_cast<size_t>(size));
    if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) bytes.clear();
  }
  std::fclose(file);
  return decodeJpeg(bytes);
}

}  // namespace vorbin
