// The pickers under Wine: the icon grid of a seven-icon library, OK with an
// empty grid, a folder scan cancelled and capped, the history drop-down, the
// folder button, and the refused long command. A second thread plays the user.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/widgets/icon_picker.h"
#include "launcher/widgets/picker_rules.h"
#include "launcher/widgets/program_picker.h"
#include "tests/support/e2e.h"

namespace vorbin {
namespace {

// A visible dialog of this process that satisfies match; null after the time-out.
HWND waitForDialog(const std::function<bool(HWND)>& match, DWORD timeoutMs = 10000) {
  struct Search {
    const std::function<bool(HWND)>* match;
    HWND found = nullptr;
  } search{&match};
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
          auto* s = reinterpret_cast<Search*>(p);
          wchar_t name[16] = {};
          DWORD pid = 0;
          GetWindowThreadProcessId(w, &pid);
          GetClassNameW(w, name, 16);
          if (pid != GetCurrentProcessId() || wcscmp(name, L"#32770") != 0 || !IsWindowVisible(w))
            return TRUE;
          if (!(*s->match)(w)) return TRUE;
          s->found = w;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(20);
  }
  return nullptr;
}

// Any control of that id among the window's descendants (the open-file
// dialog keeps our template's controls one level down).
HWND findControl(HWND parent, int id) {
  struct Search {
    int id;
    HWND found = nullptr;
  } search{id};
  EnumChildWindows(
      parent,
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        if (GetDlgCtrlID(w) != s->id) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void press(HWND control) {
  PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
               reinterpret_cast<LPARAM>(control));
}
void pressId(HWND dialog, int id) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

bool isIconPicker(HWND w) { return GetDlgItem(w, IDC_ICON_GRID) != nullptr; }
bool isFileDialog(HWND w) { return findControl(w, IDC_PICK_FOLDER) != nullptr; }
bool isProgress(HWND w) {
  return GetDlgItem(w, IDC_PROGRESS_TEXT) != nullptr && GetDlgItem(w, IDOK) == nullptr;
}

// The open-file dialog's name field, as the picker made it.
HWND nameField(HWND dialog) {
  HWND field = GetDlgItem(dialog, cmb13);
  return field ? field : GetDlgItem(dialog, edt1);
}
bool isComboEx(HWND w) {
  wchar_t name[32] = {};
  GetClassNameW(w, name, 32);
  return wcscmp(name, WC_COMBOBOXEXW) == 0;
}
// Typing goes to the edit inside the combo box, not through the combo's text.
void typeInto(HWND field, const std::wstring& text) {
  HWND edit = isComboEx(field) ? reinterpret_cast<HWND>(SendMessageW(field, CBEM_GETEDITCONTROL, 0, 0))
                               : FindWindowExW(field, nullptr, L"Edit", nullptr);
  SendMessageW(edit ? edit : field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
std::vector<std::wstring> listEntries(HWND field) {
  std::vector<std::wstring> entries;
  const bool ex = isComboEx(field);
  const int count = static_cast<int>(SendMessageW(field, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count && i < 64; ++i) {
    wchar_t text[512] = {};
    if (ex) {
      COMBOBOXEXITEMW item = {};
      item.mask = CBEIF_TEXT;
      item.iItem = i;
      item.pszText = text;
      item.cchTextMax = 512;
      SendMessageW(field, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    } else if (SendMessageW(field, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) < 512) {
      SendMessageW(field, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    }
    entries.emplace_back(text);
  }
  return entries;
}
std::wstring textOf(HWND w) {
  wchar_t text[1024] = {};
  GetWindowTextW(w, text, 1024);
  return text;
}

// A picture of the dialog once it has painted, for looking at by hand.
void snapshot(HWND dialog, const wchar_t* name) {
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  Sleep(500);
  e2e::captureToArtifact(dialog, name);
}

std::wstring lower(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(towlower(c));
  return s;
}

class PickerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_english = LoadLibraryW(e2e::binPath(L"Vorbr2ke.dll").c_str());
    s_japanese = LoadLibraryW(e2e::binPath(L"Vorbr2kj.dll").c_str());
    setResourceModule(s_english);
  }
  static void TearDownTestSuite() {
    setResourceModule(nullptr);
    FreeLibrary(s_english);
    FreeLibrary(s_japanese);
  }
  void SetUp() override {
    ASSERT_NE(s_english, nullptr);
    ASSERT_NE(s_japanese, nullptr);
    m_owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                              nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(m_owner, nullptr);
  }
  void TearDown() override {
    if (m_driver.joinable()) m_driver.join();
    DestroyWindow(m_owner);
  }
  // Runs the user's part on its own thread while this one shows the dialog.
  void drive(std::function<void()> user) { m_driver = std::thread(std::move(user)); }
  void finish() {
    if (m_driver.joinable()) m_driver.join();
  }

  static std::wstring sevenIcons() { return e2e::binPath(L"seven_icons.dll"); }

  static inline HMODULE s_english = nullptr;
  static inline HMODULE s_japanese = nullptr;
  HWND m_owner = nullptr;
  std::thread m_driver;
};

TEST_F(PickerTest, SevenIconsShowTwoRowsTheLastCellIsTheSeventhAndReopeningKeepsThem) {
  IconPicker picker(s_english);
  picker.setSource(IconSource::file(sevenIcons()));
  struct Seen {
    LRESULT rows = -1;
    bool okEnabled = false;
  } first, second;
  drive([&] {
    HWND dialog = waitForDialog(isIconPicker);
    if (!dialog) return;
    HWND grid = GetDlgItem(dialog, IDC_ICON_GRID);
    first.rows = SendMessageW(grid, LB_GETCOUNT, 0, 0);
    first.okEnabled = IsWindowEnabled(GetDlgItem(dialog, IDOK));
    snapshot(dialog, L"icon_picker_en");
    SendMessageW(grid, WM_KEYDOWN, VK_END, 0);
    SendMessageW(grid, WM_KEYDOWN, VK_RIGHT, 0);  // nothing after the seventh
    pressId(dialog, IDOK);
  });
  std::optional<IconChoice> chosen = picker.pick(m_owner);
  finish();
  EXPECT_EQ(first.rows, 2);
  EXPECT_TRUE(first.okEnabled);
  EXPECT_EQ(picker.iconCount(), 7);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->cell, 6);
  EXPECT_EQ(chosen->index, 6);
  EXPECT_EQ(lower(chosen->file), lower(sevenIcons()));
  EXPECT_NE(chosen->icon.get(), nullptr);

  // Shown again: the same grid and the selected row, without loading.
  LRESULT selectedRow = -1;
  drive([&] {
    HWND dialog = waitForDialog(isIconPicker);
    if (!dialog) return;
    HWND grid = GetDlgItem(dialog, IDC_ICON_GRID);
    second.rows = SendMessageW(grid, LB_GETCOUNT, 0, 0);
    selectedRow = SendMessageW(grid, LB_GETCURSEL, 0, 0);
    // A click on the empty part of the last row leaves the selection.
    SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3 * 40 + 5, 40 + 5));
    SendMessageW(grid, WM_LBUTTONUP, 0, MAKELPARAM(3 * 40 + 5, 40 + 5));
    pressId(dialog, IDOK);
  });
  chosen = picker.pick(m_owner);
  finish();
  EXPECT_EQ(second.rows, 2);
  EXPECT_EQ(selectedRow, 1);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->cell, 6);

  // A double click on the second cell is OK.
  drive([&] {
    HWND dialog = waitForDialog(isIconPicker);
    if (!dialog) return;
    HWND grid = GetDlgItem(dialog, IDC_ICON_GRID);
    SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(45, 5));
    SendMessageW(grid, WM_LBUTTONUP, 0, MAKELPARAM(45, 5));
    SendMessageW(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(45, 5));
  });
  chosen = picker.pick(m_owner);
  finish();
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->cell, 1);
}

