// IconImage: the 32x32 picture that every group and item keeps, unpacked
// (mask + colour bits) or packed into a PairCodec blob.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace vorbin {

inline constexpr int kImageSide = 32;
inline constexpr std::size_t kImageMaskBytes = 128;  // 32 rows of 4 bytes, top row first
inline constexpr std::uint32_t kImagePackedFlag = 0x80000000u;
// Largest unpacked image (depth 32); packed images are unpacked into an area this big.
inline constexpr std::size_t kImageScratchBytes = 4224;

// Bytes of an unpacked image: 128-byte mask + depth * 128 colour bytes
// (640, 3200 or 4224). 0 for a depth other than 4, 24 or 32.
constexpr std::size_t imageByteSize(int depth) {
  return (depth == 4 || depth == 24 || depth == 32) ? static_cast<std::size_t>(depth + 1) * 128 : 0;
}

// Depth of an unpacked image of `length` bytes; 0 when the length is not
// one of 640, 3200 or 4224 (a damaged image).
constexpr int depthFromUnpackedLength(std::size_t length) {
  const int depth = length >= 128 ? static_cast<int>((length - 128) / 128) : 0;
  return imageByteSize(depth) == length ? depth : 0;
}

struct IconImage {
  // 4, 24 or 32; with kImagePackedFlag set the bits are a packed blob.
  // 0 with empty bits: no image.
  std::uint32_t depth = 0;
  // Mask then bottom-up colour bits, or a blob: 4-byte little-endian header
  // (packed length | skip << 16) followed by the packed bytes.
  std::vector<std::uint8_t> bits;

  bool empty() const { return bits.empty(); }
  bool packed() const { return (depth & kImagePackedFlag) != 0; }
  int colourDepth() const { return static_cast<int>(depth & ~kImagePackedFlag); }
};

// Red, green, blue of one palette entry.
struct PaletteColour {
  std::uint8_t red, green, blue;
};

// The fixed palette of depth-4 images, in index order.
inline constexpr std::array<PaletteColour, 16> kImagePalette{{
    {0x00, 0x00, 0x00},
    {0x80, 0x00, 0x00},
    {0x00, 0x80, 0x00},
    {0x80, 0x80, 0x00},
    {0x00, 0x00, 0x80},
    {0x80, 0x00, 0x80},
    {0x00, 0x80, 0x80},
    {0xC0, 0xC0, 0xC0},
    {0x80, 0x80, 0x80},
    {0xFF, 0x00, 0x00},
    {0x00, 0xFF, 0x00},
    {0xFF, 0xFF, 0x00},
    {0x00, 0x00, 0xFF},
    {0xFF, 0x00, 0xFF},
    {0x00, 0xFF, 0xFF},
    {0xFF, 0xFF, 0xFF},
}};

// The KeepCompression setting as read at start-up: images made from icons
// are then held packed. It stays in force for the whole run.
void setKeepImagesPacked(bool keepPacked);
bool keepImagesPacked();

// Copies `source` into `target` by the image rules: a blob copies
// (header low 16 bits + 4) bytes, an unpacked image (depth + 1) * 128 bytes
// (never more than the source holds). An empty source empties the target.
void copyImage(IconImage& target, const IconImage& source);

// An image of `depth` from unpacked bits (mask + colour); the bits are packed
// into a blob (skip 0) when `keepPacked` is set. Bits of the wrong length
// give an empty image.
IconImage makeImage(std::span<const std::uint8_t> unpacked, int depth, bool keepPacked);

// Unpacks `image` into `out` (at least kImageScratchBytes long for any
// image) and returns the unpacked bytes: the image's own bits when it is not
// packed, else the filled beginning of `out`. An empty span when the image
// has no bits or its blob does not unpack to a whole image of its depth.
std::span<const std::uint8_t> unpackedImageBits(const IconImage& image, std::span<std::uint8_t> out);

// An unpacked copy of `image` (the same image when it is not packed).
IconImage unpackedImage(const IconImage& image);

