// Recolouring palettes of image strips.
#include "launcher/render/strip_palette.h"

namespace vorbin {

Palette16 stripColourPalette(const Palette16& resource, const ColourSlot* first, const ColourSlot* second) {
  Palette16 p = resource;
  p[kStripTransparent] = {0, 0, 0};
  if (first) {
    p[kStripLight1] = first->light[1];
    p[kStripLight3] = first->light[3];
    p[kStripDark1] = first->dark[1];
    p[kStripDark3] = first->dark[3];
  }
  if (second) {
    p[kStripBase] = second->base;
    p[kStripDark2] = second->dark[2];
  }
  return p;
}

Palette16 stripMaskPalette() {
  Palette16 p{};
  p[kStripTransparent] = {255, 255, 255};
  return p;
}

}  // namespace vorbin
