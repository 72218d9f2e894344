// The real VorbinBR.exe driven from outside: silent backups, the main dialog's
// save, restore and delete, and the launcher closed and started around a restore.
#include <gtest/gtest.h>

#include "tests/support/e2e.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "backup/resource_ids.h"

namespace {

// "ﾊﾞｯｸｱｯﾌﾟ", the default backup name.
const std::wstring kDefaultName = L"\xFF8A\xFF9E\xFF6F\xFF78\xFF71\xFF6F\xFF8C\xFF9F";
constexpr int kMessageTextId = 0xFFFF;  // the text of a message box
constexpr DWORD kWait = 10000;

// ---------------------------------------------------------------------------
// Registry and files, read independently of the program under test

using ValueMap = std::map<std::wstring, std::pair<DWORD, std::vector<uint8_t>>>;
using KeySnapshot = std::map<std::wstring, ValueMap>;  // key path (lower case) -> values

void snapshotKey(HKEY key, const std::wstring& path, KeySnapshot& out) {
  ValueMap& values = out[path];
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD nameLength = 16384, type = 0, size = 0;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    std::vector<uint8_t> data(size);
    nameLength = 16384;
    RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data.empty() ? nullptr : data.data(), &size);
    data.resize(size);
    std::wstring lower(name, nameLength);
    CharLowerW(lower.data());
    values[lower] = {type, data};
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLength = 256;
    if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY child;
    if (RegOpenKeyExW(key, name, 0, KEY_READ, &child) != ERROR_SUCCESS) continue;
    std::wstring lower(name, nameLength);
    CharLowerW(lower.data());
    snapshotKey(child, path + L"\\" + lower, out);
    RegCloseKey(child);
  }
}

KeySnapshot snapshotProfile() {
  KeySnapshot snapshot;
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, e2e::kProfileKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return snapshot;
  snapshotKey(key, L"", snapshot);
  RegCloseKey(key);
  return snapshot;
}

std::vector<uint8_t> pattern(size_t size, int seed) {
  std::vector<uint8_t> data(size);
  for (size_t i = 0; i < size; ++i) data[i] = static_cast<uint8_t>(i * 31 + seed + (i >> 9));
  return data;
}

bool setRaw(const std::wstring& section, const std::wstring& name, DWORD type,
            const std::vector<uint8_t>& data) {
  std::wstring path = section.empty() ? e2e::kProfileKey : std::wstring(e2e::kProfileKey) + L"\\" + section;
  HKEY key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr))
    return false;
  LONG rc = RegSetValueExW(key, name.c_str(), 0, type, data.empty() ? nullptr : data.data(),
                           static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

std::vector<uint8_t> wideBytes(const std::wstring& text) {
  const auto* p = reinterpret_cast<const uint8_t*>(text.data());
  return std::vector<uint8_t>(p, p + text.size() * sizeof(wchar_t));
}

// A profile with every kind of value the launcher keeps, and more.
void seedProfile() {
  using namespace e2e::profile;
  clear();
  ASSERT_TRUE(setString(L"Settings", L"NoActiveToClose", L"Yes"));
  ASSERT_TRUE(setDword(L"Settings", L"CloseDelayTime", 3));
  ASSERT_TRUE(setBinary(L"Colors", L"Bord", {0x10, 0x20, 0x30, 0x00}));
  ASSERT_TRUE(setBinary(L"Quick", L"1", pattern(700, 1)));
  ASSERT_TRUE(setBinary(L"\x30B0\x30EB\x30FC\x30D7 1", L"1", pattern(100000, 2)));
  ASSERT_TRUE(setBinary(L"\x30B0\x30EB\x30FC\x30D7 1", L"2", {}));
  ASSERT_TRUE(
      setRaw(L"Cmd History", L"List", REG_MULTI_SZ, wideBytes(std::wstring(L"notepad\0calc\0\0", 14))));
  ASSERT_TRUE(setRaw(L"Settings", L"DataDir", REG_EXPAND_SZ, wideBytes(std::wstring(L"%APPDATA%\\x\0", 12))));
  ASSERT_TRUE(setRaw(L"Settings", L"Big", REG_QWORD, pattern(8, 3)));
  ASSERT_TRUE(setRaw(L"Settings", L"Nothing", REG_NONE, {}));
  ASSERT_TRUE(setRaw(L"", L"", REG_SZ, wideBytes(std::wstring(L"root default\0", 13))));
  ASSERT_TRUE(setRaw(L"Tip\\Nested\\Deeper", L"Leaf", REG_DWORD, {1, 2, 3, 4}));
}

std::wstring dataFolder() {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path);
  return std::wstring(path) + L"\\Ornelsoft\\Vorbin2k\\";
}

