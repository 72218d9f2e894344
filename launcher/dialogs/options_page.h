// What the behaviour and timing pages share with their options sheet: the
// settings copy they edit and the sheet's notices.
#pragma once
#include <windows.h>

#include <functional>

#include "launcher/model/settings.h"

namespace vorbin {

struct OptionsPageLink {
  Settings& settings;  // the sheet's copy; the bar's live settings stay untouched until OK
  int liveHotKey;      // the key the bar holds now, which the page need not test
  HINSTANCE resources;
  std::function<void()> applied;  // a page took its values on OK
  std::function<void()> ending;   // OK or Cancel was pressed: the sheet ends at the next message
};

// Paints the bitmap stretched over the rectangle (the button face when there is none).
void drawStretched(HDC dc, const RECT& r, HBITMAP bitmap);

}  // namespace vorbin