// A scratch folder of copies of the seven-icon library.
class IconFolder {
 public:
  IconFolder(const std::wstring& source, int copies) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    m_path = std::wstring(temp) + L"vb_icon_scan_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(m_path.c_str(), nullptr);
    for (int i = 0; i < copies; ++i) {
      const std::wstring file = m_path + L"\\lib" + std::to_wstring(i) + L".dll";
      if (CopyFileW(source.c_str(), file.c_str(), FALSE)) m_files.push_back(file);
    }
    const std::wstring text = m_path + L"\\no icons.txt";
    HANDLE h = CreateFileW(text.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(h, "text", 4, &written, nullptr);
      CloseHandle(h);
      m_files.push_back(text);
    }
  }
  ~IconFolder() {
    for (const auto& file : m_files) DeleteFileW(file.c_str());
    RemoveDirectoryW(m_path.c_str());
  }
  const std::wstring& path() const { return m_path; }
  size_t copies() const { return m_files.size() - 1; }

 private:
  std::wstring m_path;
  std::vector<std::wstring> m_files;
};

TEST_F(PickerTest, BrowsingToAFileWithoutIconsEmptiesTheGridAndDisablesOk) {
  IconFolder folder(sevenIcons(), 1);
  FolderValue place{folder.path(), {1, 0, 0, 0}};
  IconPicker picker(s_english, &place);
  picker.setSource(IconSource::file(sevenIcons()));
  bool okBefore = false, okAfter = true;
  LRESULT rowsAfter = -1;
  drive([&] {
    HWND dialog = waitForDialog(isIconPicker);
    if (!dialog) return;
    okBefore = IsWindowEnabled(GetDlgItem(dialog, IDOK));
    pressId(dialog, IDC_ICON_BROWSE);
    HWND open = waitForDialog([&](HWND w) { return GetWindow(w, GW_OWNER) == dialog && isFileDialog(w); });
    if (!open) return;
    snapshot(open, L"icon_browse_en");
    typeInto(nameField(open), L"\"no icons.txt\"");
    pressId(open, IDOK);
    // Back in the picker once the browse dialog is gone.
    e2e::waitUntil([&] { return !IsWindow(open); }, 10000);
    // Answered once the picker's thread is idle again, after the reload.
    rowsAfter = SendMessageW(GetDlgItem(dialog, IDC_ICON_GRID), LB_GETCOUNT, 0, 0);
    okAfter = IsWindowEnabled(GetDlgItem(dialog, IDOK));
    pressId(dialog, IDOK);  // refused: nothing to hand back
    Sleep(200);
    pressId(dialog, IDCANCEL);
  });
  const std::optional<IconChoice> chosen = picker.pick(m_owner);
  finish();
  EXPECT_TRUE(okBefore);
  EXPECT_FALSE(okAfter);
  EXPECT_EQ(rowsAfter, 0);
  EXPECT_FALSE(chosen.has_value());
  EXPECT_EQ(picker.iconCount(), 0);
  EXPECT_EQ(lower(place.path), lower(folder.path()));
}

