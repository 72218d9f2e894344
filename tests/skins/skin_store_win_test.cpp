// The INI profile, skin folders on disk and the appearance page, in a scratch
// data folder of the Wine prefix.
#include <windows.h>
#include <dlgs.h>
#include <ole2.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "framework/property_sheet.h"
#include "launcher/dialogs/appearance_page.h"
#include "launcher/dialogs/skin_rules.h"
#include "launcher/dialogs/skin_store.h"
#include "launcher/model/ini_profile.h"
#include "launcher/resources/resource_ids.h"
#include "tests/support/e2e.h"

namespace vorbin {
namespace {

bool fileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<uint8_t> fileBytes(const std::wstring& path) {
  std::vector<uint8_t> bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(file, nullptr));
  DWORD got = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  bytes.resize(got);
  CloseHandle(file);
  return bytes;
}

void writeFile(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// A 2x2 24-bit bitmap file of one colour.
std::vector<uint8_t> bitmapFile(uint8_t r, uint8_t g, uint8_t b) {
  std::vector<uint8_t> out(54 + 16, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<uint32_t>(out.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, 2);
  put32(22, 2);
  out[26] = 1;
  out[28] = 24;
  put32(34, 16);
  for (int row = 0; row < 2; ++row)
    for (int x = 0; x < 2; ++x) {
      size_t at = 54 + row * 8 + x * 3;
      out[at] = b;
      out[at + 1] = g;
      out[at + 2] = r;
    }
  return out;
}

class SkinFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m_root = std::wstring(temp) + L"skins-test-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    m_data = m_root + L"data\\";
    m_pictures = m_root + L"pictures\\";
    CreateDirectoryW(m_root.c_str(), nullptr);
    CreateDirectoryW(m_data.c_str(), nullptr);
    CreateDirectoryW(m_pictures.c_str(), nullptr);
    CreateDirectoryW((m_pictures + L"other\\").c_str(), nullptr);
    writeFile(m_data + L"keep.txt", {'k'});
    writeFile(m_root + L"parent-keep.txt", {'p'});
    writeFile(m_pictures + L"画像.bmp", bitmapFile(200, 10, 10));
    writeFile(m_pictures + L"sky.bmp", bitmapFile(10, 10, 200));
    writeFile(m_pictures + L"other\\sky.bmp", bitmapFile(10, 200, 10));
  }
  void TearDown() override {
    std::wstring from = m_root.substr(0, m_root.size() - 1);
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    SHFileOperationW(&op);
  }
  void expectSentinels() {
    EXPECT_TRUE(fileExists(m_data + L"keep.txt"));
    EXPECT_TRUE(fileExists(m_root + L"parent-keep.txt"));
  }

  std::wstring m_root, m_data, m_pictures;
};

TEST_F(SkinFolder, IniProfileRoundTripsValuesInAFreshUtf16File) {
  IniProfile ini(m_data + L"fresh.ini");
  const std::vector<uint8_t> blob{0, 1, 0xAB, 0xFF, 0x7F};
  ASSERT_TRUE(ini.setString(L"Colors", L"Bord_pic", L"画像.bmp"));
  ASSERT_TRUE(ini.setString(L"Colors", L"Bord", L" 1 2 3 40"));
  ASSERT_TRUE(ini.setString(L"Colors", L"Empty", L""));
  ASSERT_TRUE(ini.setString(L"Quotes", L"Both", L"\"quoted\""));
  ASSERT_TRUE(ini.setString(L"Quotes", L"Front", L"'open"));
  ASSERT_TRUE(ini.setDword(L"Settings", L"EllipseWidth", 25));
  ASSERT_TRUE(ini.setInt(L"Settings", L"Negative", -7));
  ASSERT_TRUE(ini.setBinary(L"Settings", L"Blob", blob));
  ini.flush();

  std::vector<uint8_t> bytes = fileBytes(ini.path());
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);

  IniProfile again(m_data + L"fresh.ini");
  EXPECT_EQ(again.getString(L"Colors", L"Bord_pic"), L"画像.bmp");
  EXPECT_EQ(again.getString(L"colors", L"BORD"), L" 1 2 3 40");
  EXPECT_EQ(again.getString(L"Colors", L"Empty"), L"");
  EXPECT_EQ(again.getString(L"Quotes", L"Both"), L"\"quoted\"");
  EXPECT_EQ(again.getString(L"Quotes", L"Front"), L"'open");
  EXPECT_FALSE(again.getString(L"Colors", L"Missing").has_value());
  EXPECT_EQ(again.getInt(L"Settings", L"EllipseWidth", 0), 25);
  EXPECT_EQ(again.getInt(L"Settings", L"Negative", 0), -7);
  EXPECT_EQ(again.getBinary(L"Settings", L"Blob"), blob);
  EXPECT_FALSE(again.getBinary(L"Settings", L"Blob", 4).has_value());
  EXPECT_FALSE(again.getBinary(L"Colors", L"Bord_pic").has_value());