bool writeFile(const std::wstring& path, const std::vector<uint8_t>& data) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == data.size();
}

// name -> content of the files lying directly in a folder.
std::map<std::wstring, std::vector<uint8_t>> filesIn(const std::wstring& folder) {
  std::map<std::wstring, std::vector<uint8_t>> files;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return files;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    HANDLE file = CreateFileW((folder + found.cFileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    std::vector<uint8_t> data(found.nFileSizeLow);
    DWORD got = 0;
    if (file != INVALID_HANDLE_VALUE) {
      if (!data.empty()) ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &got, nullptr);
      CloseHandle(file);
    }
    data.resize(got);
    files[found.cFileName] = data;
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return files;
}

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void deleteTree(const std::wstring& path) {
  std::wstring from = path;
  while (!from.empty() && from.back() == L'\\') from.pop_back();
  from.push_back(L'\0');
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
  if (exists(path)) SHFileOperationW(&op);
}

void seedDataFolder() {
  deleteTree(dataFolder());
  std::wstring appData = dataFolder();
  CreateDirectoryW(appData.substr(0, appData.size() - 10).c_str(), nullptr);  // ...\Ornelsoft
  ASSERT_TRUE(CreateDirectoryW(appData.c_str(), nullptr) || exists(appData));
  ASSERT_TRUE(writeFile(appData + L"thumb1.jpg", pattern(5000, 7)));
  ASSERT_TRUE(writeFile(appData + L"tips-j.dat", {'t', 'i', 'p', '\r', '\n'}));
  ASSERT_TRUE(writeFile(appData + L"empty.dat", {}));
  CreateDirectoryW((appData + L"sub").c_str(), nullptr);
  ASSERT_TRUE(writeFile(appData + L"sub\\inner.dat", {1, 2, 3}));
}

// The program's own strings, read from its file.
std::wstring programString(int id) {
  HMODULE module = LoadLibraryExW(e2e::binPath(L"VorbinBR.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  wchar_t text[512] = {};
  if (module) {
    LoadStringW(module, static_cast<UINT>(id), text, 512);
    FreeLibrary(module);
  }
  return text;
}

// ---------------------------------------------------------------------------
// Driving the tool

// WM_GETTEXT itself: GetWindowText doesn't ask windows of other processes.
std::wstring windowText(HWND window) {
  wchar_t text[1024] = {};
  SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  return text;
}

// A list view of another process, read and changed through its memory.
class RemoteList {
 public:
  RemoteList(HANDLE process, HWND list) : m_process(process), m_list(list) {
    m_memory = static_cast<uint8_t*>(VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
  }
  ~RemoteList() {
    if (m_memory) VirtualFreeEx(m_process, m_memory, 0, MEM_RELEASE);
  }
  int count() const { return static_cast<int>(SendMessageW(m_list, LVM_GETITEMCOUNT, 0, 0)); }
  std::wstring text(int item, int column) const {
    LVITEMW request{};
    request.iSubItem = column;
    request.pszText = reinterpret_cast<wchar_t*>(m_memory + 512);
    request.cchTextMax = 1000;
    WriteProcessMemory(m_process, m_memory, &request, sizeof(request), nullptr);
    LRESULT length =
        SendMessageW(m_list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(m_memory));
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)), L'\0');
    if (length > 0)
      ReadProcessMemory(m_process, m_memory + 512, text.data(), text.size() * sizeof(wchar_t), nullptr);
    return text;
  }
  std::vector<std::wstring> names() const {
    std::vector<std::wstring> result;
    for (int i = 0; i < count(); ++i) result.push_back(text(i, 0));
    return result;
  }
  int find(const std::wstring& name) const {
    for (int i = 0; i < count(); ++i) {
      if (text(i, 0) == name) return i;
    }
    return -1;
  }
  void select(int item, bool selected) const {
    LVITEMW change{};
    change.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    change.state = selected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    WriteProcessMemory(m_process, m_memory, &change, sizeof(change), nullptr);
    SendMessageW(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(m_memory));
  }

 private:
  HANDLE m_process;
  HWND m_list;
  uint8_t* m_memory = nullptr;
};

class BackupTool {
 public:
  bool start(const std::wstring& arguments = L"") {
    if (!m_process.start(e2e::binPath(L"VorbinBR.exe"), arguments)) return false;
    m_dialog = waitForDialog([](HWND w) { return GetDlgItem(w, IDC_BACKUP_LIST) != nullptr; });
    return m_dialog != nullptr;
  }
  e2e::Process& process() { return m_process; }
  HWND dialog() const { return m_dialog; }
  RemoteList list() const { return RemoteList(m_process.handle(), GetDlgItem(m_dialog, IDC_BACKUP_LIST)); }
  bool enabled(int id) const { return IsWindowEnabled(GetDlgItem(m_dialog, id)) != FALSE; }

  // Posts a button click: the tool may open a modal window in answer.
  static void click(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  }
  void click(int id) const { click(m_dialog, id); }

  // A visible dialog of the tool, other than the main dialog, that pred accepts.
  template <class Pred>
  HWND waitForDialog(Pred pred, DWORD timeoutMs = kWait) const {
    struct Search {
      DWORD pid;
      HWND exclude;
      Pred* pred;
      HWND found;
    } search{m_process.pid(), m_dialog, &pred, nullptr};
    e2e::waitUntil(
        [&] {
          search.found = nullptr;
          EnumWindows(
              [](HWND w, LPARAM lp) -> BOOL {
                auto* s = reinterpret_cast<Search*>(lp);
                wchar_t cls[16] = {};
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid != s->pid || w == s->exclude || !IsWindowVisible(w)) return TRUE;
                if (!GetClassNameW(w, cls, 16) || lstrcmpW(cls, L"#32770") != 0) return TRUE;
                if (!(*s->pred)(w)) return TRUE;
                s->found = w;
                return FALSE;
              },
              reinterpret_cast<LPARAM>(&search));
          return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
  }
  HWND waitForMessage(DWORD timeoutMs = kWait) const {
    return waitForDialog([](HWND w) { return GetDlgItem(w, kMessageTextId) != nullptr; }, timeoutMs);
  }
  // Waits for a message box, checks it shows the string id, and answers it.
  void expectMessage(int id, int answer = IDOK) const {
    HWND box = waitForMessage();
    ASSERT_NE(box, nullptr) << "no message box for string " << id;
    std::wstring shown = windowText(GetDlgItem(box, kMessageTextId));
    EXPECT_EQ(shown.substr(0, programString(id).find(L"%d")),
              programString(id).substr(0, programString(id).find(L"%d")))
        << "expected string " << id;
    PostMessageW(box, WM_COMMAND, answer, 0);
    EXPECT_TRUE(e2e::waitUntil([&] { return !IsWindow(box); }, kWait));
  }
  HWND waitForNameDialog() const {
    return waitForDialog([](HWND w) { return GetDlgItem(w, IDC_NAME_COMBO) != nullptr; });
  }
  // As a user types: select all, clear, then one character at a time.
  static void typeName(HWND nameDialog, const std::wstring& name) {
    HWND edit = FindWindowExW(GetDlgItem(nameDialog, IDC_NAME_COMBO), nullptr, L"Edit", nullptr);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CLEAR, 0, 0);
    for (wchar_t c : name) SendMessageW(edit, WM_CHAR, c, 1);
  }
  // Save through the name dialog; the answers that follow are the caller's.
  void saveAs(const std::wstring& name) const {
    click(IDC_SAVE);
    HWND ask = waitForNameDialog();
    ASSERT_NE(ask, nullptr);
    typeName(ask, name);
    click(ask, IDOK);
    ASSERT_TRUE(e2e::waitUntil([&] { return !IsWindow(ask); }, kWait));
  }
  void restore(const std::wstring& name) const {
    RemoteList rows = list();
    int row = rows.find(name);
    ASSERT_GE(row, 0) << "no row for the backup";
    rows.select(row, true);
    click(IDC_RESTORE);
  }
  bool close() {
    if (m_dialog && IsWindow(m_dialog)) PostMessageW(m_dialog, WM_COMMAND, IDOK, 0);
    bool ended = m_process.wait(kWait).has_value();
    m_process.kill();
    return ended;
  }

 private:
  e2e::Process m_process;
  HWND m_dialog = nullptr;
};

// The bar of a launcher other than the one given, or null.
HWND findBarExcept(DWORD excludedPid) {
  struct Search {
    DWORD excluded;
    HWND found;
  } search{excludedPid, nullptr};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        wchar_t cls[32] = {};
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == s->excluded || !GetWindow(w, GW_OWNER)) return TRUE;
        if (!GetClassNameW(w, cls, 32) || lstrcmpW(cls, e2e::kBarClass) != 0) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Ends a launcher this test did not start itself (the one the tool restarted).
void closeLauncherWindow(HWND bar) {
  DWORD pid = 0;
  GetWindowThreadProcessId(bar, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
  PostMessageW(bar, WM_CLOSE, 0, 0);
  if (process) {
    if (WaitForSingleObject(process, kWait) != WAIT_OBJECT_0) TerminateProcess(process, 99);
    CloseHandle(process);
  }
}

class BackupE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    removeBackups();
    seedProfile();
    seedDataFolder();
  }
  void TearDown() override {
    tool.close();
    removeBackups();
    deleteTree(dataFolder());
    e2e::profile::clear();
  }
  // Every folder this test may have made beside the tool.
  void removeBackups() {
    for (const std::wstring& name :
         {kDefaultName, std::wstring(L"trip"),
          std::wstring(L"a\xFF1A"
                       L"b"),
          std::wstring(L"plain"), std::wstring(L"broken"), std::wstring(L"second")})
      deleteTree(e2e::binDir() + name);
  }
  std::wstring folderOf(const std::wstring& name) const { return e2e::binDir() + name + L"\\"; }

  BackupTool tool;
};

