// Recoloured image strips from the launcher's 16-colour bitmap resources.
#include "launcher/render/image_strip.h"

#include <cstring>
#include <vector>

#include "framework/trace.h"
#include "launcher/render/dc_pixels.h"
#include "launcher/render/strip_palette.h"

namespace vorbin {

namespace {

struct Dib16 {
  BITMAPINFOHEADER header;
  RGBQUAD colours[16];
};

Palette16 paletteOf(const RGBQUAD* q) {
  Palette16 p;
  for (int i = 0; i < 16; ++i) p[i] = {q[i].rgbRed, q[i].rgbGreen, q[i].rgbBlue};
  return p;
}

void setPalette(Dib16& dib, const Palette16& p) {
  for (int i = 0; i < 16; ++i) dib.colours[i] = {p[i].b, p[i].g, p[i].r, 0};
}

// Writes the resource's pixels through a palette into a new 32-bit image.
fw::Bitmap makeBitmap(HDC screen, const Dib16& dib, const void* bits) {
  fw::Bitmap bitmap(fw::createImageBitmap(dib.header.biWidth, std::abs(dib.header.biHeight)));
  if (!bitmap) {
    FW_TRACE_FAILURE("CreateDIBSection");
  } else if (SetDIBits(screen, bitmap.get(), 0, std::abs(dib.header.biHeight), bits,
                       reinterpret_cast<const BITMAPINFO*>(&dib), DIB_RGB_COLORS) == 0) {
    FW_TRACE_FAILURE("SetDIBits");
    bitmap.reset();
  }
  return bitmap;
}

// The memory DC that strips are drawn from: one for the run instead of one
// per drawing (a bar paint draws some twenty strip frames).
HDC sourceDc() {
  static const fw::MemoryDC dc(nullptr);
  return dc;
}

}  // namespace

bool ImageStrip::load(HINSTANCE module, int resourceId, int frameWidth, const ColourSlot* first,
                      const ColourSlot* second, int height) {
  m_colour.reset();
  m_mask.reset();
  HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  if (!res) FW_TRACE_FAILURE("FindResourceW");
  HGLOBAL handle = res ? LoadResource(module, res) : nullptr;
  const auto* data = static_cast<const std::uint8_t*>(handle ? LockResource(handle) : nullptr);
  const DWORD size = res ? SizeofResource(module, res) : 0;
  if (!data || size < sizeof(Dib16)) return false;

  Dib16 dib;
  std::memcpy(&dib, data, sizeof dib);
  const BITMAPINFOHEADER& h = dib.header;
  if (h.biSize != sizeof(BITMAPINFOHEADER) || h.biBitCount != 4 || h.biCompression != BI_RGB ||
      (h.biClrUsed != 0 && h.biClrUsed != 16) || h.biWidth <= 0 || h.biHeight == 0 || h.biWidth > 4096 ||
      std::abs(h.biHeight) > 4096)
    return false;
  const std::size_t stride = ((static_cast<std::size_t>(h.biWidth) * 4 + 31) / 32) * 4;
  if (size < sizeof(Dib16) + stride * std::abs(h.biHeight)) return false;
  const void* bits = data + sizeof(Dib16);
  const Palette16 own = paletteOf(dib.colours);
  std::vector<std::uint8_t> resized;
  const int rows = std::abs(h.biHeight);
  if (height > 0 && height != rows && height <= 4096) {
    // Row y of the new picture is row y * rows / height of the old, counted
    // from the same end (the order of the rows does not change).
    resized.resize(stride * static_cast<std::size_t>(height));
    const auto* from = static_cast<const std::uint8_t*>(bits);
    for (int y = 0; y < height; ++y) {
      const int source = static_cast<int>(static_cast<long long>(y) * rows / height);
      std::memcpy(&resized[stride * y], from + stride * source, stride);
    }
    dib.header.biHeight = h.biHeight < 0 ? -height : height;
    bits = resized.data();
  }

  fw::WindowDC screen(nullptr);
  setPalette(dib, stripColourPalette(own, first, second));
  m_colour = makeBitmap(screen, dib, bits);
  setPalette(dib, stripMaskPalette());
  m_mask = makeBitmap(screen, dib, bits);
  if (!m_colour || !m_mask) {
    m_colour.reset();
    m_mask.reset();
    return false;
  }
  m_width = h.biWidth;
  m_height = std::abs(dib.header.biHeight);
  m_frameWidth = frameWidth > 0 ? frameWidth : m_width;
  return true;
}

void ImageStrip::draw(HDC dc, int x, int y, int frame) const {
  if (!loaded() || frame < 0) return;
  const int sx = frame * m_frameWidth;
  if (sx >= m_width) return;
  const int w = std::min(m_frameWidth, m_width - sx), h = m_height;
  const KeptArea kept(dc, RECT{x, y, x + w, y + h});
  HDC src = sourceDc();
  {
    fw::SelectScope use(src, m_mask.get());
    BitBlt(dc, x, y, w, h, src, sx, 0, SRCAND);
  }
  {
    fw::SelectScope use(src, m_colour.get());
    BitBlt(dc, x, y, w, h, src, sx, 0, SRCINVERT);
  }
  kept.blendBack(dc, 128);
}

}  // namespace vorbin