  auto colors = again.values(L"Colors");
  ASSERT_EQ(colors.size(), 3u);
  EXPECT_EQ(colors[0].name, L"Bord_pic");
  EXPECT_EQ(colors[0].data, utf16Bytes(L"画像.bmp"));
  EXPECT_EQ(colors[1].data, utf16Bytes(L" 1 2 3 40"));

  EXPECT_TRUE(again.deleteValue(L"Colors", L"Bord"));
  EXPECT_FALSE(again.getString(L"Colors", L"Bord").has_value());
  EXPECT_TRUE(again.deleteSection(L"Settings"));
  EXPECT_TRUE(again.values(L"Settings").empty());
  EXPECT_EQ(again.getString(L"Colors", L"Bord_pic"), L"画像.bmp");
}

TEST_F(SkinFolder, LongValuesAreReadWhole) {
  IniProfile ini(m_data + L"long.ini");
  std::wstring longText(5000, L'x');
  longText += L"画";
  ASSERT_TRUE(ini.setString(L"S", L"Long", longText));
  EXPECT_EQ(ini.getString(L"S", L"Long"), longText);
  ASSERT_EQ(ini.values(L"S").size(), 1u);
  EXPECT_EQ(ini.values(L"S")[0].data.size(), longText.size() * 2);
  EXPECT_TRUE(ini.values(L"S", 100).empty());
}

TEST_F(SkinFolder, NamesThatAddressOtherPlacesAreRefused) {
  SkinStore store(m_data);
  Colors colors = defaultColors();
  for (const wchar_t* name : {L"", L".", L"..", L"CON", L"x.", L"...", L"a\\b", L"..\\data"}) {
    EXPECT_FALSE(store.save(name, L"", colors)) << name;
    EXPECT_FALSE(store.remove(name)) << name;
    EXPECT_FALSE(store.exists(name)) << name;
  }
  expectSentinels();
  EXPECT_TRUE(fileExists(m_data));
}

TEST_F(SkinFolder, SavedSkinsAreListedLoadedAndDeleted) {
  SkinStore store(m_data);
  CreateDirectoryW((m_data + L"no ini\\").c_str(), nullptr);  // a folder without a skin file is no skin
  Colors colors = defaultColors();
  colors.colors[kBord] = {12, 34, 56, 20};
  colors.actAlpha = 99;
  colors.pictures[kBordPic] = m_pictures + L"画像.bmp";
  colors.pictures[kGroupPic] = m_pictures + L"画像.bmp";
  const std::wstring name = storedSkinName(L"Blue/Red");
  ASSERT_TRUE(store.save(name, L"", colors));
  EXPECT_EQ(store.list(), std::vector<std::wstring>{L"Blue\xFF0FRed"});
  EXPECT_TRUE(fileExists(m_data + name + L"\\画像.bmp"));
  EXPECT_TRUE(fileExists(m_pictures + L"画像.bmp"));  // copied, not moved

  Colors loaded = defaultColors();
  ASSERT_TRUE(store.load(name, loaded));
  EXPECT_EQ(loaded.colors[kBord], colors.colors[kBord]);
  EXPECT_EQ(loaded.actAlpha, 99);
  EXPECT_EQ(loaded.pictures[kBordPic], m_data + name + L"\\画像.bmp");
  EXPECT_EQ(loaded.pictures[kGroupPic], m_data + name + L"\\画像.bmp");
  EXPECT_EQ(loaded.pictures[kApplPic], L"");

  // Saved again from itself the skin keeps its picture.
  ASSERT_TRUE(store.save(name, name, loaded));
  EXPECT_TRUE(fileExists(m_data + name + L"\\画像.bmp"));

  ASSERT_TRUE(store.remove(name));
  EXPECT_FALSE(fileExists(m_data + name));
  EXPECT_TRUE(store.list().empty());
  expectSentinels();
}