// ---------------------------------------------------------------------------
// Silent backup

TEST_F(BackupE2E, DashBInEitherCaseSavesSilentlyUnderTheDefaultName) {
  const std::wstring folder = folderOf(kDefaultName);
  auto expectedFiles = filesIn(dataFolder());
  for (const wchar_t* argument : {L"-B", L"-b"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(argument)));
    // An earlier backup of the default name is replaced without a question.
    if (exists(folder)) {
      ASSERT_TRUE(writeFile(folder + L"stale.txt", {'x'}));
    }
    e2e::Process silent;
    ASSERT_TRUE(silent.start(e2e::binPath(L"VorbinBR.exe"), argument));
    auto code = silent.wait(20000);
    ASSERT_TRUE(code.has_value()) << "the silent backup did not end";
    EXPECT_EQ(*code, 0u);
    ASSERT_TRUE(exists(folder + L"vorbinbr.dat"));
    auto saved = filesIn(folder);
    EXPECT_GT(saved[L"vorbinbr.dat"].size(), 100u);
    saved.erase(L"vorbinbr.dat");
    EXPECT_EQ(saved, expectedFiles) << "the data folder's files, and nothing else";
    EXPECT_FALSE(exists(folder + L"stale.txt")) << "the old backup is replaced whole";
    EXPECT_FALSE(exists(folder + L"sub")) << "subfolders are not copied";
  }
}

