// IconImage rules: sizes, copying, packing and unpacking, the depth chosen
// for an icon and the decoration chosen for an item.
#include "launcher/render/icon_image.h"

#include <algorithm>

#include "launcher/render/pair_codec.h"

namespace vorbin {
namespace {

bool keepPackedSetting = false;

}  // namespace

void setKeepImagesPacked(bool keepPacked) { keepPackedSetting = keepPacked; }
bool keepImagesPacked() { return keepPackedSetting; }

void copyImage(IconImage& target, const IconImage& source) {
  std::size_t length = 0;
  if (source.packed()) {
    length = source.bits.size() < 4 ? 0 : (blobHeader(source.bits) & 0xFFFF) + 4;
  } else {
    length = static_cast<std::size_t>(source.colourDepth() + 1) * 128;
  }
  length = std::min(length, source.bits.size());
  target.depth = length ? source.depth : 0;
  target.bits.assign(source.bits.begin(), source.bits.begin() + static_cast<std::ptrdiff_t>(length));
}

IconImage makeImage(std::span<const std::uint8_t> unpacked, int depth, bool keepPacked) {
  IconImage image;
  if (imageByteSize(depth) == 0 || unpacked.size() != imageByteSize(depth)) return image;
  if (!keepPacked) {
    image.depth = static_cast<std::uint32_t>(depth);
    image.bits.assign(unpacked.begin(), unpacked.end());
    return image;
  }
  std::vector<std::uint8_t> blob(4 + packedSizeBound(unpacked.size()));
  const std::size_t length = packPairs(std::span<std::uint8_t>(blob).subspan(4), unpacked);
  if (length == 0 || length > 0xFFFF) return image;
  blob.resize(4 + length);
  const std::uint32_t header = pairHeader(static_cast<std::uint32_t>(length), 0);
  for (int i = 0; i < 4; ++i) blob[i] = static_cast<std::uint8_t>(header >> (8 * i));
  image.depth = static_cast<std::uint32_t>(depth) | kImagePackedFlag;
  image.bits = std::move(blob);
  return image;
}

std::span<const std::uint8_t> unpackedImageBits(const IconImage& image, std::span<std::uint8_t> out) {
  const std::size_t length = imageByteSize(image.colourDepth());
  if (length == 0 || image.bits.empty()) return {};
  if (!image.packed()) {
    if (image.bits.size() < length) return {};
    return std::span<const std::uint8_t>(image.bits).first(length);
  }
  if (out.size() < length) return {};
  // Stop at the image's own length: a blob cut from a record may hold more.
  const std::size_t stored = unpackPairs(out, image.bits, length);
  if (stored != length) return {};
  return out.first(length);
}

IconImage unpackedImage(const IconImage& image) {
  std::vector<std::uint8_t> scratch(kImageScratchBytes);
  const auto bits = unpackedImageBits(image, scratch);
  IconImage result;
  if (bits.empty()) return result;
  result.depth = static_cast<std::uint32_t>(image.colourDepth());
  result.bits.assign(bits.begin(), bits.end());
  return result;
}

int chooseImageDepth(std::span<const std::uint32_t> direct, std::span<const std::uint32_t> viaPalette) {
  const std::size_t n = std::min(direct.size(), viaPalette.size());
  bool differ = direct.size() != viaPalette.size();
  bool alpha = false;
  for (std::size_t i = 0; i < n; ++i) {
    differ = differ || direct[i] != viaPalette[i];
    alpha = alpha || direct[i] > 0x00FFFFFFu;
  }
  if (!differ) return 4;
  return alpha ? 32 : 24;
}

ImagePixels pixelsFromColour(std::span<const std::uint8_t> colour, int depth) {
  const std::size_t need = imageByteSize(depth) - kImageMaskBytes;
  if (imageByteSize(depth) == 0 || colour.size() < need) return {};
  ImagePixels pixels(1024);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    if (depth == 4) {
      const std::uint8_t pair = colour[i / 2];
      const auto& c = kImagePalette[i % 2 ? pair & 0x0F : pair >> 4];
      pixels[i] = static_cast<std::uint32_t>(c.red) << 16 | c.green << 8 | c.blue;
    } else {
      const std::uint8_t* p = &colour[i * static_cast<std::size_t>(depth / 8)];
      pixels[i] = static_cast<std::uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
      if (depth == 32) pixels[i] |= static_cast<std::uint32_t>(p[3]) << 24;
    }
  }
  return pixels;
}

