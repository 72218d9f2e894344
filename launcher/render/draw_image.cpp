// Drawing stored images and icons with mask, weight and tint.
#include "launcher/render/draw_image.h"

#include <array>
#include <vector>

#include "framework/gdi.h"
#include "framework/trace.h"
#include "launcher/render/dc_pixels.h"

namespace vorbin {

namespace {

// Composes colour and shape (both how.size square) over the destination, then
// the weight and the tint.
void drawPixels(HDC dc, const std::vector<Pixel>& colour, const std::vector<std::uint8_t>& shape,
                const ImageDrawing& how) {
  const RECT area{how.x, how.y, how.x + how.size, how.y + how.size};
  const std::vector<Pixel> kept = readPixels(dc, area);
  if (kept.empty()) return;
  std::vector<Pixel> drawn = kept;
  composeImage(drawn, colour, shape, how.mode);
  blendKept(kept, drawn, how.weight);
  if (how.tint) tintShape(drawn, shape, *how.tint);
  writePixels(dc, area, drawn);
}

// A 32-bit top-down reading of a bitmap at its own size.
std::vector<Pixel> bitmapPixels(HDC dc, HBITMAP bitmap, int side) {
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = side;
  bmi.bmiHeader.biHeight = -side;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  std::vector<Pixel> out(static_cast<std::size_t>(side) * side);
  if (GetDIBits(dc, bitmap, 0, side, out.data(), &bmi, DIB_RGB_COLORS) != side) {
    FW_TRACE_FAILURE("GetDIBits");
    return {};
  }
  return out;
}

}  // namespace

bool drawImage(HDC dc, const IconImage& image, const ImageDrawing& how) {
  if (how.size <= 0) return false;
  std::array<std::uint8_t, kImageScratchBytes> scratch;
  const std::span<const std::uint8_t> bits = unpackedImageBits(image, scratch);
  const int depth = image.colourDepth();
  if (bits.size() < imageByteSize(depth) || imageByteSize(depth) == 0) return false;
  const std::vector<Pixel> colour = imageColourPixels(depth, bits.subspan(kImageMaskBytes));
  const std::vector<std::uint8_t> shape = imageShape(bits.first<kImageMaskBytes>());
  if (colour.empty()) return false;
  drawPixels(dc, scaleSquare<Pixel>(colour, 32, how.size), scaleSquare<std::uint8_t>(shape, 32, how.size),
             how);
  return true;
}

bool drawIcon(HDC dc, HICON icon, const ImageDrawing& how) {
  if (!icon || how.size <= 0) return false;
  const int s = how.size;
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) {
    const RECT area{how.x, how.y, how.x + s, how.y + s};
    const KeptArea kept(dc, area);
    DrawIconEx(dc, how.x, how.y, icon, s, s, 0, nullptr, DI_NORMAL);
    kept.blendBack(dc, how.weight);
    return true;
  }
  fw::Bitmap mask(info.hbmMask), colourBitmap(info.hbmColor);
  // The mask drawn by the system at the target size: white where transparent.
  std::vector<std::uint8_t> shape(static_cast<std::size_t>(s) * s);
  {
    fw::MemoryDC mem(dc);
    void* bits = nullptr;
    fw::Bitmap target(fw::createImageBitmap(s, s, &bits));
    if (!target) {
      FW_TRACE_FAILURE("CreateDIBSection");
      return false;
    }
    fw::SelectScope use(mem, target.get());
    DrawIconEx(mem, 0, 0, icon, s, s, 0, nullptr, DI_MASK);
    GdiFlush();
    const auto* px = static_cast<const Pixel*>(bits);
    for (std::size_t i = 0; i < shape.size(); ++i) shape[i] = (px[i] & 0x00FFFFFF) == 0 ? 1 : 0;
  }
  std::vector<Pixel> colour;
  if (colourBitmap) {
    BITMAP bm{};
    GetObjectW(colourBitmap.get(), sizeof bm, &bm);
    const int side = bm.bmWidth == bm.bmHeight && bm.bmWidth > 0 ? bm.bmWidth : 32;
    colour = scaleSquare<Pixel>(bitmapPixels(dc, colourBitmap.get(), side), side, s);
    // Without any alpha the alpha byte is noise of the reading, not transparency.
    if (!hasAlpha(colour))
      for (Pixel& p : colour) p &= 0x00FFFFFF;
  } else {
    // Monochrome icon: the XOR half below the AND half of the mask bitmap.
    BITMAP bm{};
    GetObjectW(mask.get(), sizeof bm, &bm);
    const int side = bm.bmWidth > 0 ? bm.bmWidth : 32;
    std::vector<Pixel> both(static_cast<std::size_t>(side) * side * 2);
    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -2 * side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    if (GetDIBits(dc, mask.get(), 0, 2 * side, both.data(), &bmi, DIB_RGB_COLORS) == 2 * side) {
      std::vector<Pixel> xorHalf(both.begin() + side * side, both.end());
      for (Pixel& p : xorHalf) p &= 0x00FFFFFF;
      colour = scaleSquare<Pixel>(xorHalf, side, s);
    }
  }
  if (colour.empty()) return false;
  drawPixels(dc, colour, shape, how);
  return true;
}

}  // namespace vorbin
