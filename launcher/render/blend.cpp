// Own blending and the small pixel maths of images, tints, presses and scrolls.
#include "launcher/render/blend.h"

#include <algorithm>

namespace vorbin {

namespace {
constexpr Pixel kColourBits = 0x00FFFFFF;

Pixel mix(Pixel kept, Pixel drawn, int a) {
  auto ch = [&](int shift) {
    return static_cast<Pixel>(blendChannel((kept >> shift) & 0xFF, (drawn >> shift) & 0xFF, a)) << shift;
  };
  return (drawn & ~kColourBits) | ch(16) | ch(8) | ch(0);
}
}  // namespace

void blendKept(std::span<const Pixel> kept, std::span<Pixel> drawn, int a) {
  a = std::clamp(a, 0, 255);
  if (a == 0) return;
  const std::size_t n = std::min(kept.size(), drawn.size());
  for (std::size_t i = 0; i < n; ++i)
    if ((kept[i] ^ drawn[i]) & kColourBits) drawn[i] = mix(kept[i], drawn[i], a);
}

void mixAlphaOverBackground(std::span<Pixel> image, std::span<const Pixel> background) {
  const std::size_t n = std::min(image.size(), background.size());
  for (std::size_t i = 0; i < n; ++i) {
    const Pixel p = image[i], bg = background[i];
    if (p == bg) continue;
    const int alpha = static_cast<int>(p >> 24);
    if (alpha == 255) continue;
    if (alpha == 0) {
      image[i] = (p & ~kColourBits) | (bg & kColourBits);
      continue;
    }
    auto ch = [&](int shift) {
      const int b = (bg >> shift) & 0xFF, v = (p >> shift) & 0xFF;
      return static_cast<Pixel>((b * (255 - alpha) + v * alpha) / 256) << shift;
    };
    image[i] = (p & ~kColourBits) | ch(16) | ch(8) | ch(0);
  }
}

bool hasAlpha(std::span<const Pixel> pixels) {
  return std::any_of(pixels.begin(), pixels.end(), [](Pixel p) { return p > kColourBits; });
}

void tintShape(std::span<Pixel> square, std::span<const std::uint8_t> opaque, Rgb colour) {
  const Pixel tint = toPixel(colour);
  const std::size_t n = std::min(square.size(), opaque.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (!opaque[i]) continue;
    // The copy holds the tint here; blending the square over it at 128.
    const Pixel kept = square[i];
    Pixel drawn = (kept & ~kColourBits) | tint;
    if ((kept ^ drawn) & kColourBits) drawn = mix(kept, drawn, 128);
    square[i] = drawn;
  }
}

bool maskOpaque(std::span<const std::uint8_t, 128> mask, int x, int y) {
  if (x < 0 || x >= 32 || y < 0 || y >= 32) return false;
  const std::uint8_t byte = mask[y * 4 + x / 8];
  return (byte & (0x80 >> (x % 8))) == 0;
}

BlendPath chooseBlendPath(bool systemAvailable, std::int64_t ownTicks, std::int64_t systemTicks) {
  if (!systemAvailable) return BlendPath::kOwn;
  return ownTicks >= systemTicks ? BlendPath::kSystem : BlendPath::kOwn;
}

int imageWeight(const TransparencyWeights& w, ButtonArea area, bool inActivationArea, bool selected) {
  if (inActivationArea || selected) return w.actAlpha;
  switch (area) {
    case ButtonArea::kGroupTabs:
      return w.nonActGroup;
    case ButtonArea::kQuickList:
      return w.nonActQuick;
    case ButtonArea::kApplGrid:
      break;
  }
  return w.nonActAppl;
}

PixelRect pressStrip(const PixelRect& b) { return {b.left, b.top, b.right, std::min(b.top + 4, b.bottom)}; }

PressShift pressShift(const PixelRect& b) {
  return {{b.left, b.top, b.right, std::max(b.top, b.bottom - 1)}};
}

UncoveredStrips uncoveredStrips(const PixelRect& a, int dx, int dy) {
  UncoveredStrips s;
  if (dx > 0) s.horizontal = {a.left, a.top, std::min(a.left + dx, a.right), a.bottom};
  if (dx < 0) s.horizontal = {std::max(a.right + dx, a.left), a.top, a.right, a.bottom};
  if (dy > 0) s.vertical = {a.left, a.top, a.right, std::min(a.top + dy, a.bottom)};
  if (dy < 0) s.vertical = {a.left, std::max(a.bottom + dy, a.top), a.right, a.bottom};
  return s;
}

}  // namespace vorbin
