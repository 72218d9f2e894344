// Fonts of the bar and the metrics measured from them.
#include "launcher/render/bar_fonts.h"

#include <cstring>
#include <cwchar>
#include <vector>

#include "framework/trace.h"

namespace vorbin {

namespace {

TEXTMETRICW metricsOf(HDC dc, const LOGFONTW& lf, int adjustTenths) {
  FontMaker font(dc, lf, adjustTenths);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  return tm;
}

// Fonts made so far, by their complete description.
struct KeptFont {
  LOGFONTW description;
  HFONT font;
};
std::vector<KeptFont>& keptFonts() {
  static std::vector<KeptFont> fonts;
  return fonts;
}
constexpr size_t kMaxKeptFonts = 64;

}  // namespace

int screenDpiY() {
  static const int dpi = [] {
    HDC screen = GetDC(nullptr);
    const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return value > 0 ? value : 96;
  }();
  return dpi;
}

FontMaker::FontMaker(HDC dc, int height, int adjustTenths, int weight, bool italic, const wchar_t* face)
    : m_dc(dc) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfItalic = italic ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, face ? face : L"", LF_FACESIZE - 1);
  select(lf, adjustTenths);
}

FontMaker::FontMaker(HDC dc, LOGFONTW font, int adjustTenths) : m_dc(dc) { select(font, adjustTenths); }

void FontMaker::select(LOGFONTW lf, int adjustTenths) {
  if (adjustTenths != 0 && lf.lfHeight != 0)
    lf.lfHeight = adjustedFontHeight(lf.lfHeight, adjustTenths, screenDpiY());
  lf.lfWeight = fontWeight(lf.lfWeight, std::abs(lf.lfHeight));
  // Nothing after the name's end may tell two equal descriptions apart.
  wchar_t face[LF_FACESIZE] = {};
  wcsncpy(face, lf.lfFaceName, LF_FACESIZE - 1);
  std::memcpy(lf.lfFaceName, face, sizeof face);
  std::vector<KeptFont>& kept = keptFonts();
  for (const KeptFont& k : kept) {
    if (std::memcmp(&k.description, &lf, sizeof lf) == 0) {
      m_font = k.font;
      break;
    }
  }
  if (!m_font) {
    HFONT made = CreateFontIndirectW(&lf);
    if (!made) FW_TRACE_FAILURE("CreateFontIndirectW");
    if (made && kept.size() < kMaxKeptFonts) {
      kept.push_back({lf, made});
    } else {
      m_ownFont.reset(made);
    }
    m_font = made;
  }
  if (m_font) m_old = SelectObject(m_dc, m_font);
}

FontMaker::~FontMaker() {
  if (m_old) SelectObject(m_dc, m_old);
}

LOGFONTW baseButtonFont(const FontSettings& s, int dpi) {
  LOGFONTW lf{};
  if (s.userFont && !s.fontName.empty()) {
    lf.lfHeight = -MulDiv(s.userFontSize > 0 ? s.userFontSize : 9, dpi, 72);
    lf.lfWeight = s.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = s.italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, s.fontName.c_str(), LF_FACESIZE - 1);
    return lf;
  }
  if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0)) {
    FW_TRACE_FAILURE("SystemParametersInfoW");
    lf = LOGFONTW{};
    lf.lfHeight = -MulDiv(9, dpi, 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
  }
  return lf;
}

LayoutMetrics measureLayoutMetrics(HDC dc, const FontSettings& s, int ellipseWidth, int flatRatio,
                                   int scrollBtnSize) {
  LayoutMetrics m;
  const int dpi = screenDpiY();
  const LOGFONTW button = baseButtonFont(s, dpi);
  const TEXTMETRICW bt = metricsOf(dc, button, buttonFontAdjustment(s.fontSize, s.smallFont));
  m.textHeight = bt.tmHeight;
  m.ascent = bt.tmAscent;
  m.tabTextHeight = metricsOf(dc, button, tabFontAdjustment(s.fontSize)).tmHeight;
  m.buttonFontHeight =
      adjustedFontHeight(button.lfHeight, buttonFontAdjustment(s.fontSize, s.smallFont), dpi);

  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
    m.menuAscent = metricsOf(dc, ncm.lfMenuFont, -5).tmAscent;
  } else {
    FW_TRACE_FAILURE("SystemParametersInfoW");
  }
  m.captionButtonHeight = GetSystemMetrics(SM_CYSIZE);
  m.frameWidth = GetSystemMetrics(SM_CXFRAME);
  m.frameHeight = GetSystemMetrics(SM_CYFRAME);
  m.scrollBarWidth = GetSystemMetrics(SM_CXVSCROLL);
  {
    fw::SelectScope gui(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    m.interfaceFontHeight = tm.tmHeight;
  }
  m.ellipseWidth = ellipseWidth;
  m.flatRatio = flatRatio;
  m.scrollBtnSize = scrollBtnSize;
  return m;
}

}  // namespace vorbin
