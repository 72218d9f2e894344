// The launcher's own blending arithmetic, alpha of depth-32 images, the
// selection tint, and the small geometry of presses and scrolls.
#include "launcher/render/blend.h"

#include <gtest/gtest.h>

#include "tests/painting/print_helpers.h"

#include <array>
#include <vector>

namespace vorbin {
namespace {

TEST(BlendKept, ChannelsMixOnlyWhereThePixelChanged) {
  std::vector<Pixel> kept = {0x00FF0000, 0x00102030, 0x00000000};
  std::vector<Pixel> drawn = {0x000000FF, 0x00102030, 0x00FFFFFF};
  blendKept(kept, drawn, 128);
  // (255*128 + 0*127) / 256 = 127 for red; (0*128 + 255*127) / 256 = 126 for blue.
  EXPECT_EQ(drawn[0], 0x007F007Eu);
  EXPECT_EQ(drawn[1], 0x00102030u);  // unchanged pixel is skipped
  EXPECT_EQ(drawn[2], 0x007E7E7Eu);
}

TEST(BlendKept, WeightZeroLeavesTheDrawingOpaque) {
  std::vector<Pixel> kept = {0x00FF0000, 0x0000FF00};
  std::vector<Pixel> drawn = {0x000000FF, 0x00123456};
  const auto before = drawn;
  blendKept(kept, drawn, 0);
  EXPECT_EQ(drawn, before);
}

TEST(BlendKept, FullWeightBringsBackTheKeptPictureNearly) {
  std::vector<Pixel> kept = {0x00C8C8C8};
  std::vector<Pixel> drawn = {0x00000000};
  blendKept(kept, drawn, 255);
  EXPECT_EQ(drawn[0], 0x00C7C7C7u);  // 200*255/256
}

TEST(BlendKept, DiffersByColourNotByAlphaByte) {
  std::vector<Pixel> kept = {0xFF336699};
  std::vector<Pixel> drawn = {0x00336699};
  blendKept(kept, drawn, 200);
  EXPECT_EQ(drawn[0], 0x00336699u);
}

TEST(BlendKept, UnequalLengthsTouchOnlyTheCommonPart) {
  std::vector<Pixel> kept = {0x00FFFFFF};
  std::vector<Pixel> drawn = {0x00000000, 0x00000000};
  blendKept(kept, drawn, 128);
  EXPECT_NE(drawn[0], 0u);
  EXPECT_EQ(drawn[1], 0u);
}

TEST(MixAlpha, TransparentOpaqueAndPartial) {
  std::vector<Pixel> bg = {0x00FFFFFF, 0x00FFFFFF, 0x00000000, 0x00204060};
  std::vector<Pixel> img = {0x00FF0000, 0xFF0000FF, 0x80FFFFFF, 0x00204060};
  mixAlphaOverBackground(img, bg);
  EXPECT_EQ(img[0] & 0xFFFFFF, 0xFFFFFFu);  // alpha 0 takes the background
  EXPECT_EQ(img[1], 0xFF0000FFu);           // alpha 255 stays
  EXPECT_EQ(img[2] & 0xFFFFFF, 0x7F7F7Fu);  // 255*128/256
  EXPECT_EQ(img[3], 0x00204060u);           // equal to the background
}

TEST(TintShape, OnlyTheShapeIsTinted) {
  std::vector<Pixel> square = {0x00000000, 0x00000000, 0x00FFFFFF};
  const std::vector<std::uint8_t> opaque = {1, 0, 1};
  tintShape(square, opaque, {255, 255, 255});
  EXPECT_EQ(square[0], 0x007E7E7Eu);  // half way to white
  EXPECT_EQ(square[1], 0u);
  EXPECT_EQ(square[2], 0x00FFFFFFu);  // already the tint colour
}

TEST(MaskOpaque, TopRowFirstSetBitTransparent) {
  std::array<std::uint8_t, 128> mask;
  mask.fill(0xFF);
  // Row 2, pixel 9: byte 1 of that row, bit 0x40.
  mask[2 * 4 + 1] = static_cast<std::uint8_t>(~0x40);
  EXPECT_TRUE(maskOpaque(mask, 9, 2));
  EXPECT_FALSE(maskOpaque(mask, 8, 2));
  EXPECT_FALSE(maskOpaque(mask, 9, 29));
  EXPECT_FALSE(maskOpaque(mask, -1, 0));
  EXPECT_FALSE(maskOpaque(mask, 32, 0));
}

TEST(ChooseBlendPath, SystemOnlyWhenNotSlowerThanOurs) {
  EXPECT_EQ(chooseBlendPath(false, 100, 1), BlendPath::kOwn);
  EXPECT_EQ(chooseBlendPath(true, 100, 50), BlendPath::kSystem);
  EXPECT_EQ(chooseBlendPath(true, 50, 50), BlendPath::kSystem);
  EXPECT_EQ(chooseBlendPath(true, 49, 50), BlendPath::kOwn);
}

TEST(PressAnimation, StripAndShift) {
  const PixelRect b{10, 20, 50, 60};
  EXPECT_EQ(pressStrip(b), (PixelRect{10, 20, 50, 24}));
  EXPECT_EQ(pressStrip({0, 0, 10, 2}), (PixelRect{0, 0, 10, 2}));
  EXPECT_EQ(pressShift(b).source, (PixelRect{10, 20, 50, 59}));
  EXPECT_EQ(pressShift({0, 5, 10, 5}).source.height(), 0);
}

TEST(UncoveredStrips, EachDirection) {
  const PixelRect a{0, 0, 100, 50};
  EXPECT_EQ(uncoveredStrips(a, 10, 0).horizontal, (PixelRect{0, 0, 10, 50}));
  EXPECT_EQ(uncoveredStrips(a, -10, 0).horizontal, (PixelRect{90, 0, 100, 50}));
  EXPECT_EQ(uncoveredStrips(a, 0, 5).vertical, (PixelRect{0, 0, 100, 5}));
  EXPECT_EQ(uncoveredStrips(a, 0, -5).vertical, (PixelRect{0, 45, 100, 50}));
  EXPECT_EQ(uncoveredStrips(a, 0, -5).horizontal.width(), 0);
  // Moving further than the area uncovers all of it, never more.
  EXPECT_EQ(uncoveredStrips(a, 500, 0).horizontal, a);
  EXPECT_EQ(uncoveredStrips(a, 0, -500).vertical, a);
}

}  // namespace
}  // namespace vorbin
