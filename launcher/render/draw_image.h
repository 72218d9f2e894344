// Drawing a stored image or an icon into a DC at any size, with its mask, a
// transparency weight of the background and an optional selection tint.
#pragma once
#include <windows.h>

#include <optional>

#include "launcher/render/colour_slots.h"
#include "launcher/render/icon_image.h"
#include "launcher/render/image_pixels.h"

namespace vorbin {

struct ImageDrawing {
  int x = 0, y = 0;
  int size = 32;
  ImageDrawMode mode = ImageDrawMode::kNormal;
  int weight = 0;           // how much of the background shows through, 0..255
  std::optional<Rgb> tint;  // selection tint (the ActTitle colour)
};

// False when the image has no bits or cannot be unpacked; nothing is drawn then.
bool drawImage(HDC dc, const IconImage& image, const ImageDrawing& how);
// An icon drawn the same way; one whose bitmaps cannot be read is drawn by the
// system at the size and then blended.
bool drawIcon(HDC dc, HICON icon, const ImageDrawing& how);

}  // namespace vorbin
