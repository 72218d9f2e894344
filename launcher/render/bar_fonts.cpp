// Fonts of the bar and the metrics measured from them.
#include "launcher/render/bar_fonts.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <vector>

#include "framework/trace.h"
#include "launcher/render/dpi_scale.h"

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

namespace {

// Functions of newer systems, looked up once (all exist in Windows 10 1607 and Wine 8).
struct DpiFunctions {
  UINT(WINAPI* dpiForWindow)(HWND) = nullptr;
  int(WINAPI* metricForDpi)(int, UINT) = nullptr;
  BOOL(WINAPI* parametersForDpi)(UINT, UINT, void*, UINT, UINT) = nullptr;
};
const DpiFunctions& dpiFunctions() {
  static const DpiFunctions functions = [] {
    DpiFunctions f;
    if (HMODULE user = GetModuleHandleW(L"user32.dll")) {
      f.dpiForWindow = reinterpret_cast<decltype(f.dpiForWindow)>(
          reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
      f.metricForDpi = reinterpret_cast<decltype(f.metricForDpi)>(
          reinterpret_cast<void*>(GetProcAddress(user, "GetSystemMetricsForDpi")));
      f.parametersForDpi = reinterpret_cast<decltype(f.parametersForDpi)>(
          reinterpret_cast<void*>(GetProcAddress(user, "SystemParametersInfoForDpi")));
    }
    return f;
  }();
  return functions;
}

int g_barDpi = 0;

// A system parameter that holds a font or metrics, for a DPI; false when neither way answered.
bool systemParameterAt(UINT action, UINT size, void* value, int dpi) {
  const DpiFunctions& f = dpiFunctions();
  if (f.parametersForDpi && f.parametersForDpi(action, size, value, 0, static_cast<UINT>(dpi))) return true;
  if (!SystemParametersInfoW(action, size, value, 0)) return false;
  // The screen's answer, scaled to the DPI.
  auto scaleFont = [&](LOGFONTW& lf) { lf.lfHeight = MulDiv(lf.lfHeight, dpi, screenDpiY()); };
  if (action == SPI_GETICONTITLELOGFONT) {
    scaleFont(*static_cast<LOGFONTW*>(value));
  } else if (action == SPI_GETNONCLIENTMETRICS) {
    auto* ncm = static_cast<NONCLIENTMETRICSW*>(value);
    scaleFont(ncm->lfMenuFont);
  }
  return true;
}

}  // namespace

int windowDpi(HWND window) {
  const DpiFunctions& f = dpiFunctions();
  if (window && f.dpiForWindow) {
    const UINT dpi = f.dpiForWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return screenDpiY();
}

int barDpi() { return g_barDpi > 0 ? g_barDpi : screenDpiY(); }

void setBarDpi(int dpi) { g_barDpi = dpi > 0 ? dpi : 0; }

int systemMetricAt(int index, int dpi) {
  const DpiFunctions& f = dpiFunctions();
  if (dpi <= 0) dpi = barDpi();
  const auto at = [&](int d) {
    return f.metricForDpi ? f.metricForDpi(index, static_cast<UINT>(d))
                          : MulDiv(GetSystemMetrics(index), d, screenDpiY());
  };
  int value = at(dpi);
  // Wine keeps the drag distances in pixels at every DPI: at 200 % a drag
  // would start after half the hand's movement it takes at 100 %.
  if (index == SM_CXDRAG || index == SM_CYDRAG) value = std::max(value, scaleToDpi(at(kBaseDpi), dpi));
  return value;
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
    lf.lfHeight = adjustedFontHeight(lf.lfHeight, adjustTenths, barDpi());
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

LOGFONTW interfaceFontAt(int dpi) {
  // The stock font is made for the screen's DPI.
  LOGFONTW lf{};
  if (!GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf)) {
    lf.lfHeight = -MulDiv(8, screenDpiY(), 72);
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, L"MS Shell Dlg", LF_FACESIZE - 1);
  }
  lf.lfHeight = MulDiv(lf.lfHeight, dpi > 0 ? dpi : barDpi(), screenDpiY());
  return lf;
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
  if (!systemParameterAt(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, dpi)) {
    FW_TRACE_FAILURE("SystemParametersInfoW");
    lf = LOGFONTW{};
    lf.lfHeight = -MulDiv(9, dpi, 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
  }
  return lf;
}

LayoutMetrics measureLayoutMetrics(HDC dc, const FontSettings& s, int ellipseWidth, int flatRatio,
                                   int scrollBtnSize, int dpi) {
  LayoutMetrics m;
  if (dpi <= 0) dpi = barDpi();
  m.dpi = dpi;
  // The fonts' point adjustments are worked out at the layout's DPI.
  const int keptDpi = g_barDpi;
  g_barDpi = dpi;
  const LOGFONTW button = baseButtonFont(s, dpi);
  const TEXTMETRICW bt = metricsOf(dc, button, buttonFontAdjustment(s.fontSize, s.smallFont));
  m.textHeight = bt.tmHeight;
  m.ascent = bt.tmAscent;
  m.tabTextHeight = metricsOf(dc, button, tabFontAdjustment(s.fontSize)).tmHeight;
  m.buttonFontHeight =
      adjustedFontHeight(button.lfHeight, buttonFontAdjustment(s.fontSize, s.smallFont), dpi);

  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  if (systemParameterAt(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, dpi)) {
    m.menuAscent = metricsOf(dc, ncm.lfMenuFont, -5).tmAscent;
  } else {
    FW_TRACE_FAILURE("SystemParametersInfoW");
  }
  m.captionButtonHeight = systemMetricAt(SM_CYSIZE, dpi);
  m.frameWidth = systemMetricAt(SM_CXFRAME, dpi);
  m.frameHeight = systemMetricAt(SM_CYFRAME, dpi);
  m.scrollBarWidth = systemMetricAt(SM_CXVSCROLL, dpi);
  m.interfaceFontHeight = metricsOf(dc, interfaceFontAt(dpi), 0).tmHeight;
  g_barDpi = keptDpi;
  m.ellipseWidth = ellipseWidth;
  m.flatRatio = flatRatio;
  m.scrollBtnSize = scrollBtnSize;
  return m;
}

}  // namespace vorbin
