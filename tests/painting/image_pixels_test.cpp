// Pixels of stored images: colour depths, mask shape, scaling and the AND/OR
// composition with alpha over a destination.
#include "launcher/render/image_pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace vorbin {
namespace {

TEST(ImageColourPixels, Depth4UsesTheFixedPaletteBottomUp) {
  std::vector<std::uint8_t> bits(512, 0);
  bits[0] = 0x9F;        // bottom row: pixel 0 red (9), pixel 1 white (15)
  bits[31 * 16] = 0x0C;  // top row: pixel 1 blue (12)
  const auto px = imageColourPixels(4, bits);
  ASSERT_EQ(px.size(), 1024u);
  EXPECT_EQ(px[31 * 32 + 0], 0x00FF0000u);
  EXPECT_EQ(px[31 * 32 + 1], 0x00FFFFFFu);
  EXPECT_EQ(px[1], 0x000000FFu);
}

TEST(ImageColourPixels, Depth24And32) {
  std::vector<std::uint8_t> bits24(3072, 0);
  bits24[31 * 96 + 3] = 0x11;  // top row, pixel 1: blue, green, red
  bits24[31 * 96 + 4] = 0x22;
  bits24[31 * 96 + 5] = 0x33;
  EXPECT_EQ(imageColourPixels(24, bits24)[1], 0x00332211u);

  std::vector<std::uint8_t> bits32(4096, 0);
  bits32[31 * 128 + 0] = 0x44;
  bits32[31 * 128 + 3] = 0x80;
  EXPECT_EQ(imageColourPixels(32, bits32)[0], 0x80000044u);
}

TEST(ImageColourPixels, ShortOrUnknownGivesNothing) {
  EXPECT_TRUE(imageColourPixels(4, std::vector<std::uint8_t>(511)).empty());
  EXPECT_TRUE(imageColourPixels(8, std::vector<std::uint8_t>(4096)).empty());
  EXPECT_TRUE(imageColourPixels(32, std::vector<std::uint8_t>(3072)).empty());
}

TEST(ImageShape, FromTheAndMask) {
  std::array<std::uint8_t, 128> mask;
  mask.fill(0xFF);
  mask[0] = 0x7F;  // top-left pixel opaque
  const auto shape = imageShape(mask);
  EXPECT_EQ(shape[0], 1);
  EXPECT_EQ(shape[1], 0);
  EXPECT_EQ(std::count(shape.begin(), shape.end(), 1), 1);
}

TEST(ScaleSquare, NearestPixel) {
  const std::vector<int> src = {1, 2, 3, 4};  // 2x2
  EXPECT_EQ(scaleSquare<int>(src, 2, 4), (std::vector<int>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}));
  EXPECT_EQ(scaleSquare<int>(src, 2, 1), (std::vector<int>{1}));
  EXPECT_TRUE(scaleSquare<int>(src, 3, 4).empty());  // source too short
  EXPECT_TRUE(scaleSquare<int>(src, 2, 0).empty());
}

TEST(ComposeImage, MaskClearsColourAdds) {
  std::vector<Pixel> dest = {0x00112233, 0x00112233};
  const std::vector<Pixel> colour = {0x00FF0000, 0x00000000};
  const std::vector<std::uint8_t> shape = {1, 0};
  composeImage(dest, colour, shape, ImageDrawMode::kNormal);
  EXPECT_EQ(dest[0], 0x00FF0000u);
  EXPECT_EQ(dest[1], 0x00112233u);

  std::vector<Pixel> maskOnly = {0x00112233, 0x00112233};
  composeImage(maskOnly, colour, shape, ImageDrawMode::kMaskOnly);
  EXPECT_EQ(maskOnly[0], 0u);
  EXPECT_EQ(maskOnly[1], 0x00112233u);

  std::vector<Pixel> colourOnly = {0x00000011, 0x00112233};
  composeImage(colourOnly, colour, shape, ImageDrawMode::kColourOnly);
  EXPECT_EQ(colourOnly[0], 0x00FF0011u);  // OR without clearing
}

TEST(ComposeImage, AlphaMixesOverTheDestination) {
  std::vector<Pixel> dest = {0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF};
  const std::vector<Pixel> colour = {0xFF0000FF, 0x00000000, 0x80000000};
  const std::vector<std::uint8_t> shape = {1, 0, 1};
  composeImage(dest, colour, shape, ImageDrawMode::kNormal);
  EXPECT_EQ(dest[0], 0x000000FFu);
  EXPECT_EQ(dest[1], 0x00FFFFFFu);
  EXPECT_EQ(dest[2], 0x007E7E7Eu);  // 255 * 127 / 256
}

}  // namespace
}  // namespace vorbin
