// Display probe, pixel access to DC areas and blending of kept areas.
#include "launcher/render/dc_pixels.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "framework/gdi.h"

namespace vorbin {

namespace {

using AlphaBlendFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);

// The system's blend lives in gdi32 (msimg32's AlphaBlend only forwards to
// it); calling it there spares loading msimg32 for the first paint.
AlphaBlendFn systemAlphaBlend() { return &GdiAlphaBlend; }

// A top-down 32-bit DIB section selected into its own memory DC.
class PixelBuffer {
 public:
  PixelBuffer(int w, int h) : m_w(std::max(w, 0)), m_h(std::max(h, 0)) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = std::max(m_w, 1);
    bmi.bmiHeader.biHeight = -std::max(m_h, 1);
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    m_bitmap.reset(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &m_bits, nullptr, 0));
    if (m_bitmap) m_old = SelectObject(m_dc, m_bitmap.get());
  }
  ~PixelBuffer() {
    if (m_old) SelectObject(m_dc, m_old);
  }
  PixelBuffer(const PixelBuffer&) = delete;
  PixelBuffer& operator=(const PixelBuffer&) = delete;
  bool ok() const { return m_bits != nullptr; }
  HDC dc() const { return m_dc; }
  Pixel* bits() const { return static_cast<Pixel*>(m_bits); }
  std::size_t count() const { return static_cast<std::size_t>(m_w) * m_h; }

 private:
  int m_w, m_h;
  fw::MemoryDC m_dc;
  fw::Bitmap m_bitmap;
  void* m_bits = nullptr;
  HGDIOBJ m_old = nullptr;
};

int width(const RECT& r) { return std::max<int>(0, r.right - r.left); }
int height(const RECT& r) { return std::max<int>(0, r.bottom - r.top); }

std::optional<BlendPath>& pinnedPath() {
  static std::optional<BlendPath> path;
  return path;
}

bool overlapCopyIsSnapshot() {
  PixelBuffer b(1, 3);
  if (!b.ok()) return false;
  b.bits()[0] = 0;
  b.bits()[1] = 0x00FFFFFF;
  b.bits()[2] = 0;
  GdiFlush();
  BitBlt(b.dc(), 0, 1, 1, 2, b.dc(), 0, 0, SRCCOPY);
  GdiFlush();
  return (b.bits()[2] & 0x00FFFFFF) != 0;
}

std::int64_t ticksNow() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

BlendPath measureBlendPath() {
  AlphaBlendFn system = systemAlphaBlend();
  if (!system) return BlendPath::kOwn;
  constexpr int kSide = 32;
  PixelBuffer dst(kSide, kSide), src(kSide, kSide);
  if (!dst.ok() || !src.ok()) return BlendPath::kOwn;
  std::fill_n(src.bits(), src.count(), 0x00FF8040u);
  const RECT area{0, 0, kSide, kSide};

  const std::int64_t t0 = ticksNow();
  system(dst.dc(), 0, 0, kSide, kSide, src.dc(), 0, 0, kSide, kSide, {AC_SRC_OVER, 0, 128, 0});
  GdiFlush();
  const std::int64_t t1 = ticksNow();
  std::vector<Pixel> kept = readPixels(src.dc(), area), drawn = readPixels(dst.dc(), area);
  blendKept(kept, drawn, 128);
  writePixels(dst.dc(), area, drawn);
  const std::int64_t t2 = ticksNow();
  return chooseBlendPath(true, t2 - t1, t1 - t0);
}

}  // namespace

DisplayFacts probeDisplay() {
  DisplayFacts f;
  fw::WindowDC screen(nullptr);
  f.bitsPerPixel = GetDeviceCaps(screen, BITSPIXEL);
  f.planes = GetDeviceCaps(screen, PLANES);
  f.overlapSafe = overlapCopyIsSnapshot();
  f.blend = measureBlendPath();
  return f;
}

const DisplayFacts& displayFacts() {
  static DisplayFacts facts = probeDisplay();
  if (pinnedPath()) facts.blend = *pinnedPath();
  return facts;
}

void setBlendPath(BlendPath path) {
  pinnedPath() = path;
  displayFacts();
}

std::vector<Pixel> readPixels(HDC dc, const RECT& area) {
  PixelBuffer b(width(area), height(area));
  if (!b.ok() || b.count() == 0) return {};
  BitBlt(b.dc(), 0, 0, width(area), height(area), dc, area.left, area.top, SRCCOPY);
  GdiFlush();
  std::vector<Pixel> out(b.bits(), b.bits() + b.count());
  for (Pixel& p : out) p &= 0x00FFFFFF;
  return out;
}

void writePixels(HDC dc, const RECT& area, const std::vector<Pixel>& pixels) {
  PixelBuffer b(width(area), height(area));
  if (!b.ok() || b.count() == 0 || pixels.size() < b.count()) return;
  std::memcpy(b.bits(), pixels.data(), b.count() * sizeof(Pixel));
  GdiFlush();
  BitBlt(dc, area.left, area.top, width(area), height(area), b.dc(), 0, 0, SRCCOPY);
}

KeptArea::KeptArea(HDC dc, const RECT& area) : m_area(area), m_pixels(readPixels(dc, area)) {}

void KeptArea::blendBack(HDC dc, int weight) const {
  weight = std::clamp(weight, 0, 255);
  if (weight == 0 || m_pixels.empty()) return;
  const int w = width(m_area), h = height(m_area);
  if (displayFacts().blend == BlendPath::kSystem) {
    PixelBuffer src(w, h);
    if (src.ok()) {
      std::memcpy(src.bits(), m_pixels.data(), src.count() * sizeof(Pixel));
      GdiFlush();
      systemAlphaBlend()(dc, m_area.left, m_area.top, w, h, src.dc(), 0, 0, w, h,
                         {AC_SRC_OVER, 0, static_cast<BYTE>(weight), 0});
      return;
    }
  }
  std::vector<Pixel> drawn = readPixels(dc, m_area);
  blendKept(m_pixels, drawn, weight);
  writePixels(dc, m_area, drawn);
}

}  // namespace vorbin
