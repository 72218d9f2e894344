// Readable failure messages for the painting tests' value types.
#pragma once

#include <ostream>

#include "launcher/render/bar_layout.h"
#include "launcher/render/colour_slots.h"

namespace vorbin {
inline void PrintTo(const PixelRect& r, std::ostream* os) {
  *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
inline void PrintTo(const Rgb& c, std::ostream* os) {
  *os << "rgb(" << int{c.r} << ", " << int{c.g} << ", " << int{c.b} << ")";
}
inline void PrintTo(const Hls& c, std::ostream* os) {
  *os << "hls(" << c.hue << ", " << c.lightness << ", " << c.saturation << ")";
}
}  // namespace vorbin
