// The drag of buttons and tabs: the image-list picture, its cursors and the
// tab rows scrolling under a dragged tab.
#include "launcher/bar/button_drag.h"

#include <algorithm>
#include <optional>

#include "framework/gdi.h"
#include "framework/trace.h"
#include "launcher/render/bitmap_ids.h"

namespace vorbin {

namespace {

constexpr int kCursorSize = 32;
// Where the picture has no button: left out of the drag image.
constexpr COLORREF kPictureKey = RGB(1, 2, 3);

// One part of a cursor image: the cursor drawn with `part` on `background`,
// then the mark combined in with `rop`.
void drawCursorPart(HDC screen, HBITMAP target, int background, HCURSOR cursor, UINT part, HBITMAP mark,
                    DWORD rop) {
  const RECT all{0, 0, kCursorSize, kCursorSize};
  fw::MemoryDC dc(screen);
  fw::SelectScope select(dc, target);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(background)));
  DrawIconEx(dc, 0, 0, cursor, kCursorSize, kCursorSize, 0, nullptr, part);
  if (!mark) return;
  fw::MemoryDC markDc(screen);
  fw::SelectScope markSelect(markDc, mark);
  BitBlt(dc, 0, 0, kCursorSize, kCursorSize, markDc, 0, 0, rop);
}

// A 32 x 32 colour part (on black) and mask (on white) of a cursor; the copy
// mark is added into the colour and its mask ANDed into the mask.
void addCursorImage(HIMAGELIST list, HCURSOR cursor, HBITMAP copyMark, HBITMAP copyMask) {
  fw::WindowDC screen(nullptr);
  fw::Bitmap colour(CreateCompatibleBitmap(screen, kCursorSize, kCursorSize));
  fw::Bitmap mask(CreateBitmap(kCursorSize, kCursorSize, 1, 1, nullptr));
  drawCursorPart(screen, colour.get(), BLACK_BRUSH, cursor, DI_IMAGE, copyMark, SRCPAINT);
  drawCursorPart(screen, mask.get(), WHITE_BRUSH, cursor, DI_MASK, copyMask, SRCAND);
  if (ImageList_Add(list, colour.get(), mask.get()) < 0) FW_TRACE_FAILURE("ImageList_Add");
}

POINT hotSpot(HCURSOR cursor) {
  ICONINFO info{};
  if (!GetIconInfo(cursor, &info)) return {0, 0};
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  return {static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
}

// The drag cursor, the same with the copy mark, and the no-entry cursor.
HIMAGELIST makeDragCursors() {
  HIMAGELIST list = ImageList_Create(kCursorSize, kCursorSize, ILC_COLORDDB | ILC_MASK, 3, 0);
  if (!list) {
    FW_TRACE_FAILURE("ImageList_Create");
    return nullptr;
  }
  HINSTANCE self = GetModuleHandleW(nullptr);
  fw::Bitmap mark(static_cast<HBITMAP>(
      LoadImageW(self, MAKEINTRESOURCEW(IDB_COPY_MARK), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
  fw::Bitmap mask(static_cast<HBITMAP>(
      LoadImageW(self, MAKEINTRESOURCEW(IDB_COPY_MASK), IMAGE_BITMAP, 0, 0, LR_MONOCHROME)));
  if (!mark || !mask) FW_TRACE_FAILURE("LoadImageW");
  HCURSOR drag = LoadCursorW(nullptr, IDC_ARROW);
  addCursorImage(list, drag, nullptr, nullptr);
  addCursorImage(list, drag, mark.get(), mask.get());
  addCursorImage(list, LoadCursorW(nullptr, IDC_NO), nullptr, nullptr);
  return list;
}

}  // namespace

ButtonDrag::Hidden::Hidden(bool dragActive) : m_hidden(dragActive) {
  if (m_hidden) ImageList_DragShowNolock(FALSE);
}

ButtonDrag::Hidden::~Hidden() {
  if (m_hidden) ImageList_DragShowNolock(TRUE);
}

void ButtonDrag::begin(HWND bar, HBITMAP barImage, const std::vector<PixelRect>& parts, POINT offset,
                       POINT pointer, bool tab) {
  m_tab = tab;
  // The block holding all parts.
  std::optional<PixelRect> block;
  for (const PixelRect& c : parts) {
    block = block ? PixelRect{std::min(block->left, c.left), std::min(block->top, c.top),
                              std::max(block->right, c.right), std::max(block->bottom, c.bottom)}
                  : c;
  }
  if (!block || !barImage || block->width() <= 0 || block->height() <= 0) return;
  const int w = block->width(), h = block->height();
  fw::WindowDC window(bar);
  fw::Bitmap picture(CreateCompatibleBitmap(window, w, h));
  {
    // Only the parts come from the bar image; the rest stays out.
    fw::MemoryDC dc(window);
    fw::SelectScope select(dc, picture.get());
    fw::Brush key(CreateSolidBrush(kPictureKey));
    const RECT all{0, 0, w, h};
    FillRect(dc, &all, key.get());
    fw::MemoryDC image(window);
    fw::SelectScope imageSelect(image, barImage);
    for (const PixelRect& c : parts)
      BitBlt(dc, c.left - block->left, c.top - block->top, c.width(), c.height(), image, c.left, c.top,
             SRCCOPY);
  }
  m_picture.reset(ImageList_Create(w, h, ILC_COLORDDB | ILC_MASK, 1, 0));
  if (!m_picture) {
    FW_TRACE_FAILURE("ImageList_Create");
    return;
  }
  if (ImageList_AddMasked(m_picture.get(), picture.get(), kPictureKey) < 0)
    FW_TRACE_FAILURE("ImageList_AddMasked");
  m_cursors.reset(makeDragCursors());
  if (!ImageList_BeginDrag(m_picture.get(), 0, offset.x, offset.y)) {
    FW_TRACE_FAILURE("ImageList_BeginDrag");
    return;
  }
  if (m_cursors) {
    const POINT hot = hotSpot(LoadCursorW(nullptr, IDC_ARROW));
    if (!ImageList_SetDragCursorImage(m_cursors.get(), 0, hot.x, hot.y))
      FW_TRACE_FAILURE("ImageList_SetDragCursorImage");
  }
  m_active = true;
  ImageList_DragEnter(bar, pointer.x, pointer.y);
}

void ButtonDrag::scrollTabs(HWND bar, const TabScroll& scroll) {
  if (!m_tab || m_scrolling) return;
  m_scrolling = true;
  const int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  for (;;) {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(bar, &p);
    const int step = p.y < scroll.areaTop ? -1 : p.y >= scroll.areaBottom ? 1 : 0;
    if (step == 0 || GetAsyncKeyState(button) >= 0) break;
    if (scroll.scrollBy(step)) {
      Hidden hidden(*this);
      UpdateWindow(bar);
    }
    // Between passes the queue is pumped; a quit ends the loop at once.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::max(10, scroll.intervalMs)),
                              QS_ALLINPUT);
    MSG msg;
    bool quit = false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        quit = true;
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (quit || !scroll.stillDragging()) break;
  }
  m_scrolling = false;
}

void ButtonDrag::move(POINT pointer) {
  if (m_picture) ImageList_DragMove(pointer.x, pointer.y);
}

bool ButtonDrag::end(HWND bar) {
  m_active = false;
  if (!m_picture) return false;
  ImageList_DragLeave(bar);
  ImageList_EndDrag();
  m_picture.reset();
  m_cursors.reset();
  m_tab = false;
  return true;
}

}  // namespace vorbin