namespace {

std::uint8_t nearestPaletteIndex(std::uint32_t pixel) {
  const int red = (pixel >> 16) & 0xFF, green = (pixel >> 8) & 0xFF, blue = pixel & 0xFF;
  int best = 0;
  int bestDistance = 1 << 30;
  for (int i = 0; i < 16; ++i) {
    const int dr = red - kImagePalette[i].red, dg = green - kImagePalette[i].green,
              db = blue - kImagePalette[i].blue;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return static_cast<std::uint8_t>(best);
}

// `top` with its alpha over an opaque `bottom`.
std::uint32_t blendOver(std::uint32_t top, std::uint32_t bottom) {
  const std::uint32_t alpha = top >> 24;
  if (alpha == 255) return top;
  std::uint32_t out = 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t t = (top >> shift) & 0xFF, b = (bottom >> shift) & 0xFF;
    out |= ((t * alpha + b * (255 - alpha) + 127) / 255) << shift;
  }
  return out;
}

// Pixel tx, ty of the item reduced to 24x24: each reduced pixel covers a
// box of 1 to 2 source pixels each way; it is opaque when any of them is,
// and takes their average colour, made opaque.
bool shrunkPixel(const ImageLayer& item, int tx, int ty, std::uint32_t& pixel) {
  std::uint32_t sum[3] = {0, 0, 0};
  std::uint32_t count = 0;
  for (int sy = ty * 32 / 24; sy < ((ty + 1) * 32 + 23) / 24; ++sy)
    for (int sx = tx * 32 / 24; sx < ((tx + 1) * 32 + 23) / 24; ++sx) {
      if (maskTransparent(item.mask, sx, sy)) continue;
      const std::uint32_t p = item.pixels[static_cast<std::size_t>((31 - sy) * 32 + sx)];
      for (int c = 0; c < 3; ++c) sum[c] += (p >> (8 * c)) & 0xFF;
      ++count;
    }
  if (count == 0) return false;
  pixel = 0xFF000000u;
  for (int c = 0; c < 3; ++c) pixel |= ((sum[c] + count / 2) / count) << (8 * c);
  return true;
}

}  // namespace

std::vector<std::uint8_t> colourFromPixels(std::span<const std::uint32_t> pixels, int depth) {
  if (imageByteSize(depth) == 0 || pixels.size() < 1024) return {};
  std::vector<std::uint8_t> colour(imageByteSize(depth) - kImageMaskBytes);
  for (std::size_t i = 0; i < 1024; ++i) {
    const std::uint32_t pixel = pixels[i];
    if (depth == 4) {
      colour[i / 2] |= static_cast<std::uint8_t>(nearestPaletteIndex(pixel) << (i % 2 ? 0 : 4));
      continue;
    }
    std::uint8_t* p = &colour[i * static_cast<std::size_t>(depth / 8)];
    p[0] = static_cast<std::uint8_t>(pixel);
    p[1] = static_cast<std::uint8_t>(pixel >> 8);
    p[2] = static_cast<std::uint8_t>(pixel >> 16);
    if (depth == 32) p[3] = static_cast<std::uint8_t>(pixel >> 24);
  }
  return colour;
}

