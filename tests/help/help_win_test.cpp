// The help popup in this process: its text by context and element, one popup
// at a time, closing by click and key but not by F1, copying as Unicode, and
// the details report of a live window and of one that has closed.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "launcher/dialogs/help_popup.h"
#include "launcher/dialogs/help_rules.h"
#include "launcher/services/language_strings.h"
#include "tests/support/e2e.h"

namespace vorbin {
namespace {

std::wstring textOf(HWND window) {
  wchar_t text[4096] = {};
  GetWindowTextW(window, text, 4096);
  return text;
}

std::wstring stringOf(HMODULE library, unsigned id) {
  const wchar_t* text = nullptr;
  const int length = LoadStringW(library, id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

void pump() { e2e::pumpFor(50); }

class HelpPopupTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_english = LoadLibraryW(e2e::binPath(L"Vorbr2ke.dll").c_str());
    s_japanese = LoadLibraryW(e2e::binPath(L"Vorbr2kj.dll").c_str());
  }
  static void TearDownTestSuite() {
    setResourceModule(nullptr);
    FreeLibrary(s_english);
    FreeLibrary(s_japanese);
  }
  void SetUp() override {
    ASSERT_NE(s_english, nullptr);
    ASSERT_NE(s_japanese, nullptr);
    setResourceModule(s_english);
  }
  void TearDown() override { closeHelpPopup(); }
  static HMODULE s_english, s_japanese;
};
HMODULE HelpPopupTest::s_english = nullptr;
HMODULE HelpPopupTest::s_japanese = nullptr;

TEST_F(HelpPopupTest, ShowsTheTextOfItsPairAndReplacesOnlyForAnother) {
  const POINT at{300, 200};
  showHelpPopup(kHelpContextBar, 0x30 + 2, &at, nullptr);
  HWND first = helpPopupWindow();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(IsWindowVisible(first));
  EXPECT_EQ(textOf(first), stringOf(s_english, 5));
  EXPECT_FALSE(textOf(first).empty());
  // Centred under the anchor, 20 pixels below it.
  RECT r;
  GetWindowRect(first, &r);
  EXPECT_EQ(r.top, at.y + 20);
  EXPECT_NEAR((r.left + r.right) / 2, at.x, 1);

  showHelpPopup(kHelpContextBar, 0x30 + 2, &at, nullptr);
  EXPECT_EQ(helpPopupWindow(), first);
  // A control without a text of its own, and a subtraction rule below 1, give the default.
  showHelpPopup(133, 128, &at, nullptr);
  HWND second = helpPopupWindow();
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(textOf(second), stringOf(s_english, 55));
  // A string the library lacks also falls back to the default.
  showHelpPopup(133, 32769, &at, nullptr);
  EXPECT_EQ(textOf(helpPopupWindow()), stringOf(s_english, 55));
  showHelpPopup(133, 305, &at, nullptr);
  EXPECT_EQ(textOf(helpPopupWindow()), stringOf(s_english, 71));
}

TEST_F(HelpPopupTest, ClosesOnClickOrKeyButNotOnF1) {
  const POINT at{200, 200};
  showHelpPopup(kHelpContextBar, 0x41, &at, nullptr);
  HWND popup = helpPopupWindow();
  ASSERT_NE(popup, nullptr);
  SendMessageW(popup, WM_KEYDOWN, VK_F1, 0);
  SendMessageW(popup, WM_KEYUP, VK_F1, 0);
  EXPECT_TRUE(IsWindow(popup));
  // A release without a press inside leaves it too.
  SendMessageW(popup, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(IsWindow(popup));
  SendMessageW(popup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(popup, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(IsWindow(popup));

  showHelpPopup(kHelpContextBar, 0x41, &at, nullptr);
  popup = helpPopupWindow();
  SendMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(IsWindow(popup));
  SendMessageW(popup, WM_KEYUP, VK_ESCAPE, 0);
  EXPECT_FALSE(IsWindow(popup));

  // Losing the activation closes it.
  showHelpPopup(kHelpContextBar, 0x41, &at, nullptr);
  popup = helpPopupWindow();
  SetActiveWindow(popup);
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               nullptr, nullptr);
  SetActiveWindow(other);
  pump();
  EXPECT_FALSE(IsWindow(popup));
  DestroyWindow(other);
}

TEST_F(HelpPopupTest, CopyPutsUnicodeTextOnTheClipboard) {
  setResourceModule(s_japanese);
  const POINT at{250, 250};
  showHelpPopup(kHelpContextBar, 0x30, &at, nullptr);
  HWND popup = helpPopupWindow();
  ASSERT_NE(popup, nullptr);
  const std::wstring expected = stringOf(s_japanese, 3);
  ASSERT_FALSE(expected.empty());
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  // The menu's loop takes the posted mnemonic of Copy.
  PostMessageW(popup, WM_KEYDOWN, 'C', 0);
  SendMessageW(popup, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(popup), MAKELPARAM(260, 260));
  pump();
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  ASSERT_TRUE(OpenClipboard(nullptr));
  std::wstring copied;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    copied = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  std::wstring want;
  for (wchar_t c : expected) {
    if (c == L'\n') want.push_back(L'\r');
    want.push_back(c);
  }
  EXPECT_EQ(copied, want);
}

TEST_F(HelpPopupTest, DetailsOfALiveWindowAndOfAClosedOne) {
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"details", WS_POPUP | WS_VISIBLE | WS_BORDER,
                                40, 50, 220, 120, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  showWindowDetails(window, nullptr);
  HWND popup = helpPopupWindow();
  ASSERT_NE(popup, nullptr);
  const std::wstring report = textOf(popup);
  wchar_t handle[32], style[32], pid[32], procedure[32];
  swprintf(handle, 32, L"Window Handle\t: %08llX",
           static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
  swprintf(style, 32, L"Window Style\t: %08X", static_cast<unsigned>(GetWindowLongW(window, GWL_STYLE)));
  swprintf(pid, 32, L"Process ID\t: %08X", static_cast<unsigned>(GetCurrentProcessId()));
  swprintf(procedure, 32, L"Window Proc\t: %016llX",
           static_cast<unsigned long long>(GetWindowLongPtrW(window, GWLP_WNDPROC)));
  EXPECT_NE(report.find(handle), std::wstring::npos) << report;
  EXPECT_NE(report.find(style), std::wstring::npos) << report;
  EXPECT_NE(report.find(pid), std::wstring::npos) << report;
  EXPECT_NE(report.find(procedure), std::wstring::npos) << report;
  EXPECT_NE(report.find(L"Class Name\t: Static"), std::wstring::npos) << report;
  EXPECT_NE(report.find(L"Window Rect\t: ( 40, 50)-( 220, 120)"), std::wstring::npos) << report;
  EXPECT_NE(report.find(L"help_win_test"), std::wstring::npos) << report;
  EXPECT_NE(report.find(stringOf(s_english, 1048)), std::wstring::npos) << report;
  e2e::pumpFor(200);  // painted before the picture is taken
  e2e::captureToArtifact(popup, L"help_details_en");

  // Gone before it is asked about: nothing opens, nothing breaks.
  DestroyWindow(window);
  closeHelpPopup();
  showWindowDetails(window, nullptr);
  EXPECT_EQ(helpPopupWindow(), nullptr);
}

}  // namespace
}  // namespace vorbin