TEST_F(PickerTest, AGroupShowsItsPictureThenItsItemsAndAFolderItsShellIcon) {
  IconFolder folder(sevenIcons(), 1);
  HICON picture = LoadIconW(nullptr, IDI_APPLICATION);
  IconSource group;
  group.kind = IconSource::Kind::kGroup;
  group.groupPicture = picture;
  group.items = {{sevenIcons(), picture},                        // all seven of its file
                 {L"", picture},                                 // an ID-list target: its picture
                 {folder.path() + L"\\no icons.txt", picture}};  // no icons in the file: its picture
  const struct {
    const char* what;
    IconSource source;
    int count;
  } rows[] = {
      {"group", group, 1 + 7 + 1 + 1},
      {"folder", IconSource::folder(folder.path()), 1},
  };
  for (const auto& row : rows) {
    IconPicker picker(s_english);
    picker.setSource(row.source);
    drive([&] {
      if (HWND dialog = waitForDialog(isIconPicker)) pressId(dialog, IDCANCEL);
    });
    EXPECT_FALSE(picker.pick(m_owner).has_value()) << row.what;
    finish();
    EXPECT_EQ(picker.iconCount(), row.count) << row.what;
  }
}

// Browse, then "this folder": the scan of the folder under the progress dialog.
struct ScanRun {
  bool sawProgress = false;
  DWORD closedAfterCancelMs = 0;
  bool closed = false;
};
ScanRun scanAndMaybeCancel(HWND& pickerOut, bool cancel) {
  ScanRun run;
  HWND dialog = waitForDialog(isIconPicker);
  pickerOut = dialog;
  if (!dialog) return run;
  pressId(dialog, IDC_ICON_BROWSE);
  HWND open = waitForDialog([&](HWND w) { return GetWindow(w, GW_OWNER) == dialog && isFileDialog(w); });
  if (!open) return run;
  press(findControl(open, IDC_PICK_FOLDER));
  HWND progress = waitForDialog([&](HWND w) { return isProgress(w); });
  run.sawProgress = progress != nullptr;
  if (!progress) return run;
  // Some icons first, so that there is something to keep.
  HWND grid = GetDlgItem(dialog, IDC_ICON_GRID);
  e2e::waitUntil([&] { return SendMessageW(grid, LB_GETCOUNT, 0, 0) > 0 || !IsWindow(progress); }, 20000);
  if (!cancel) snapshot(progress, L"progress_en");
  const DWORD start = GetTickCount();
  if (cancel) pressId(progress, IDCANCEL);
  run.closed = e2e::waitUntil([&] { return !IsWindow(progress); }, 60000);
  run.closedAfterCancelMs = GetTickCount() - start;
  return run;
}

