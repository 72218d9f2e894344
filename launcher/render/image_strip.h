// ImageStrip: small pictures cut from a 16-colour bitmap resource of equally
// wide frames, recoloured from colour slots when loaded and drawn with palette
// index 12 as the transparent colour.
#pragma once
#include <windows.h>

#include "framework/gdi.h"
#include "launcher/render/colour_slots.h"

namespace vorbin {

class ImageStrip {
 public:
  // False when the resource is missing or is not a 4-bit bitmap with a palette.
  // With a height the picture's rows are repeated or left out evenly (nearest
  // neighbour, no blending) to make it that high.
  bool load(HINSTANCE module, int resourceId, int frameWidth, const ColourSlot* first = nullptr,
            const ColourSlot* second = nullptr, int height = 0);
  // Draws frame n (the part from x = n * frame width) at (x, y).
  void draw(HDC dc, int x, int y, int frame) const;

  bool loaded() const { return static_cast<bool>(m_colour); }
  int width() const { return m_width; }
  int height() const { return m_height; }
  int frameWidth() const { return m_frameWidth; }
  int frameCount() const { return m_frameWidth > 0 ? m_width / m_frameWidth : 0; }

 private:
  fw::Bitmap m_colour, m_mask;
  int m_width = 0, m_height = 0, m_frameWidth = 0;
};

}  // namespace vorbin
