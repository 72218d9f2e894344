// The options sheet in the running launcher, driven from outside: one sheet
// at a time, Cancel writes nothing, OK saves bounded and cleaned values, and a
// hot key held by another program is refused without losing the old one.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "launcher/app/resource_library.h"
#include "launcher/dialogs/options_sheet.h"
#include "launcher/model/profile.h"
#include "launcher/model/registry_profile.h"
#include "launcher/model/settings.h"
#include "launcher/resources/resource_ids.h"
#include "tests/app/launcher_driver.h"
#include "tests/support/e2e.h"

namespace {

using namespace driver;

// Every value under the launcher's key, by path and name: type and bytes.
using Snapshot = std::map<std::wstring, std::vector<uint8_t>>;

void snapshotKey(HKEY key, const std::wstring& path, Snapshot& out) {
  for (DWORD i = 0;; ++i) {
    wchar_t name[512];
    DWORD nameChars = 512, type = 0, bytes = 0;
    if (RegEnumValueW(key, i, name, &nameChars, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) break;
    std::vector<uint8_t> data(bytes + 1);
    nameChars = 512;
    RegEnumValueW(key, i, name, &nameChars, nullptr, &type, data.data(), &bytes);
    data.resize(bytes);
    data.push_back(static_cast<uint8_t>(type));
    out[path + L"|" + name] = data;
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[512];
    DWORD nameChars = 512;
    if (RegEnumKeyExW(key, i, name, &nameChars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY sub = nullptr;
    if (RegOpenKeyExW(key, name, 0, KEY_READ, &sub) != ERROR_SUCCESS) continue;
    snapshotKey(sub, path + L"\\" + name, out);
    RegCloseKey(sub);
  }
}

Snapshot profileSnapshot() {
  Snapshot out;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, e2e::kProfileKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return out;
  snapshotKey(key, L"", out);
  RegCloseKey(key);
  return out;
}

struct DialogsOf {
  DWORD pid;
  std::vector<HWND> found;
};

std::vector<HWND> visibleDialogs(DWORD pid) {
  DialogsOf search{pid, {}};
  EnumWindows(
      [](HWND w, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<DialogsOf*>(data);
        DWORD owner = 0;
        wchar_t cls[16] = {};
        GetWindowThreadProcessId(w, &owner);
        if (owner == s->pid && IsWindowVisible(w) && GetClassNameW(w, cls, 16) &&
            lstrcmpW(cls, L"#32770") == 0)
          s->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// An icon drawn over a fixed background, pixel by pixel (icons of this process only).
std::vector<uint32_t> iconPixels(HICON icon, int size) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<uint32_t> out;
  if (bitmap && bits) {
    HGDIOBJ old = SelectObject(dc, bitmap);
    std::fill_n(static_cast<uint32_t*>(bits), size * size, 0x00FF00FFu);
    if (DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL)) {
      GdiFlush();
      out.assign(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + size * size);
    }
    SelectObject(dc, old);
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(dc);
  return out;
}

class OptionsEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override { e2e::profile::clear(); }
  void TearDown() override {
    if (bar) e2e::closeAndWait(launcher, bar);
  }
  void start() {
    launcher = e2e::startLauncher();
    bar = e2e::waitForBar(launcher.pid());
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(cancelFirstRunQuestions(launcher.pid()));
    ASSERT_TRUE(e2e::waitUntil([&] { return shown(bar); }, 5000));
  }
  // The sheets of the launcher: its dialogs with a tab control.
  std::vector<HWND> sheets() const {
    std::vector<HWND> out;
    for (HWND w : visibleDialogs(launcher.pid()))
      if (FindWindowExW(w, nullptr, WC_TABCONTROLW, nullptr)) out.push_back(w);
    return out;
  }
  HWND openSheet() {
    PostMessageW(bar, WM_SYSCOMMAND, 0x0080, 0);
    HWND sheet = nullptr;
    e2e::waitUntil(
        [&] {
          auto found = sheets();
          sheet = found.empty() ? nullptr : found.front();
          return sheet != nullptr;
        },
        8000);
    return sheet;
  }
  static HWND page(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  }
  static HWND showPage(HWND sheet, int index) {
    PostMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
    HWND shown = nullptr;
    e2e::waitUntil(
        [&] {
          shown = page(sheet);
          return shown && SendMessageW(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(shown), 0) == index;
        },
        5000);
    return shown;
  }
  static bool checked(HWND dialog, int id) {
    return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  // Presses a sheet button through the launcher's own loop, which may then show a message.
  bool press(HWND sheet, int button) {
    PostMessageW(sheet, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
    return e2e::waitUntil([&] { return !IsWindow(sheet); }, 8000);
  }
  static void typeInto(HWND edit, const std::wstring& text) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
    e2e::pumpFor(100);
  }
  static bool pasteInto(HWND edit, const std::wstring& text) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    SendMessageW(edit, WM_PASTE, 0, 0);
    return true;
  }

  e2e::Process launcher;
  HWND bar = nullptr;
};

TEST_F(OptionsEndToEnd, OneSheetOfThreePagesAndCancelLeavesTheProfileAsItWas) {
  start();
  const Snapshot before = profileSnapshot();
  ASSERT_FALSE(before.empty());
  HWND sheet = openSheet();
  ASSERT_NE(sheet, nullptr);
  PostMessageW(bar, WM_SYSCOMMAND, 0x0080, 0);
  e2e::pumpFor(500);
  EXPECT_EQ(sheets().size(), 1u) << "a second option command brings the open sheet forward";
  EXPECT_EQ(SendMessageW(FindWindowExW(sheet, nullptr, WC_TABCONTROLW, nullptr), TCM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(windowText(sheet), libraryStrings(IDS_OPTIONS_CAPTION).front());
  for (int button : {0x3021 /* Apply */, IDHELP}) {
    HWND shown = GetDlgItem(sheet, button);
    EXPECT_TRUE(!shown || !IsWindowVisible(shown)) << "button " << button;
  }

  // Change something on every page, then Cancel.
  HWND behaviour = page(sheet);
  SendMessageW(GetDlgItem(behaviour, IDC_FAST_EXIT), BM_CLICK, 0, 0);
  SendMessageW(GetDlgItem(behaviour, IDC_BAR_HOTKEY), HKM_SETHOTKEY,
               MAKEWORD('Q', HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
  HWND timing = showPage(sheet, 2);
  ASSERT_NE(timing, nullptr);
  SetWindowTextW(GetDlgItem(timing, IDC_SCROLL_TIME), L"1234");
  showPage(sheet, 1);
  ASSERT_TRUE(press(sheet, PSBTN_CANCEL));
  e2e::pumpFor(300);
  EXPECT_TRUE(profileSnapshot() == before) << "Cancel wrote to the profile";

  // The bar forgot the closed sheet: the command opens a new one.
  HWND again = openSheet();
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(press(again, PSBTN_CANCEL));
}

// The sheet is modeless: opened while a modal dialog's own loop runs (the tip of
// the day here), it must still go when OK or Cancel is pressed, and open again.
TEST_F(OptionsEndToEnd, ASheetOpenedUnderAModalDialogEndsAndOpensAgain) {
  start();
  PostMessageW(bar, WM_SYSCOMMAND, 0x8020, 0);  // tip of the day, modal on the bar
  HWND tips = nullptr;
  ASSERT_TRUE(e2e::waitUntil(
      [&] {
        for (HWND w : visibleDialogs(launcher.pid()))
          if (!FindWindowExW(w, nullptr, WC_TABCONTROLW, nullptr)) tips = w;
        return tips != nullptr;
      },
      8000));
  for (int round = 0; round < 2; ++round) {
    HWND sheet = openSheet();
    ASSERT_NE(sheet, nullptr) << "round " << round;
    EXPECT_TRUE(press(sheet, PSBTN_CANCEL)) << "round " << round << ": the cancelled sheet stayed";
  }
  EXPECT_TRUE(IsWindow(tips));
  PostMessageW(tips, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(e2e::waitUntil([&] { return !IsWindow(tips); }, 5000));
}

TEST_F(OptionsEndToEnd, OkSavesOnePlaceTheBoundedMaximumAndACleanWildCard) {
  start();
  HWND sheet = openSheet();
  ASSERT_NE(sheet, nullptr);
  HWND behaviour = page(sheet);
  for (int id = IDC_PLACE_LEFT; id <= IDC_PLACE_DESKTOP; ++id)
    if (checked(behaviour, id)) SendMessageW(GetDlgItem(behaviour, id), BM_CLICK, 0, 0);
  EXPECT_TRUE(checked(behaviour, IDC_PLACE_DESKTOP)) << "the last place stays checked";
  SendMessageW(GetDlgItem(behaviour, IDC_CLOSE_INACTIVE), BM_CLICK, 0, 0);

  HWND timing = showPage(sheet, 2);
  ASSERT_NE(timing, nullptr);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(timing, IDC_CLOSE_DELAY))) << "NoActiveToClose enables the delay";
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(timing, IDC_APPEAR_X))) << "OpenAtClickPos is off";
  typeInto(GetDlgItem(timing, IDC_CLOSE_DELAY), L"99");
  EXPECT_EQ(windowText(GetDlgItem(timing, IDC_CLOSE_DELAY)), L"99");
  SetWindowTextW(GetDlgItem(timing, IDC_DESCRIPTION_FIRST), L"Text");
  SetWindowTextW(GetDlgItem(timing, IDC_PATTERN_FIRST), L"*.txt");
  SetWindowTextW(GetDlgItem(timing, IDC_DESCRIPTION_FIRST + 1), L"No pattern");
  SetWindowTextW(GetDlgItem(timing, IDC_DESCRIPTION_FIRST + 2), L"Pictures");
  ASSERT_TRUE(pasteInto(GetDlgItem(timing, IDC_PATTERN_FIRST + 2), L"*.b|mp"));
  EXPECT_EQ(windowText(GetDlgItem(timing, IDC_PATTERN_FIRST + 2)), L"*.bmp") << "the pasted bar is removed";
  ASSERT_TRUE(press(sheet, PSBTN_OK));

  vorbin::RegistryProfile profile;
  EXPECT_EQ(profile.getText(L"Settings", L"VorbBar"), L"NNNNY");
  EXPECT_EQ(profile.getInt(L"Settings", L"CloseDelayTime", -1), 30);
  EXPECT_EQ(profile.getText(L"Settings", L"WildCard"), L"Text|*.txt|Pictures|*.bmp||");
  EXPECT_EQ(profile.getText(L"Settings", L"NoActiveToClose"), L"Yes");
}

TEST_F(OptionsEndToEnd, AHotKeyHeldElsewhereIsRefusedAndTheOldOneStays) {
  start();
  ASSERT_TRUE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, 'J'));
  HWND sheet = openSheet();
  ASSERT_NE(sheet, nullptr);
  HWND behaviour = page(sheet);
  SendMessageW(GetDlgItem(behaviour, IDC_BAR_HOTKEY), HKM_SETHOTKEY,
               MAKEWORD('J', HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
  PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
  const std::wstring expected = libraryStrings(IDS_HOTKEY_TAKEN).front();
  HWND box = nullptr;
  EXPECT_TRUE(e2e::waitUntil(
      [&] {
        for (HWND w : visibleDialogs(launcher.pid()))
          if (w != sheet && dialogMessage(w) == expected) box = w;
        return box != nullptr;
      },
      8000))
      << "message 3200 did not come";
  if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
  e2e::pumpFor(300);
  EXPECT_TRUE(IsWindow(sheet)) << "the sheet stays after a refused key";
  ASSERT_TRUE(press(sheet, PSBTN_CANCEL));
  UnregisterHotKey(nullptr, 7);

  vorbin::RegistryProfile profile;
  EXPECT_EQ(profile.getInt(L"Settings", L"HotKey", vorbin::kDefaultHotKey), vorbin::kDefaultHotKey);
  // The old key still reaches the bar.
  PostMessageW(bar, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(e2e::waitUntil([&] { return hidden(bar); }, 5000));
  pressBarHotKey();
  EXPECT_TRUE(e2e::waitUntil([&] { return shown(bar); }, 5000)) << "the old bar hot key no longer works";
}

// Each page in both languages: every control inside its page, and a picture for the eye.
TEST_F(OptionsEndToEnd, EveryPageFitsInBothLanguages) {
  for (int language : {vorbin::kLanguageEnglish, vorbin::kLanguageJapanese}) {
    e2e::profile::clear();
    e2e::profile::setDword(L"Settings", L"Language", static_cast<DWORD>(language));
    start();
    HWND sheet = openSheet();
    ASSERT_NE(sheet, nullptr);
    for (int index : {1, 2, 0}) {
      HWND shown = showPage(sheet, index);
      ASSERT_NE(shown, nullptr);
      RECT pageRect{};
      GetWindowRect(shown, &pageRect);
      for (HWND child = GetWindow(shown, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        EXPECT_TRUE(r.left >= pageRect.left && r.top >= pageRect.top && r.right <= pageRect.right &&
                    r.bottom <= pageRect.bottom)
            << "language " << language << " page " << index << " control " << GetDlgCtrlID(child);
      }
      // The picture once the sheet and its page have nothing left to paint.
      e2e::waitUntil(
          [&] { return !GetUpdateRect(sheet, nullptr, FALSE) && !GetUpdateRect(shown, nullptr, FALSE); },
          3000);
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(sheet, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
      e2e::pumpFor(300);
      e2e::captureToArtifact(sheet, L"options_" + std::to_wstring(language) + L"_" + std::to_wstring(index));
    }
    ASSERT_TRUE(press(sheet, PSBTN_CANCEL));
    e2e::closeAndWait(launcher, bar);
    bar = nullptr;
  }
}

// The sheet's icon, checked in this process: the system answers WM_GETICON
// only to the window's own process. The test carries the launcher's images.
TEST(OptionsSheetIcon, TheSheetShowsIcon362BigAndSmall) {
  HMODULE library = LoadLibraryExW(e2e::binPath(L"Vorbr2ke.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(library, nullptr);
  vorbin::Settings settings;
  vorbin::Colors colors = vorbin::defaultColors();
  vorbin::MemoryProfile profile;
  {
    vorbin::COptionsSheet sheet(
        vorbin::OptionsSheetContext{settings, colors, profile, nullptr, e2e::binDir(), library, {}});
    ASSERT_TRUE(sheet.open());
    for (auto [which, metric] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
      const int size = GetSystemMetrics(metric);
      auto shown = reinterpret_cast<HICON>(SendMessageW(sheet.hwnd(), WM_GETICON, which, 0));
      auto expected = static_cast<HICON>(
          LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(362), IMAGE_ICON, size, size, 0));
      ASSERT_NE(shown, nullptr) << "icon " << which;
      ASSERT_NE(expected, nullptr);
      const std::vector<uint32_t> pixels = iconPixels(shown, size);
      EXPECT_FALSE(pixels.empty()) << "icon " << which << " cannot be drawn";
      EXPECT_TRUE(pixels == iconPixels(expected, size)) << "icon " << which << " is not 362";
      DestroyIcon(expected);
    }
  }
  FreeLibrary(library);
}

}  // namespace
