// A prompting item of the real launcher: a click opens the browser on the
// item's folder and pattern, three picked documents start the program three
// times, and the item keeps the text, file type, sort order and view.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h.
#include <commctrl.h>

#include "launcher/model/group_table.h"
#include "launcher/model/registry_profile.h"
#include "launcher/model/settings.h"
#include "launcher/render/bar_fonts.h"
#include "launcher/render/bar_layout.h"
#include "launcher/resources/resource_ids.h"
#include "tests/app/launcher_driver.h"
#include "tests/support/e2e.h"

namespace vorbin {
namespace {

std::wstring workFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + L"vb_pick";
}
std::wstring outFile() { return workFolder() + L"-out.txt"; }

std::vector<std::wstring> outLines() {
  std::vector<std::wstring> lines;
  HANDLE f = CreateFileW(outFile().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return lines;
  std::string bytes(GetFileSize(f, nullptr), '\0');
  DWORD read = 0;
  ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(f);
  std::wstring text(bytes.size(), L'\0');
  text.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(read),
                                                      text.data(), static_cast<int>(text.size()))));
  for (size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

std::wstring lower(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(towlower(c));
  return s;
}

class FilePick : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) - 1);
    e2e::profile::clear();
    CreateDirectoryW(workFolder().c_str(), nullptr);
    CreateDirectoryW((workFolder() + L"\\Sub").c_str(), nullptr);
    for (const wchar_t* name : {L"a.txt", L"b.log", L"noext"}) {
      HANDLE f = CreateFileW((workFolder() + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             0, nullptr);
      CloseHandle(f);
    }
    DeleteFileW(outFile().c_str());
    SetEnvironmentVariableW(L"VB_APPEND_OUT", outFile().c_str());
    {
      RegistryProfile profile;
      GroupTable table(profile, ModelOptions{});
      table.loadGroups();
      const std::wstring tools = L"Tools";
      ASSERT_EQ(table.ensureGroup(1, &tools, false), 1);
      auto item = std::make_unique<Item>();
      item->title = L"Pick";
      item->flags = kItemPrompt;
      item->setTargetPath(L"\"" + e2e::binPath(L"append_arg.exe") + L"\"");
      item->folder = workFolder();
      item->text3 = L"*.txt;*.*";
      table.placeItem(1, 0, std::move(item));
      ASSERT_TRUE(table.saveItem(1, 0, false));
      table.saveOrder();
    }
    e2e::profile::setString(L"Settings", L"ActGroup", L"1");
    e2e::profile::setDword(L"Settings", L"PositionX", 320);
    e2e::profile::setDword(L"Settings", L"PositionY", 160);
    e2e::profile::setString(L"Settings", L"Lock", L"Yes");
  }
  void TearDown() override {
    if (HWND open = driver::findDialog(launcher.pid())) PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
    if (bar) e2e::closeAndWait(launcher, bar);
  }

  // Starts the launcher and clicks the item; the browser, or null.
  HWND openBrowser() {
    bar = driver::startBarInFront(launcher);
    if (!bar) return nullptr;
    RECT client;
    GetClientRect(bar, &client);
    HDC screen = GetDC(nullptr);
    const LayoutMetrics metrics = measureLayoutMetrics(screen, FontSettings{}, 25, 0, 4);
    ReleaseDC(nullptr, screen);
    const BarLayout layout = computeBarLayout(metrics, false, client.bottom);
    const PixelRect r = gridButton(layout, gridCells(layout, 0), 0).image;
    POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(bar, &at);
    for (DWORD flags : {DWORD{0}, DWORD{MOUSEEVENTF_LEFTDOWN}, DWORD{MOUSEEVENTF_LEFTUP}}) {
      INPUT in = {};
      in.type = INPUT_MOUSE;
      const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
      in.mi.dx = (at.x * 65536 + w - 1) / w;
      in.mi.dy = (at.y * 65536 + h - 1) / h;
      in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
      SendInput(1, &in, sizeof(in));
      e2e::pumpFor(60);
    }
    HWND browser = nullptr;
    e2e::waitUntil([&] { return (browser = driver::findDialog(launcher.pid())) != nullptr; }, 10000);
    return browser;
  }

  e2e::Process launcher;
  HWND bar = nullptr;
};

TEST_F(FilePick, ThreeDocumentsStartTheProgramThreeTimesAndTheItemKeepsItsChoices) {
  HWND browser = openBrowser();
  ASSERT_NE(browser, nullptr) << "no browser for the prompting item";
  EXPECT_EQ(lower(driver::windowText(browser)), L"open with append_arg.exe");
  HWND list = GetDlgItem(browser, IDC_BROWSER_LIST);
  // "*.txt;*.*" lists a.txt once, beside b.log and noext; never the folder.
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);

  HWND types = GetDlgItem(browser, IDC_BROWSER_FILTER);
  SendMessageW(types, CB_SETCURSEL, 1, 0);
  SendMessageW(browser, WM_COMMAND, MAKEWPARAM(IDC_BROWSER_FILTER, CBN_SELENDOK),
               reinterpret_cast<LPARAM>(types));
  SendMessageW(browser, WM_COMMAND, ID_BROWSER_SORT_DATE, 0);
  SendMessageW(browser, WM_COMMAND, ID_BROWSER_VIEW_DETAILS, 0);
  const std::wstring picked = L"\"a.txt\" \"b.log\" \"noext\"";
  SendMessageW(GetDlgItem(browser, IDC_BROWSER_NAME), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(picked.c_str()));
  PostMessageW(browser, WM_COMMAND, IDOK, 0);

  std::vector<std::wstring> lines;
  EXPECT_TRUE(e2e::waitUntil([&] { return (lines = outLines()).size() >= 3; }, 15000))
      << "fewer than three starts";
  e2e::pumpFor(500);
  lines = outLines();
  ASSERT_EQ(lines.size(), 3u);
  std::vector<std::wstring> expected;
  for (const wchar_t* name : {L"a.txt", L"b.log", L"noext"})
    expected.push_back(lower(workFolder() + L"\\" + name));
  std::vector<std::wstring> got;
  for (const std::wstring& line : lines) {
    std::wstring document = lower(line);
    if (document.size() >= 2 && document.front() == L'"') document = document.substr(1, document.size() - 2);
    got.push_back(document);
  }
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, expected);

  ASSERT_TRUE(e2e::closeAndWait(launcher, bar));
  bar = nullptr;
  {
    // Read as the launcher reads: the seeding made a profile of the newer
    // kind, whose group sections the default options would not find.
    RegistryProfile profile;
    Settings settings;
    loadSettings(profile, settings);
    GroupTable table(profile, ModelOptions::fromSettings(settings));
    table.loadGroups();
    const Item* item = table.item(1, 0);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->promptOptions & 0x0FFF, 0x0113) << "sort 3, file type 1, details view";
    EXPECT_EQ(item->text4, picked);
  }

  // Opened again, the browser starts as it was left.
  browser = openBrowser();
  ASSERT_NE(browser, nullptr);
  list = GetDlgItem(browser, IDC_BROWSER_LIST);
  EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_EQ(SendMessageW(GetDlgItem(browser, IDC_BROWSER_FILTER), CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(driver::windowText(GetDlgItem(browser, IDC_BROWSER_NAME)), picked);
  e2e::captureToArtifact(browser, L"browser_launcher");
  PostMessageW(browser, WM_COMMAND, IDCANCEL, 0);
  e2e::pumpFor(300);
  EXPECT_EQ(outLines().size(), 3u) << "Cancel started something";
}

}  // namespace
}  // namespace vorbin
