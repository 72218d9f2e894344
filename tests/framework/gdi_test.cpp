// Scoped handles, hooks, image lists and GDI objects release what they own, once.
#include <gtest/gtest.h>

#include "framework/gdi.h"
#include "framework/handle.h"

namespace {

TEST(ScopedGdi, ObjectsAreDeletedAtScopeEndAndMovesTransferOwnership) {
  HPEN raw;
  {
    fw::Pen pen(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
    raw = pen.get();
    ASSERT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_PEN));
    fw::Pen moved(std::move(pen));
    EXPECT_FALSE(pen);
    EXPECT_EQ(moved.get(), raw);
    EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_PEN)) << "a move must not delete";
  }
  EXPECT_EQ(GetObjectType(raw), 0u) << "the pen outlived its scope";

  fw::Brush brush(CreateSolidBrush(RGB(9, 9, 9)));
  HBRUSH released = brush.release();
  EXPECT_FALSE(brush);
  EXPECT_EQ(GetObjectType(released), static_cast<DWORD>(OBJ_BRUSH));
  DeleteObject(released);
}

TEST(ScopedGdi, SelectionIsUndoneBeforeTheObjectIsDeleted) {
  fw::MemoryDC dc;
  ASSERT_NE(dc.get(), nullptr);
  HGDIOBJ before = GetCurrentObject(dc, OBJ_BITMAP);
  HBITMAP raw;
  {
    fw::Bitmap bmp(CreateBitmap(8, 8, 1, 32, nullptr));
    raw = bmp.get();
    fw::SelectScope sel(dc, bmp.get());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), raw);
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), before);
  EXPECT_EQ(GetObjectType(raw), 0u)
      << "a selected bitmap cannot be deleted: the scopes ran in the wrong order";
}

TEST(ScopedGdi, SavedDCStateComesBack) {
  fw::MemoryDC dc;
  SetTextColor(dc, RGB(1, 1, 1));
  {
    fw::SaveDCScope saved(dc);
    SetTextColor(dc, RGB(200, 0, 0));
  }
  EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
}

TEST(ScopedGdi, ImageBitmapsAreTopDown32BitSectionsThatTakeDrawing) {
  EXPECT_EQ(fw::createImageBitmap(0, 5), nullptr);
  EXPECT_EQ(fw::createImageBitmap(5, -1), nullptr);

  fw::Bitmap image(fw::createImageBitmap(7, 3));
  ASSERT_TRUE(image);
  DIBSECTION section{};
  ASSERT_EQ(GetObjectW(image.get(), sizeof section, &section), static_cast<int>(sizeof section))
      << "not a DIB section";
  EXPECT_EQ(section.dsBm.bmWidth, 7);
  EXPECT_EQ(section.dsBm.bmHeight, 3);
  EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
  ASSERT_NE(section.dsBm.bmBits, nullptr);

  // Drawn pixels land in the bits, the first row first.
  fw::MemoryDC dc;
  fw::SelectScope use(dc, image.get());
  const RECT top{0, 0, 7, 1};
  fw::Brush red(CreateSolidBrush(RGB(255, 0, 0)));
  FillRect(dc, &top, red.get());
  GdiFlush();
  const auto* pixels = static_cast<const DWORD*>(section.dsBm.bmBits);
  EXPECT_EQ(pixels[0] & 0x00FFFFFF, 0x00FF0000u);
  EXPECT_EQ(pixels[7] & 0x00FFFFFF, 0u) << "the second row was painted: the section is bottom-up";
  EXPECT_EQ(GetPixel(dc, 6, 0), RGB(255, 0, 0));
}

TEST(ScopedHandles, KernelHandlesCloseOnceAndResetReplaces) {
  HANDLE first = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE second = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD flags = 0;
  {
    fw::KernelHandle h(first);
    h.reset(second);
    EXPECT_FALSE(GetHandleInformation(first, &flags)) << "reset did not close the old handle";
    EXPECT_TRUE(GetHandleInformation(second, &flags));
    fw::KernelHandle other = std::move(h);
    EXPECT_FALSE(h);
    EXPECT_EQ(other.get(), second);
  }
  EXPECT_FALSE(GetHandleInformation(second, &flags));
}

TEST(ScopedHandles, RegistryKeysAndFindHandlesUseTheirOwnInvalidValue) {
  fw::FindHandle none;
  EXPECT_FALSE(none);
  EXPECT_EQ(none.get(), INVALID_HANDLE_VALUE);
  WIN32_FIND_DATAW fd;
  fw::FindHandle found(FindFirstFileW(L"C:\\windows\\*", &fd));
  EXPECT_TRUE(found);

  fw::RegKey key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.put()), ERROR_SUCCESS);
  EXPECT_TRUE(key);
}

int g_hookCalls = 0;
LRESULT CALLBACK countMessages(int code, WPARAM wParam, LPARAM lParam) {
  ++g_hookCalls;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Posts a message to the thread and takes it: the hook sees it on the way.
void takeOneMessage() {
  PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

TEST(ScopedHandles, HooksStopAtScopeEndAndNotAtAMove) {
  g_hookCalls = 0;
  {
    fw::HookHandle hook(SetWindowsHookExW(WH_GETMESSAGE, countMessages, nullptr, GetCurrentThreadId()));
    ASSERT_TRUE(hook);
    fw::HookHandle moved(std::move(hook));
    EXPECT_FALSE(hook);
    takeOneMessage();
    EXPECT_GT(g_hookCalls, 0) << "the move unhooked";
  }
  const int seen = g_hookCalls;
  takeOneMessage();
  EXPECT_EQ(g_hookCalls, seen) << "the hook outlived its owner";
}

TEST(ScopedHandles, ImageListsAreDestroyedWithTheirBitmaps) {
  HBITMAP images;
  {
    fw::ImageList list(ImageList_Create(4, 4, ILC_COLOR32, 1, 0));
    ASSERT_TRUE(list);
    fw::Bitmap picture(fw::createImageBitmap(4, 4));
    ASSERT_EQ(ImageList_Add(list.get(), picture.get(), nullptr), 0);
    IMAGEINFO info{};
    ASSERT_TRUE(ImageList_GetImageInfo(list.get(), 0, &info));
    images = info.hbmImage;
    EXPECT_EQ(GetObjectType(images), static_cast<DWORD>(OBJ_BITMAP));
  }
  EXPECT_EQ(GetObjectType(images), 0u) << "the image list outlived its owner";
}

}  // namespace