TEST_F(BackupE2E, DashBFollowedByMoreShowsTheDialog) {
  ASSERT_TRUE(tool.start(L"-B x"));
  EXPECT_TRUE(tool.process().running());
  EXPECT_FALSE(exists(folderOf(kDefaultName)));
  EXPECT_TRUE(tool.close()) << "Close ends the program";
}

// ---------------------------------------------------------------------------
// The main dialog

TEST_F(BackupE2E, RoundTripRestoresEveryValueAndTheDataFiles) {
  const KeySnapshot savedProfile = snapshotProfile();
  const auto savedFiles = filesIn(dataFolder());
  ASSERT_GT(savedProfile.size(), 5u);
  ASSERT_TRUE(tool.start());
  tool.saveAs(L"trip");
  tool.expectMessage(IDS_SAVED);
  ASSERT_TRUE(exists(folderOf(L"trip") + L"vorbinbr.dat"));

  // Change, add and delete values, keys and files.
  using namespace e2e::profile;
  setString(L"Settings", L"NoActiveToClose", L"No");
  setDword(L"Settings", L"Added", 7);
  setBinary(L"\x30B0\x30EB\x30FC\x30D7 1", L"1", {1});
  setString(L"New Group", L"x", L"y");
  RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(e2e::kProfileKey) + L"\\Tip").c_str());
  RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(e2e::kProfileKey) + L"\\Colors").c_str());
  ASSERT_NE(snapshotProfile(), savedProfile);
  DeleteFileW((dataFolder() + L"thumb1.jpg").c_str());
  writeFile(dataFolder() + L"tips-j.dat", {'c', 'h', 'a', 'n', 'g', 'e', 'd'});
  writeFile(dataFolder() + L"new.dat", {'n'});

  tool.restore(L"trip");
  tool.expectMessage(IDS_ASK_RESTORE);
  tool.expectMessage(IDS_RESTORED);
  EXPECT_EQ(snapshotProfile(), savedProfile) << "every value back with its type and data";
  EXPECT_EQ(filesIn(dataFolder()), savedFiles);
  // No launcher was running, so none was started.
  e2e::pumpFor(1000);
  EXPECT_EQ(findBarExcept(0), nullptr);
}

