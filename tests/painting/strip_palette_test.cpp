// Recolouring palettes of image strips: roles take slot shades, the transparent
// index is black in the colour palette and the only white in the mask palette.
#include "launcher/render/strip_palette.h"

#include <gtest/gtest.h>

#include "tests/painting/print_helpers.h"

namespace vorbin {
namespace {

Palette16 numbered() {
  Palette16 p;
  for (int i = 0; i < 16; ++i) p[i] = {static_cast<std::uint8_t>(i), 100, 200};
  return p;
}

TEST(StripColourPalette, WithoutSetsOnlyTransparentChanges) {
  const Palette16 p = stripColourPalette(numbered(), nullptr, nullptr);
  for (int i = 0; i < 16; ++i) {
    if (i == kStripTransparent)
      EXPECT_EQ(p[i], (Rgb{0, 0, 0}));
    else
      EXPECT_EQ(p[i], numbered()[i]) << i;
  }
}

TEST(StripColourPalette, FirstAndSecondSets) {
  const ColourSlot fk = defaultSlot(SlotId::kFunctionKey);
  const ColourSlot light = defaultSlot(SlotId::kLight);
  const Palette16 p = stripColourPalette(numbered(), &fk, &light);
  EXPECT_EQ(p[7], fk.light[1]);
  EXPECT_EQ(p[14], fk.light[3]);
  EXPECT_EQ(p[8], fk.dark[1]);
  EXPECT_EQ(p[4], fk.dark[3]);
  EXPECT_EQ(p[10], light.base);
  EXPECT_EQ(p[2], light.dark[2]);
  for (int i : {0, 1, 3, 5, 6, 9, 11, 13, 15}) EXPECT_EQ(p[i], numbered()[i]) << i;

  const Palette16 firstOnly = stripColourPalette(numbered(), &fk, nullptr);
  EXPECT_EQ(firstOnly[10], numbered()[10]);
  EXPECT_EQ(firstOnly[2], numbered()[2]);
}

TEST(StripMaskPalette, WhiteOnlyAtTransparent) {
  const Palette16 m = stripMaskPalette();
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(m[i], i == kStripTransparent ? (Rgb{255, 255, 255}) : (Rgb{0, 0, 0})) << i;
}

}  // namespace
}  // namespace vorbin