TEST_F(SkinFolder, ASkinNamingFilesOutsideItsFolderNeverTouchesThem) {
  writeFile(m_data + L"victim.txt", {'v'});
  writeFile(m_root + L"victim.txt", {'v'});
  CreateDirectoryW((m_data + L"Evil\\").c_str(), nullptr);
  {
    IniProfile evil(m_data + L"Evil\\" + kSkinFileName);
    evil.setString(kColorsSection, L"Bord_pic", L"..\\..\\victim.txt");
    evil.setString(kColorsSection, L"Group_pic", L"..\\victim.txt");
    evil.setString(kColorsSection, L"Appl_pic", m_root + L"victim.txt");
    evil.flush();
  }
  SkinStore store(m_data);
  Colors loaded = defaultColors();
  ASSERT_TRUE(store.load(L"Evil", loaded));
  for (const std::wstring& picture : loaded.pictures) EXPECT_EQ(picture, L"");
  ASSERT_TRUE(store.save(L"Evil", L"Evil", loaded));
  EXPECT_TRUE(fileExists(m_data + L"victim.txt"));
  EXPECT_TRUE(fileExists(m_root + L"victim.txt"));
  ASSERT_TRUE(store.remove(L"Evil"));
  EXPECT_TRUE(fileExists(m_data + L"victim.txt"));
  EXPECT_TRUE(fileExists(m_root + L"victim.txt"));
  expectSentinels();
}

TEST_F(SkinFolder, SavingKeepsPicturesTheValuesStillUse) {
  SkinStore store(m_data);
  Colors colors = defaultColors();
  colors.pictures[kBordPic] = m_pictures + L"sky.bmp";
  colors.pictures[kApplPic] = m_pictures + L"other\\sky.bmp";  // same name, another file
  ASSERT_TRUE(store.save(L"A", L"", colors));
  Colors loaded = defaultColors();
  ASSERT_TRUE(store.load(L"A", loaded));
  EXPECT_FALSE(sameFileName(loaded.pictures[kBordPic], loaded.pictures[kApplPic]));
  EXPECT_EQ(fileBytes(loaded.pictures[kBordPic]), fileBytes(m_pictures + L"sky.bmp"));
  EXPECT_EQ(fileBytes(loaded.pictures[kApplPic]), fileBytes(m_pictures + L"other\\sky.bmp"));

  // After an edit the values no longer come from "A", but their pictures
  // still lie in its folder: saving as "A" must not replace the folder.
  loaded.colors[kLight] = {1, 1, 1, 0};
  ASSERT_TRUE(store.save(L"A", L"", loaded));
  EXPECT_TRUE(fileExists(loaded.pictures[kBordPic]));
  EXPECT_TRUE(fileExists(loaded.pictures[kApplPic]));

  // Dropping one picture deletes only that file (named in another case in the file).
  Colors fewer = loaded;
  fewer.pictures[kApplPic].clear();
  ASSERT_TRUE(store.save(L"a", L"A", fewer));
  EXPECT_TRUE(fileExists(loaded.pictures[kBordPic]));
  EXPECT_FALSE(fileExists(loaded.pictures[kApplPic]));

  // Saving over another existing skin replaces its folder; the source skin stays.
  ASSERT_TRUE(store.save(L"B", L"", colors));
  writeFile(m_data + L"B\\stray.txt", {'s'});
  ASSERT_TRUE(store.save(L"B", L"A", fewer));
  EXPECT_FALSE(fileExists(m_data + L"B\\stray.txt"));
  EXPECT_TRUE(fileExists(loaded.pictures[kBordPic]));
}

TEST_F(SkinFolder, AFailedCopyKeepsTheOldSlot) {
  std::array<std::wstring, kPictureCount> pictures{m_pictures + L"missing.bmp", m_pictures + L"sky.bmp", L"",
                                                   L"", L""};
  std::array<std::wstring, kPictureCount> previous{L"old.bmp", L"older.bmp", L"x.bmp", L"", L""};
  EXPECT_FALSE(placePictures(pictures, m_data, previous));
  EXPECT_EQ(pictures[0], L"old.bmp");
  EXPECT_EQ(pictures[1], L"sky.bmp");
  EXPECT_EQ(pictures[2], L"");
  EXPECT_TRUE(fileExists(m_data + L"sky.bmp"));
}

// ---- The page, in a modeless sheet of this process

