// Colour slots of the bar: the nine named colours with their lighter and darker
// shades (computed on a 240-step hue/lightness/saturation scale), and the four plain colours.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vorbin {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Hue, lightness and saturation, each on a scale of 0..240.
struct Hls {
  int hue = 0, lightness = 0, saturation = 0;
  friend bool operator==(const Hls&, const Hls&) = default;
};

Hls rgbToHls(Rgb c);
Rgb hlsToRgb(Hls c);

// Lightness of shade step 0..3 for a level -100..100 (negative: towards black).
int shadeLightness(int lightness, int level, int step);

// 0.299 R + 0.587 G + 0.114 B, truncated.
int luminance(Rgb c);

enum class SlotKind { kArea, kText };

enum class SlotId : int {
  kBord,
  kGroupBase,
  kApplBase,
  kCommandButton,
  kFunctionKey,
  kApplName,
  kGroupName,
  kCommandName,
  kLight,
};
inline constexpr int kSlotCount = 9;

struct SlotInfo {
  std::wstring_view name;  // value name in the Colors section
  Rgb base;                // default colour
  int level;               // default level
  SlotKind kind;
};
const SlotInfo& slotInfo(SlotId id);

// A slot with its computed shades. For a text slot dark[3] is the grey of the
// base's luminance (the relief decision of labels needs only that number).
struct ColourSlot {
  Rgb base;
  int level = 0;
  SlotKind kind = SlotKind::kArea;
  std::array<Rgb, 4> light{};
  std::array<Rgb, 4> dark{};
  int luminance = 0;
  bool flat() const { return level == 0; }
};

// A level outside -100..100 falls back to the slot's default.
int slotLevel(SlotId id, int level);
ColourSlot makeSlot(Rgb base, int level, SlotKind kind);
ColourSlot makeSlot(SlotId id, Rgb base, int level);
ColourSlot defaultSlot(SlotId id);

enum class PlainColourId : int { kActTitle, kFuncKeyLabel, kExitKeyLabel, kIndicator };
inline constexpr int kPlainColourCount = 4;
struct PlainColourInfo {
  std::wstring_view name;
  Rgb base;
};
const PlainColourInfo& plainColourInfo(PlainColourId id);

// The slots and plain colours the bar paints with.
struct BarColours {
  std::array<ColourSlot, kSlotCount> slots;
  std::array<Rgb, kPlainColourCount> plain;
  const ColourSlot& operator[](SlotId id) const { return slots[static_cast<int>(id)]; }
  Rgb operator[](PlainColourId id) const { return plain[static_cast<int>(id)]; }
};
BarColours defaultBarColours();

// Contrast colour of arrow glyphs on a flat slot: silver on a dark base, else black.
Rgb flatArrowColour(Rgb base);

// The relief of an embossed label: drawn first, offset by (dx, dy).
struct Relief {
  Rgb colour;
  int dx = 0, dy = 0;
};
// None for a flat slot. A positive level with a light text, or a negative one
// with a dark text, sinks the text (dark2 below right); otherwise it is raised.
std::optional<Relief> labelRelief(const ColourSlot& textSlot);

// Colours of the three nested outlines of the bar frame: each step moves a
// quarter of the way from white (light) and black (dark) towards the base.
struct FrameShade {
  Rgb light, dark;
};
std::array<FrameShade, 3> frameShades(Rgb bordBase);

// Colour of the load indicator's number. A free percentage is fine above 30 and
// alarming at 10 or below; a load percentage is fine below 70 and alarming at 90.
enum class IndicatorKind { kFreePercent, kLoadPercent };
Rgb indicatorColour(int value, IndicatorKind kind, Rgb normal);

}  // namespace vorbin
