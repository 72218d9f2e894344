// Palettes of a recoloured image strip: the resource's 16 colours with the
// shading roles replaced by a colour slot's shades, and the mask palette.
#pragma once

#include <array>

#include "launcher/render/colour_slots.h"

namespace vorbin {

using Palette16 = std::array<Rgb, 16>;

// Palette indexes with roles.
inline constexpr int kStripTransparent = 12;
inline constexpr int kStripLight1 = 7, kStripLight3 = 14, kStripDark1 = 8, kStripDark3 = 4;
inline constexpr int kStripBase = 10, kStripDark2 = 2;

// The colour palette: transparent becomes black (so XOR leaves the destination),
// the first set fills 7/14/8/4 and the second 10/2; other entries stay.
Palette16 stripColourPalette(const Palette16& resource, const ColourSlot* first, const ColourSlot* second);
// White at the transparent index, black elsewhere.
Palette16 stripMaskPalette();

}  // namespace vorbin
