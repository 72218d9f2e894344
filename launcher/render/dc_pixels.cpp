// Display probe, pixel access to DC areas and blending of kept areas.
#include "launcher/render/dc_pixels.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

#include "framework/gdi.h"
#include "framework/trace.h"

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
    m_bitmap.reset(fw::createImageBitmap(std::max(m_w, 1), std::max(m_h, 1), &m_bits));
    if (m_bitmap) {
      m_old = SelectObject(m_dc, m_bitmap.get());
    } else {
      FW_TRACE_FAILURE("CreateDIBSection");
    }
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
  int width() const { return m_w; }
  int height() const { return m_h; }

 private:
  int m_w, m_h;
  fw::MemoryDC m_dc;
  fw::Bitmap m_bitmap;
  void* m_bits = nullptr;
  HGDIOBJ m_old = nullptr;
};

// A pixel buffer of at least the asked size, lent for one read, write or
// blend. Buffers are kept and lent again: every new one is a fresh memory
// mapping and a memory DC, which cost more than the small areas drawn with
// them. Rows of a lent buffer are width() pixels apart. Only the bar's own
// thread paints, so one spare buffer serves every caller.
class LentBuffer {
 public:
  LentBuffer(int w, int h) {
    Spare& spare = spareBuffer();
    // Nested loans and outsized areas get a buffer of their own.
    if (spare.lent || static_cast<long long>(w) * h > kMaxSparePixels) {
      m_own = std::make_unique<PixelBuffer>(w, h);
      m_buffer = m_own.get();
      return;
    }
    if (!spare.buffer || spare.buffer->width() < w || spare.buffer->height() < h) {
      const int keepW = spare.buffer ? std::max(w, spare.buffer->width()) : w;
      const int keepH = spare.buffer ? std::max(h, spare.buffer->height()) : h;
      spare.buffer = std::make_unique<PixelBuffer>(keepW, keepH);
    }
    spare.lent = true;
    m_buffer = spare.buffer.get();
  }
  ~LentBuffer() {
    if (!m_own) spareBuffer().lent = false;
  }
  LentBuffer(const LentBuffer&) = delete;
  LentBuffer& operator=(const LentBuffer&) = delete;
  PixelBuffer* operator->() const { return m_buffer; }

 private:
  static constexpr long long kMaxSparePixels = 1024 * 1024;
  struct Spare {
    std::unique_ptr<PixelBuffer> buffer;
    bool lent = false;
  };
  static Spare& spareBuffer() {
    static Spare spare;
    return spare;
  }
  std::unique_ptr<PixelBuffer> m_own;
  PixelBuffer* m_buffer = nullptr;
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
  const int w = width(area), h = height(area);
  if (w == 0 || h == 0) return {};
  LentBuffer b(w, h);
  if (!b->ok()) return {};
  BitBlt(b->dc(), 0, 0, w, h, dc, area.left, area.top, SRCCOPY);
  GdiFlush();
  std::vector<Pixel> out(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    const Pixel* row = b->bits() + static_cast<std::size_t>(y) * b->width();
    Pixel* to = out.data() + static_cast<std::size_t>(y) * w;
    for (int x = 0; x < w; ++x) to[x] = row[x] & 0x00FFFFFF;
  }
  return out;
}

namespace {
// Copies w x h pixels into the top left of a lent buffer.
void fill(const LentBuffer& b, const Pixel* pixels, int w, int h) {
  for (int y = 0; y < h; ++y)
    std::memcpy(b->bits() + static_cast<std::size_t>(y) * b->width(),
                pixels + static_cast<std::size_t>(y) * w, static_cast<std::size_t>(w) * sizeof(Pixel));
  GdiFlush();
}
}  // namespace

void writePixels(HDC dc, const RECT& area, const std::vector<Pixel>& pixels) {
  const int w = width(area), h = height(area);
  if (w == 0 || h == 0 || pixels.size() < static_cast<std::size_t>(w) * h) return;
  LentBuffer b(w, h);
  if (!b->ok()) return;
  fill(b, pixels.data(), w, h);
  BitBlt(dc, area.left, area.top, w, h, b->dc(), 0, 0, SRCCOPY);
}

KeptArea::KeptArea(HDC dc, const RECT& area) : m_area(area), m_pixels(readPixels(dc, area)) {}

void KeptArea::blendBack(HDC dc, int weight) const {
  weight = std::clamp(weight, 0, 255);
  if (weight == 0 || m_pixels.empty()) return;
  const int w = width(m_area), h = height(m_area);
  if (displayFacts().blend == BlendPath::kSystem) {
    LentBuffer src(w, h);
    if (src->ok()) {
      fill(src, m_pixels.data(), w, h);
      systemAlphaBlend()(dc, m_area.left, m_area.top, w, h, src->dc(), 0, 0, w, h,
                         {AC_SRC_OVER, 0, static_cast<BYTE>(weight), 0});
      return;
    }
  }
  std::vector<Pixel> drawn = readPixels(dc, m_area);
  blendKept(m_pixels, drawn, weight);
  writePixels(dc, m_area, drawn);
}

}  // namespace vorbin
