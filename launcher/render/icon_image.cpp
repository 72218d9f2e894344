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
  const std::size_t blank = path.find(L' ');
  return blank == std::wstring_view::npos ? path : path.substr(0, blank);
}

}  // namespace vorbin
