// Shade arithmetic of the colour slots, checked against values worked out by hand
// from the 240-step HLS rules, and the decisions that hang on slot shades.
#include "launcher/render/colour_slots.h"

#include <gtest/gtest.h>

#include "tests/painting/print_helpers.h"

namespace vorbin {
namespace {

TEST(RgbToHls, PrimariesAndWrapOfNegativeHue) {
  // Red: L = (255*240+256)/512 = 120, S = (255*240+127)/255 = 240, hue 0.
  EXPECT_EQ(rgbToHls({255, 0, 0}), (Hls{0, 120, 240}));
  EXPECT_EQ(rgbToHls({0, 255, 0}), (Hls{80, 120, 240}));
  EXPECT_EQ(rgbToHls({0, 0, 255}), (Hls{160, 120, 240}));
  // Magenta: red largest, dB - dG = 0 - 40 < 0, so 240 is added.
  EXPECT_EQ(rgbToHls({255, 0, 255}).hue, 200);
  // Light colours use the other saturation formula: 255,128,128 has L = 180,
  // S = (127*240 + (512-383)/2) / (512-383) = (30480+64)/129 = 236.
  EXPECT_EQ(rgbToHls({255, 128, 128}), (Hls{0, 180, 236}));
}

TEST(RgbToHls, GreysKeepHue160AndNoSaturation) {
  for (int v : {0, 1, 64, 128, 200, 255}) {
    const auto g = static_cast<std::uint8_t>(v);
    const Hls hls = rgbToHls({g, g, g});
    EXPECT_EQ(hls.hue, 160) << v;
    EXPECT_EQ(hls.saturation, 0) << v;
  }
  EXPECT_EQ(rgbToHls({255, 255, 255}).lightness, 239);  // (510*240+256)/512
}

TEST(ShadeLightness, StepsTowardsWhiteAndBlack) {
  // L = 120, level 50: move 60; steps 150, 180, then remaining 60: 195 and 210.
  EXPECT_EQ(shadeLightness(120, 50, 0), 150);
  EXPECT_EQ(shadeLightness(120, 50, 1), 180);
  EXPECT_EQ(shadeLightness(120, 50, 2), 195);
  EXPECT_EQ(shadeLightness(120, 50, 3), 210);
  // Level -50: move -60; steps 90, 60, remaining 60: 45 and 30.
  EXPECT_EQ(shadeLightness(120, -50, 0), 90);
  EXPECT_EQ(shadeLightness(120, -50, 1), 60);
  EXPECT_EQ(shadeLightness(120, -50, 2), 45);
  EXPECT_EQ(shadeLightness(120, -50, 3), 30);
  // Full levels reach the ends and stay there.
  EXPECT_EQ(shadeLightness(77, 100, 3), 240);
  EXPECT_EQ(shadeLightness(77, -100, 3), 0);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(shadeLightness(99, 0, k), 99);
}

TEST(HlsToRgb, ChannelsFromLightnessAndSaturation) {
  // Red at L = 180: m2 = 420 - 43320/240 = 240, m1 = 120: 255,128,128.
  EXPECT_EQ(hlsToRgb({0, 180, 240}), (Rgb{255, 128, 128}));
  // Red at L = 60: m2 = 28920/240 = 120, m1 = 0: 128,0,0.
  EXPECT_EQ(hlsToRgb({0, 60, 240}), (Rgb{128, 0, 0}));
  // Without saturation every channel is L*256/240, 256 stored as 255.
  EXPECT_EQ(hlsToRgb({160, 150, 0}), (Rgb{160, 160, 160}));
  EXPECT_EQ(hlsToRgb({160, 240, 0}), (Rgb{255, 255, 255}));
  EXPECT_EQ(hlsToRgb({160, 0, 0}), (Rgb{0, 0, 0}));
}

TEST(HlsToRgb, RoundTripStaysCloseForSaturatedColours) {
  for (Rgb c : {Rgb{0, 128, 192}, Rgb{0, 64, 128}, Rgb{255, 128, 128}, Rgb{128, 255, 128}, Rgb{255, 255, 0},
                Rgb{10, 200, 90}}) {
    const Rgb back = hlsToRgb(rgbToHls(c));
    EXPECT_NEAR(back.r, c.r, 3);
    EXPECT_NEAR(back.g, c.g, 3);
    EXPECT_NEAR(back.b, c.b, 3);
  }
}

TEST(MakeSlot, GreyBaseGivesGreyShades) {
  const ColourSlot s = makeSlot({128, 128, 128}, 50, SlotKind::kArea);
  EXPECT_EQ(s.light[0], (Rgb{160, 160, 160}));
  EXPECT_EQ(s.light[1], (Rgb{192, 192, 192}));
  EXPECT_EQ(s.light[2], (Rgb{208, 208, 208}));
  EXPECT_EQ(s.light[3], (Rgb{224, 224, 224}));
  EXPECT_EQ(s.dark[0], (Rgb{96, 96, 96}));
  EXPECT_EQ(s.dark[1], (Rgb{64, 64, 64}));
  EXPECT_EQ(s.dark[2], (Rgb{48, 48, 48}));
  EXPECT_EQ(s.dark[3], (Rgb{32, 32, 32}));
}

TEST(MakeSlot, RedShadesKeepHue) {
  const ColourSlot s = makeSlot({255, 0, 0}, 50, SlotKind::kArea);
  EXPECT_EQ(s.light[1], (Rgb{255, 128, 128}));
  EXPECT_EQ(s.dark[1], (Rgb{128, 0, 0}));
}

TEST(MakeSlot, LevelZeroIsFlat) {
  for (SlotId id : {SlotId::kBord, SlotId::kFunctionKey, SlotId::kGroupName}) {
    const ColourSlot s = makeSlot(id, slotInfo(id).base, 0);
    EXPECT_TRUE(s.flat());
    const Rgb same = s.light[0];
    for (int k = 0; k < 4; ++k) EXPECT_EQ(s.light[k], same);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(s.dark[k], same);
    EXPECT_FALSE(labelRelief(s).has_value());
  }
}

TEST(MakeSlot, ShadesAreOrderedByLightness) {
  const ColourSlot s = defaultSlot(SlotId::kBord);
  auto l = [](Rgb c) { return rgbToHls(c).lightness; };
  for (int k = 0; k < 3; ++k) {
    EXPECT_LE(l(s.light[k]), l(s.light[k + 1]));
    EXPECT_GE(l(s.dark[k]), l(s.dark[k + 1]));
  }
  EXPECT_GT(l(s.light[0]), l(s.dark[0]));
}

TEST(MakeSlot, NegativeLevelSwapsLightAndDark) {
  const ColourSlot up = makeSlot({0, 128, 192}, 40, SlotKind::kArea);
  const ColourSlot down = makeSlot({0, 128, 192}, -40, SlotKind::kArea);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(up.light[k], down.dark[k]);
    EXPECT_EQ(up.dark[k], down.light[k]);
  }
}

TEST(MakeSlot, TextSlotKeepsLuminanceInDark3) {
  // 128,255,128: (299*128 + 587*255 + 114*128) / 1000 = 202.
  const ColourSlot s = makeSlot(SlotId::kCommandName, {128, 255, 128}, 30);
  EXPECT_EQ(s.luminance, 202);
  EXPECT_EQ(s.dark[3], (Rgb{202, 202, 202}));
  const ColourSlot area = makeSlot(SlotId::kBord, {128, 255, 128}, 30);
  EXPECT_NE(area.dark[3], s.dark[3]);
}

TEST(SlotLevel, OutOfRangeFallsBackToDefault) {
  EXPECT_EQ(slotLevel(SlotId::kApplName, 101), 100);
  EXPECT_EQ(slotLevel(SlotId::kGroupName, -101), 0);
  EXPECT_EQ(slotLevel(SlotId::kBord, -100), -100);
  EXPECT_EQ(slotLevel(SlotId::kBord, 100), 100);
  EXPECT_EQ(makeSlot(SlotId::kLight, {1, 2, 3}, 500).level, 50);
}

TEST(FlatArrowColour, SilverOnDarkBlackOnLight) {
  // Threshold: (max + min) * 240 < 15840, i.e. max + min < 66.
  EXPECT_EQ(flatArrowColour({65, 0, 0}), (Rgb{192, 192, 192}));
  EXPECT_EQ(flatArrowColour({66, 0, 0}), (Rgb{0, 0, 0}));
  EXPECT_EQ(flatArrowColour({41, 30, 25}), (Rgb{0, 0, 0}));
  EXPECT_EQ(flatArrowColour({0, 0, 0}), (Rgb{192, 192, 192}));
}

TEST(LabelRelief, SinksLightTextRaisesDarkText) {
  const ColourSlot whiteUp = makeSlot({255, 255, 255}, 50, SlotKind::kText);
  const auto r1 = labelRelief(whiteUp);
  ASSERT_TRUE(r1);
  EXPECT_EQ(r1->dx, 1);
  EXPECT_EQ(r1->dy, 1);
  EXPECT_EQ(r1->colour, whiteUp.dark[2]);

  const ColourSlot blackUp = makeSlot({0, 0, 0}, 50, SlotKind::kText);
  const auto r2 = labelRelief(blackUp);
  ASSERT_TRUE(r2);
  EXPECT_EQ(r2->dx, -1);
  EXPECT_EQ(r2->colour, blackUp.light[2]);

  // A negative level turns the choice round.
  const auto r3 = labelRelief(makeSlot({0, 0, 0}, -50, SlotKind::kText));
  ASSERT_TRUE(r3);
  EXPECT_EQ(r3->dy, 1);
}

TEST(FrameShades, QuarterStepsFromWhiteAndBlack) {
  const auto f = frameShades({0, 128, 192});
  EXPECT_EQ(f[0].light, (Rgb{255, 255, 255}));
  EXPECT_EQ(f[0].dark, (Rgb{0, 0, 0}));
  // 255 + (0-255)/4 = 192; 255 + (128-255)/4 = 224; 255 + (192-255)/4 = 240.
  EXPECT_EQ(f[1].light, (Rgb{192, 224, 240}));
  EXPECT_EQ(f[1].dark, (Rgb{0, 32, 48}));
  EXPECT_EQ(f[2].light, (Rgb{144, 200, 228}));
  EXPECT_EQ(f[2].dark, (Rgb{0, 56, 84}));
}

TEST(IndicatorColour, ThresholdsForFreeAndLoad) {
  const Rgb normal{0, 255, 255}, red{255, 0, 0}, yellow{255, 255, 0};
  EXPECT_EQ(indicatorColour(31, IndicatorKind::kFreePercent, normal), normal);
  EXPECT_EQ(indicatorColour(30, IndicatorKind::kFreePercent, normal), yellow);
  EXPECT_EQ(indicatorColour(11, IndicatorKind::kFreePercent, normal), yellow);
  EXPECT_EQ(indicatorColour(10, IndicatorKind::kFreePercent, normal), red);
  EXPECT_EQ(indicatorColour(69, IndicatorKind::kLoadPercent, normal), normal);
  EXPECT_EQ(indicatorColour(70, IndicatorKind::kLoadPercent, normal), yellow);
  EXPECT_EQ(indicatorColour(89, IndicatorKind::kLoadPercent, normal), yellow);
  EXPECT_EQ(indicatorColour(90, IndicatorKind::kLoadPercent, normal), red);
}

}  // namespace
}  // namespace vorbin