TEST_F(PickerTest, CancelStopsTheFolderScanAndTheFoundIconsStay) {
  IconFolder folder(sevenIcons(), 300);  // 2,100 icons: more than the grid takes
  FolderValue place{folder.path(), {1, 0, 0, 0}};
  IconPicker picker(s_english, &place);
  picker.setSource(IconSource::file(sevenIcons()));
  ScanRun run;
  bool okAfter = false;
  drive([&] {
    HWND dialog = nullptr;
    run = scanAndMaybeCancel(dialog, true);
    if (!dialog) return;
    okAfter = IsWindowEnabled(GetDlgItem(dialog, IDOK));
    pressId(dialog, IDCANCEL);
  });
  picker.pick(m_owner);
  finish();
  ASSERT_TRUE(run.sawProgress);
  EXPECT_TRUE(run.closed);
  EXPECT_LT(run.closedAfterCancelMs, 5000u);
  EXPECT_GT(picker.iconCount(), 0);
  EXPECT_LT(picker.iconCount(), static_cast<int>(folder.copies()) * 7);
  EXPECT_LT(picker.iconCount(), icon_grid::kMaxIcons);
  EXPECT_TRUE(okAfter);
  EXPECT_TRUE(IsWindowEnabled(m_owner));
}

TEST_F(PickerTest, AFolderScanStopsAtTheIconCap) {
  IconFolder folder(sevenIcons(), 300);
  FolderValue place{folder.path(), {1, 0, 0, 0}};
  IconPicker picker(s_english, &place);
  picker.setSource(IconSource::file(sevenIcons()));
  ScanRun run;
  drive([&] {
    HWND dialog = nullptr;
    run = scanAndMaybeCancel(dialog, false);
    if (dialog) pressId(dialog, IDCANCEL);
  });
  picker.pick(m_owner);
  finish();
  ASSERT_TRUE(run.sawProgress);
  EXPECT_EQ(picker.iconCount(), icon_grid::kMaxIcons);
}

// The history picker as the EXEC key uses it.
PickRequest historyRequest(HWND owner, CmdHistory* history, const std::wstring& folder) {
  PickRequest request;
  request.owner = owner;
  request.title = L"Run";
  request.filter = L"Programs|*.exe|All files|*.*|";
  request.initialFolder = folder;
  request.flags = pick_flag::kHistory | OFN_PATHMUSTEXIST;
  request.history = history;
  return request;
}

TEST_F(PickerTest, HistoryShowsTheLastCommandFirstAndKeepsTheRebuiltOneOnTop) {
  CmdHistory history;
  for (int i = 14; i >= 0; --i) addToHistory(history, L"cmd" + std::to_wstring(i));
  std::vector<std::wstring> shown;
  std::wstring clicked;
  drive([&] {
    HWND open = waitForDialog(isFileDialog);
    if (!open) return;
    snapshot(open, L"run_history_en");
    HWND field = nameField(open);
    shown = listEntries(field);
    // A name the dialog puts in (a clicked file) stays one program.
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\My Apps\\x.exe"));
    clicked = textOf(field);
    typeInto(field, L"  notepad.exe  some file.txt ");
    pressId(open, IDOK);
  });
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  const PickResult result = pickProgram(historyRequest(m_owner, &history, windows));
  finish();
  ASSERT_GE(shown.size(), 2u);
  EXPECT_EQ(shown[0], L"cmd0");
  EXPECT_EQ(shown.size(), 15u);
  EXPECT_EQ(clicked, L"\"C:\\My Apps\\x.exe\"");
  ASSERT_TRUE(result.accepted);
  ASSERT_EQ(result.files.size(), 1u);
  const std::wstring& command = result.files[0];
  // The program became its full path; the arguments follow it.
  EXPECT_NE(command.find(L":\\"), std::wstring::npos) << command;
  EXPECT_NE(lower(command).find(L"notepad.exe some file.txt"), std::wstring::npos) << command;
  EXPECT_EQ(history[0], command);
  EXPECT_EQ(history[1], L"cmd0");
  EXPECT_EQ(history[14], L"cmd13");  // the oldest dropped out
  EXPECT_EQ(lower(result.folder), lower(windows));
}