TEST_F(BackupE2E, RestoreClosesTheRunningLauncherAndStartsItAgain) {
  ASSERT_TRUE(e2e::profile::setString(L"BackupTest", L"Marker", L"saved"));
  e2e::Process silent;
  ASSERT_TRUE(silent.start(e2e::binPath(L"VorbinBR.exe"), L"-B"));
  ASSERT_TRUE(silent.wait(20000).has_value());
  ASSERT_TRUE(exists(folderOf(kDefaultName) + L"vorbinbr.dat"));

  e2e::Process launcher = e2e::startLauncher();
  HWND bar = e2e::waitForBar(launcher.pid());
  ASSERT_NE(bar, nullptr) << "the launcher did not start";
  ASSERT_TRUE(e2e::profile::setString(L"BackupTest", L"Marker", L"changed"));

  ASSERT_TRUE(tool.start());
  tool.restore(kDefaultName);
  tool.expectMessage(IDS_ASK_RESTORE);
  HWND box = tool.waitForMessage();
  EXPECT_TRUE(launcher.wait(kWait).has_value()) << "the running launcher was not closed";
  EXPECT_EQ(e2e::profile::getString(L"BackupTest", L"Marker").value_or(L"<none>"), L"saved");
  if (box) {
    EXPECT_EQ(windowText(GetDlgItem(box, kMessageTextId)), programString(IDS_RESTORED));
  }
  tool.expectMessage(IDS_RESTORED);

  HWND restarted = nullptr;
  EXPECT_TRUE(e2e::waitUntil([&] { return (restarted = findBarExcept(launcher.pid())) != nullptr; }, kWait))
      << "the launcher was not started again";
  if (restarted) closeLauncherWindow(restarted);
}

