// JPEG coding through libjpeg's memory source and destination. libjpeg ends a
// fatal error by calling error_exit, which longjmps back to the frame that set
// it up: no object with a destructor lives between a setjmp and its longjmp.
#include "launcher/render/jpeg_codec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace vorbin {
namespace {

struct ErrorManager {
  jpeg_error_mgr base;  // first, so the library's pointer is ours too
  std::jmp_buf back;
  int warnings = 0;
};

[[noreturn]] void errorExit(j_common_ptr info) {
  auto* err = reinterpret_cast<ErrorManager*>(info->err);
  std::longjmp(err->back, 1);
}

// Corrupt-data warnings (a cut file, a bad marker) would otherwise give a
// picture padded with grey; the library reports them with level -1.
void emitMessage(j_common_ptr info, int level) {
  if (level < 0) ++reinterpret_cast<ErrorManager*>(info->err)->warnings;
}

void outputMessage(j_common_ptr) {}

void install(ErrorManager& err) {
  jpeg_std_error(&err.base);
  err.base.error_exit = errorExit;
  err.base.emit_message = emitMessage;
  err.base.output_message = outputMessage;
}

// The state both coders keep outside the frame that calls setjmp, so their
// values survive the jump back.
struct Buffers {
  unsigned char* row = nullptr;
  unsigned char* out = nullptr;  // the encoder's output, allocated by libjpeg
  unsigned long outSize = 0;
  Pixel* pixels = nullptr;
  void release() {
    std::free(row);
    std::free(out);
    std::free(pixels);
    row = out = nullptr;
    pixels = nullptr;
  }
};

bool compress(const JpegPicture& picture, int quality, Buffers& b) {
  jpeg_compress_struct info{};
  ErrorManager err;
  install(err);
  info.err = &err.base;
  if (setjmp(err.back)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &b.out, &b.outSize);
  info.image_width = static_cast<JDIMENSION>(picture.width);
  info.image_height = static_cast<JDIMENSION>(picture.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  const Pixel* source = picture.pixels.data();
  unsigned char* const row = b.row;
  while (info.next_scanline < info.image_height) {
    const Pixel* line = source + static_cast<size_t>(info.next_scanline) * picture.width;
    for (int x = 0; x < picture.width; ++x) {
      row[x * 3] = static_cast<unsigned char>(line[x] >> 16);
      row[x * 3 + 1] = static_cast<unsigned char>(line[x] >> 8);
      row[x * 3 + 2] = static_cast<unsigned char>(line[x]);
    }
    JSAMPROW rows[1] = {row};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

bool decompress(std::span<const uint8_t> bytes, int& width, int& height, Buffers& b) {
  jpeg_decompress_struct info{};
  ErrorManager err;
  install(err);
  info.err = &err.base;
  if (setjmp(err.back)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  // Checked before the decoder sets up: a crafted header may ask for any size.
  const long long claimed = static_cast<long long>(info.image_width) * info.image_height;
  if (claimed <= 0 || claimed > kMaxJpegReadPixels) errorExit(reinterpret_cast<j_common_ptr>(&info));
  info.out_color_space = JCS_RGB;  // greyscale and YCbCr alike come out as RGB
  jpeg_start_decompress(&info);
  const long long count = static_cast<long long>(info.output_width) * info.output_height;
  if (info.output_components != 3 || count <= 0 || count > kMaxJpegReadPixels)
    errorExit(reinterpret_cast<j_common_ptr>(&info));
  width = static_cast<int>(info.output_width);
  height = static_cast<int>(info.output_height);
  b.row = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(width) * 3));
  b.pixels = static_cast<Pixel*>(std::malloc(static_cast<size_t>(count) * sizeof(Pixel)));
  unsigned char* const row = b.row;
  if (!row || !b.pixels) errorExit(reinterpret_cast<j_common_ptr>(&info));
  while (info.output_scanline < info.output_height) {
    Pixel* line = b.pixels + static_cast<size_t>(info.output_scanline) * width;
    JSAMPROW rows[1] = {row};
    if (jpeg_read_scanlines(&info, rows, 1) != 1) errorExit(reinterpret_cast<j_common_ptr>(&info));
    for (int x = 0; x < width; ++x)
      line[x] = (Pixel{row[x * 3]} << 16) | (Pixel{row[x * 3 + 1]} << 8) | row[x * 3 + 2];
  }
  jpeg_finish_decompress(&info);
  const bool clean = err.warnings == 0;
  jpeg_destroy_decompress(&info);
  return clean;
}

}  // namespace

std::optional<std::vector<uint8_t>> encodeJpeg(const JpegPicture& picture, int quality) {
  if (picture.width <= 0 || picture.height <= 0 || picture.width > kMaxJpegSide ||
      picture.height > kMaxJpegSide ||
      picture.pixels.size() != static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height))
    return std::nullopt;
  Buffers b;
  b.row = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(picture.width) * 3));
  std::optional<std::vector<uint8_t>> out;
  if (b.row && compress(picture, std::clamp(quality, 1, 100), b) && b.out)
    out.emplace(b.out, b.out + b.outSize);
  b.release();
  return out;
}

std::optional<JpegPicture> decodeJpeg(std::span<const uint8_t> bytes) {
  // The library's source counts in unsigned long, which is 32 bits on Windows.
  if (bytes.empty() || bytes.size() > 0x7FFFFFFFu) return std::nullopt;
  Buffers b;
  int width = 0, height = 0;
  std::optional<JpegPicture> picture;
  if (decompress(bytes, width, height, b)) {
    picture.emplace();
    picture->width = width;
    picture->height = height;
    picture->pixels.assign(b.pixels, b.pixels + static_cast<size_t>(width) * height);
  }
  b.release();
  return picture;
}

}  // namespace vorbin
