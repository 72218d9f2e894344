// JPEG files through libjpeg: a fatal library error longjmps back to the
// caller's frame, so a bad file or a full disk never ends the launcher.
#include "launcher/render/jpeg_file.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace vorbin {
namespace {

// Larger pictures are refused on reading: a crafted header must not make us
// allocate gigabytes for a thumbnail.
constexpr long long kMaxReadPixels = 64LL * 1024 * 1024;
constexpr int kMaxSide = 65500;  // the format's own limit

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

// The libjpeg part of writing; rows must already hold the packed RGB lines.
// No object with a destructor lives between setjmp and a longjmp here.
bool compress(std::FILE* file, const JpegPicture& picture, int quality, unsigned char* row) {
  jpeg_compress_struct info{};
  ErrorManager err;
  install(err);
  info.err = &err.base;
  if (setjmp(err.back)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(picture.width);
  info.image_height = static_cast<JDIMENSION>(picture.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  const Pixel* source = picture.pixels.data();
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

struct ReadState {
  int width = 0, height = 0;
  // Allocated with malloc once the size is known; kept outside the frame
  // that calls setjmp so their values survive the jump back.
  Pixel* pixels = nullptr;
  unsigned char* row = nullptr;
};

bool decompress(std::FILE* file, ReadState& out) {
  jpeg_decompress_struct info{};
  ErrorManager err;
  install(err);
  info.err = &err.base;
  if (setjmp(err.back)) {
    jpeg_destroy_decompress(&info);
    std::free(out.row);
    out.row = nullptr;
    std::free(out.pixels);
    out.pixels = nullptr;
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;  // greyscale and YCbCr alike come out as RGB
  jpeg_start_decompress(&info);
  const long long count = static_cast<long long>(info.output_width) * info.output_height;
  if (info.output_components != 3 || count <= 0 || count > kMaxReadPixels) errorExit(reinterpret_cast<j_common_ptr>(&info));
  out.width = static_cast<int>(info.output_width);
  out.height = static_cast<int>(info.output_height);
  out.row = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(out.width) * 3));
  out.pixels = static_cast<Pixel*>(std::malloc(static_cast<size_t>(count) * sizeof(Pixel)));
  unsigned char* const row = out.row;
  if (!row || !out.pixels) errorExit(reinterpret_cast<j_common_ptr>(&info));
  while (info.output_scanline < info.output_height) {
    Pixel* line = out.pixels + static_cast<size_t>(info.output_scanline) * out.width;
    JSAMPROW rows[1] = {row};
    if (jpeg_read_scanlines(&info, rows, 1) != 1) errorExit(reinterpret_cast<j_common_ptr>(&info));
    for (int x = 0; x < out.width; ++x)
      line[x] = (Pixel{row[x * 3]} << 16) | (Pixel{row[x * 3 + 1]} << 8) | row[x * 3 + 2];
  }
  jpeg_finish_decompress(&info);
  const bool clean = err.warnings == 0;
  jpeg_destroy_decompress(&info);
  std::free(out.row);
  out.row = nullptr;
  if (!clean) {
    std::free(out.pixels);
    out.pixels = nullptr;
  }
  return clean;
}

}  // namespace

bool writeJpegFile(const std::wstring& path, const JpegPicture& picture, int quality) {
  if (path.empty() || picture.width <= 0 || picture.height <= 0 || picture.width > kMaxSide ||
      picture.height > kMaxSide ||
      picture.pixels.size() != static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height))
    return false;
  std::vector<unsigned char> row(static_cast<size_t>(picture.width) * 3);
  std::FILE* file = _wfopen(path.c_str(), L"wb");
  if (!file) return false;
  bool ok = compress(file, picture, std::clamp(quality, 1, 100), row.data());
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
  ReadState state;
  const bool ok = decompress(file, state);
  std::fclose(file);
  if (!ok) return std::nullopt;
  JpegPicture picture;
  picture.width = state.width;
  picture.height = state.height;
  picture.pixels.assign(state.pixels, state.pixels + static_cast<size_t>(state.width) * state.height);
  std::free(state.pixels);
  return picture;
}

}  // namespace vorbin
