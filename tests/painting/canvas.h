// A display-format memory bitmap to paint into and read back by pixel, as the
// bar's own image is; shared by the painting tests under Wine.
#pragma once
#include <windows.h>

#include <string>

#include "framework/gdi.h"
#include "launcher/render/blend.h"
#include "launcher/render/dc_pixels.h"
#include "launcher/render/paint_primitives.h"
#include "tests/painting/print_helpers.h"

namespace vorbin {

class Canvas {
 public:
  Canvas(int w, int h) : m_w(w), m_h(h), m_screen(nullptr), m_dc(m_screen) {
    m_bitmap.reset(CreateCompatibleBitmap(m_screen, w, h));
    m_old = SelectObject(m_dc, m_bitmap.get());
  }
  ~Canvas() { SelectObject(m_dc, m_old); }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return m_dc; }
  int width() const { return m_w; }
  int height() const { return m_h; }
  void fill(Rgb c, RECT r) {
    fw::Brush b(CreateSolidBrush(toColorRef(c)));
    FillRect(m_dc, &r, b.get());
  }
  Rgb at(int x, int y) const {
    const COLORREF c = GetPixel(m_dc, x, y);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
  }
  int count(Rgb c, RECT r) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += at(x, y) == c;
    return n;
  }

 private:
  int m_w, m_h;
  fw::WindowDC m_screen;
  fw::MemoryDC m_dc;
  fw::Bitmap m_bitmap;
  HGDIOBJ m_old = nullptr;
};

// The kept colour at weight a over the drawn one, as the own blending computes it.
inline Rgb mixed(Rgb kept, Rgb drawn, int a) {
  auto ch = [&](int k, int d) { return static_cast<std::uint8_t>(blendChannel(k, d, a)); };
  return {ch(kept.r, drawn.r), ch(kept.g, drawn.g), ch(kept.b, drawn.b)};
}

}  // namespace vorbin
