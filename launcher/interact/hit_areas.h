// The bar's hit areas: which area and which index inside it lie under a point,
// packed as a hit code (area in the top byte, index in the low 24 bits).
#pragma once

#include <array>
#include <cstdint>

#include "launcher/render/bar_layout.h"

namespace vorbin {

namespace hit_area {
inline constexpr int kNone = 0;
inline constexpr int kTabs = 1;
inline constexpr int kGrid = 2;
inline constexpr int kQuick = 3;
inline constexpr int kFunctionKeys = 4;
inline constexpr int kCommands = 5;
inline constexpr int kLogo = 7;
inline constexpr int kModes = 8;
inline constexpr int kLoad = 9;
inline constexpr int kClock = 10;
inline constexpr int kCaptionBoxes = 11;
inline constexpr int kControlBox = 12;
inline constexpr int kCaption = 13;
inline constexpr int kListScroll = 14;   // index 1 up, 2 down
inline constexpr int kGroupScroll = 15;  // index 0 up, 1 down
}  // namespace hit_area

uint32_t hitCode(int area, int index);
int hitCodeArea(uint32_t code);
// The index with its sign: -1 survives the packing.
int hitCodeIndex(uint32_t code);

using HitRect = PixelRect;

// Everything the hit test needs from the layout and the bar's state.
struct HitGeometry {
  HitRect captionRow, controlBox;
  std::array<HitRect, 2> captionBoxes;
  std::array<HitRect, 8> functionKeys;
  HitRect logoBox;
  std::array<HitRect, 7> modeButtons;
  HitRect loadBox, clockBox;
  HitRect tabArea;
  std::array<HitRect, 2> groupScroll;
  bool groupScrollShown = false;
  HitRect grid, scrollUp, scrollDown, quickList;
  std::array<HitRect, 9> commandButtons;
  bool taskMode = false;
  // Cells of the application grid (the shown group's button mode).
  int gridColumns = 1, cellWidth = 0, cellHeight = 0;
  int quickCellHeight = 0;  // h
  // Tabs: tab n (from 1) at column (n-1) mod perRow, row (n-1) div perRow.
  int tabsPerRow = 1, tabWidth = 0, tabHeight = 0, tabScrollOffset = 0;
  int tabCount = 0;  // tabs that exist (groups without the quick group, or task entries)
};

struct Hit {
  int area = hit_area::kNone;
  int index = 0;  // -1: inside the area but on no button or tab
  uint32_t code() const { return hitCode(area, index); }
};

Hit hitTest(const HitGeometry& g, int x, int y);

}  // namespace vorbin
