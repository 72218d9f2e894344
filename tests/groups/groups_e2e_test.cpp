// The real launcher's group sheet and folder registration driven from outside:
// the tab menu's Properties renames a group and registers a folder (a close
// and a Program Manager command sent meanwhile wait for the sheet), the first
// run imports the Start menu, a folder holding a link to itself ends, Cancel
// stops a large scan at once, and how long 5,000 files take.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <dde.h>
#include <prsht.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "launcher/model/group_table.h"
#include "launcher/model/registry_profile.h"
#include "launcher/model/settings.h"
#include "launcher/render/bar_fonts.h"
#include "launcher/render/bar_layout.h"
#include "tests/app/bar_geometry.h"
#include "tests/app/launcher_driver.h"
#include "tests/support/e2e.h"

namespace {

using namespace driver;

constexpr int kRegisterButtonText = 626;
constexpr int kMissingFolderCaption = 801;
constexpr int kProgressCaption = 804;

// Visible dialogs (#32770) of the process whose caption is title (any caption when empty).
HWND dialogTitled(DWORD pid, const std::wstring& title) {
  struct Search {
    DWORD pid;
    const std::wstring& title;
    HWND found = nullptr;
  } s{pid, title};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        wchar_t cls[16] = {};
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner != s->pid || !IsWindowVisible(w) || !GetClassNameW(w, cls, 16) || wcscmp(cls, L"#32770"))
          return TRUE;
        // The caption without a message: a launcher busy with a scan must
        // not make its progress look gone.
        wchar_t caption[256] = {};
        InternalGetWindowText(w, caption, 256);
        if (!s->title.empty() && caption != s->title) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

void setText(HWND control, const std::wstring& text) {
  SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  // The page hears of typing only through EN_CHANGE.
  SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), EN_CHANGE),
               reinterpret_cast<LPARAM>(control));
}

std::wstring tempFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + name;
}

void writeFile(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE) << "cannot write " << std::string(path.begin(), path.end());
  CloseHandle(f);
}

// A fresh folder holding the files (relative names; "sub\\x" makes the subfolder).
void makeFolder(const std::wstring& folder, const std::vector<std::wstring>& files) {
  SHFILEOPSTRUCTW op{};
  std::wstring from = folder + L'\0';
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationW(&op);
  CreateDirectoryW(folder.c_str(), nullptr);
  for (const std::wstring& f : files) {
    const size_t slash = f.rfind(L'\\');
    if (slash != std::wstring::npos) CreateDirectoryW((folder + L"\\" + f.substr(0, slash)).c_str(), nullptr);
    writeFile(folder + L"\\" + f);
  }
}

struct GroupSeen {
  std::wstring title;
  std::vector<std::wstring> items;  // titles, sorted
};

// The profile's options as the launcher reads them: the section names of
// the groups depend on them.
vorbin::ModelOptions storedModelOptions(const vorbin::Profile& profile) {
  vorbin::Settings settings;
  vorbin::loadSettings(profile, settings);
  return vorbin::ModelOptions::fromSettings(settings);
}

// The groups as the profile holds them now.
std::vector<GroupSeen> storedGroups() {
  vorbin::RegistryProfile profile;
  vorbin::GroupTable table(profile, storedModelOptions(profile));
  table.loadGroups();
  std::vector<GroupSeen> out;
  for (size_t g = 1; g < table.placeholderIndex(); ++g) {
    GroupSeen seen{table[g].title, {}};
    for (const auto& item : table[g].items)
      if (item) seen.items.push_back(item->title);
    std::sort(seen.items.begin(), seen.items.end());
    out.push_back(std::move(seen));
  }
  return out;
}

const GroupSeen* groupTitled(const std::vector<GroupSeen>& groups, const std::wstring& title) {
  for (const GroupSeen& g : groups)
    if (g.title == title) return &g;
  return nullptr;
}

class GroupsEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::profile::clear();
    e2e::profile::setString(L"Settings", L"Lock", L"Yes");
    e2e::profile::setString(L"Settings", L"ActGroup", L"1");
  }
  void TearDown() override {
    if (bar && IsWindow(bar)) e2e::closeAndWait(launcher, bar);
  }
  void seedGroups(std::initializer_list<const wchar_t*> titles) {
    vorbin::RegistryProfile profile;
    vorbin::GroupTable table(profile, storedModelOptions(profile));
    table.loadGroups();
    for (const wchar_t* title : titles) {
      std::wstring t = title;
      ASSERT_TRUE(table.ensureGroup(static_cast<int>(table.placeholderIndex()), &t, false));
    }
    table.saveOrder();
  }
  void start() {
    bar = startBarInFront(launcher);
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bringToFront(bar));
    layout = measuredBarLayout(bar);
  }
  // The tab menu's Properties on group n; the sheet.
  HWND openSheet(int group) {
    // A sheet still ending after its scan would be taken for the new one.
    e2e::waitUntil([&] { return findSheet(launcher.pid()) == nullptr; }, 5000);
    const vorbin::TabLayout tabs = vorbin::tabLayout(layout, 0);
    const vorbin::PixelRect r = vorbin::tabRect(layout, tabs, group, 0);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(bar, &p);
    clickAt(p, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    e2e::pumpFor(300);
    tapKey('R');
    HWND sheet = nullptr;
    e2e::waitUntil([&] { return (sheet = findSheet(launcher.pid())) != nullptr; }, 5000);
    if (!sheet) e2e::captureToArtifact(GetDesktopWindow(), L"groups_no_sheet_" + std::to_wstring(group));
    return sheet;
  }
  // Registration page: folder typed, OK pressed.
  HWND registerPage(HWND sheet) {
    PropSheet_SetCurSel(sheet, nullptr, 1);
    e2e::pumpFor(200);
    return PropSheet_GetCurrentPageHwnd(sheet);
  }
  void pressOk(HWND sheet) { PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0); }
  // Waits for the progress dialog to come and go; its time on screen in ms,
  // or -1 when it never closed.
  long long waitForScan(const std::wstring& progressCaption, const std::wstring& shotName = {}) {
    HWND progress = nullptr;
    e2e::waitUntil([&] { return (progress = dialogTitled(launcher.pid(), progressCaption)) != nullptr; },
                   5000);
    const DWORD begun = GetTickCount();
    if (progress && !shotName.empty()) e2e::captureToArtifact(GetDesktopWindow(), shotName);
    if (!e2e::waitUntil([&] { return !dialogTitled(launcher.pid(), progressCaption); }, 240000)) return -1;
    return GetTickCount() - begun;
  }
  void screenshotsOfTheSheet(const std::wstring& language, int group);

  e2e::Process launcher;
  HWND bar = nullptr;
  vorbin::BarLayout layout;
};

TEST_F(GroupsEndToEnd, TabMenuPropertiesRenamesRegistersAndHoldsACloseUntilOk) {
  seedGroups({L"Reg", L"Other"});
  e2e::profile::setDword(L"Settings", L"HowGetSubFolder", 0);
  const std::wstring folder = tempFolder(L"vorbin_groups_reg");
  makeFolder(folder, {L"one.txt", L"two.txt", L"three.txt", L"skip.dat", L"sub\\four.txt"});
  start();

  HWND sheet = openSheet(1);
  ASSERT_NE(sheet, nullptr) << "no sheet from the tab menu";
  e2e::captureToArtifact(GetDesktopWindow(), L"groups_sheet_en");
  // A close (the backup tool's) while the sheet is open waits for it.
  PostMessageW(bar, WM_CLOSE, 0, 0);
  e2e::pumpFor(500);
  ASSERT_TRUE(IsWindow(bar)) << "the bar closed under its open sheet";
  ASSERT_TRUE(IsWindow(sheet));
  // A Program Manager command meanwhile waits as well, and runs after OK.
  HWND client = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(client, nullptr);
  const std::wstring command = L"[DeleteGroup(Other)]";
  HGLOBAL memory =
      GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, (command.size() + 1) * sizeof(wchar_t));
  ASSERT_NE(memory, nullptr);
  std::copy(command.begin(), command.end(), static_cast<wchar_t*>(GlobalLock(memory)));
  GlobalUnlock(memory);
  PostMessageW(bar, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(client), reinterpret_cast<LPARAM>(memory));
  e2e::pumpFor(500);
  EXPECT_NE(groupTitled(storedGroups(), L"Other"), nullptr) << "a group was deleted under the open sheet";

  HWND page = PropSheet_GetCurrentPageHwnd(sheet);
  setText(GetDlgItem(page, 101), L"Renamed");
  page = registerPage(sheet);
  ASSERT_NE(GetDlgItem(page, 2051), nullptr) << "not the registration page";
  EXPECT_EQ(windowText(GetDlgItem(sheet, IDOK)), libraryStrings(kRegisterButtonText)[0]);
  EXPECT_EQ(windowText(GetDlgItem(page, 287)), L"Renamed") << "the first page's title";
  e2e::captureToArtifact(GetDesktopWindow(), L"groups_register_en");

  // A folder that is not there is reported and the page stays.
  setText(GetDlgItem(page, 2051), L"C:\\no\\such\\folder");
  pressOk(sheet);
  HWND box = nullptr;
  const std::wstring caption = libraryStrings(kMissingFolderCaption)[0];
  ASSERT_TRUE(e2e::waitUntil([&] { return (box = dialogTitled(launcher.pid(), caption)) != nullptr; }, 5000));
  EXPECT_NE(dialogMessage(box).find(L"C:\\no\\such\\folder"), std::wstring::npos) << dialogMessage(box);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(e2e::waitUntil([&] { return !IsWindow(box); }, 5000));
  ASSERT_TRUE(IsWindow(sheet));

  setText(GetDlgItem(page, 2051), folder);
  // The pattern box starts with the programs' patterns: the text files need their own.
  setText(GetDlgItem(page, 186), L"*.txt");
  pressOk(sheet);
  // The held close runs once the sheet and the scan are over: the launcher ends by itself.
  ASSERT_TRUE(launcher.wait(20000).has_value()) << "the deferred close never came";
  bar = nullptr;
  DestroyWindow(client);
  GlobalFree(memory);
  const auto groups = storedGroups();
  // The held DeleteGroup ran: only the edited group is left.
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].title, L"Renamed");
  // Only the folder's text files: HowGetSubFolder 0 does not go into "sub".
  EXPECT_EQ(groups[0].items, (std::vector<std::wstring>{L"one", L"three", L"two"}));
}

