// Display facts measured once at start-up (depth, overlap-safe copies, which
// blending to use), and the 32-bit pixels of a DC area: read, write, and the
// kept copy of an area that is blended back after drawing.
#pragma once
#include <windows.h>

#include <vector>

#include "launcher/render/blend.h"

namespace vorbin {

struct DisplayFacts {
  int bitsPerPixel = 32;
  int planes = 1;
  bool overlapSafe = false;  // a copy onto an overlapping area of the same DC reads a snapshot
  BlendPath blend = BlendPath::kOwn;
};

// Measures the display (overlap test in a 1x3 bitmap, timing of both blends).
DisplayFacts probeDisplay();
// The facts of this run: probed on first use.
const DisplayFacts& displayFacts();
// Tests pin the blending path to check its arithmetic.
void setBlendPath(BlendPath path);

// The pixels of an area of a DC, top-down, 0x00RRGGBB.
std::vector<Pixel> readPixels(HDC dc, const RECT& area);
void writePixels(HDC dc, const RECT& area, const std::vector<Pixel>& pixels);

// A copy of an area taken before drawing into it.
class KeptArea {
 public:
  KeptArea(HDC dc, const RECT& area);
  // Blends the copy back over what was drawn since, at weight 0..255 of the copy.
  void blendBack(HDC dc, int weight) const;
  const std::vector<Pixel>& pixels() const { return m_pixels; }
  const RECT& area() const { return m_area; }

 private:
  RECT m_area;
  std::vector<Pixel> m_pixels;
};

}  // namespace vorbin
