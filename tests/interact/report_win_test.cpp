// Not-found reports: the message box texts come from the language library with
// the name put in literally, and a failed start lets the shell explain itself.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "launcher/interact/launch_item.h"
#include "tests/support/e2e.h"

namespace vorbin {
namespace {

struct SeenBox {
  std::wstring caption, text;
};

BOOL CALLBACK collectStaticText(HWND child, LPARAM param) {
  wchar_t className[16] = {};
  GetClassNameW(child, className, 16);
  wchar_t text[1024] = {};
  if (lstrcmpiW(className, L"Static") == 0 && GetWindowTextW(child, text, 1024) > 0) {
    *reinterpret_cast<std::wstring*>(param) += text;
  }
  return TRUE;
}

// Closes every dialog box of this process that appears while it runs, and
// records its caption and text.
class BoxWatcher {
 public:
  BoxWatcher() : m_thread([this] { run(); }) {}
  ~BoxWatcher() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
  }
  std::vector<SeenBox> seen() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    return m_seen;
  }

 private:
  void run() {
    while (!m_stop) {
      closeBoxes();
      Sleep(30);
    }
    closeBoxes();
  }
  void closeBoxes() {
    HWND box = nullptr;
    while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
      DWORD process = 0;
      GetWindowThreadProcessId(box, &process);
      if (process != GetCurrentProcessId() || !IsWindowVisible(box)) continue;
      SeenBox seen;
      wchar_t caption[256] = {};
      GetWindowTextW(box, caption, 256);
      seen.caption = caption;
      EnumChildWindows(box, collectStaticText, reinterpret_cast<LPARAM>(&seen.text));
      m_seen.push_back(seen);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      PostMessageW(box, WM_CLOSE, 0, 0);
      Sleep(100);
    }
  }
  std::atomic<bool> m_stop{false};
  std::vector<SeenBox> m_seen;
  std::thread m_thread;
};

class ReportTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void SetUp() override {
    library = LoadLibraryExW(e2e::binPath(L"Vorbr2ke.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(library, nullptr);
    context.resources = library;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder = std::wstring(temp) + L"vb report " + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
  }
  void TearDown() override {
    RemoveDirectoryW(folder.c_str());
    FreeLibrary(library);
  }
  HMODULE library = nullptr;
  LaunchContext context;
  std::wstring folder;
};

TEST_F(ReportTest, MissingFolderIsReportedAndKept) {
  std::wstring text = L"  C:\\no such place\\%s%n%d  ";
  bool ok = true;
  std::vector<SeenBox> seen;
  {
    BoxWatcher watcher;
    ok = checkFolder(text, true, true, context);
    seen = watcher.seen();
  }
  EXPECT_FALSE(ok);
  EXPECT_EQ(text, L"C:\\no such place\\%s%n%d");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, L"Vorbin - not found");
  EXPECT_EQ(seen[0].text, L"Cannot find the folder C:\\no such place\\%s%n%d.");

  // Without the report flag the Windows folder is put in and nothing is shown.
  BoxWatcher quiet;
  text = L"C:\\no such place";
  EXPECT_FALSE(checkFolder(text, false, true, context));
  EXPECT_TRUE(quiet.seen().empty());
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  EXPECT_EQ(lstrcmpiW(text.c_str(), windows), 0) << text;
}

TEST_F(ReportTest, ProgramLookupReportsMissingFilesAndMissingPrograms) {
  const std::wstring orphan = folder + L"\\data.vbnoassoc";
  CloseHandle(CreateFileW(orphan.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  std::wstring missing = folder + L"\\absent.txt";
  std::wstring noProgram = orphan;
  std::vector<SeenBox> seen;
  {
    BoxWatcher watcher;
    EXPECT_EQ(findProgram(missing, true, context), 32);
    EXPECT_EQ(findProgram(noProgram, true, context), 32);
    seen = watcher.seen();
  }
  DeleteFileW(orphan.c_str());
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].text, L"Cannot find the file " + missing + L".");
  EXPECT_EQ(seen[1].text, L"Cannot find a program that opens " + orphan + L".");
  EXPECT_EQ(noProgram, orphan);

  // Without the report flag the platform's number comes back and nothing is shown.
  BoxWatcher quiet;
  EXPECT_LT(findProgram(missing, false, context), 32);
  EXPECT_TRUE(quiet.seen().empty());
}

