// Layout of the bar's areas: from a handful of font and system metrics to every
// rectangle the painting and the hit tests use. Pure integer arithmetic.
#pragma once

#include <array>
#include <optional>

namespace vorbin {

struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// What the layout needs from fonts, the system and the settings.
struct LayoutMetrics {
  int textHeight = 16;           // t: text height of the button font
  int ascent = 13;               // a: ascent of the button font
  int tabTextHeight = 16;        // t2: text height of the button font without SmallFont
  int menuAscent = 11;           // ascent of the menu font made half a point smaller
  int buttonFontHeight = -12;    // the button font's height value (its absolute value counts)
  int captionButtonHeight = 18;  // the system's caption-button height
  int frameWidth = 4, frameHeight = 4;
  int scrollBarWidth = 16;       // height of the group scroll buttons
  int interfaceFontHeight = 16;  // text height of the default interface font
  int ellipseWidth = 25;         // EllipseWidth, 0..1000
  int flatRatio = 0;             // FlatRatio, -100..100
  int scrollBtnSize = 4;         // ScrollBtnSize, 1..8
  int groupScrollBarWidth = 0;   // the group scroll bar beside the tabs; 0 = none
  int commandTextWidth = 0;      // the widest command button label in the interface font; 0 = unknown
  // Pixels per inch of the bar's monitor: every fixed size of the layout is
  // designed at 96 and scaled to this. The font and system metrics above are
  // already at this DPI; EllipseWidth is a size at 96.
  int dpi = 96;
};

// Font size adjustments in tenths of a point.
int buttonFontAdjustment(int fontSize, bool smallFont);
int tabFontAdjustment(int fontSize);
// Weight -1 means semi-bold for small heights and normal above.
int fontWeight(int weight, int height);
// A font height (negative: character height, positive: cell height, in pixels)
// changed by tenths of a point at dpi pixels per inch; never below one pixel.
int adjustedFontHeight(int height, int adjustTenths, int dpi);

int buttonHeight(int textHeight, int dpi = 96);
int labelHeight(int menuAscent, int buttonFontHeight, int dpi = 96);
// Horizontal and vertical size of the frame's corner ellipse.
struct CornerSize {
  int width = 0, height = 0;
};
CornerSize cornerEllipse(int ellipseWidth, int flatRatio);
// How far the rounded frame's corner cuts into the bar (before the system frame).
int roundedInset(int ellipseWidth, int flatRatio);

inline constexpr int kFunctionKeyCount = 8;
inline constexpr int kModeButtonCount = 7;
inline constexpr int kCommandButtonCount = 9;

struct BarLayout {
  // Metrics.
  int t = 0, t2 = 0, a = 0;
  int H = 0, h = 0;  // button height and half height (also the quick list's width)
  int labelH = 0;    // L: height of the function-key label line
  int c = 0;         // caption box size
  int x0 = 0, y0 = 0;
  int width = 0;         // W
  int keyWidth = 0;      // K
  int logoWidth = 0;     // G
  int modeWidth = 0;     // M
  int commandWidth = 0;  // C
  int clockFontHeight = 0;
  int scrollBtnSize = 4;
  int dpi = 96;           // the DPI the layout was made for
  int ellipseWidth = 25;  // the frame's corner ellipse at this DPI

  PixelRect captionText, controlBox;
  std::array<PixelRect, 2> captionBoxes;
  PixelRect labelLine, functionRow;
  std::array<PixelRect, kFunctionKeyCount> functionKeys;
  PixelRect logoBox;
  std::array<PixelRect, kModeButtonCount> modeButtons;
  PixelRect tabArea;
  std::array<PixelRect, 2> groupScroll;
  // With a group scroll bar (group mode only) the tab area gives up its right
  // part to it and the drawn scroll buttons are empty.
  PixelRect groupScrollBar;
  PixelRect grid;
  PixelRect scrollNumber, scrollUp, scrollDown;
  PixelRect quickList;
  std::array<PixelRect, kCommandButtonCount> commandButtons;
  int visibleRows = 0;
};

// The whole layout for a client height; in task mode the tab area makes room
// for the command buttons.
BarLayout computeBarLayout(const LayoutMetrics& m, bool taskMode, int clientHeight);
// Visible rows of buttons for a client height.
int visibleRows(const BarLayout& l, int clientHeight);
// The smallest client height that shows the given number of rows.
int clientHeightForRows(const BarLayout& l, int rows);

// Cells of the application grid by a group's button mode (0 large, 1 list, 2 small).
struct CellLayout {
  int columns = 1;
  int cellWidth = 0, cellHeight = 0;
  int slotsPerH = 1;  // cell rows per button height
  int imageSize = 32;
  int imageX = 0, imageY = 0;
  std::optional<PixelRect> nameBox;  // relative to the cell
};
CellLayout gridCells(const BarLayout& l, int buttonMode);
int visibleSlots(const BarLayout& l, const CellLayout& cells);
PixelRect gridCellRect(const BarLayout& l, const CellLayout& cells, int slot);
// Quick list (group 0): h square cells, images of 2H/6 centred.
PixelRect quickCellRect(const BarLayout& l, int slot);
PixelRect quickImageRect(const BarLayout& l, int slot);

// Where a button's parts go, in bar coordinates.
struct ButtonGeometry {
  PixelRect cell, image;
  std::optional<PixelRect> name;
};
ButtonGeometry gridButton(const BarLayout& l, const CellLayout& cells, int slot);
ButtonGeometry quickButton(const BarLayout& l, int slot);

// Group tabs by display mode.
struct TabLayout {
  int perRow = 1;
  int tabWidth = 0, tabHeight = 0;
  int imageSize = 32;
  std::optional<int> textOffset;
};
TabLayout tabLayout(const BarLayout& l, int displayMode);
// Tab n (from 1: the quick group has no tab), shifted up by the scroll offset.
PixelRect tabRect(const BarLayout& l, const TabLayout& tabs, int n, int scrollOffset);

}  // namespace vorbin