TEST_F(BackupE2E, TypedNameIsStoredWithFullWidthCharacters) {
  ASSERT_TRUE(tool.start());
  tool.saveAs(L"a:b");
  tool.expectMessage(IDS_SAVED);
  const std::wstring stored =
      L"a\xFF1A"
      L"b";
  EXPECT_TRUE(exists(folderOf(stored) + L"vorbinbr.dat"));
  EXPECT_FALSE(exists(e2e::binDir() + L"a")) << "the colon must not reach the file system";
  EXPECT_GE(tool.list().find(stored), 0) << "the list shows the stored name";
}

bool setWriteTime(const std::wstring& path, const SYSTEMTIME& utc) {
  FILETIME time{};
  SystemTimeToFileTime(&utc, &time);
  HANDLE handle = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  BOOL ok = SetFileTime(handle, nullptr, nullptr, &time);
  CloseHandle(handle);
  return ok != FALSE;
}

TEST_F(BackupE2E, DateColumnShowsTheFolderTimeInLocalTime) {
  ASSERT_TRUE(CreateDirectoryW((e2e::binDir() + L"trip").c_str(), nullptr));
  ASSERT_TRUE(writeFile(folderOf(L"trip") + L"vorbinbr.dat", {'x'}));
  const SYSTEMTIME folderTime{2001, 2, 6, 3, 4, 5, 6, 0};
  const SYSTEMTIME fileTime{2010, 11, 1, 20, 21, 22, 23, 0};
  ASSERT_TRUE(setWriteTime(folderOf(L"trip") + L"vorbinbr.dat", fileTime));
  ASSERT_TRUE(setWriteTime(e2e::binDir() + L"trip", folderTime));

  FILETIME utc{}, local{};
  SYSTEMTIME shown{};
  SystemTimeToFileTime(&folderTime, &utc);
  FileTimeToLocalFileTime(&utc, &local);
  FileTimeToSystemTime(&local, &shown);
  wchar_t date[80] = {}, clock[80] = {};
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &shown, nullptr, date, 80);
  GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &shown, nullptr, clock, 80);

  ASSERT_TRUE(tool.start());
  int row = tool.list().find(L"trip");
  ASSERT_GE(row, 0);
  EXPECT_EQ(tool.list().text(row, 1), std::wstring(date) + L" " + clock);
}

TEST_F(BackupE2E, SavingOverABackupAsksAndCancelKeepsIt) {
  e2e::Process silent;
  ASSERT_TRUE(silent.start(e2e::binPath(L"VorbinBR.exe"), L"-B"));
  ASSERT_TRUE(silent.wait(20000).has_value());
  const std::wstring folder = folderOf(kDefaultName);
  ASSERT_TRUE(writeFile(folder + L"marker.txt", {'m'}));
  const auto before = filesIn(folder);
  ASSERT_TRUE(tool.start());

  // The name dialog offers the default name first; OK takes it.
  tool.click(IDC_SAVE);
  HWND ask = tool.waitForNameDialog();
  ASSERT_NE(ask, nullptr);
  EXPECT_EQ(windowText(GetDlgItem(ask, IDC_NAME_COMBO)), kDefaultName);
  BackupTool::click(ask, IDOK);
  tool.expectMessage(IDS_ASK_OVERWRITE, IDCANCEL);
  e2e::pumpFor(300);
  EXPECT_EQ(tool.waitForMessage(300), nullptr) << "nothing more after Cancel";
  EXPECT_EQ(filesIn(folder), before);

  tool.saveAs(kDefaultName);
  tool.expectMessage(IDS_ASK_OVERWRITE, IDOK);
  tool.expectMessage(IDS_SAVED);
  EXPECT_FALSE(exists(folder + L"marker.txt")) << "OK replaces the backup";
  EXPECT_TRUE(exists(folder + L"vorbinbr.dat"));
}