TEST_F(ReportTest, FailedStartIsRepeatedWithTheShellsReport) {
  int started = 0;
  context.onStarted = [&] { ++started; };
  LaunchRequest request;
  request.target = folder + L"\\missing program.exe";
  LaunchOutcome outcome;
  std::vector<SeenBox> seen;
  {
    BoxWatcher watcher;
    outcome = launchItem(request, context);
    seen = watcher.seen();
  }
  EXPECT_FALSE(outcome.started);
  EXPECT_LE(outcome.result, 32);
  EXPECT_EQ(started, 0);
  // The second attempt allowed the shell's own message.
  EXPECT_FALSE(seen.empty());
}

TEST_F(ReportTest, BrokenTargetsFailWithoutHarm) {
  int started = 0;
  context.onStarted = [&] { ++started; };
  const std::vector<std::wstring> targets = {L"",
                                             L"   ",
                                             L"\"C:\\unbalanced quote.exe -x",
                                             L"C:\\" + std::wstring(5000, L'n') + L".exe /s",
                                             std::wstring(300, L'"'),
                                             folder + L"\\missing.exe"};
  for (const std::wstring& target : targets) {
    LaunchRequest request;
    request.target = target;
    request.folder = std::wstring(1000, L'f');
    request.document = std::wstring(2000, L'd') + L" x";
    BoxWatcher watcher;
    const LaunchOutcome outcome = launchItem(request, context);
    watcher.seen();
    EXPECT_FALSE(outcome.started) << target.substr(0, 40);
  }
  EXPECT_EQ(started, 0);
}

}  // namespace
}  // namespace vorbin

namespace vorbin {
namespace {

// Writes the unnamed value of a class key (the test prefix is private; this Wine
// does not merge the user's classes into the class root).
void setClassValue(const std::wstring& key, const std::wstring& value) {
  RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

TEST(LaunchSystemQueries, VerbFromTheClassRegistryAndBoundedTexts) {
  Win32LaunchSystem sys;
  setClassValue(L".vbverbtest", L"VbVerbTest.File");
  setClassValue(L"VbVerbTest.File\\shell", L"edit");
  EXPECT_EQ(sys.classDefaultVerb(L".vbverbtest"), L"edit");
  // A class name longer than its 520-byte buffer is no class.
  setClassValue(L".vblongclass", std::wstring(400, L'c'));
  EXPECT_EQ(sys.classDefaultVerb(L".vblongclass"), L"");
  EXPECT_EQ(sys.classDefaultVerb(L".vbnoclassatall"), L"");
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L".vbverbtest");
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L"VbVerbTest.File");
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L".vblongclass");

  SetEnvironmentVariableW(L"VB_LONG", std::wstring(256, L'x').c_str());
  EXPECT_EQ(sys.expandEnvironment(L"C:\\%VB_LONG%\\"), L"C:\\" + std::wstring(256, L'x') + L"\\");  // 260
  EXPECT_FALSE(sys.expandEnvironment(L"C:\\%VB_LONG%\\y").has_value());                             // 261
  const std::optional<std::wstring> notepad = sys.searchPath(L"notepad", L".exe");
  ASSERT_TRUE(notepad.has_value());
  EXPECT_NE(notepad->find(L"notepad.exe"), std::wstring::npos);
  EXPECT_FALSE(sys.searchPath(L"no-such-program-here", L".exe").has_value());
  EXPECT_FALSE(sys.exists(std::wstring(400, L'a')));
}

}  // namespace
}  // namespace vorbin
