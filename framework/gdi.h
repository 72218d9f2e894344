// Scoped GDI objects, device contexts and selections: every object made for
// a drawing step is released when the step ends.
#pragma once
#include <windows.h>

#include <utility>

#include "framework/handle.h"

namespace fw {

template <class H>
struct GdiTraits {
  using Handle = H;
  static Handle invalid() { return nullptr; }
  static void close(Handle h) { DeleteObject(h); }
};

using Pen = UniqueHandle<GdiTraits<HPEN>>;
using Brush = UniqueHandle<GdiTraits<HBRUSH>>;
using Font = UniqueHandle<GdiTraits<HFONT>>;
using Bitmap = UniqueHandle<GdiTraits<HBITMAP>>;
using Region = UniqueHandle<GdiTraits<HRGN>>;
using Palette = UniqueHandle<GdiTraits<HPALETTE>>;

// A 32-bit top-down DIB section for drawing off screen, in place of
// CreateCompatibleBitmap: selecting a device-dependent bitmap into a DC makes
// the display driver look up the screen's format every time (under Wine three
// requests to the window server), selecting a DIB section does not. Null on
// failure or an empty size; bits, when given, receives the pixels (rows of
// width 32-bit pixels, the top row first).
inline HBITMAP createImageBitmap(int width, int height, void** bits = nullptr) {
  if (width <= 0 || height <= 0) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (bits) *bits = bitmap ? pixels : nullptr;
  return bitmap;
}

// A memory DC (CreateCompatibleDC), deleted at scope end.
class MemoryDC {
 public:
  explicit MemoryDC(HDC compatible = nullptr) : m_dc(CreateCompatibleDC(compatible)) {}
  ~MemoryDC() {
    if (m_dc) DeleteDC(m_dc);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC get() const { return m_dc; }
  operator HDC() const { return m_dc; }

 private:
  HDC m_dc;
};

// GetDC/ReleaseDC of a window (or the screen for null).
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) {}
  ~WindowDC() {
    if (m_dc) ReleaseDC(m_hwnd, m_dc);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return m_dc; }
  operator HDC() const { return m_dc; }

 private:
  HWND m_hwnd;
  HDC m_dc;
};

// BeginPaint/EndPaint.
class PaintDC {
 public:
  explicit PaintDC(HWND hwnd) : m_hwnd(hwnd) { m_dc = BeginPaint(hwnd, &m_ps); }
  ~PaintDC() { EndPaint(m_hwnd, &m_ps); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC get() const { return m_dc; }
  operator HDC() const { return m_dc; }
  const RECT& paintRect() const { return m_ps.rcPaint; }

 private:
  HWND m_hwnd;
  HDC m_dc;
  PAINTSTRUCT m_ps{};
};

// Selects an object into a DC and puts the previous one back at scope end.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(SelectObject(dc, obj)) {}
  ~SelectScope() {
    if (m_old && m_old != HGDI_ERROR) SelectObject(m_dc, m_old);
  }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_old;
};

// Saves and restores a DC's state (colours, modes, clip).
class SaveDCScope {
 public:
  explicit SaveDCScope(HDC dc) : m_dc(dc), m_id(SaveDC(dc)) {}
  ~SaveDCScope() {
    if (m_id) RestoreDC(m_dc, m_id);
  }
  SaveDCScope(const SaveDCScope&) = delete;
  SaveDCScope& operator=(const SaveDCScope&) = delete;

 private:
  HDC m_dc;
  int m_id;
};

}  // namespace fw
