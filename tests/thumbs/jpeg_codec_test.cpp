// The JPEG coder natively: a picture comes back as it went in, and damaged,
// cut or crafted data comes back as nothing.
#include <gtest/gtest.h>

#include <cstdlib>

#include "launcher/render/jpeg_codec.h"

namespace vorbin {
namespace {

// Four flat quadrants, which survive JPEG's loss nearly unchanged.
JpegPicture quadrants(int w, int h) {
  const Pixel colours[4] = {0xDC1E1E, 0x1EC828, 0x1E28D2, 0xF0DC1E};
  JpegPicture p{w, h, std::vector<Pixel>(static_cast<size_t>(w) * h)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.pixels[static_cast<size_t>(y) * w + x] = colours[(x >= w / 2) + 2 * (y >= h / 2)];
  return p;
}

int channelDistance(Pixel a, Pixel b) {
  int most = 0;
  for (int shift : {0, 8, 16}) most = std::max(most, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
  return most;
}

TEST(JpegCodec, RoundTripKeepsSizeAndColours) {
  const JpegPicture in = quadrants(64, 48);
  const auto bytes = encodeJpeg(in, 90);
  ASSERT_TRUE(bytes);
  ASSERT_GT(bytes->size(), 4u);
  EXPECT_EQ((*bytes)[0], 0xFF);
  EXPECT_EQ((*bytes)[1], 0xD8);  // start of image
  const auto out = decodeJpeg(*bytes);
  ASSERT_TRUE(out);
  EXPECT_EQ(out->width, 64);
  EXPECT_EQ(out->height, 48);
  ASSERT_EQ(out->pixels.size(), in.pixels.size());
  for (const auto& [x, y] : {std::pair{8, 8}, std::pair{56, 8}, std::pair{8, 40}, std::pair{56, 40}}) {
    const size_t at = static_cast<size_t>(y) * 64 + x;
    EXPECT_LE(channelDistance(out->pixels[at], in.pixels[at]), 12) << x << "," << y;
  }
  // The quality reaches the file: a lower one makes it smaller.
  EXPECT_LT(encodeJpeg(in, 1)->size(), encodeJpeg(in, 100)->size());
  // A one-pixel picture is a picture too.
  EXPECT_TRUE(decodeJpeg(*encodeJpeg(quadrants(1, 1), 50)));
}

TEST(JpegCodec, InconsistentPicturesAreNotEncoded) {
  JpegPicture short_ = quadrants(8, 8);
  short_.pixels.pop_back();
  EXPECT_FALSE(encodeJpeg(short_, 50));
  EXPECT_FALSE(encodeJpeg(JpegPicture{}, 50));
  EXPECT_FALSE(encodeJpeg(JpegPicture{kMaxJpegSide + 1, 1, std::vector<Pixel>(kMaxJpegSide + 1)}, 50));
  EXPECT_FALSE(encodeJpeg(JpegPicture{-1, -1, {}}, 50));
}

TEST(JpegCodec, DamagedCutAndCraftedDataGiveNothing) {
  const std::vector<uint8_t> good = *encodeJpeg(quadrants(32, 32), 80);
  EXPECT_FALSE(decodeJpeg({}));
  EXPECT_FALSE(decodeJpeg(std::vector<uint8_t>{0xFF, 0xD8}));
  EXPECT_FALSE(decodeJpeg(std::vector<uint8_t>(300, 0x41)));
  // Cut anywhere after the header: the library would pad with grey.
  for (size_t keep : {good.size() / 2, good.size() - 3})
    EXPECT_FALSE(decodeJpeg(std::span<const uint8_t>(good.data(), keep))) << keep;
  // A frame header claiming 65,500 x 65,500 pixels is refused before any
  // pixel memory is asked for.
  std::vector<uint8_t> huge = good;
  size_t frame = 2;
  while (frame + 9 < huge.size() && !(huge[frame] == 0xFF && huge[frame + 1] == 0xC0)) ++frame;
  ASSERT_LT(frame + 9, huge.size()) << "no baseline frame header";
  for (size_t i : {frame + 5, frame + 7}) {
    huge[i] = 0xFF;
    huge[i + 1] = 0xDC;
  }
  EXPECT_FALSE(decodeJpeg(huge));
}

}  // namespace
}  // namespace vorbin