// The combo box that drops the history (inside the ComboBoxEx where the dialog has one).
HWND historyCombo(HWND field) {
  return isComboEx(field) ? reinterpret_cast<HWND>(SendMessageW(field, CBEM_GETCOMBOCONTROL, 0, 0)) : field;
}

TEST_F(PickerTest, ADoubleClickOnAHistoryEntryRunsIt) {
  CmdHistory history;
  for (int i = 4; i >= 0; --i) addToHistory(history, L"entry" + std::to_wstring(i) + L" /x");
  bool listed = false, closedByClick = false;
  drive([&] {
    HWND open = waitForDialog(isFileDialog);
    if (!open) return;
    HWND combo = historyCombo(nameField(open));
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(combo, &info) && info.hwndList) {
      RECT entry = {};
      listed = SendMessageW(info.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&entry)) != LB_ERR &&
               IsWindowVisible(info.hwndList);
      const LPARAM at = MAKELPARAM((entry.left + entry.right) / 2, (entry.top + entry.bottom) / 2);
      PostMessageW(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at);
      PostMessageW(info.hwndList, WM_LBUTTONUP, 0, at);
      PostMessageW(info.hwndList, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
      PostMessageW(info.hwndList, WM_LBUTTONUP, 0, at);
    }
    const DWORD start = GetTickCount();
    while (IsWindow(open) && GetTickCount() - start < 4000) Sleep(50);
    closedByClick = !IsWindow(open);
    if (!closedByClick) pressId(open, IDCANCEL);
  });
  const PickResult result = pickProgram(historyRequest(m_owner, &history, L""));
  finish();
  EXPECT_TRUE(listed) << "the history list did not drop down";
  EXPECT_TRUE(closedByClick) << "the double click did not press OK";
  ASSERT_TRUE(result.accepted);
  ASSERT_EQ(result.files.size(), 1u);
  EXPECT_EQ(result.files[0], L"entry2 /x");
  EXPECT_EQ(historyEntries(history),
            (std::vector<std::wstring>{L"entry2 /x", L"entry0 /x", L"entry1 /x", L"entry3 /x", L"entry4 /x"}));
}

TEST_F(PickerTest, ThePickerComesBackWhereAndAsLargeAsItWasLeft) {
  RECT left = {}, first = {}, second = {};
  for (RECT* seen : {&first, &second}) {
    drive([&, seen] {
      HWND open = waitForDialog(isFileDialog);
      if (!open) return;
      GetWindowRect(open, seen);
      if (seen == &first) {
        // Moved and enlarged by the user.
        SetWindowPos(open, nullptr, 37, 41, first.right - first.left + 90, first.bottom - first.top + 70,
                     SWP_NOZORDER);
        Sleep(200);
        GetWindowRect(open, &left);
      }
      pressId(open, IDCANCEL);
    });
    PickRequest request;
    request.owner = m_owner;
    request.filter = L"All files|*.*|";
    pickProgram(request);
    finish();
  }
  EXPECT_EQ(left.left, 37);
  EXPECT_EQ(left.top, 41);
  EXPECT_GT(left.right - left.left, first.right - first.left) << "the dialog could not be enlarged";
  EXPECT_EQ(second.left, left.left);
  EXPECT_EQ(second.top, left.top);
  EXPECT_EQ(second.right, left.right);
  EXPECT_EQ(second.bottom, left.bottom);
}

TEST_F(PickerTest, ACommandLongerThanTheFieldIsRefusedWithAMessage) {
  CmdHistory history;
  history[0] = L"kept";
  std::wstring caption;
  bool dialogStayed = false;
  drive([&] {
    HWND open = waitForDialog(isFileDialog);
    if (!open) return;
    typeInto(nameField(open), L"x.exe " + std::wstring(300, L'a'));
    pressId(open, IDOK);
    HWND box = waitForDialog([&](HWND w) { return GetWindow(w, GW_OWNER) == open; }, 5000);
    if (box) {
      caption = textOf(box);
      pressId(box, IDOK);
    }
    Sleep(300);
    dialogStayed = IsWindow(open) != FALSE;
    pressId(open, IDCANCEL);
  });
  const PickResult result = pickProgram(historyRequest(m_owner, &history, L""));
  finish();
  EXPECT_EQ(caption, resourceString(IDS_PICK_CAPTION));
  EXPECT_TRUE(dialogStayed);
  EXPECT_FALSE(result.accepted);
  EXPECT_EQ(historyEntries(history), std::vector<std::wstring>{L"kept"});
}

