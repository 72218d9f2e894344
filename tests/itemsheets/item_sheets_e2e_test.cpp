// The real launcher's item property sheet and new-item wizard, opened with
// Alt+Enter on a button and driven from outside: renaming, limits, a missing
// target, the working-folder combo, the Browse, Change Icon and Properties
// buttons, and buttons made from a program path and from a web address.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h.
#include <commctrl.h>
#include <dlgs.h>
#include <prsht.h>

#include <algorithm>

#include "launcher/app/resource_library.h"
#include "launcher/model/group_table.h"
#include "launcher/model/registry_profile.h"
#include "launcher/render/bar_fonts.h"
#include "launcher/render/icon_convert.h"
#include "launcher/resources/resource_ids.h"
#include "tests/app/launcher_driver.h"
#include "tests/support/e2e.h"

namespace vorbin {
namespace {

std::wstring windowsFolder() {
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  return windows;
}
std::wstring notepad() { return windowsFolder() + L"\\notepad.exe"; }
std::wstring sevenIcons() { return e2e::binPath(L"seven_icons.dll"); }
constexpr int kIconsSlot = 5;  // a button whose target holds seven icons

bool sameText(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

struct DialogsOf {
  DWORD pid;
  std::vector<HWND> found;
};
BOOL CALLBACK collectDialogs(HWND w, LPARAM data) {
  auto* s = reinterpret_cast<DialogsOf*>(data);
  wchar_t cls[16];
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == s->pid && IsWindowVisible(w) && GetClassNameW(w, cls, 16) && lstrcmpW(cls, L"#32770") == 0)
    s->found.push_back(w);
  return TRUE;
}
std::vector<HWND> dialogsOf(DWORD pid) {
  DialogsOf s{pid, {}};
  EnumWindows(collectDialogs, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND currentPage(HWND sheet) {
  return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

void setText(HWND page, int id, const std::wstring& text) {
  SendMessageW(GetDlgItem(page, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

class ItemSheets : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) - 1);
    e2e::profile::clear();
    RegistryProfile profile;
    GroupTable table(profile, ModelOptions{});
    table.loadGroups();
    const std::wstring tools = L"Tools";
    ASSERT_EQ(table.ensureGroup(1, &tools, false), 1);
    auto item = std::make_unique<Item>();
    item->title = L"Editor";
    item->setTargetPath(notepad());
    item->folder = windowsFolder();
    table.placeItem(1, 0, std::move(item));
    ASSERT_TRUE(table.saveItem(1, 0, false));
    auto icons = std::make_unique<Item>();
    icons->title = L"Icons";
    icons->setTargetPath(sevenIcons());
    icons->folder = e2e::binDir();
    table.placeItem(1, kIconsSlot, std::move(icons));
    ASSERT_TRUE(table.saveItem(1, kIconsSlot, false));
    table.saveOrder();
    m_section = table.groupSectionName(1);
    e2e::profile::setString(L"Settings", L"ActGroup", L"1");
    e2e::profile::setString(L"Settings", L"Lock", L"Yes");
    e2e::profile::setDword(L"Settings", L"ActRect", 2);  // the keyboard starts in the grid
    e2e::profile::setDword(L"Settings", L"PositionX", 320);
    e2e::profile::setDword(L"Settings", L"PositionY", 160);
  }
  void TearDown() override {
    for (HWND dialog : dialogsOf(m_launcher.pid())) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    if (m_bar) e2e::closeAndWait(m_launcher, m_bar);
  }

  void start() {
    m_bar = driver::startBarInFront(m_launcher);
    ASSERT_NE(m_bar, nullptr);
    RECT client;
    GetClientRect(m_bar, &client);
    HDC screen = GetDC(nullptr);
    const LayoutMetrics metrics = measureLayoutMetrics(screen, FontSettings{}, 25, 0, 4);
    ReleaseDC(nullptr, screen);
    m_layout = computeBarLayout(metrics, false, client.bottom);
  }

  // Alt+Enter with the pointer over the slot's button: the sheet (or wizard) that opens.
  HWND openSheetOn(int slot) {
    const PixelRect r = gridButton(m_layout, gridCells(m_layout, 0), slot).image;
    POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(m_bar, &at);
    SetCursorPos(at.x, at.y);
    e2e::waitUntil(
        [&] {
          POINT now{};
          return GetCursorPos(&now) && now.x == at.x && now.y == at.y;
        },
        2000);
    POINT client = at;
    ScreenToClient(m_bar, &client);
    PostMessageW(m_bar, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    e2e::pumpFor(100);
    PostMessageW(m_bar, WM_SYSKEYDOWN, VK_RETURN, 1 << 29);
    HWND sheet = nullptr;
    e2e::waitUntil(
        [&] {
          const auto found = dialogsOf(m_launcher.pid());
          sheet = found.empty() ? nullptr : found.front();
          return sheet && currentPage(sheet);
        },
        8000);
    return sheet;
  }

  // Another dialog of the launcher that satisfies match (the sheet's pickers and boxes).
  template <class Match>
  HWND waitForOtherDialog(HWND sheet, Match match, DWORD timeoutMs = 10000) {
    HWND found = nullptr;
    e2e::waitUntil(
        [&] {
          for (HWND d : dialogsOf(m_launcher.pid()))
            if (d != sheet && match(d)) found = d;
          return found != nullptr;
        },
        timeoutMs);
    return found;
  }

  bool press(HWND sheet, int button) {
    PostMessageW(sheet, PSM_PRESSBUTTON, button, 0);
    return e2e::waitUntil([&] { return !IsWindow(sheet) || !IsWindowVisible(sheet); }, 8000);
  }

  // The profile as the launcher left it (a profile opened before SetUp
  // cleared the key would still look at the deleted one).
  std::unique_ptr<GroupTable> reload() {
    m_profile = std::make_unique<RegistryProfile>();
    ModelOptions options;
    options.isV416Later = true;  // as the seeding made it
    auto table = std::make_unique<GroupTable>(*m_profile, options);
    table->loadGroups();
    return table;
  }
  bool hasValue(const std::wstring& name) {
    const auto names = e2e::profile::valueNames(m_section);
    return std::find(names.begin(), names.end(), name) != names.end();
  }

  e2e::Process m_launcher;
  HWND m_bar = nullptr;
  BarLayout m_layout;
  std::wstring m_section;
  std::unique_ptr<RegistryProfile> m_profile;
};

TEST_F(ItemSheets, OkRenamesTheValueAndStoresBoundedTexts) {
  start();
  HWND sheet = openSheetOn(0);
  ASSERT_NE(sheet, nullptr) << "Alt+Enter opened no sheet";
  HWND page = currentPage(sheet);
  wchar_t text[300] = {};
  GetDlgItemTextW(page, IDC_ITEM_TITLE, text, 300);
  EXPECT_STREQ(text, L"Editor");
  setText(page, IDC_ITEM_TITLE, L"Writer");
  setText(page, IDC_ITEM_COMMAND, L"\"" + notepad() + L"\" notes.txt");
  setText(page, IDC_ITEM_COMMENT, std::wstring(5000, L'c'));
  SendMessageW(GetDlgItem(page, IDC_ITEM_HOT_KEY), HKM_SETHOTKEY, 'K', 0);  // no modifier
  ASSERT_TRUE(press(sheet, PSBTN_OK)) << "the sheet did not close";
  e2e::pumpFor(200);

  EXPECT_FALSE(hasValue(L"Editor,1")) << "the old value stayed";
  EXPECT_TRUE(hasValue(L"Writer,1"));
  const auto table = reload();
  const Item* item = table->item(1, 0);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->title, L"Writer");
  // The program is taken as found: a path without blanks loses its quotes.
  EXPECT_EQ(_wcsicmp(item->targetPath().c_str(), (notepad() + L" notes.txt").c_str()), 0)
      << item->targetPath();
  EXPECT_EQ(item->text5, std::wstring(1024, L'c'));
  EXPECT_EQ(item->hotKey, 0x0600 | 'K');  // Control+Alt+K
}

TEST_F(ItemSheets, MissingTargetKeepsThePageWithTheNotFoundMessage) {
  start();
  HWND sheet = openSheetOn(0);
  ASSERT_NE(sheet, nullptr);
  HWND page = currentPage(sheet);
  setText(page, IDC_ITEM_TITLE, L"Gone");
  setText(page, IDC_ITEM_COMMAND, L"C:\\nowhere\\missing.exe");
  PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
  HWND box = nullptr;
  std::wstring message;
  ASSERT_TRUE(e2e::waitUntil(
      [&] {
        for (HWND d : dialogsOf(m_launcher.pid()))
          if (d != sheet) box = d;
        if (box) message = driver::dialogMessage(box);
        return box != nullptr && !message.empty();
      },
      8000))
      << "no message about the missing target";
  EXPECT_NE(message.find(L"missing.exe"), std::wstring::npos) << message;
  const auto texts = driver::libraryStrings(IDS_FILE_NOT_FOUND);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(message.substr(0, 10), texts[0].substr(0, 10)) << message;
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  e2e::pumpFor(400);
  EXPECT_TRUE(IsWindow(sheet) && IsWindowVisible(sheet)) << "the sheet closed over a missing target";
  EXPECT_EQ(currentPage(sheet), page);
  ASSERT_TRUE(press(sheet, PSBTN_CANCEL));
  e2e::pumpFor(200);
  EXPECT_TRUE(hasValue(L"Editor,1"));
  EXPECT_FALSE(hasValue(L"Gone,1"));
}

TEST_F(ItemSheets, WizardMakesButtonsFromAProgramPathAndAWebAddress) {
  start();
  struct Case {
    int slot;
    std::wstring target;
  } cases[] = {{1, notepad()}, {2, L"http://example.com/start"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slot);
    HWND wizard = openSheetOn(c.slot);
    ASSERT_NE(wizard, nullptr) << "Alt+Enter on an empty slot opened no wizard";
    const auto captions = driver::libraryStrings(IDS_WIZARD_CAPTION);
    ASSERT_FALSE(captions.empty());
    EXPECT_EQ(driver::windowText(wizard), captions[0]);
    HWND page = currentPage(wizard);
    setText(page, IDC_WIZARD_TARGET, c.target);
    PostMessageW(wizard, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
    ASSERT_TRUE(
        e2e::waitUntil([&] { return GetDlgItem(currentPage(wizard), IDC_WIZARD_TITLE) != nullptr; }, 5000))
        << "page 2 did not come";
    e2e::pumpFor(200);
    ASSERT_TRUE(press(wizard, PSBTN_FINISH));
    e2e::pumpFor(300);
  }
  const auto table = reload();
  const Item* program = table->item(1, 1);
  ASSERT_NE(program, nullptr) << "no button from the program path";
  EXPECT_EQ(program->flags & (kItemUrl | kItemFolder | kItemPrompt), 0u);
  EXPECT_NE(program->targetPath().find(L"notepad.exe"), std::wstring::npos) << program->targetPath();
  EXPECT_FALSE(program->title.empty());
  const Item* web = table->item(1, 2);
  ASSERT_NE(web, nullptr) << "no button from the web address";
  EXPECT_EQ(web->flags & kItemFlagBits & ~kItemShowMask, kItemUrl);
  EXPECT_EQ(web->targetPath(), L"http://example.com/start");
  const auto titles = driver::libraryStrings(IDS_WEB_LINK_TITLE);
  ASSERT_FALSE(titles.empty());
  EXPECT_EQ(web->title, titles[0]);
  EXPECT_TRUE(hasValue(web->title + L",3"));
}

void click(HWND page, int id) {
  PostMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
}

TEST_F(ItemSheets, TheFolderComboShowsTheStoredFolderAndAChangedOneIsStored) {
  start();
  HWND sheet = openSheetOn(0);
  ASSERT_NE(sheet, nullptr);
  HWND page = currentPage(sheet);
  HWND combo = GetDlgItem(page, IDC_ITEM_FOLDER);
  ASSERT_NE(combo, nullptr);
  EXPECT_TRUE(GetWindowLongW(combo, GWL_STYLE) & CBS_OWNERDRAWFIXED) << "still a plain combo box";
  EXPECT_TRUE(sameText(driver::windowText(combo), windowsFolder())) << driver::windowText(combo);

  // Dropped, it lists the drive, the chain down to the folder and its subfolders.
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_TRUE(e2e::waitUntil([&] { return SendMessageW(combo, CB_GETCOUNT, 0, 0) > 3; }, 5000))
      << "the list shows " << SendMessageW(combo, CB_GETCOUNT, 0, 0) << " entries";
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  e2e::pumpFor(200);
  EXPECT_TRUE(sameText(driver::windowText(combo), windowsFolder())) << driver::windowText(combo);

  // A typed path that is partly missing goes to the deepest folder that exists.
  const std::wstring system = windowsFolder() + L"\\system32";
  HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((system + L"\\no such folder").c_str()));
  PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_TRUE(e2e::waitUntil([&] { return sameText(driver::windowText(combo), system); }, 5000))
      << driver::windowText(combo);
  ASSERT_TRUE(press(sheet, PSBTN_OK));
  e2e::pumpFor(200);
  const auto table = reload();
  const Item* item = table->item(1, 0);
  ASSERT_NE(item, nullptr);
  EXPECT_TRUE(sameText(item->folder, system)) << item->folder;
  EXPECT_TRUE(sameText(item->targetPath(), notepad())) << item->targetPath();
}

TEST_F(ItemSheets, BrowseTakesThePickedProgram) {
  start();
  HWND sheet = openSheetOn(0);
  ASSERT_NE(sheet, nullptr);
  HWND page = currentPage(sheet);
  click(page, IDC_ITEM_BROWSE);
  HWND picker = waitForOtherDialog(sheet, [](HWND d) { return GetDlgItem(d, cmb13) || GetDlgItem(d, edt1); });
  ASSERT_NE(picker, nullptr) << "Browse opened no picker";
  const std::wstring chosen = windowsFolder() + L"\\regedit.exe";
  HWND field = GetDlgItem(picker, cmb13) ? GetDlgItem(picker, cmb13) : GetDlgItem(picker, edt1);
  HWND edit = reinterpret_cast<HWND>(SendMessageW(field, CBEM_GETEDITCONTROL, 0, 0));
  if (!edit) edit = FindWindowExW(field, nullptr, L"Edit", nullptr);
  SendMessageW(edit ? edit : field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
  PostMessageW(picker, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(e2e::waitUntil([&] { return !IsWindow(picker); }, 8000)) << "the picker stayed";
  EXPECT_TRUE(e2e::waitUntil(
      [&] { return sameText(driver::windowText(GetDlgItem(page, IDC_ITEM_COMMAND)), chosen); }, 5000))
      << driver::windowText(GetDlgItem(page, IDC_ITEM_COMMAND));
  ASSERT_TRUE(press(sheet, PSBTN_OK));
  e2e::pumpFor(200);
  const auto table = reload();
  const Item* item = table->item(1, 0);
  ASSERT_NE(item, nullptr);
  EXPECT_TRUE(sameText(item->targetPath(), chosen)) << item->targetPath();
  EXPECT_EQ(item->title, L"Editor");
  EXPECT_EQ(item->flags & (kItemFolder | kItemPrompt | kItemIdList | kItemUrl), 0u);
}

// The picture of icon `index` of the seven-icon library, as the sheet stores a picked one.
IconImage sevenIconsPicture(int index) {
  HICON icon = nullptr;
  PrivateExtractIconsW(sevenIcons().c_str(), index, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                       &icon, nullptr, 1, 0);
  return icon ? imageFromIcon(icon, true, true) : IconImage{};
}

TEST_F(ItemSheets, ChangeIconShowsTheTargetsSevenIconsAndStoresThePickedOne) {
  start();
  HWND sheet = openSheetOn(kIconsSlot);
  ASSERT_NE(sheet, nullptr);
  HWND page = currentPage(sheet);
  click(page, IDC_ITEM_CHANGE_ICON);
  HWND picker = waitForOtherDialog(sheet, [](HWND d) { return GetDlgItem(d, IDC_ICON_GRID) != nullptr; });
  ASSERT_NE(picker, nullptr) << "Change Icon opened no icon picker";
  HWND grid = GetDlgItem(picker, IDC_ICON_GRID);
  EXPECT_TRUE(e2e::waitUntil([&] { return SendMessageW(grid, LB_GETCOUNT, 0, 0) == 2; }, 5000))
      << "seven icons make two rows of six, the grid has " << SendMessageW(grid, LB_GETCOUNT, 0, 0);
  e2e::pumpFor(300);
  e2e::captureToArtifact(picker, L"item_sheet_icon_picker");
  SendMessageW(grid, WM_KEYDOWN, VK_END, 0);
  SendMessageW(grid, WM_KEYDOWN, VK_RIGHT, 0);  // nothing after the seventh
  PostMessageW(picker, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(e2e::waitUntil([&] { return !IsWindow(picker); }, 8000)) << "the icon picker stayed";
  ASSERT_TRUE(press(sheet, PSBTN_OK));
  e2e::pumpFor(200);
  const auto table = reload();
  const Item* item = table->item(1, kIconsSlot);
  ASSERT_NE(item, nullptr);
  const IconImage seventh = sevenIconsPicture(6), first = sevenIconsPicture(0);
  ASSERT_FALSE(seventh.bits.empty());
  ASSERT_NE(seventh.bits, first.bits) << "the test library's icons cannot be told apart";
  EXPECT_EQ(item->image.depth, seventh.depth);
  EXPECT_TRUE(item->image.bits == seventh.bits) << "the stored picture is not the seventh icon";
}

// The properties window the shell opens for the target: another dialog of the launcher.
TEST_F(ItemSheets, PropertiesOpensTheTargetsOwnSheetAndLeavesTheButtonAsItWas) {
  start();
  HWND sheet = openSheetOn(0);
  ASSERT_NE(sheet, nullptr);
  HWND page = currentPage(sheet);
  ASSERT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_ITEM_TARGET_PROPERTIES)));
  click(page, IDC_ITEM_TARGET_PROPERTIES);
  HWND properties = waitForOtherDialog(sheet, [](HWND d) {
    return FindWindowExW(d, nullptr, WC_TABCONTROLW, nullptr) != nullptr;
  });
  ASSERT_NE(properties, nullptr) << "no properties window of the target";
  e2e::pumpFor(300);
  e2e::captureToArtifact(properties, L"item_sheet_target_properties");
  std::wstring caption = driver::windowText(properties);
  for (auto& c : caption) c = static_cast<wchar_t>(towlower(c));
  EXPECT_NE(caption.find(L"notepad"), std::wstring::npos) << caption;
  ASSERT_TRUE(press(properties, PSBTN_CANCEL)) << "the properties window stayed";
  // Showing the properties never starts the target.
  e2e::pumpFor(300);
  EXPECT_EQ(FindWindowW(L"Notepad", nullptr), nullptr) << "the target was started";
  // The item sheet is still there and its OK keeps the button as it was.
  e2e::pumpFor(200);
  ASSERT_TRUE(IsWindow(sheet) && IsWindowVisible(sheet));
  ASSERT_TRUE(press(sheet, PSBTN_OK));
  e2e::pumpFor(200);
  const auto table = reload();
  const Item* item = table->item(1, 0);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->title, L"Editor");
  EXPECT_TRUE(sameText(item->targetPath(), notepad())) << item->targetPath();
  EXPECT_TRUE(sameText(item->folder, windowsFolder())) << item->folder;
}

// Each page in both languages: every control inside its page, and a picture for the eye.
TEST_F(ItemSheets, EveryPageFitsInBothLanguages) {
  for (int language : {kLanguageEnglish, kLanguageJapanese}) {
    e2e::profile::setDword(L"Settings", L"Language", static_cast<DWORD>(language));
    start();
    for (int slot : {0, 1}) {
      HWND sheet = openSheetOn(slot);
      ASSERT_NE(sheet, nullptr);
      for (int index : {0, 1}) {
        if (slot == 1 && index == 1) {
          setText(currentPage(sheet), IDC_WIZARD_TARGET, notepad());
          PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
        } else if (index == 1) {
          PostMessageW(sheet, PSM_SETCURSEL, 1, 0);
        }
        ASSERT_TRUE(e2e::waitUntil(
            [&] {
              HWND page = currentPage(sheet);
              return page && SendMessageW(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0) == index;
            },
            5000));
        HWND shown = currentPage(sheet);
        RECT pageRect{};
        GetWindowRect(shown, &pageRect);
        for (HWND child = GetWindow(shown, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
          RECT r{};
          GetWindowRect(child, &r);
          EXPECT_TRUE(r.left >= pageRect.left && r.top >= pageRect.top && r.right <= pageRect.right &&
                      r.bottom <= pageRect.bottom)
              << "language " << language << " slot " << slot << " page " << index << " control "
              << GetDlgCtrlID(child);
        }
        e2e::pumpFor(300);
        e2e::captureToArtifact(sheet, L"item_sheets_" + std::to_wstring(language) + L"_" +
                                          std::to_wstring(slot) + L"_" + std::to_wstring(index));
      }
      ASSERT_TRUE(press(sheet, PSBTN_CANCEL));
    }
    e2e::closeAndWait(m_launcher, m_bar);
    m_bar = nullptr;
  }
}

}  // namespace
}  // namespace vorbin
