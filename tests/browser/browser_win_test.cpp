// The file browser and its folder combo in this process: a folder with plain,
// extensionless and 200 long-named files, a hidden folder and a subfolder;
// the dialog runs on its own thread and the test drives its controls.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h.
#include <commctrl.h>

#include <algorithm>
#include <set>
#include <thread>

#include "launcher/dialogs/folder_file_dialog.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "tests/support/e2e.h"

namespace vorbin {
namespace {

constexpr wchar_t kTitle[] = L"Browser under test";
constexpr int kLongFiles = 200;

std::wstring workFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + L"vb_browser";
}

std::wstring longName(int i) {
  std::wstring name = L"long" + std::to_wstring(1000 + i).substr(1);
  name.append(250 - name.size() - 4, L'x');
  return name + L".dat";
}

bool makeFile(const std::wstring& path) {
  // The long names run past the classic path limit.
  HANDLE f = CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  CloseHandle(f);
  return true;
}

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring lower(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(towlower(c));
  return s;
}

class BrowserTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_english = LoadLibraryW(e2e::binPath(L"Vorbr2ke.dll").c_str());
    s_japanese = LoadLibraryW(e2e::binPath(L"Vorbr2kj.dll").c_str());
    setResourceModule(s_english);
    const std::wstring root = workFolder();
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW((root + L"\\.hidden").c_str(), nullptr);
    SetFileAttributesW((root + L"\\.hidden").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    CreateDirectoryW((root + L"\\Sub").c_str(), nullptr);
    ASSERT_TRUE(makeFile(root + L"\\Sub\\inner.txt"));
    for (int i = 0; i < kLongFiles; ++i) ASSERT_TRUE(makeFile(root + L"\\" + longName(i)));
  }
  static void TearDownTestSuite() {
    setResourceModule(nullptr);
    FreeLibrary(s_english);
    FreeLibrary(s_japanese);
  }
  void SetUp() override {
    for (const wchar_t* name : {L"a.txt", L"b.log", L"noext"})
      ASSERT_TRUE(makeFile(workFolder() + L"\\" + name));
    for (const wchar_t* name : {L"renamed.txt", L"evil.txt"})
      DeleteFileW((workFolder() + L"\\" + name).c_str());
    request.title = kTitle;
    request.folder = workFolder();
    request.filter = L"Mine|*.txt;*.*|All|*.*|Logs|*.log|";
    request.filterIndex = 0;
  }
  void TearDown() override { finish(IDCANCEL); }

  void open(HINSTANCE library = s_english) {
    SetCurrentDirectoryW(L"C:\\");
    worker = std::thread([this, library] { result = pickDocuments(nullptr, library, request); });
    e2e::waitUntil([&] { return (dialog = FindWindowW(L"#32770", kTitle)) != nullptr; }, 10000);
    ASSERT_NE(dialog, nullptr) << "the browser did not open";
    list = GetDlgItem(dialog, IDC_BROWSER_LIST);
    combo = GetDlgItem(dialog, IDC_BROWSER_FOLDER);
    ASSERT_NE(list, nullptr);
    ASSERT_NE(combo, nullptr);
  }
  // Ends the dialog with a button (IDOK may leave it open) and waits for the thread.
  void finish(int button) {
    if (!worker.joinable()) return;
    if (IsWindow(dialog)) SendMessageW(dialog, WM_COMMAND, button, 0);
    if (button == IDOK && IsWindow(dialog)) {
      e2e::pumpFor(200);
      if (IsWindow(dialog)) SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    worker.join();
  }
  int count() const { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }
  std::wstring textOf(int item, int column = 0) const {
    wchar_t buffer[512] = {};
    LVITEMW it{};
    it.iSubItem = column;
    it.pszText = buffer;
    it.cchTextMax = 512;
    SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&it));
    return buffer;
  }
  std::vector<std::wstring> names() const {
    std::vector<std::wstring> all;
    for (int i = 0; i < count(); ++i) all.push_back(lower(textOf(i)));
    return all;
  }
  int indexOf(const std::wstring& name) const {
    const auto all = names();
    const auto it = std::find(all.begin(), all.end(), lower(name));
    return it == all.end() ? -1 : static_cast<int>(it - all.begin());
  }
  void select(std::initializer_list<const wchar_t*> which) {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    for (const wchar_t* name : which) {
      const int index = indexOf(name);
      ASSERT_GE(index, 0) << "not listed";
      SendMessageW(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
    }
  }
  std::wstring nameField() const {
    wchar_t text[1024] = {};
    GetDlgItemTextW(dialog, IDC_BROWSER_NAME, text, 1024);
    return text;
  }
  std::wstring comboText() const {
    wchar_t text[1024] = {};
    GetWindowTextW(combo, text, 1024);
    return text;
  }
  HWND comboEdit() const {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    GetComboBoxInfo(combo, &info);
    return info.hwndItem;
  }
  void typeIntoCombo(const std::wstring& text) {
    HWND edit = comboEdit();
    SetWindowTextW(edit, text.c_str());
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
  }
  void renameTo(const wchar_t* from, const wchar_t* to) {
    const int index = indexOf(from);
    ASSERT_GE(index, 0);
    SetFocus(nullptr);
    HWND edit = reinterpret_cast<HWND>(SendMessageW(list, LVM_EDITLABELW, index, 0));
    ASSERT_NE(edit, nullptr) << "no label editing";
    SetWindowTextW(edit, to);
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    e2e::waitUntil([&] { return !IsWindow(edit); }, 3000);
  }

  static inline HMODULE s_english = nullptr, s_japanese = nullptr;
  FolderFileRequest request;
  std::optional<FolderFileResult> result;
  std::thread worker;
  HWND dialog = nullptr, list = nullptr, combo = nullptr;
};