TEST_F(PickerTest, TheFolderButtonClosesAsCancelledWithTheFolder) {
  IconFolder folder(sevenIcons(), 1);
  for (PickMode mode : {PickMode::kPlain, PickMode::kFolder}) {
    bool checkVisible = true;
    drive([&] {
      HWND open = waitForDialog(isFileDialog);
      if (!open) return;
      HWND check = findControl(open, IDC_PICK_CHECK);
      checkVisible = check && IsWindowVisible(check);
      if (mode == PickMode::kFolder) snapshot(open, L"folder_pick_en");
      press(findControl(open, IDC_PICK_FOLDER));
    });
    PickRequest request;
    request.owner = m_owner;
    request.initialFolder = folder.path();
    request.mode = mode;
    const PickResult result = pickProgram(request);
    finish();
    EXPECT_FALSE(result.accepted);
    EXPECT_TRUE(result.folderButton);
    EXPECT_EQ(lower(result.folder), lower(folder.path()));
    EXPECT_FALSE(checkVisible);  // neither template shows the check box here
    if (mode == PickMode::kFolder) {
      EXPECT_GT(idListSize(result.folderIdList), 2u);
    }
  }
}

TEST_F(PickerTest, TheCheckBoxStateComesBackAndMultipleFilesAreFullPaths) {
  IconFolder folder(sevenIcons(), 2);
  bool checkVisible = false;
  drive([&] {
    HWND open = waitForDialog(isFileDialog);
    if (!open) return;
    HWND check = findControl(open, IDC_PICK_CHECK);
    checkVisible = check && IsWindowVisible(check);
    // A click checks the box and then tells its parent.
    if (check) SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    if (check) press(check);
    Sleep(100);
    typeInto(nameField(open), L"\"lib0.dll\" \"lib1.dll\"");
    pressId(open, IDOK);
  });
  PickRequest request;
  request.owner = m_owner;
  request.initialFolder = folder.path();
  request.mode = PickMode::kCheckBox;
  request.flags = pick_flag::kMultiSelect | OFN_FILEMUSTEXIST;
  const PickResult result = pickProgram(request);
  finish();
  EXPECT_TRUE(checkVisible);
  ASSERT_TRUE(result.accepted);
  EXPECT_TRUE(result.checked);
  ASSERT_EQ(result.files.size(), 2u);
  EXPECT_EQ(lower(result.files[0]), lower(folder.path() + L"\\lib0.dll"));
  EXPECT_EQ(lower(result.files[1]), lower(folder.path() + L"\\lib1.dll"));
}

// Each dialog from the Japanese library opens, for the screenshots.
TEST_F(PickerTest, JapaneseDialogsOpen) {
  setResourceModule(s_japanese);
  IconPicker picker(s_japanese);
  picker.setSource(IconSource::file(sevenIcons()));
  bool sawPicker = false, sawOpen = false;
  drive([&] {
    HWND dialog = waitForDialog(isIconPicker);
    sawPicker = dialog != nullptr;
    if (!dialog) return;
    snapshot(dialog, L"icon_picker_ja");
    pressId(dialog, IDC_ICON_BROWSE);
    HWND open = waitForDialog([&](HWND w) { return GetWindow(w, GW_OWNER) == dialog && isFileDialog(w); });
    sawOpen = open != nullptr;
    if (open) {
      snapshot(open, L"icon_browse_ja");
      pressId(open, IDCANCEL);
    }
    Sleep(200);
    pressId(dialog, IDCANCEL);
  });
  picker.pick(m_owner);
  finish();

  CmdHistory history;
  history[0] = L"notepad.exe";
  bool sawRun = false;
  drive([&] {
    HWND open = waitForDialog(isFileDialog);
    sawRun = open != nullptr;
    if (!open) return;
    snapshot(open, L"run_history_ja");
    pressId(open, IDCANCEL);
  });
  PickRequest request = historyRequest(m_owner, &history, L"");
  request.resources = s_japanese;
  const PickResult result = pickProgram(request);
  finish();
  setResourceModule(s_english);
  EXPECT_TRUE(sawRun);
  EXPECT_FALSE(result.accepted);
  EXPECT_EQ(history[0], L"notepad.exe");  // Cancel adds nothing
  EXPECT_TRUE(sawPicker);
  EXPECT_TRUE(sawOpen);
  EXPECT_EQ(picker.iconCount(), 7);  // Cancel in the browse dialog left the grid
}

}  // namespace
}  // namespace vorbin
