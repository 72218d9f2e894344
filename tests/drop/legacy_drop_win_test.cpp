// Files dropped by the older protocol (WM_DROPFILES) read from the handle
// the system gives: names and point as dropped, a lying header or name
// never read past the block. The handle belongs to the receiving process,
// so the message is sent to a window of the test itself.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "launcher/bar/drop_legacy.h"

namespace vorbin {
namespace {

using namespace std::string_literals;

// A DROPFILES block: header, then the names (wide or ANSI) as given, bytes
// exactly as listed (the caller adds the terminators it wants).
HGLOBAL dropBlock(POINT pt, bool nonClient, bool wide, const std::vector<uint8_t>& names,
                  DWORD filesOffset = sizeof(DROPFILES)) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
  auto* p = static_cast<uint8_t*>(GlobalLock(block));
  DROPFILES header{};
  header.pFiles = filesOffset;
  header.pt = pt;
  header.fNC = nonClient;
  header.fWide = wide;
  std::memcpy(p, &header, sizeof header);
  if (!names.empty()) std::memcpy(p + sizeof header, names.data(), names.size());
  GlobalUnlock(block);
  return block;
}

std::vector<uint8_t> wideNames(const std::wstring& text) {
  std::vector<uint8_t> bytes;
  for (wchar_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

struct Received {
  bool seen = false;
  DroppedFiles dropped;
};
Received g_received;

LRESULT CALLBACK receiverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DROPFILES) {
    g_received.seen = true;
    g_received.dropped = takeDroppedFiles(reinterpret_cast<HDROP>(wParam), hwnd);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

class LegacyDrop : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc{};
    wc.lpfnWndProc = receiverProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VbLegacyDropReceiver";
    RegisterClassW(&wc);
    window = CreateWindowExW(WS_EX_ACCEPTFILES, wc.lpszClassName, L"drop here", WS_POPUP | WS_VISIBLE, 120,
                             90, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    g_received = {};
  }
  void TearDown() override { DestroyWindow(window); }
  // Posts the drop to the window and lets it arrive.
  DroppedFiles post(HGLOBAL block) {
    g_received = {};
    PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    MSG msg;
    const DWORD until = GetTickCount() + 2000;
    while (!g_received.seen && GetTickCount() < until) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(5);
    }
    EXPECT_TRUE(g_received.seen);
    return g_received.dropped;
  }
  HWND window = nullptr;
};

TEST_F(LegacyDrop, NamesAndPointAsDropped) {
  // Wide names in the client area: the point is turned into screen coordinates.
  DroppedFiles d = post(dropBlock({30, 40}, false, true, wideNames(L"C:\\a.txt\0C:\\b b\\c (x86).txt\0\0"s)));
  EXPECT_EQ(d.files, (std::vector<std::wstring>{L"C:\\a.txt", L"C:\\b b\\c (x86).txt"}));
  POINT expected{30, 40};
  ClientToScreen(window, &expected);
  EXPECT_EQ(d.screen.x, expected.x);
  EXPECT_EQ(d.screen.y, expected.y);
  EXPECT_NE(d.screen.x, 30) << "the window is not at the screen's origin";

  // Outside the client area the point is already on the screen; ANSI names.
  const std::string ansi("C:\\one.txt\0\0", 12);
  d = post(dropBlock({-20, 7}, true, false, std::vector<uint8_t>(ansi.begin(), ansi.end())));
  EXPECT_EQ(d.files, (std::vector<std::wstring>{L"C:\\one.txt"}));
  EXPECT_EQ(d.screen.x, -20);
  EXPECT_EQ(d.screen.y, 7);
}

TEST_F(LegacyDrop, ALyingBlockGivesNothingBeyondIt) {
  // The file offset points past the block.
  DroppedFiles d = post(dropBlock({1, 1}, false, true, wideNames(L"C:\\a.txt\0\0"s), 0x10000));
  EXPECT_TRUE(d.files.empty());
  // The last name runs to the block's end without its terminator: only the whole ones.
  d = post(dropBlock({1, 1}, false, true, wideNames(L"C:\\whole.txt\0C:\\cut"s)));
  EXPECT_EQ(d.files, (std::vector<std::wstring>{L"C:\\whole.txt"}));
  // A name longer than a path can be is skipped, not cut into another path.
  d = post(dropBlock(
      {1, 1}, false, true,
      wideNames(L"C:\\" + std::wstring(300, L'x') + L".txt" + L'\0' + L"C:\\short.txt" + L'\0' + L'\0')));
  EXPECT_EQ(d.files, (std::vector<std::wstring>{L"C:\\short.txt"}));
  // A block too small for its header, and no handle at all.
  HGLOBAL tiny = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 6);
  d = post(tiny);
  EXPECT_TRUE(d.files.empty());
  EXPECT_TRUE(takeDroppedFiles(nullptr, window).files.empty());
}

}  // namespace
}  // namespace vorbin
