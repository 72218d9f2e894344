// Painting of the bar's areas into the bar image: frame, caption boxes,
// function-key row, logo, mode buttons, readouts, scroll buttons, command
// buttons, grid frame and single buttons, from the layout, the colour slots,
// the strips and a few plain state values that the bar window hands in.
#pragma once
#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "launcher/render/bar_layout.h"
#include "launcher/render/colour_slots.h"
#include "launcher/render/command_labels.h"
#include "launcher/render/draw_image.h"
#include "launcher/render/image_strip.h"
#include "launcher/render/slot_pictures.h"
#include "launcher/resources/product_name.h"

namespace vorbin {

// What painting draws with: shades, pictures and the launcher's strips.
struct PaintKit {
  BarColours colours;
  const SlotPictures* pictures = nullptr;
  ImageStrip modeGlyphs;      // 187, Bord
  ImageStrip keyUp, keyDown;  // 289, 290, FunctionKey; frame width key width - 1
  ImageStrip lamps;           // 291, FunctionKey and Light

  // Loads the strips from module for the layout's key width.
  bool loadStrips(HINSTANCE module, const BarLayout& layout);
  const ColourSlot& slot(SlotId id) const { return colours[id]; }
  HBITMAP picture(SlotId id) const { return pictures ? pictures->picture(id) : nullptr; }
  // The tile origin of an area: the bar's origin when the slot shares Bord's picture.
  POINT tileOrigin(SlotId id, POINT areaOrigin) const;
};

// The state the painting reads from the bar window.
struct BarPaintState {
  bool taskMode = false;
  int displayMode = 0;                                   // GroupDispMode or TaskDispMode
  std::array<int, 3> dispModeButtons{0, 1, 2};           // DispModeButton
  bool taskDetails = false;                              // DispTaskDetails
  std::array<int, 8> keyStates{1, 1, 1, 1, 1, 1, 1, 1};  // bit 0 set: released
  std::array<int, 3> lampStates{};                       // TASK, TOP, LOCK: 0 off, 1 on
  bool maximized = false;
  int ellipseWidth = 25, flatRatio = 0;
  std::wstring caption = kProductName;
  RECT clockBox{}, indicatorBox{};  // placed by the bar window
  std::wstring clockText, indicatorText;
  Rgb indicatorColour{0, 255, 255};
  std::vector<CommandLabel> commandLabels;  // task mode
  bool is24Hour = false;
  RECT amPmBox{};  // beside the clock, for the 12-hour clock
  int hour = 0;
};

void paintFrame(HDC dc, const RECT& bar, Rgb bordBase, int ellipseWidth, int flatRatio);
void paintCaptionBoxes(HDC dc, const BarLayout& l, const PaintKit& kit, bool maximized);
void paintFunctionRow(HDC dc, const BarLayout& l, const PaintKit& kit, const BarPaintState& s);
void paintLogo(HDC dc, const BarLayout& l, const PaintKit& kit);
void paintModeButtons(HDC dc, const BarLayout& l, const PaintKit& kit, const BarPaintState& s);
// A clock or indicator readout: box darkened, text right-aligned in colour.
void paintReadout(HDC dc, const RECT& box, const BarLayout& l, const PaintKit& kit, const std::wstring& text,
                  Rgb colour);
// The a.m./p.m. mark of the 12-hour clock.
void paintAmPm(HDC dc, const RECT& box, const BarLayout& l, const PaintKit& kit, int hour);
void paintGroupScrollButton(HDC dc, const RECT& box, const PaintKit& kit, bool up);
void paintCommandButtons(HDC dc, const BarLayout& l, const PaintKit& kit,
                         const std::vector<CommandLabel>& labels);
void paintGridFrame(HDC dc, const BarLayout& l, const PaintKit& kit);

// One application button in its cell.
struct ButtonPaint {
  RECT cell{};
  RECT highlightBox{};          // the whole cell, or a square around the image
  RECT imageRect{};             // where the image goes (its size is the drawing size)
  std::optional<RECT> nameBox;  // absolute; none for image-only cells
  std::wstring name;
  const IconImage* image = nullptr;
  bool highlighted = false;            // selected, hot or pressed
  std::optional<Rgb> highlightColour;  // ActTitle for selected buttons of the activation area
  int actColorAlpha = 128;
  bool border = true;
  int imageWeight = 0;
  bool tint = false;
  bool centred = true;  // several columns
  int nameLines = 2;
  POINT tileOrigin{};
};
// Returns whether the name had to be shortened.
bool paintButton(HDC dc, const PaintKit& kit, const ButtonPaint& b);

// The group tabs (or task entries) in the tab area.
struct TabEntry {
  std::wstring title;
  const IconImage* image = nullptr;
  HICON icon = nullptr;  // a task entry's window icon, drawn when there is no image
  bool marked = false;   // a task entry the user marked: framed
  bool topmost = false;  // a task entry's window stays on top: a corner mark
  std::wstring details{};  // a task entry's details line, below the title when the row has room
};
struct TabsPaint {
  std::vector<TabEntry> tabs;  // tab n (from 1) is tabs[n - 1]
  int current = 0;             // highlighted tab number, 0 for none
  int pressed = 0;
  std::optional<Rgb> highlightColour;  // ActTitle when the activation mode highlights tabs
  int actColorAlpha = 128;
  int imageWeight = 128;  // NonActAlpha_gp
  int scrollOffset = 0;
  bool framed = true;
};
// Returns the numbers of the tabs whose titles had to be shortened.
std::vector<int> paintTabs(HDC dc, const BarLayout& l, const PaintKit& kit, const TabLayout& layout,
                           const TabsPaint& t);

// The whole bar (client rectangle 0,0..width,height) except the group display contents.
void paintWholeBar(HDC dc, int width, int height, const BarLayout& l, const PaintKit& kit,
                   const BarPaintState& s);
// Its two parts: what surrounds the group display (frame, caption, readouts,
// function keys, logo, mode buttons), and the ground of the group display
// itself (tab area, grid, quick list, scroll column and their frames, or the
// command buttons in task mode), which the contents are drawn on. The ground
// can be painted again alone over a complete bar.
void paintBarChrome(HDC dc, int width, int height, const BarLayout& l, const PaintKit& kit,
                    const BarPaintState& s);
void paintContentGround(HDC dc, const BarLayout& l, const PaintKit& kit, const BarPaintState& s);

}  // namespace vorbin
