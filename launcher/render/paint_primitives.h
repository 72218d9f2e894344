// The drawing primitives of the bar: area fill (colour or tiled picture, with an
// optional blended highlight), outline, bevel, embossed label and arrow glyph.
#pragma once
#include <windows.h>

#include <optional>
#include <string_view>

#include "launcher/render/colour_slots.h"

namespace vorbin {

inline COLORREF toColorRef(Rgb c) { return RGB(c.r, c.g, c.b); }

// Fills area from the slot: its picture tiled on a grid anchored at tileOrigin,
// or its base colour. With a highlight colour the area is then filled with it
// and the previous contents blended back at highlightAlpha (0 = plain highlight,
// in which case the base is not painted at all).
void areaFill(HDC dc, const RECT& area, POINT tileOrigin, const ColourSlot& slot, HBITMAP picture,
              std::optional<Rgb> highlight = std::nullopt, int highlightAlpha = 0);
// Tiles a picture over area with the tile grid anchored at origin.
void tilePicture(HDC dc, const RECT& area, POINT origin, HBITMAP picture);

// A one-pixel rectangle along the inside of area, left/top moved by a and
// right/bottom by b; black when no colour is given.
void outline(HDC dc, const RECT& area, int a, int b, std::optional<Rgb> colour = std::nullopt);
// Light left and top, dark right and bottom (one pixel inside the edges).
// Nothing when enable (a slot's level) is 0; a missing colour skips its half.
void bevel(HDC dc, const RECT& area, int a, int b, std::optional<Rgb> light, std::optional<Rgb> dark,
           int enable);

struct LabelStyle {
  int maxLines = 1;
  bool centred = true;   // else left-aligned
  bool vcentred = true;  // else from the top
};
// Draws text fitted into area with the DC's font, transparent, first in the
// slot's relief colour (when its level is not 0) and then in its base colour
// (black without a slot). True when the text had to be shortened.
bool embossedLabel(HDC dc, std::wstring_view text, const RECT& area, const LabelStyle& style,
                   const ColourSlot* slot);

// A small triangle of three lines centred in area, pointing up or down, half
// as wide as halfWidth on each side.
void arrowGlyph(HDC dc, const RECT& area, bool up, int halfWidth, const ColourSlot& slot);

}  // namespace vorbin
