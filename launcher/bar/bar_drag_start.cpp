// The start of a drag of buttons: the picture of the selected buttons follows
// the pointer through an image-list drag, with cursor images beside it.
#include <windows.h>
// After windows.h.
#include <commctrl.h>

#include <algorithm>

#include "framework/gdi.h"
#include "launcher/bar/bar_window.h"
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
  ImageList_Add(list, colour.get(), mask.get());
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
  if (!list) return nullptr;
  HINSTANCE self = GetModuleHandleW(nullptr);
  fw::Bitmap mark(static_cast<HBITMAP>(
      LoadImageW(self, MAKEINTRESOURCEW(IDB_COPY_MARK), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
  fw::Bitmap mask(static_cast<HBITMAP>(
      LoadImageW(self, MAKEINTRESOURCEW(IDB_COPY_MASK), IMAGE_BITMAP, 0, 0, LR_MONOCHROME)));
  HCURSOR drag = LoadCursorW(nullptr, IDC_ARROW);
  addCursorImage(list, drag, nullptr, nullptr);
  addCursorImage(list, drag, mark.get(), mask.get());
  addCursorImage(list, LoadCursorW(nullptr, IDC_NO), nullptr, nullptr);
  return list;
}

}  // namespace

void CBarWindow::beginButtonDrag(int group, const std::vector<int>& slots, int offsetX, int offsetY) {
  std::vector<PixelRect> cells;
  for (int slot : slots) {
    if (const auto geo = slotGeometry(group, slot)) cells.push_back(geo->cell);
  }
  m_tabDrag = false;
  beginPictureDrag(cells, offsetX, offsetY);
}

void CBarWindow::beginTabDrag(int group) {
  const TabLayout tabs = tabLayout(m_layout, m_context.settings.groupDispMode);
  const PixelRect tab = tabRect(m_layout, tabs, group, m_context.groups.dispGroupOffset * tabs.tabHeight);
  beginPictureDrag({tab}, m_pointerAt.x - tab.left, m_pointerAt.y - tab.top);
  m_tabDrag = true;
}

void CBarWindow::beginPictureDrag(const std::vector<PixelRect>& parts, int offsetX, int offsetY) {
  endButtonDrag();
  // The block holding all parts.
  std::optional<PixelRect> block;
  for (const PixelRect& c : parts) {
    block = block ? PixelRect{std::min(block->left, c.left), std::min(block->top, c.top),
                              std::max(block->right, c.right), std::max(block->bottom, c.bottom)}
                  : c;
  }
  if (!block || !m_barImage || block->width() <= 0 || block->height() <= 0) return;
  const int w = block->width(), h = block->height();
  fw::WindowDC window(m_hwnd);
  fw::Bitmap picture(CreateCompatibleBitmap(window, w, h));
  {
    // Only the parts come from the bar image; the rest stays out.
    fw::MemoryDC dc(window);
    fw::SelectScope select(dc, picture.get());
    fw::Brush key(CreateSolidBrush(kPictureKey));
    const RECT all{0, 0, w, h};
    FillRect(dc, &all, key.get());
    fw::MemoryDC image(window);
    fw::SelectScope imageSelect(image, m_barImage.get());
    for (const PixelRect& c : parts)
      BitBlt(dc, c.left - block->left, c.top - block->top, c.width(), c.height(), image, c.left, c.top,
             SRCCOPY);
  }
  m_dragPicture = ImageList_Create(w, h, ILC_COLORDDB | ILC_MASK, 1, 0);
  if (!m_dragPicture) return;
  ImageList_AddMasked(m_dragPicture, picture.get(), kPictureKey);
  m_dragCursors = makeDragCursors();
  if (!ImageList_BeginDrag(m_dragPicture, 0, offsetX, offsetY)) return;
  if (m_dragCursors) {
    const POINT hot = hotSpot(LoadCursorW(nullptr, IDC_ARROW));
    ImageList_SetDragCursorImage(m_dragCursors, 0, hot.x, hot.y);
  }
  m_dragging = true;
  ImageList_DragEnter(m_hwnd, m_pointerAt.x, m_pointerAt.y);
}

void CBarWindow::scrollTabsDuringDrag() {
  if (!m_tabDrag || m_tabScrolling || taskMode()) return;
  m_tabScrolling = true;
  GroupTable& groups = m_context.groups;
  const TabLayout tabs = tabLayout(m_layout, m_context.settings.groupDispMode);
  const int tabCount = std::max(0, static_cast<int>(groups.placeholderIndex()) - 1);
  const int rows = (tabCount + tabs.perRow - 1) / std::max(1, tabs.perRow);
  const int shownRows = std::max(1, m_layout.tabArea.height() / std::max(1, tabs.tabHeight));
  const int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  for (;;) {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(m_hwnd, &p);
    const int step = p.y < m_layout.tabArea.top ? -1 : p.y >= m_layout.tabArea.bottom ? 1 : 0;
    if (step == 0 || GetAsyncKeyState(button) >= 0) break;
    const int offset = std::clamp(groups.dispGroupOffset + step, 0, std::max(0, rows - shownRows));
    if (offset != groups.dispGroupOffset) {
      groups.dispGroupOffset = offset;
      if (m_dragPicture) ImageList_DragShowNolock(FALSE);
      repaintAll();
      UpdateWindow(m_hwnd);
      if (m_dragPicture) ImageList_DragShowNolock(TRUE);
    }
    // Between passes the queue is pumped; a quit ends the loop at once.
    MsgWaitForMultipleObjects(0, nullptr, FALSE,
                              static_cast<DWORD>(std::max(10, m_context.settings.intervalAtScroll)),
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
    if (quit || !m_pointer.dragging()) break;
  }
  m_tabScrolling = false;
}

void CBarWindow::moveButtonDrag() {
  if (m_dragPicture) ImageList_DragMove(m_pointerAt.x, m_pointerAt.y);
}

void CBarWindow::endButtonDrag() {
  if (!m_dragPicture) return;
  ImageList_DragLeave(m_hwnd);
  ImageList_EndDrag();
  ImageList_Destroy(m_dragPicture);
  m_dragPicture = nullptr;
  m_tabDrag = false;
  if (m_dragCursors) ImageList_Destroy(m_dragCursors);
  m_dragCursors = nullptr;
  m_dragging = false;
  repaintAll();
}

}  // namespace vorbin
