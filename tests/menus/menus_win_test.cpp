// The hot-key capture on this thread: only the system's hot-key control is
// taken, the page reads "no key" while the launcher keeps the key, and
// everything is put back afterwards.
#include <windows.h>
// After windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>

#include "launcher/bar/hot_key_capture.h"
#include "launcher/bar/menu_rules.h"
#include "launcher/bar/shell_menu.h"

namespace {

constexpr WPARAM kCtrlAltK = 'K' | ((HOTKEYF_CONTROL | HOTKEYF_ALT) << 8);

struct Controls {
  Controls() {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&init);
    page =
        CreateWindowExW(0, L"STATIC", L"page", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    other = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 100, 20, page, nullptr, nullptr, nullptr);
    hotKey =
        CreateWindowExW(0, HOTKEY_CLASSW, L"", WS_CHILD, 0, 30, 100, 20, page, nullptr, nullptr, nullptr);
  }
  ~Controls() { DestroyWindow(page); }
  HWND page = nullptr, other = nullptr, hotKey = nullptr;
};

TEST(HotKeyCapture, TakesOnlyTheHotKeyControlAndHandsTheKeyToTheLauncher) {
  Controls c;
  ASSERT_NE(c.hotKey, nullptr);
  const LONG_PTR editProc = GetWindowLongPtrW(c.other, GWLP_WNDPROC);
  ASSERT_TRUE(vorbin::beginHotKeyCapture());
  // Another control answering 0x403 first is left alone.
  SendMessageW(c.other, WM_USER + 3, 0, 0);
  EXPECT_EQ(GetWindowLongPtrW(c.other, GWLP_WNDPROC), editProc);

  SendMessageW(c.hotKey, HKM_SETRULES, HKCOMB_NONE, 0);
  SendMessageW(c.hotKey, HKM_SETHOTKEY, kCtrlAltK, 0);
  EXPECT_FALSE(vorbin::hotKeyCaptured());
  // The page asks for the key: it hears "none", the launcher keeps it.
  EXPECT_EQ(SendMessageW(c.hotKey, HKM_GETHOTKEY, 0, 0), 0);
  EXPECT_TRUE(vorbin::hotKeyCaptured());
  EXPECT_EQ(vorbin::capturedHotKey(), kCtrlAltK);
  vorbin::endHotKeyCapture();
  // Afterwards the control answers for itself again.
  EXPECT_EQ(SendMessageW(c.hotKey, HKM_GETHOTKEY, 0, 0), static_cast<LRESULT>(kCtrlAltK));
  EXPECT_EQ(vorbin::capturedHotKey(), kCtrlAltK);

  // The next sheet starts from nothing: no key read means the item keeps its own.
  Controls next;
  ASSERT_TRUE(vorbin::beginHotKeyCapture());
  EXPECT_FALSE(vorbin::hotKeyCaptured());
  EXPECT_EQ(vorbin::capturedHotKey(), 0);
  SendMessageW(next.hotKey, HKM_SETRULES, HKCOMB_NONE, 0);
  SendMessageW(next.hotKey, HKM_SETHOTKEY, 'Q', 0);
  EXPECT_EQ(SendMessageW(next.hotKey, HKM_GETHOTKEY, 0, 0), 0);
  EXPECT_EQ(vorbin::capturedHotKey(), 'Q');
  vorbin::endHotKeyCapture();
}

}  // namespace

namespace {

// The shell's menu of a file: filled in its own id band, its delete entry
// found by verb and greyed whatever id the handler gave it.
TEST(ShellMenu, FillsInItsBandAndGreysDeleteByVerb) {
  OleInitialize(nullptr);
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  const std::wstring notepad = std::wstring(windows) + L"\\notepad.exe";
  HMENU popup = CreatePopupMenu();
  vorbin::ShellMenu shell;
  ASSERT_TRUE(shell.fill(popup, notepad, vorbin::menu_cmd::kShellFirst, vorbin::menu_cmd::kShellLast));
  const int count = GetMenuItemCount(popup);
  ASSERT_GT(count, 0);
  for (int i = 0; i < count; ++i) {
    const UINT id = GetMenuItemID(popup, i);
    if (id != static_cast<UINT>(-1) && id != 0) {
      EXPECT_LE(id, static_cast<UINT>(vorbin::menu_cmd::kShellLast));
    }
  }
  shell.disableDelete(popup);
  int grayed = 0;
  for (int i = 0; i < count; ++i)
    if (GetMenuState(popup, i, MF_BYPOSITION) & MF_GRAYED) ++grayed;
  EXPECT_GE(grayed, 1) << "no delete entry found by its verb";
  shell.reset();
  EXPECT_FALSE(shell.active());
  DestroyMenu(popup);
  // A file that is not there has no menu.
  HMENU empty = CreatePopupMenu();
  EXPECT_FALSE(shell.fill(empty, L"C:\\no\\such\\file.exe", 1, 100));
  DestroyMenu(empty);
  OleUninitialize();
}

}  // namespace