TEST_F(BackupE2E, FolderWithoutBackupFileIsNotListedNorOverwritten) {
  ASSERT_TRUE(CreateDirectoryW((e2e::binDir() + L"plain").c_str(), nullptr));
  ASSERT_TRUE(writeFile(folderOf(L"plain") + L"own.txt", {'o'}));
  ASSERT_TRUE(tool.start());
  EXPECT_EQ(tool.list().find(L"plain"), -1);
  tool.saveAs(L"plain");
  tool.expectMessage(IDS_ASK_OVERWRITE, IDOK);
  tool.expectMessage(IDS_NOT_A_BACKUP);
  EXPECT_TRUE(exists(folderOf(L"plain") + L"own.txt"));
  EXPECT_FALSE(exists(folderOf(L"plain") + L"vorbinbr.dat"));
}

TEST_F(BackupE2E, RestoreAndDeleteFollowTheSelection) {
  ASSERT_TRUE(tool.start());
  EXPECT_FALSE(tool.enabled(IDC_RESTORE));
  EXPECT_FALSE(tool.enabled(IDC_DELETE));
  tool.saveAs(L"trip");
  tool.expectMessage(IDS_SAVED);
  tool.saveAs(L"second");
  tool.expectMessage(IDS_SAVED);
  RemoteList rows = tool.list();
  ASSERT_EQ(rows.count(), 2);
  EXPECT_FALSE(tool.enabled(IDC_RESTORE));

  rows.select(rows.find(L"trip"), true);
  EXPECT_TRUE(tool.enabled(IDC_RESTORE));
  EXPECT_TRUE(tool.enabled(IDC_DELETE));
  rows.select(rows.find(L"second"), true);  // single selection: moves
  EXPECT_TRUE(tool.enabled(IDC_RESTORE));
  rows.select(rows.find(L"second"), false);
  EXPECT_FALSE(tool.enabled(IDC_RESTORE));
  EXPECT_FALSE(tool.enabled(IDC_DELETE));

  // Delete asks; Cancel keeps, OK removes folder and row.
  rows.select(rows.find(L"trip"), true);
  tool.click(IDC_DELETE);
  tool.expectMessage(IDS_ASK_DELETE, IDCANCEL);
  EXPECT_TRUE(exists(folderOf(L"trip") + L"vorbinbr.dat"));
  tool.click(IDC_DELETE);
  tool.expectMessage(IDS_ASK_DELETE, IDOK);
  EXPECT_TRUE(e2e::waitUntil([&] { return !exists(folderOf(L"trip")); }, kWait));
  EXPECT_TRUE(e2e::waitUntil([&] { return rows.count() == 1; }, kWait));
  EXPECT_EQ(rows.find(L"trip"), -1);
  EXPECT_FALSE(tool.enabled(IDC_RESTORE)) << "no row is selected after the list is filled again";
  EXPECT_FALSE(tool.enabled(IDC_DELETE));
}

TEST_F(BackupE2E, DamagedBackupIsRefusedAndTheSettingsStay) {
  ASSERT_TRUE(CreateDirectoryW((e2e::binDir() + L"broken").c_str(), nullptr));
  ASSERT_TRUE(writeFile(folderOf(L"broken") + L"vorbinbr.dat", pattern(3000, 9)));
  ASSERT_TRUE(writeFile(folderOf(L"broken") + L"thumb1.jpg", {'z'}));
  const KeySnapshot profile = snapshotProfile();
  const auto files = filesIn(dataFolder());
  ASSERT_TRUE(tool.start());
  tool.restore(L"broken");
  tool.expectMessage(IDS_ASK_RESTORE);
  tool.expectMessage(IDS_FAILED_HIVE);
  EXPECT_EQ(snapshotProfile(), profile);
  EXPECT_EQ(filesIn(dataFolder()), files);

  // A hive cut short is damaged too.
  tool.saveAs(L"trip");
  tool.expectMessage(IDS_SAVED);
  auto saved = filesIn(folderOf(L"trip"));
  std::vector<uint8_t> hive = saved[L"vorbinbr.dat"];
  hive.resize(hive.size() * 2 / 3);
  ASSERT_TRUE(writeFile(folderOf(L"trip") + L"vorbinbr.dat", hive));
  e2e::profile::setString(L"Settings", L"NoActiveToClose", L"No");
  const KeySnapshot changed = snapshotProfile();
  tool.restore(L"trip");
  tool.expectMessage(IDS_ASK_RESTORE);
  tool.expectMessage(IDS_FAILED_HIVE);
  EXPECT_EQ(snapshotProfile(), changed);
}

