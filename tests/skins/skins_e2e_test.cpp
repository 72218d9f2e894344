// A prepared skin chosen on the appearance page of the running launcher: OK
// writes its look to the profile and the bar's frame takes its colour.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "launcher/dialogs/skin_rules.h"
#include "launcher/model/ini_profile.h"
#include "launcher/model/settings.h"
#include "launcher/render/bar_fonts.h"
#include "launcher/render/bar_layout.h"
#include "launcher/resources/resource_ids.h"
#include "tests/app/launcher_driver.h"
#include "tests/support/e2e.h"

namespace {

using namespace vorbin;

std::wstring launcherDataFolder() {
  wchar_t appData[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
  return std::wstring(appData) + L"\\Ornelsoft\\Vorbin2k\\";
}

// The sheet of the launcher: a dialog of the process holding a tab control.
HWND findSheet(DWORD pid) {
  struct Search {
    DWORD pid;
    HWND found;
  } search{pid, nullptr};
  EnumWindows(
      [](HWND w, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        wchar_t cls[16] = {};
        GetWindowThreadProcessId(w, &owner);
        if (owner == s->pid && IsWindowVisible(w) && GetClassNameW(w, cls, 16) &&
            lstrcmpW(cls, L"#32770") == 0 && FindWindowExW(w, nullptr, WC_TABCONTROLW, nullptr)) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The page of the sheet that holds the skin list.
HWND findAppearancePage(HWND sheet) {
  for (HWND child = GetWindow(sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetDlgItem(child, IDC_APP_SKINS)) return child;
  }
  return nullptr;
}

class SkinsEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::profile::clear();
    m_data = launcherDataFolder();
    SHCreateDirectoryExW(nullptr, m_data.substr(0, m_data.size() - 1).c_str(), nullptr);
    m_skin = m_data + L"E2E Red\\";
    CreateDirectoryW(m_skin.c_str(), nullptr);
    IniProfile skin(m_skin + kSkinFileName);
    Colors look = defaultColors();
    look.colors[kBord] = {200, 20, 30, 0};
    saveColors(skin, look);
    skin.flush();
  }
  void TearDown() override {
    if (m_bar) e2e::closeAndWait(m_launcher, m_bar);
    std::wstring from = m_skin.substr(0, m_skin.size() - 1);
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    SHFileOperationW(&op);
  }

  std::wstring m_data, m_skin;
  e2e::Process m_launcher;
  HWND m_bar = nullptr;
};

TEST_F(SkinsEndToEnd, AChosenSkinIsWrittenOnOkAndPaintsTheFrame) {
  m_bar = driver::startBarInFront(m_launcher);
  ASSERT_NE(m_bar, nullptr);
  PostMessageW(m_bar, WM_SYSCOMMAND, 0x0080, 0);
  HWND sheet = nullptr;
  ASSERT_TRUE(e2e::waitUntil([&] { return (sheet = findSheet(m_launcher.pid())) != nullptr; }, 8000))
      << "the options sheet did not open";
  SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
  HWND page = nullptr;
  ASSERT_TRUE(e2e::waitUntil([&] { return (page = findAppearancePage(sheet)) != nullptr; }, 5000));
  HWND skins = GetDlgItem(page, IDC_APP_SKINS);
  ASSERT_EQ(SendMessageW(skins, CB_GETCOUNT, 0, 0), 1);
  SendMessageW(skins, CB_SETCURSEL, 0, 0);
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_APP_SKINS, CBN_SELCHANGE), reinterpret_cast<LPARAM>(skins));
  e2e::pumpFor(500);
  e2e::captureToArtifact(sheet, L"skins_e2e_page");

  // Nothing is written before OK.
  EXPECT_FALSE(e2e::profile::getString(L"Settings", L"SkinName").has_value());
  SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
  ASSERT_TRUE(e2e::waitUntil([&] { return !IsWindow(sheet) || !IsWindowVisible(sheet); }, 5000));
  ASSERT_TRUE(
      e2e::waitUntil([&] { return e2e::profile::getString(L"Settings", L"SkinName").has_value(); }, 5000));
  EXPECT_EQ(e2e::profile::getString(L"Settings", L"SkinName"), L"E2E Red");
  EXPECT_EQ(parseColor(e2e::profile::getString(L"Colors", L"Bord").value_or(L""), {}),
            (ColorValue{200, 20, 30, 0}));

  RECT client;
  GetClientRect(m_bar, &client);
  LayoutMetrics metrics;
  {
    HDC screen = GetDC(nullptr);
    metrics = measureLayoutMetrics(screen, FontSettings{}, 25, 0, 4);
    ReleaseDC(nullptr, screen);
  }
  const BarLayout l = computeBarLayout(metrics, false, client.bottom);
  driver::bringToFront(m_bar);
  bool red = e2e::waitUntil(
      [&] {
        auto cap = e2e::captureWindow(m_bar);
        return cap && cap->at(l.x0 + 1, (l.grid.top + l.grid.bottom) / 2) == 0xC8141Eu;
      },
      5000);
  e2e::captureToArtifact(m_bar, L"skins_e2e_bar");
  EXPECT_TRUE(red) << "the frame did not take the skin's colour";
}

}  // namespace