class AppearancePageTest : public SkinFolder {
 protected:
  void SetUp() override {
    SkinFolder::SetUp();
    // The launcher's thread runs with OLE, which the picture loader uses.
    OleInitialize(nullptr);
    std::wstring bin = _wgetenv(L"VB_BIN_DIR") ? _wgetenv(L"VB_BIN_DIR") : L".";
    for (wchar_t& c : bin)
      if (c == L'/') c = L'\\';
    m_bin = bin;
    loadLibrary(L"Vorbr2ke.dll");
    ASSERT_NE(m_library, nullptr);
    m_colors = defaultColors();
    m_colors.pictures[kBordPic] = L"bar.bmp";
    writeFile(m_data + L"bar.bmp", bitmapFile(1, 2, 3));
  }
  void TearDown() override {
    close();
    if (m_library) FreeLibrary(m_library);
    OleUninitialize();
    SkinFolder::TearDown();
  }
  void loadLibrary(const std::wstring& name) {
    if (m_library) FreeLibrary(m_library);
    m_library = LoadLibraryExW((m_bin + L"\\" + name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  void close() {
    if (m_sheet) m_sheet->destroy();
    m_sheet.reset();
    m_page.reset();
  }
  void open() {
    m_page = std::make_unique<CAppearancePage>(
        AppearanceContext{m_settings, m_colors, m_profile, m_data, m_library});
    m_sheet = std::make_unique<fw::CPropertySheet>(L"Options");
    m_sheet->addPage(m_page.get());
    ASSERT_TRUE(m_sheet->create(nullptr));
    pump();
  }
  static void pump() {
    MSG msg;
    for (int i = 0; i < 5; ++i) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      Sleep(10);
    }
  }
  HWND control(int id) { return GetDlgItem(m_page->hwnd(), id); }
  void choose(int id, const std::wstring& text) {
    HWND combo = control(id);
    LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(text.c_str()));
    ASSERT_NE(index, CB_ERR) << "no entry " << text.size();
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(m_page->hwnd(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    pump();
  }
  std::wstring skinWith(const std::wstring& name, ColorValue bord, const std::wstring& picture) {
    Colors skin = defaultColors();
    skin.colors[kBord] = bord;
    skin.pictures[kBordPic] = picture.empty() ? L"" : m_pictures + picture;
    skin.pictures[kCmdPic] = skin.pictures[kBordPic];
    EXPECT_TRUE(SkinStore(m_data).save(name, L"", skin));
    return name;
  }

  std::wstring m_bin;
  HINSTANCE m_library = nullptr;
  Settings m_settings;
  Colors m_colors;
  MemoryProfile m_profile;
  std::unique_ptr<CAppearancePage> m_page;
  std::unique_ptr<fw::CPropertySheet> m_sheet;
};

TEST_F(AppearancePageTest, PreviewChangesOnlyTheCopyUntilCommit) {
  skinWith(L"Green", {0, 200, 0, 10}, L"画像.bmp");
  open();
  ASSERT_NE(m_page->hwnd(), nullptr);
  EXPECT_EQ(SendMessageW(control(IDC_APP_ENTRY), CB_GETCOUNT, 0, 0), kAppearanceEntryCount);
  EXPECT_EQ(SendMessageW(control(IDC_APP_SKINS), CB_GETCOUNT, 0, 0), 1);
  ASSERT_NE(m_page->picture(kBordPic), nullptr);

  choose(IDC_APP_SKINS, L"Green");
  EXPECT_EQ(m_page->table().colors[kBord], (ColorValue{0, 200, 0, 10}));
  EXPECT_EQ(m_page->skinName(), L"Green");
  // Two slots naming one file share one bitmap.
  EXPECT_NE(m_page->picture(kBordPic), nullptr);
  EXPECT_EQ(m_page->picture(kBordPic), m_page->picture(kCmdPic));
  // Nothing reached the bar's values or the profile yet: Cancel would leave them.
  EXPECT_EQ(m_colors.colors[kBord], defaultColors().colors[kBord]);
  EXPECT_EQ(m_colors.pictures[kBordPic], L"bar.bmp");
  EXPECT_EQ(m_profile.writeCount(), 0u);

  ASSERT_TRUE(m_page->commit());
  EXPECT_EQ(m_colors.colors[kBord], (ColorValue{0, 200, 0, 10}));
  EXPECT_EQ(m_colors.pictures[kBordPic], L"画像.bmp");
  EXPECT_EQ(m_colors.pictures[kCmdPic], L"画像.bmp");
  EXPECT_TRUE(fileExists(m_data + L"画像.bmp"));
  EXPECT_TRUE(fileExists(m_data + L"Green\\画像.bmp"));
  EXPECT_EQ(m_profile.getText(kColorsSection, L"Bord"), L" 0 200 0 10");
  EXPECT_EQ(m_profile.getText(kColorsSection, L"Bord_pic"), L"画像.bmp");
  EXPECT_EQ(m_profile.getText(kSettingsSection, L"SkinName"), L"Green");
  EXPECT_EQ(m_settings.skinName, L"Green");
  EXPECT_FALSE(m_page->commit());  // nothing new
}

TEST_F(AppearancePageTest, AnEditAfterAPreviewForgetsTheSkin) {
  skinWith(L"Green", {0, 200, 0, 10}, L"");
  open();
  choose(IDC_APP_SKINS, L"Green");
  choose(IDC_APP_ENTRY, L"Group tabs");
  SetDlgItemInt(m_page->hwnd(), IDC_APP_NUMBER, 33, TRUE);
  pump();
  EXPECT_EQ(m_page->table().colors[kGroupBase].strength, 33);
  EXPECT_EQ(m_page->skinName(), L"");
  EXPECT_EQ(SendMessageW(control(IDC_APP_SKINS), CB_GETCURSEL, 0, 0), CB_ERR);
  ASSERT_TRUE(m_page->commit());
  EXPECT_EQ(m_profile.getText(kSettingsSection, L"SkinName", L"unset"), L"");
  EXPECT_EQ(m_colors.colors[kGroupBase].strength, 33);
}

TEST_F(AppearancePageTest, AWeightEntryShowsItsRangeAndTheFrameOwnsTheCornerWidth) {
  m_colors.nonActAlphaAp = 77;
  open();
  choose(IDC_APP_ENTRY, L"Inactive bar: items");
  EXPECT_EQ(GetDlgItemInt(m_page->hwnd(), IDC_APP_NUMBER, nullptr, TRUE), 77u);
  int low = 0, high = 0;
  SendMessageW(control(IDC_APP_NUMBER_SPIN), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
               reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 255);
  EXPECT_FALSE(IsWindowEnabled(control(IDC_APP_COLOR)));
  EXPECT_FALSE(IsWindowEnabled(control(IDC_APP_ELLIPSE)));
  choose(IDC_APP_ENTRY, L"Frame");
  EXPECT_TRUE(IsWindowEnabled(control(IDC_APP_ELLIPSE)));
  EXPECT_TRUE(IsWindowEnabled(control(IDC_APP_PICTURE)));
  EXPECT_FALSE(m_page->modified());
  EXPECT_FALSE(m_page->commit());
  EXPECT_EQ(m_profile.writeCount(), 0u);
}

TEST_F(AppearancePageTest, ThePageShowsInBothLanguagesWithEveryControlInside) {
  for (const wchar_t* library : {L"Vorbr2ke.dll", L"Vorbr2kj.dll"}) {
    loadLibrary(library);
    ASSERT_NE(m_library, nullptr);
    m_colors.pictures[kBordPic].clear();
    m_settings.userFont = true;
    m_settings.fontName = L"Tahoma";
    m_settings.userFontSize = 11;
    m_settings.isFontBold = true;
    open();
    wchar_t expected[64] = {};
    LoadStringW(m_library, IDS_APPEARANCE_ENTRY_FIRST + 16, expected, 64);
    wchar_t shown[64] = {};
    SendMessageW(control(IDC_APP_ENTRY), CB_GETLBTEXT, 16, reinterpret_cast<LPARAM>(shown));
    EXPECT_STRNE(expected, L"");
    EXPECT_STREQ(shown, expected);
    wchar_t font[64] = {};
    SendMessageW(control(IDC_APP_FONT_LINE), CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(font));
    EXPECT_STREQ(font, L"Tahoma, 11pt/B");

    RECT page;
    GetClientRect(m_page->hwnd(), &page);
    for (HWND child = GetWindow(m_page->hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      RECT r;
      GetWindowRect(child, &r);
      MapWindowPoints(nullptr, m_page->hwnd(), reinterpret_cast<POINT*>(&r), 2);
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= page.right && r.bottom <= page.bottom)
          << "control " << GetDlgCtrlID(child) << " leaves the page";
    }
    ShowWindow(m_sheet->hwnd(), SW_SHOW);
    SetWindowPos(m_sheet->hwnd(), HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE);
    pump();
    RedrawWindow(m_sheet->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pump();
    std::wstring name = std::wstring(L"appearance_page_") + (library[7] == L'e' ? L"en" : L"ja");
    EXPECT_TRUE(e2e::captureToArtifact(m_sheet->hwnd(), name).has_value());
    close();
  }
}

// Answers the modal name dialog from inside its own message loop.
struct NameAnswer {
  std::wstring typed;
  std::wstring artifact;
  bool answered = false;
};
NameAnswer* g_answer = nullptr;

void CALLBACK answerNameDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM out) -> BOOL {
        if (GetDlgItem(w, IDC_SKIN_NAME_EDIT) && IsWindowVisible(w)) {
          *reinterpret_cast<HWND*>(out) = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&dialog));
  if (!dialog || !g_answer || g_answer->answered) return;
  g_answer->answered = true;
  KillTimer(nullptr, timer);
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  e2e::captureToArtifact(dialog, g_answer->artifact);
  SetDlgItemTextW(dialog, IDC_SKIN_NAME_EDIT, g_answer->typed.c_str());
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(AppearancePageTest, SavingThroughTheNameDialogStoresTheTypedName) {
  for (const wchar_t* library : {L"Vorbr2kj.dll", L"Vorbr2ke.dll"}) {
    loadLibrary(library);
    open();
    NameAnswer answer{L"a/b", std::wstring(L"skin_name_dialog_") + (library[7] == L'e' ? L"en" : L"ja")};
    g_answer = &answer;
    SetTimer(nullptr, 0, 50, answerNameDialog);
    SendMessageW(m_page->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_APP_SAVE_SKIN, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control(IDC_APP_SAVE_SKIN)));
    g_answer = nullptr;
    EXPECT_TRUE(answer.answered);
    const std::wstring stored =
        L"a\xFF0F"
        L"b";
    EXPECT_TRUE(fileExists(m_data + stored + L"\\" + kSkinFileName));
    EXPECT_EQ(m_page->skinName(), stored);
    HWND skins = control(IDC_APP_SKINS);
    EXPECT_NE(SendMessageW(skins, CB_GETCURSEL, 0, 0), CB_ERR);
    // The picture the page shows came along into the skin.
    EXPECT_TRUE(fileExists(m_data + stored + L"\\bar.bmp"));
    close();
  }
}

// Reads the font dialog from inside its own loop, then cancels it.
struct FontDialogSeen {
  std::wstring artifact;
  bool answered = false;
  std::wstring note;
  std::vector<int> sizes;
};
FontDialogSeen* g_fontSeen = nullptr;

void CALLBACK readFontDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM out) -> BOOL {
        if (GetDlgItem(w, cmb1) && GetDlgItem(w, cmb3) && IsWindowVisible(w)) {
          *reinterpret_cast<HWND*>(out) = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&dialog));
  if (!dialog || !g_fontSeen || g_fontSeen->answered) return;
  g_fontSeen->answered = true;
  KillTimer(nullptr, timer);
  wchar_t text[128] = {};
  GetDlgItemTextW(dialog, IDC_FONT_SIZE_NOTE, text, 128);
  g_fontSeen->note = text;
  HWND sizes = GetDlgItem(dialog, cmb3);
  for (LRESULT i = 0, n = SendMessageW(sizes, CB_GETCOUNT, 0, 0); i < n; ++i) {
    SendMessageW(sizes, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    g_fontSeen->sizes.push_back(_wtoi(text));
  }
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  e2e::captureToArtifact(dialog, g_fontSeen->artifact);
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(AppearancePageTest, TheFontDialogUsesTheLibrarysLayoutAndSizesUpTo24Points) {
  for (const wchar_t* library : {L"Vorbr2ke.dll", L"Vorbr2kj.dll"}) {
    loadLibrary(library);
    open();
    FontDialogSeen seen;
    seen.artifact = std::wstring(L"font_dialog_") + (library[7] == L'e' ? L"en" : L"ja");
    g_fontSeen = &seen;
    SetTimer(nullptr, 0, 50, readFontDialog);
    SendMessageW(m_page->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_APP_FONT, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control(IDC_APP_FONT)));
    g_fontSeen = nullptr;
    ASSERT_TRUE(seen.answered);
    EXPECT_NE(seen.note.find(L"24"), std::wstring::npos) << "the dialog is not the library's layout";
    ASSERT_FALSE(seen.sizes.empty());
    for (int size : seen.sizes) EXPECT_TRUE(size >= 6 && size <= 24) << size;
    EXPECT_FALSE(m_page->modified()) << "a cancelled font dialog changes nothing";
    close();
  }
}

}  // namespace
}  // namespace vorbin