TEST_F(BackupE2E, UnusableNamesAreRefusedAndChangeNothing) {
  ASSERT_TRUE(tool.start());
  struct Case {
    std::wstring name;
    int message;
  };
  const Case cases[] = {
      {L".", IDS_NAME_UNUSABLE},   {L"..", IDS_NAME_UNUSABLE},
      {L"   ", IDS_NAME_UNUSABLE}, {L"name.", IDS_NAME_UNUSABLE},
      {L"CON", IDS_NAME_UNUSABLE}, {std::wstring(300, L'n'), IDS_NAME_TOO_LONG},
  };
  std::map<std::wstring, std::vector<uint8_t>> binFiles = filesIn(e2e::binDir());
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.name.substr(0, 10)));
    tool.saveAs(c.name);
    tool.expectMessage(c.message);
    EXPECT_EQ(tool.list().count(), 0);
  }
  EXPECT_EQ(filesIn(e2e::binDir()).size(), binFiles.size());
  EXPECT_TRUE(exists(e2e::binPath(L"VorbinBR.exe")));
}

TEST_F(BackupE2E, NameDialogOffersOkOnlyForANonEmptyName) {
  ASSERT_TRUE(tool.start());
  tool.saveAs(L"trip");
  tool.expectMessage(IDS_SAVED);
  tool.click(IDC_SAVE);
  HWND ask = tool.waitForNameDialog();
  ASSERT_NE(ask, nullptr);
  HWND combo = GetDlgItem(ask, IDC_NAME_COMBO);
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 2) << "the default name, then the list";
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(ask, IDOK)));
  BackupTool::typeName(ask, L"");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(ask, IDOK)));
  BackupTool::typeName(ask, L"x");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(ask, IDOK)));
  BackupTool::typeName(ask, L"");
  // Choosing an entry of the list enables OK again.
  SendMessageW(combo, CB_SETCURSEL, 1, 0);
  SendMessageW(ask, WM_COMMAND, MAKEWPARAM(IDC_NAME_COMBO, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(ask, IDOK)));
  BackupTool::click(ask, IDCANCEL);
  EXPECT_TRUE(e2e::waitUntil([&] { return !IsWindow(ask); }, kWait));
  EXPECT_EQ(tool.waitForMessage(300), nullptr) << "Cancel saves nothing";
}

TEST_F(BackupE2E, SaveWithoutLauncherSettingsSaysSoAndWritesNothing) {
  e2e::profile::clear();
  ASSERT_TRUE(tool.start());
  tool.click(IDC_SAVE);
  tool.expectMessage(IDS_NO_SETTINGS);
  EXPECT_EQ(tool.waitForDialog([](HWND w) { return GetDlgItem(w, IDC_NAME_COMBO) != nullptr; }, 500), nullptr)
      << "no name is asked for";
  EXPECT_FALSE(exists(folderOf(kDefaultName)));
}

TEST_F(BackupE2E, SystemMenuOpensTheAboutDialog) {
  ASSERT_TRUE(tool.start());
  PostMessageW(tool.dialog(), WM_SYSCOMMAND, IDM_ABOUT, 0);
  HWND about = tool.waitForDialog([](HWND w) { return windowText(w).find(L"Vorb in 2000") == 0; });
  ASSERT_NE(about, nullptr);
  PostMessageW(about, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(e2e::waitUntil([&] { return !IsWindow(about); }, kWait));
}

}  // namespace
