// Colour slots: the shade arithmetic on the 240-step HLS scale and the slot table.
#include "launcher/render/colour_slots.h"

#include <algorithm>

namespace vorbin {

namespace {

constexpr SlotInfo kSlots[kSlotCount] = {
    {L"Bord", {0, 128, 192}, 50, SlotKind::kArea},
    {L"GroupBase", {0, 64, 128}, 50, SlotKind::kArea},
    {L"ApplBase", {0, 128, 128}, 50, SlotKind::kArea},
    {L"CommandButton", {0, 128, 128}, 50, SlotKind::kArea},
    {L"FunctionKey", {255, 128, 128}, 50, SlotKind::kArea},
    {L"ApplName", {0, 0, 0}, 100, SlotKind::kText},
    {L"GroupName", {255, 255, 255}, 0, SlotKind::kText},
    {L"CommandName", {128, 255, 128}, 0, SlotKind::kText},
    {L"Light", {255, 255, 0}, 50, SlotKind::kArea},
};

constexpr PlainColourInfo kPlain[kPlainColourCount] = {
    {L"ActTitle", {255, 255, 255}},
    {L"FuncKeyLabel", {255, 255, 255}},
    {L"ExitKeyLabel", {0, 255, 255}},
    {L"Indicator", {0, 255, 255}},
};

int hueToValue(int m1, int m2, int h) {
  if (h < 0) h += 240;
  if (h > 240) h -= 240;
  if (h < 40) return m1 + ((m2 - m1) * h + 20) / 40;
  if (h < 120) return m2;
  if (h < 160) return m1 + ((m2 - m1) * (160 - h) + 20) / 40;
  return m1;
}

std::uint8_t channel(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

}  // namespace

Hls rgbToHls(Rgb c) {
  const int r = c.r, g = c.g, b = c.b;
  const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
  Hls out;
  out.lightness = ((hi + lo) * 240 + 256) / 512;
  if (hi == lo) {
    out.saturation = 0;
    out.hue = 160;
    return out;
  }
  const int span = hi - lo;
  if (out.lightness <= 120)
    out.saturation = (span * 240 + (hi + lo) / 2) / (hi + lo);
  else
    out.saturation = (span * 240 + (512 - hi - lo) / 2) / (512 - hi - lo);
  const int dr = ((hi - r) * 40 + span / 2) / span;
  const int dg = ((hi - g) * 40 + span / 2) / span;
  const int db = ((hi - b) * 40 + span / 2) / span;
  int h;
  if (r == hi)
    h = db - dg;
  else if (g == hi)
    h = 80 + dr - db;
  else
    h = 160 + dg - dr;
  if (h < 0) h += 240;
  if (h > 240) h -= 240;
  out.hue = h;
  return out;
}

Rgb hlsToRgb(Hls c) {
  const int l = std::clamp(c.lightness, 0, 240);
  const int s = std::clamp(c.saturation, 0, 240);
  if (s == 0) {
    const std::uint8_t v = channel(l * 256 / 240);
    return {v, v, v};
  }
  const int m2 = l <= 120 ? (l * (240 + s) + 120) / 240 : l + s - (l * s + 120) / 240;
  const int m1 = 2 * l - m2;
  auto ch = [&](int h) { return channel((hueToValue(m1, m2, h) * 256 + 120) / 240); };
  return {ch(c.hue + 80), ch(c.hue), ch(c.hue - 80)};
}

int shadeLightness(int l, int v, int step) {
  const int move = v <= 0 ? v * l / 100 : (240 - l) * v / 100;
  if (step == 0) return l + move / 2;
  const int l1 = l + move;
  if (step == 1) return l1;
  // The remaining distance to black or white after the first move.
  const int rest = v <= 0 ? l + v * l / 100 : 240 - (l + (240 - l) * v / 100);
  const int further = v * rest / 100;
  return step == 3 ? l1 + further : l1 + further / 2;
}

int luminance(Rgb c) { return (299 * c.r + 587 * c.g + 114 * c.b) / 1000; }

const SlotInfo& slotInfo(SlotId id) { return kSlots[static_cast<int>(id)]; }
const PlainColourInfo& plainColourInfo(PlainColourId id) { return kPlain[static_cast<int>(id)]; }

int slotLevel(SlotId id, int level) { return level < -100 || level > 100 ? slotInfo(id).level : level; }

ColourSlot makeSlot(Rgb base, int level, SlotKind kind) {
  ColourSlot s;
  s.base = base;
  s.level = std::clamp(level, -100, 100);
  s.kind = kind;
  s.luminance = luminance(base);
  const Hls hls = rgbToHls(base);
  auto shade = [&](int v, int step) {
    return hlsToRgb({hls.hue, shadeLightness(hls.lightness, v, step), hls.saturation});
  };
  for (int k = 0; k < 4; ++k) s.light[k] = shade(s.level, k);
  for (int k = 0; k < 3; ++k) s.dark[k] = shade(-s.level, k);
  if (kind == SlotKind::kArea) {
    s.dark[3] = shade(-s.level, 3);
  } else {
    const auto y = static_cast<std::uint8_t>(s.luminance);
    s.dark[3] = {y, y, y};
  }
  return s;
}

ColourSlot makeSlot(SlotId id, Rgb base, int level) {
  return makeSlot(base, slotLevel(id, level), slotInfo(id).kind);
}

ColourSlot defaultSlot(SlotId id) {
  const SlotInfo& info = slotInfo(id);
  return makeSlot(info.base, info.level, info.kind);
}

BarColours defaultBarColours() {
  BarColours c;
  for (int i = 0; i < kSlotCount; ++i) c.slots[i] = defaultSlot(static_cast<SlotId>(i));
  for (int i = 0; i < kPlainColourCount; ++i) c.plain[i] = kPlain[i].base;
  return c;
}

Rgb flatArrowColour(Rgb base) {
  const int hi = std::max({base.r, base.g, base.b}), lo = std::min({base.r, base.g, base.b});
  return (hi + lo) * 240 < 15840 ? Rgb{192, 192, 192} : Rgb{0, 0, 0};
}

std::optional<Relief> labelRelief(const ColourSlot& text) {
  if (text.level == 0) return std::nullopt;
  const bool light = text.luminance > 128;
  if ((text.level > 0 && light) || (text.level < 0 && !light)) return Relief{text.dark[2], 1, 1};
  return Relief{text.light[2], -1, -1};
}

std::array<FrameShade, 3> frameShades(Rgb base) {
  std::array<FrameShade, 3> out{};
  Rgb light{255, 255, 255}, dark{0, 0, 0};
  auto toward = [](std::uint8_t from, std::uint8_t to) {
    return static_cast<std::uint8_t>(from + (to - from) / 4);
  };
  for (auto& step : out) {
    step = {light, dark};
    light = {toward(light.r, base.r), toward(light.g, base.g), toward(light.b, base.b)};
    dark = {toward(dark.r, base.r), toward(dark.g, base.g), toward(dark.b, base.b)};
  }
  return out;
}

Rgb indicatorColour(int value, IndicatorKind kind, Rgb normal) {
  constexpr Rgb kRed{255, 0, 0}, kYellow{255, 255, 0};
  if (kind == IndicatorKind::kFreePercent) {
    if (value > 30) return normal;
    return value <= 10 ? kRed : kYellow;
  }
  if (value < 70) return normal;
  return value >= 90 ? kRed : kYellow;
}

}  // namespace vorbin
