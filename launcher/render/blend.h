// The launcher's own blending of pixels (32-bit 0xAARRGGBB as in a top-down DIB),
// the per-pixel alpha of depth-32 images, the selection tint, the choice between
// the system's blending and ours, and the small geometry of presses and scrolls.
#pragma once

#include <cstdint>
#include <span>

#include "launcher/render/bar_layout.h"
#include "launcher/render/colour_slots.h"

namespace vorbin {

using Pixel = std::uint32_t;  // 0xAARRGGBB

constexpr Pixel toPixel(Rgb c) { return (Pixel{c.r} << 16) | (Pixel{c.g} << 8) | c.b; }
constexpr Rgb fromPixel(Pixel p) {
  return {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
          static_cast<std::uint8_t>(p)};
}

// One channel of the kept picture at weight a (0..255) over the drawn one.
constexpr int blendChannel(int kept, int drawn, int a) { return (kept * a + drawn * (255 - a)) / 256; }

// Blends the kept copy back into drawn: each pixel whose colour differs becomes
// kept at weight a over drawn. Weight 0 leaves drawn untouched. The spans have
// equal length; extra pixels of the longer one are ignored.
void blendKept(std::span<const Pixel> kept, std::span<Pixel> drawn, int a);

// Mixes a depth-32 image with its own alpha over the background before it is
// drawn: alpha 0 takes the background, 255 keeps the image, others mix.
void mixAlphaOverBackground(std::span<Pixel> image, std::span<const Pixel> background);
// True when some pixel carries alpha (above 0x00FFFFFF).
bool hasAlpha(std::span<const Pixel> pixels);

// Selection tint: the image's shape (opaque[i] != 0) painted in colour over a
// copy of the square, blended back over it at weight 128.
void tintShape(std::span<Pixel> square, std::span<const std::uint8_t> opaque, Rgb colour);

// Whether a pixel of a 32x32 AND mask (rows of 4 bytes, top row first, set bit =
// transparent) is part of the image's shape.
bool maskOpaque(std::span<const std::uint8_t, 128> mask, int x, int y);

// The system's blending is kept only when ours is not faster.
enum class BlendPath { kOwn, kSystem };
BlendPath chooseBlendPath(bool systemAvailable, std::int64_t ownTicks, std::int64_t systemTicks);

// Weights of the background showing through button images.
struct TransparencyWeights {
  int actAlpha = 0;         // ActAlpha
  int nonActGroup = 128;    // NonActAlpha_gp
  int nonActAppl = 0;       // NonActAlpha_ap
  int nonActQuick = 128;    // NonActAlpha_qk
  int actColorAlpha = 128;  // ActColorAlpha: the area under a highlight colour
};
enum class ButtonArea { kGroupTabs = 1, kApplGrid = 2, kQuickList = 3 };
int imageWeight(const TransparencyWeights& w, ButtonArea area, bool inActivationArea, bool selected);

// Press animation: a 4-pixel strip under the button's top edge, then the face
// moved one pixel down three times.
inline constexpr int kPressShifts = 3;
struct PressShift {
  PixelRect source;  // copied to (source.left, source.top + 1)
};
PixelRect pressStrip(const PixelRect& button);
PressShift pressShift(const PixelRect& button);

// The strips of an area left uncovered after its contents moved by (dx, dy);
// empty rectangles for no movement on an axis.
struct UncoveredStrips {
  PixelRect horizontal, vertical;
};
UncoveredStrips uncoveredStrips(const PixelRect& area, int dx, int dy);

}  // namespace vorbin
