// The bar's fonts: one font maker for every font of a drawing step, and the
// font and system metrics that the layout is computed from.
#pragma once
#include <windows.h>

#include <string>

#include "framework/gdi.h"
#include "launcher/render/bar_layout.h"

namespace vorbin {

// The settings that choose the button font.
struct FontSettings {
  bool userFont = false;   // UserFont
  std::wstring fontName;   // FontName
  int userFontSize = 9;    // UserFontSize, points
  bool bold = false;       // IsFontBold
  bool italic = false;     // IsFontItalic
  int fontSize = 0;        // FontSize, -2..2
  bool smallFont = false;  // SmallFont
};

// Makes a font (height changed by adjustTenths of a point; weight -1 by height)
// and keeps it selected into the DC until destroyed. Fonts are made once and
// kept for the rest of the run (a bar paint selects one per button; making
// and realising a font each time cost more than the drawing). Fonts are made
// on the bar's own thread only.
class FontMaker {
 public:
  FontMaker(HDC dc, int height, int adjustTenths, int weight, bool italic, const wchar_t* face);
  // From a complete description, with the height adjusted.
  FontMaker(HDC dc, LOGFONTW font, int adjustTenths);
  ~FontMaker();
  FontMaker(const FontMaker&) = delete;
  FontMaker& operator=(const FontMaker&) = delete;
  HFONT font() const { return m_font; }

 private:
  void select(LOGFONTW lf, int adjustTenths);
  HDC m_dc;
  fw::Font m_ownFont;  // only when the kept fonts are full
  HFONT m_font = nullptr;
  HGDIOBJ m_old = nullptr;
};

// Pixels per logical inch of the screen, asked once.
int screenDpiY();
// The DPI a window is shown at: its monitor's where the system tells
// (GetDpiForWindow, looked up at run time), otherwise the screen's.
int windowDpi(HWND window);
// The DPI the bar's fonts are made for (their point adjustments are worked
// out at it); the screen's until the bar sets its own.
int barDpi();
void setBarDpi(int dpi);
// A system size (GetSystemMetrics index) at a DPI: asked for that DPI where
// the system can answer, otherwise the screen's value scaled.
int systemMetricAt(int index, int dpi);

// The system's interface font (DEFAULT_GUI_FONT) with its height for dpi.
LOGFONTW interfaceFontAt(int dpi);

// The button font before its size adjustment: the user's font or the system's
// icon-title font, its height for dpi.
LOGFONTW baseButtonFont(const FontSettings& s, int dpi);

// Measures fonts and system sizes for the layout at a DPI (0: the bar's).
LayoutMetrics measureLayoutMetrics(HDC dc, const FontSettings& s, int ellipseWidth, int flatRatio,
                                   int scrollBtnSize, int dpi = 0);

}  // namespace vorbin
