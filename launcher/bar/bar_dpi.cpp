// The bar on a monitor of another DPI: new fonts, a new layout and the place
// the system suggests (WM_DPICHANGED, also posted by the bar to itself when it
// finds itself shown at a DPI its layout was not made for).
#include "launcher/bar/bar_window.h"

#include "launcher/render/bar_fonts.h"
#include "launcher/render/dpi_scale.h"

namespace vorbin {

LRESULT CBarWindow::onDpiChanged(WPARAM wParam, LPARAM lParam) {
  const int oldDpi = m_view.dpi();
  int newDpi = HIWORD(wParam);
  if (newDpi <= 0) newDpi = windowDpi(m_hwnd);
  if (newDpi == oldDpi || !m_hwnd) return 0;
  RECT window{};
  GetWindowRect(m_hwnd, &window);
  const DpiRect current{window.left, window.top, window.right, window.bottom};
  // The system's suggestion keeps the bar on the monitor it moved to; a
  // message the bar posted itself comes without one.
  std::optional<DpiRect> suggested;
  if (lParam) {
    const RECT& r = *reinterpret_cast<const RECT*>(lParam);
    suggested = DpiRect{r.left, r.top, r.right, r.bottom};
  }
  const DpiRect t = rectForDpiChange(current, oldDpi, newDpi, suggested ? &*suggested : nullptr);
  m_view.setDpi(newDpi);
  m_view.forgetImage();
  m_view.computeLayout(t.bottom - t.top);
  m_placer.dpiChanged(RECT{t.left, t.top, t.right, t.bottom}, oldDpi, newDpi);
  m_placer.applyRegion(m_context.colors.ellipseWidth, m_context.settings.flatRatio);
  repaintAll();
  return 0;
}

}  // namespace vorbin