TEST_F(GroupsEndToEnd, FirstRunImportsTheStartMenuIntoGroupsThatSurviveARestart) {
  wchar_t programs[MAX_PATH] = {};
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs), S_OK);
  const std::wstring seed = std::wstring(programs) + L"\\VorbinSeed";
  makeFolder(seed, {L"alpha.txt", L"beta.txt", L"Deeper\\gamma.txt"});
  launcher = e2e::startLauncher();
  bar = e2e::waitForBar(launcher.pid());
  ASSERT_NE(bar, nullptr);
  const std::wstring userStartMenu = libraryStrings(419)[0];
  bool importAsked = false;
  for (int i = 0; i < 6; ++i) {
    HWND question = nullptr;
    if (!e2e::waitUntil([&] { return (question = findDialog(launcher.pid())) != nullptr; }, 4000)) break;
    e2e::pumpFor(50);
    const bool last = dialogMessage(question) == userStartMenu;
    PostMessageW(question, WM_COMMAND, MAKEWPARAM(last ? IDOK : IDCANCEL, BN_CLICKED), 0);
    e2e::waitUntil([&] { return !IsWindow(question); }, 5000);
    if (last) {
      importAsked = true;
      break;
    }
  }
  ASSERT_TRUE(importAsked) << "no Start menu question";
  // The scan's progress comes and goes.
  EXPECT_GE(waitForScan(libraryStrings(kProgressCaption)[0]), 0);
  e2e::pumpFor(500);
  ASSERT_TRUE(e2e::closeAndWait(launcher, bar));
  bar = nullptr;

  for (int run = 0; run < 2; ++run) {
    const auto groups = storedGroups();
    const GroupSeen* seedGroup = groupTitled(groups, L"VorbinSeed");
    const GroupSeen* deeper = groupTitled(groups, L"Deeper");
    ASSERT_NE(seedGroup, nullptr) << "run " << run;
    ASSERT_NE(deeper, nullptr) << "run " << run;
    EXPECT_EQ(seedGroup->items, (std::vector<std::wstring>{L"alpha", L"beta"}));
    EXPECT_EQ(deeper->items, (std::vector<std::wstring>{L"gamma"}));
    if (run == 1) break;
    // Again, now with groups: no questions, and the groups load and save as they are.
    bar = startBarInFront(launcher);
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(e2e::closeAndWait(launcher, bar));
    bar = nullptr;
  }
}