// How imageFromIcon chooses the depth: `direct` is the icon's colour read at
// 32 bits per pixel, `viaPalette` its 4-bit reading (fixed palette) read
// back at 32 bits. 4 when the two agree, else 32 when any direct pixel has
// alpha (above 0x00FFFFFF), else 24.
int chooseImageDepth(std::span<const std::uint32_t> direct, std::span<const std::uint32_t> viaPalette);

// Pixels of a 32x32 colour part as 0xAARRGGBB, in the colour part's own
// bottom-up row order (index (31 - y) * 32 + x for pixel x, y from the top).
using ImagePixels = std::vector<std::uint32_t>;

// The colour part (after the mask) of `depth` as pixels: depth 4 through the
// fixed palette (alpha 0), depth 24 with alpha 0, depth 32 as stored.
// Empty when the colour part is shorter than its depth needs.
ImagePixels pixelsFromColour(std::span<const std::uint8_t> colour, int depth);

// Pixels as the colour part of `depth`: depth 4 takes the nearest palette
// colour, depth 24 drops alpha, depth 32 keeps it.
std::vector<std::uint8_t> colourFromPixels(std::span<const std::uint32_t> pixels, int depth);

// Whether pixel x, y (from the top left) is transparent in a 128-byte mask.
inline bool maskTransparent(std::span<const std::uint8_t> mask, int x, int y) {
  return (mask[static_cast<std::size_t>(y * 4 + x / 8)] & (0x80 >> (x % 8))) != 0;
}

// One picture to combine: its mask and pixels.
struct ImageLayer {
  std::span<const std::uint8_t> mask;     // 128 bytes
  std::span<const std::uint32_t> pixels;  // 1024
};

// Mask (128 bytes) and pixels of an item image combined with a decoration.
// Without `overlayOnTop` the decoration fills the square and the item,
// shrunk to 24x24 and made opaque, covers it from (8, 8); with it the item
// fills the square and the decoration is drawn over it. A pixel is opaque
// when either picture is opaque there; its colour is the upper picture's
// where that is opaque. A decoration without any alpha counts as opaque.
struct ComposedImage {
  std::vector<std::uint8_t> mask;
  ImagePixels pixels;
};
ComposedImage composeLayers(const ImageLayer& item, const ImageLayer& decoration, bool overlayOnTop);

// Decorations of item icons (launcher icon resources).
inline constexpr int kIconDefaultItem = 188;
inline constexpr int kIconPlaceholder = 199;
inline constexpr int kIconPromptDecoration = 204;
inline constexpr int kIconExplorerDecoration = 216;
inline constexpr int kIconFindDecoration = 245;
// The program's own icons and the bar's pointer (images.rc).
inline constexpr int kIconBarClass = 101;       // the bar's window class
inline constexpr int kIconBarClassSmall = 208;  // its small form
inline constexpr int kIconGroupMark = 102;
inline constexpr int kIconTaskMark = 103;
inline constexpr int kIconApplication = 178;
inline constexpr int kIconStartupMarker = 373;
inline constexpr int kCursorBarPointer = 178;

// Item flags that imageForItem looks at.
inline constexpr std::uint32_t kItemFlagPrompt = 0x0020;
inline constexpr std::uint32_t kItemFlagFolder = 0x0040;
inline constexpr std::uint32_t kItemFlagExplorer = 0x0080;
inline constexpr std::uint32_t kItemFlagIdList = 0x0200;
inline constexpr std::uint32_t kItemFlagRootOrFind = 0x0800;

// What imageForItem does with the icon it found.
struct ItemIconChoice {
  int decoration = 0;       // icon resource drawn with the image, 0 for none
  int replacementIcon = 0;  // icon resource used as the item's icon instead, 0 for none
};
ItemIconChoice chooseItemDecoration(std::uint32_t itemFlags, bool hasImageOrPath);

// The program part of an item path for the icon lookup when the whole path
// is not an existing file: the first token after leading blanks; a token
// that begins with a double quote runs to the next one, without the quotes.
std::wstring_view firstPathToken(std::wstring_view path);

// Whether a file's icon may differ from that of other files of its type
// (programs, libraries, icons, cursors, shortcuts, screen savers, …) or the
// file has no type at all; the icon of any other file is its type's icon and
// can be asked for without reading the file or its folder.
bool iconVariesPerFile(std::wstring_view path);

}  // namespace vorbin