ComposedImage composeLayers(const ImageLayer& item, const ImageLayer& decoration, bool overlayOnTop) {
  ComposedImage out{std::vector<std::uint8_t>(kImageMaskBytes, 0), ImagePixels(1024, 0)};
  if (item.mask.size() < kImageMaskBytes || decoration.mask.size() < kImageMaskBytes ||
      item.pixels.size() < 1024 || decoration.pixels.size() < 1024)
    return {};
  bool decorationHasAlpha = false;
  for (std::uint32_t pixel : decoration.pixels.first(1024)) decorationHasAlpha |= pixel > 0x00FFFFFFu;
  auto decorationPixel = [&](int x, int y) {
    const std::uint32_t pixel = decoration.pixels[static_cast<std::size_t>((31 - y) * 32 + x)];
    return decorationHasAlpha ? pixel : pixel | 0xFF000000u;
  };
  for (int y = 0; y < kImageSide; ++y) {
    for (int x = 0; x < kImageSide; ++x) {
      const bool decorationOpaque = !maskTransparent(decoration.mask, x, y);
      bool itemOpaque = false;
      std::uint32_t itemPixel = 0;
      if (overlayOnTop) {
        itemOpaque = !maskTransparent(item.mask, x, y);
        itemPixel = item.pixels[static_cast<std::size_t>((31 - y) * 32 + x)];
      } else if (x >= 8 && y >= 8) {
        itemOpaque = shrunkPixel(item, x - 8, y - 8, itemPixel);
      }
      std::uint32_t pixel = 0;
      if (overlayOnTop) {
        if (decorationOpaque && itemOpaque)
          pixel = blendOver(decorationPixel(x, y), itemPixel | 0xFF000000u);
        else
          pixel = decorationOpaque ? decorationPixel(x, y) : itemOpaque ? itemPixel : 0;
      } else {
        pixel = itemOpaque ? itemPixel : decorationOpaque ? decorationPixel(x, y) : 0;
      }
      if (!decorationOpaque && !itemOpaque)
        out.mask[static_cast<std::size_t>(y * 4 + x / 8)] |= 0x80 >> (x % 8);
      out.pixels[static_cast<std::size_t>((31 - y) * 32 + x)] = pixel;
    }
  }
  return out;
}

ItemIconChoice chooseItemDecoration(std::uint32_t itemFlags, bool hasImageOrPath) {
  ItemIconChoice choice;
  if (itemFlags & kItemFlagPrompt) {
    if (hasImageOrPath)
      choice.decoration = kIconPromptDecoration;
    else
      choice.replacementIcon = kIconPlaceholder;
  } else if (itemFlags & kItemFlagExplorer) {
    choice.decoration = kIconExplorerDecoration;
  } else if (itemFlags & kItemFlagRootOrFind) {
    choice.decoration = kIconFindDecoration;
  }
  return choice;
}

std::wstring_view firstPathToken(std::wstring_view path) {
  const std::size_t start = path.find_first_not_of(L" \t");
  if (start == std::wstring_view::npos) return {};
  path.remove_prefix(start);
  if (path.front() == L'"') {
    path.remove_prefix(1);
    return path.substr(0, path.find(L'"'));
  }
  return path.substr(0, path.find_first_of(L" \t"));
}

bool iconVariesPerFile(std::wstring_view path) {
  const std::size_t name = path.find_last_of(L"\\/:");
  const std::wstring_view file = name == std::wstring_view::npos ? path : path.substr(name + 1);
  const std::size_t dot = file.rfind(L'.');
  if (dot == std::wstring_view::npos || dot + 1 == file.size()) return true;
  const std::wstring_view extension = file.substr(dot + 1);
  if (extension.size() > 4) return false;
  wchar_t lower[5] = {};
  for (std::size_t i = 0; i < extension.size(); ++i) {
    const wchar_t c = extension[i];
    lower[i] = c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c;
  }
  static constexpr std::wstring_view kOwnIcons[] = {L"exe", L"dll", L"ico", L"cur", L"ani", L"lnk", L"url",
                                                    L"pif", L"scr", L"cpl", L"icl", L"msc", L"ocx"};
  const std::wstring_view ext(lower, extension.size());
  for (std::wstring_view own : kOwnIcons)
    if (ext == own) return true;
  return false;
}

}  // namespace vorbin