TEST_F(GroupsEndToEnd, AFolderLinkedToItselfEndsAndCancelStopsALargeScanAtOnce) {
  seedGroups({L"Loop", L"Stop", L"Big"});
  e2e::profile::setDword(L"Settings", L"HowGetSubFolder", 1);
  const std::wstring loop = tempFolder(L"vorbin_groups_loop");
  makeFolder(loop, {L"a.txt", L"inner\\b.txt"});
  const bool linked = CreateSymbolicLinkW((loop + L"\\inner\\up").c_str(), loop.c_str(),
                                          SYMBOLIC_LINK_FLAG_DIRECTORY) != FALSE;
  auto numbered = [](int count) {
    std::vector<std::wstring> names;
    for (int i = 0; i < count; ++i) names.push_back(L"file" + std::to_wstring(i) + L".txt");
    return names;
  };
  const std::wstring many = tempFolder(L"vorbin_groups_many");
  makeFolder(many, numbered(1000));
  const std::wstring big = tempFolder(L"vorbin_groups_big");
  makeFolder(big, numbered(5000));
  start();
  const std::wstring progressCaption = libraryStrings(kProgressCaption)[0];
  // Group n's registration page with the folder and pattern typed, OK pressed.
  auto registerInto = [&](int group, const std::wstring& folder, const std::wstring& pattern) {
    HWND sheet = openSheet(group);
    if (!sheet) return false;
    HWND page = registerPage(sheet);
    setText(GetDlgItem(page, 2051), folder);
    setText(GetDlgItem(page, 186), pattern);
    pressOk(sheet);
    return true;
  };

  if (linked) {
    // An empty pattern registers every file.
    ASSERT_TRUE(registerInto(1, loop, L""));
    EXPECT_GE(waitForScan(progressCaption), 0) << "the walk did not end";
  }

  // 1,000 files into "Stop", cancelled as soon as the progress shows.
  ASSERT_TRUE(registerInto(2, many, L"*.*"));
  HWND progress = nullptr;
  ASSERT_TRUE(e2e::waitUntil(
      [&] { return (progress = dialogTitled(launcher.pid(), progressCaption)) != nullptr; }, 5000));
  const DWORD cancelAt = GetTickCount();
  PostMessageW(progress, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  ASSERT_TRUE(e2e::waitUntil([&] { return !IsWindow(progress); }, 5000)) << "Cancel did not end the scan";
  const DWORD stopped = GetTickCount() - cancelAt;
  EXPECT_LT(stopped, 1000u) << "Cancel took " << stopped << " ms";

  // 5,000 files into "Big", timed.
  const DWORD pressed = GetTickCount();
  ASSERT_TRUE(registerInto(3, big, L"*.*"));
  const long long shown = waitForScan(progressCaption, L"groups_progress_en");
  const DWORD took = GetTickCount() - pressed;
  ASSERT_GE(shown, 0) << "the scan never ended";
  std::printf("[bench] registering 5000 files: %lu ms\n", static_cast<unsigned long>(took));
  RecordProperty("register_5000_ms", static_cast<int>(took));
  e2e::pumpFor(300);
  ASSERT_TRUE(e2e::closeAndWait(launcher, bar));
  bar = nullptr;

  const auto groups = storedGroups();
  ASSERT_EQ(groups.size(), 3u);
  if (linked) {
    // Each file once: the link back up was not walked.
    EXPECT_EQ(groups[0].items, (std::vector<std::wstring>{L"a", L"b"}));
  }
  EXPECT_LT(groups[1].items.size(), 1000u) << "Cancel did not stop the scan";
  EXPECT_EQ(groups[2].items.size(), 5000u);
  if (!linked) GTEST_SKIP() << "this Wine cannot make symbolic links; the loop part did not run";
}

// Both languages' sheet, registration page and progress, for looking at.
TEST_F(GroupsEndToEnd, SheetPagesAndProgressInJapanese) {
  seedGroups({L"グループ"});
  e2e::profile::setDword(L"Settings", L"Language", 1);
  const std::wstring folder = tempFolder(L"vorbin_groups_ja");
  std::vector<std::wstring> names;
  for (int i = 0; i < 300; ++i) names.push_back(L"f" + std::to_wstring(i) + L".txt");
  makeFolder(folder, names);
  start();
  HWND sheet = openSheet(1);
  ASSERT_NE(sheet, nullptr);
  e2e::captureToArtifact(GetDesktopWindow(), L"groups_sheet_ja");
  HWND page = registerPage(sheet);
  EXPECT_EQ(windowText(GetDlgItem(sheet, IDOK)), libraryStrings(kRegisterButtonText)[1]);
  e2e::captureToArtifact(GetDesktopWindow(), L"groups_register_ja");
  setText(GetDlgItem(page, 2051), folder);
  setText(GetDlgItem(page, 186), L"*.txt");
  pressOk(sheet);
  EXPECT_GE(waitForScan(libraryStrings(kProgressCaption)[1], L"groups_progress_ja"), 0);
}

}  // namespace