TEST_F(BrowserTest, OverlappingPatternsListEachFileOnceAndPicksComeBackQuoted) {
  request.sortMode = 4;
  open();
  // a.txt, b.log, noext and the long names; never a folder.
  EXPECT_EQ(count(), 3 + kLongFiles);
  const auto all = names();
  EXPECT_EQ(std::set<std::wstring>(all.begin(), all.end()).size(), all.size()) << "a file listed twice";
  EXPECT_EQ(indexOf(L"sub"), -1);
  EXPECT_EQ(indexOf(L".hidden"), -1);
  ASSERT_FALSE(all.empty());
  EXPECT_EQ(all.front(), L"noext") << "by type a name without extension comes first";
  EXPECT_EQ(textOf(indexOf(longName(7))).size(), 250u);

  // A typed wildcard lists by it instead of closing; another type drops it.
  SetDlgItemTextW(dialog, IDC_BROWSER_NAME, L"*.log");
  SendMessageW(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(IsWindow(dialog)) << "a pattern closed the browser";
  EXPECT_EQ(names(), std::vector<std::wstring>{L"b.log"});
  HWND types = GetDlgItem(dialog, IDC_BROWSER_FILTER);
  SendMessageW(types, CB_SETCURSEL, 1, 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_BROWSER_FILTER, CBN_SELENDOK),
               reinterpret_cast<LPARAM>(types));
  EXPECT_EQ(count(), 3 + kLongFiles);
  EXPECT_EQ(nameField(), L"*.*");

  // Date order and the details view are what the caller keeps.
  SendMessageW(dialog, WM_COMMAND, ID_BROWSER_SORT_DATE, 0);
  SendMessageW(dialog, WM_COMMAND, ID_BROWSER_VIEW_DETAILS, 0);
  EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_FALSE(textOf(0, 1).empty()) << "no date column text";

  // The network dialogs are stubs here: an error, no window, the browser stays.
  SendMessageW(dialog, WM_COMMAND, ID_BROWSER_CONNECT, 0);
  SendMessageW(dialog, WM_COMMAND, ID_BROWSER_DISCONNECT, 0);
  ASSERT_TRUE(IsWindow(dialog));

  select({L"a.txt", L"b.log", L"noext"});
  e2e::pumpFor(100);
  finish(IDOK);
  ASSERT_TRUE(result.has_value()) << "OK did not close";
  std::wstring text = lower(result->text);
  for (const wchar_t* name : {L"\"a.txt\"", L"\"b.log\"", L"\"noext\""})
    EXPECT_NE(text.find(name), std::wstring::npos) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), L'"'), 6) << text;
  EXPECT_EQ(lower(result->folder), lower(workFolder() + L"\\"));
  EXPECT_EQ(result->filterIndex, 1);
  EXPECT_EQ(result->sortMode, 3);
  EXPECT_EQ(result->viewMode, 1);
}

TEST_F(BrowserTest, RenameStaysInTheFolderAndShiftDeleteRemovesForGood) {
  open();
  const std::wstring root = workFolder();
  renameTo(L"b.log", L"..\\evil.txt");
  EXPECT_TRUE(exists(root + L"\\b.log")) << "a refused rename moved the file";
  EXPECT_FALSE(exists(root + L"\\..\\evil.txt"));
  EXPECT_FALSE(exists(root + L"\\evil.txt"));
  renameTo(L"b.log", L"a:b");
  EXPECT_TRUE(exists(root + L"\\b.log"));
  renameTo(L"a.txt", L"renamed.txt");
  EXPECT_TRUE(e2e::waitUntil([&] { return exists(root + L"\\renamed.txt"); }, 3000))
      << "a plain rename failed";
  EXPECT_GE(indexOf(L"renamed.txt"), 0) << "the list kept the old name";
  EXPECT_EQ(indexOf(L"a.txt"), -1);

  // Shift+Delete, typed, on one selected file.
  select({L"noext"});
  SetForegroundWindow(dialog);
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
  e2e::pumpFor(100);
  const int before = count();
  auto key = [](WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof(in));
  };
  key(VK_SHIFT, false);
  key(VK_DELETE, false);
  key(VK_DELETE, true);
  key(VK_SHIFT, true);
  // The shell asks first; yes.
  HWND ask = nullptr;
  e2e::waitUntil(
      [&] {
        for (HWND w = FindWindowW(L"#32770", nullptr); w; w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
          DWORD pid = 0;
          GetWindowThreadProcessId(w, &pid);
          if (w != dialog && pid == GetCurrentProcessId() && IsWindowVisible(w)) ask = w;
        }
        return ask != nullptr || !exists(root + L"\\noext");
      },
      8000);
  if (ask) PostMessageW(ask, WM_COMMAND, IDYES, 0);
  EXPECT_TRUE(e2e::waitUntil([&] { return !exists(root + L"\\noext"); }, 8000))
      << "Shift+Delete left the file";
  EXPECT_TRUE(e2e::waitUntil([&] { return count() == before - 1; }, 3000))
      << "the deleted file stayed listed";
  EXPECT_TRUE(exists(root + L"\\b.log"));
}

TEST_F(BrowserTest, ComboGoesWhereTypedAndShowsTheChain) {
  for (HINSTANCE library : {s_english, s_japanese}) {
    const bool japanese = library == s_japanese;
    setResourceModule(library);
    request.filterIndex = 1;
    open(library);
    const std::wstring start = comboText();
    EXPECT_EQ(lower(start), lower(workFolder()));

    // Too long, a server that is not there: no crash, a folder stays shown.
    typeIntoCombo(L"C:\\" + std::wstring(300, L'x'));
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(comboText(), start) << "an overlong path was taken";
    typeIntoCombo(L"\\\\nosuchserver\\share\\dir");
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_FALSE(comboText().empty());
    typeIntoCombo(workFolder());
    // Relative to the shown folder, partly missing: the deepest existing one.
    typeIntoCombo(L"Sub\\gone\\deeper");
    EXPECT_EQ(lower(comboText()), lower(workFolder() + L"\\Sub"));
    EXPECT_EQ(names(), std::vector<std::wstring>{L"inner.txt"});
    typeIntoCombo(L"..");
    EXPECT_EQ(count(), 3 + kLongFiles);

    // Dropped: the empty drives entry, the root, the chain, then the subfolders.
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    std::vector<std::wstring> entries;
    e2e::waitUntil(
        [&] {
          entries.clear();
          const int n = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
          for (int i = 0; i < n; ++i) {
            wchar_t text[MAX_PATH] = {};
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            entries.push_back(lower(text));
          }
          return std::find(entries.begin(), entries.end(), L"sub") != entries.end();
        },
        5000);
    ASSERT_GE(entries.size(), 3u);
    EXPECT_EQ(entries[0], L"");
    EXPECT_EQ(entries[1], L"c:\\");
    EXPECT_NE(std::find(entries.begin(), entries.end(), L"vb_browser"), entries.end());
    EXPECT_NE(std::find(entries.begin(), entries.end(), L"sub"), entries.end());
    EXPECT_EQ(std::find(entries.begin(), entries.end(), L".hidden"), entries.end())
        << "a dot folder is listed";
    // A letter moves the highlight, not the text.
    const std::wstring shown = comboText();
    SendMessageW(comboEdit(), WM_CHAR, L's', 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    GetComboBoxInfo(combo, &info);
    const int highlighted = static_cast<int>(SendMessageW(info.hwndList, LB_GETCURSEL, 0, 0));
    ASSERT_GE(highlighted, 0);
    EXPECT_EQ(entries[static_cast<size_t>(highlighted)][0], L's');
    EXPECT_EQ(comboText(), shown);
    e2e::pumpFor(300);
    e2e::captureToArtifact(GetDesktopWindow(), japanese ? L"browser_combo_ja" : L"browser_combo_en");
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    e2e::pumpFor(200);
    e2e::captureToArtifact(dialog, japanese ? L"browser_dialog_ja" : L"browser_dialog_en");
    finish(IDCANCEL);
    EXPECT_FALSE(result.has_value());
  }
  setResourceModule(s_english);
}

}  // namespace
}  // namespace vorbin
