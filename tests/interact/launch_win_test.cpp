// Real launches through the shell under Wine: a probe program reports how it
// was started; Explorer and the program chooser are checked by the command
// lines of the processes that appeared.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "launcher/interact/launch_item.h"
#include "launcher/services/shell_helpers.h"
#include "tests/support/e2e.h"

namespace vorbin {
namespace {

bool sameText(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

std::wstring withoutTrailingSlash(std::wstring path) {
  if (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return path;
}

struct ProbeReport {
  std::wstring commandLine, folder;
  int showCommand = -1;
  HWND window = nullptr;
};

// Waits for the probe's report (it renames the file into place when complete).
std::optional<ProbeReport> readProbe(const std::wstring& path) {
  for (int i = 0; i < 400; ++i) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      std::wstring text(GetFileSize(file, nullptr) / sizeof(wchar_t), L'\0');
      DWORD read = 0;
      ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
      CloseHandle(file);
      std::vector<std::wstring> lines;
      for (size_t at = 0, end; (end = text.find(L'\n', at)) != std::wstring::npos; at = end + 1) {
        lines.push_back(text.substr(at, end - at));
      }
      if (lines.size() < 4) return std::nullopt;
      ProbeReport report{lines[0], lines[1], std::stoi(lines[2]),
                         reinterpret_cast<HWND>(static_cast<uintptr_t>(std::stoull(lines[3])))};
      return report;
    }
    Sleep(50);
  }
  return std::nullopt;
}

// Ends a process this test started: politely by its window, else by force.
void endProcess(DWORD processId, HWND window) {
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId)) {
    if (!window || WaitForSingleObject(process, 5000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
  }
}

std::set<DWORD> processesNamed(const wchar_t* name) {
  std::set<DWORD> ids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL ok = Process32FirstW(snapshot, &entry); ok; ok = Process32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szExeFile, name) == 0) ids.insert(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return ids;
}

// The command line of another process, read from its process parameters.
std::wstring commandLineOf(DWORD processId) {
  using QueryFn = LONG(NTAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  auto query = reinterpret_cast<QueryFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (!process || !query) return {};
  std::wstring text;
  PROCESS_BASIC_INFORMATION basic = {};
  uintptr_t parameters = 0;
  struct {
    USHORT length, maximum;
    uint32_t pad;
    uint64_t buffer;
  } line = {};
  SIZE_T got = 0;
  if (query(process, 0, &basic, sizeof(basic), nullptr) >= 0 &&
      ReadProcessMemory(process, reinterpret_cast<uint8_t*>(basic.PebBaseAddress) + 0x20, &parameters,
                        sizeof(parameters), &got) &&
      ReadProcessMemory(process, reinterpret_cast<void*>(parameters + 0x70), &line, sizeof(line), &got)) {
    text.resize(line.length / sizeof(wchar_t));
    if (!ReadProcessMemory(process, reinterpret_cast<void*>(line.buffer), text.data(), line.length, &got)) {
      text.clear();
    }
  }
  CloseHandle(process);
  return text;
}

// The first process of that name that was not running before.
DWORD waitForNewProcess(const wchar_t* name, const std::set<DWORD>& before) {
  for (int i = 0; i < 400; ++i) {
    for (DWORD id : processesNamed(name)) {
      if (!before.count(id)) return id;
    }
    Sleep(50);
  }
  return 0;
}

class LaunchTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }

  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    root = std::wstring(temp) + L"vb launch " + std::to_wstring(GetCurrentProcessId());
    probeFolder = root + L"\\probe dir";
    workFolder = root + L"\\work folder";
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW(probeFolder.c_str(), nullptr);
    CreateDirectoryW(workFolder.c_str(), nullptr);
    probe = probeFolder + L"\\launch probe.exe";
    ASSERT_TRUE(CopyFileW(e2e::binPath(L"launch_probe.exe").c_str(), probe.c_str(), FALSE));
    document = workFolder + L"\\my notes.txt";
    HANDLE file = CreateFileW(document.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    context.onStarted = [this] { ++startedCalls; };
  }

  void TearDown() override {
    for (const auto& [id, window] : started) endProcess(id, window);
    SetCurrentDirectoryW(e2e::binDir().c_str());
    SHFILEOPSTRUCTW op = {};
    std::wstring from = root + L'\0';
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
  }

  // Launches with a fresh report file; the started probe is ended after the test.
  std::optional<ProbeReport> launchProbe(const LaunchRequest& request, LaunchOutcome* outcomeOut = nullptr) {
    const std::wstring out = root + L"\\report" + std::to_wstring(++reports) + L".txt";
    SetEnvironmentVariableW(L"VB_PROBE_OUT", out.c_str());
    const std::set<DWORD> before = processesNamed(L"launch probe.exe");
    LaunchOutcome outcome = launchItem(request, context);
    if (outcomeOut) *outcomeOut = outcome;
    std::optional<ProbeReport> report = outcome.started ? readProbe(out) : std::nullopt;
    const DWORD id = waitForNewProcess(L"launch probe.exe", before);
    if (id) started.emplace_back(id, report ? report->window : nullptr);
    return report;
  }

  std::wstring windowsFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetWindowsDirectoryW(folder, MAX_PATH);
    return folder;
  }

  std::wstring root, probeFolder, workFolder, probe, document;
  LaunchContext context;
  int startedCalls = 0;
  int reports = 0;
  std::vector<std::pair<DWORD, HWND>> started;
};

TEST_F(LaunchTest, UnquotedPathWithBlanksGetsTheDocumentFolderAndShowMode) {
  LaunchRequest request;
  request.target = probe;  // blanks, no quotes: the whole text names the program
  request.folder = L"  " + workFolder + L"\\ ";
  request.document = document;
  request.flags = 2;  // maximized
  LaunchOutcome outcome;
  const std::optional<ProbeReport> report = launchProbe(request, &outcome);
  ASSERT_TRUE(report.has_value());
  EXPECT_TRUE(outcome.started);
  EXPECT_EQ(startedCalls, 1);
  EXPECT_TRUE(sameText(outcome.file, probe)) << outcome.file;
  EXPECT_EQ(outcome.parameters, L"\"" + document + L"\"");
  EXPECT_NE(report->commandLine.find(L"\"" + document + L"\""), std::wstring::npos) << report->commandLine;
  EXPECT_NE(report->commandLine.find(L"launch probe.exe"), std::wstring::npos) << report->commandLine;
  EXPECT_TRUE(sameText(withoutTrailingSlash(report->folder), workFolder)) << report->folder;
  EXPECT_EQ(report->showCommand, SW_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(report->window));
  EXPECT_EQ(outcome.newWindow, report->window);
}

TEST_F(LaunchTest, WorkingFolderFallsBackOrInherits) {
  // Empty, missing and file-valued folders start the program in the Windows folder.
  for (const std::wstring& folder : {std::wstring(), root + L"\\no such folder", document,
                                     std::wstring(400, L'x'), std::wstring(L"\"unbalanced")}) {
    LaunchRequest request;
    request.target = L"\"" + probe + L"\"";
    request.folder = folder;
    const std::optional<ProbeReport> report = launchProbe(request);
    ASSERT_TRUE(report.has_value()) << folder;
    EXPECT_TRUE(sameText(withoutTrailingSlash(report->folder), windowsFolder()))
        << folder << L" -> " << report->folder;
  }
  // "." keeps the launcher's own current folder.
  ASSERT_TRUE(SetCurrentDirectoryW(probeFolder.c_str()));
  LaunchRequest request;
  request.target = L"\"" + probe + L"\"";
  request.folder = L".";
  const std::optional<ProbeReport> report = launchProbe(request);
  ASSERT_TRUE(report.has_value());
  EXPECT_TRUE(sameText(withoutTrailingSlash(report->folder), probeFolder)) << report->folder;
}

TEST_F(LaunchTest, HiddenWithHotKeyEndsHiddenAndHoldsTheKey) {
  LaunchRequest request;
  request.target = probe;
  request.flags = 3;        // hidden
  request.hotKey = 0x0641;  // Ctrl+Alt+A
  LaunchOutcome outcome;
  std::optional<ProbeReport> report = launchProbe(request, &outcome);
  ASSERT_TRUE(report.has_value());
  EXPECT_EQ(report->showCommand, SW_HIDE);
  EXPECT_EQ(outcome.newWindow, report->window);
  EXPECT_FALSE(IsWindowVisible(report->window));
  // This Wine keeps no window hot keys; the probe answers with the key it was sent.
  EXPECT_EQ(SendMessageW(report->window, WM_GETHOTKEY, 0, 0), 0x0641);
}

TEST_F(LaunchTest, HiddenModeHidesAWindowThatShowedItself) {
  LaunchRequest request;
  request.target = L"\"" + probe + L"\" /visible";
  request.flags = 3;
  LaunchOutcome outcome;
  std::optional<ProbeReport> report = launchProbe(request, &outcome);
  ASSERT_TRUE(report.has_value());
  EXPECT_NE(report->commandLine.find(L"/visible"), std::wstring::npos);
  EXPECT_EQ(outcome.newWindow, report->window);
  // The show commands go to the other program asynchronously.
  for (int i = 0; i < 100 && IsWindowVisible(report->window); ++i) Sleep(50);
  EXPECT_FALSE(IsWindowVisible(report->window));
  EXPECT_TRUE(IsIconic(report->window));
}

TEST_F(LaunchTest, PromptingItemIgnoresTheHotKey) {
  LaunchRequest request;
  request.target = probe;
  request.flags = 0x0020;
  request.hotKey = 0x0642;
  LaunchOutcome outcome;
  const std::optional<ProbeReport> report = launchProbe(request, &outcome);
  ASSERT_TRUE(report.has_value());
  EXPECT_EQ(outcome.newWindow, nullptr);  // normal show and no hot key: nothing to look for
  EXPECT_EQ(SendMessageW(report->window, WM_GETHOTKEY, 0, 0), 0);
}

TEST_F(LaunchTest, FolderItemOpensExplorerAtTheRoot) {
  const std::set<DWORD> before = processesNamed(L"explorer.exe");
  LaunchRequest request;
  request.folder = workFolder;
  request.flags = 0x0040 | 0x0080 | 0x0800;
  const LaunchOutcome outcome = launchItem(request, context);
  EXPECT_TRUE(outcome.started);
  EXPECT_EQ(outcome.file, L"explorer.exe");
  EXPECT_EQ(outcome.parameters, L"/e,/root," + workFolder);
  const DWORD explorer = waitForNewProcess(L"explorer.exe", before);
  ASSERT_NE(explorer, 0u);
  const std::wstring commandLine = commandLineOf(explorer);
  endProcess(explorer, nullptr);
  EXPECT_NE(commandLine.find(L"/e,/root," + workFolder), std::wstring::npos) << commandLine;
}

TEST_F(LaunchTest, IdListItemStartsThroughTheShell) {
  PIDLIST_ABSOLUTE list = pathToIdList(probe.c_str());
  ASSERT_NE(list, nullptr);
  const std::span<const uint8_t> bytes = idListBytes(list);
  LaunchRequest request;
  request.idList.assign(bytes.begin(), bytes.end());
  CoTaskMemFree(list);
  request.flags = 0x0200 | 2;
  LaunchOutcome outcome;
  const std::optional<ProbeReport> report = launchProbe(request, &outcome);
  ASSERT_TRUE(report.has_value());
  EXPECT_TRUE(outcome.started);
  EXPECT_EQ(outcome.file, L"");
  EXPECT_EQ(report->showCommand, SW_MAXIMIZE);
  EXPECT_EQ(outcome.newWindow, report->window);

  // A list that runs past its bytes is never handed to the shell.
  request.idList.resize(request.idList.size() - 2);
  request.idList.back() = 0x7F;
  EXPECT_FALSE(launchItem(request, context).started);
}

TEST_F(LaunchTest, IdListForExplorerGoesInASharedBlock) {
  const std::vector<uint8_t> list = {6, 0, 'a', 'b', 'c', 'd', 0, 0};
  const std::set<DWORD> before = processesNamed(L"explorer.exe");
  LaunchRequest request;
  request.idList = list;
  request.flags = 0x0200 | 0x0080;
  const LaunchOutcome outcome = launchItem(request, context);
  const DWORD explorer = waitForNewProcess(L"explorer.exe", before);
  if (explorer) endProcess(explorer, nullptr);
  EXPECT_EQ(outcome.file, L"explorer.exe");
  const std::wstring prefix = L"/e,/idlist,:";
  ASSERT_EQ(outcome.parameters.rfind(prefix, 0), 0u) << outcome.parameters;
  const std::wstring numbers = outcome.parameters.substr(prefix.size());
  const size_t colon = numbers.find(L':');
  ASSERT_NE(colon, std::wstring::npos);
  EXPECT_EQ(std::stoul(numbers.substr(colon + 1)), GetCurrentProcessId());
  // The block is ours until Explorer takes it over: size first, then the list.
  HANDLE block = reinterpret_cast<HANDLE>(static_cast<intptr_t>(std::stol(numbers.substr(0, colon))));
  const auto* view = static_cast<const uint8_t*>(MapViewOfFile(block, FILE_MAP_READ, 0, 0, 0));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(std::vector<uint8_t>(view, view + 12),
            (std::vector<uint8_t>{8, 0, 0, 0, 6, 0, 'a', 'b', 'c', 'd', 0, 0}));
  UnmapViewOfFile(view);
  CloseHandle(block);
}

TEST_F(LaunchTest, FileWithoutProgramOpensTheChooser) {
  const std::wstring orphan = workFolder + L"\\data.vbnoassoc";
  HANDLE file = CreateFileW(orphan.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(file);
  const std::set<DWORD> before = processesNamed(L"rundll32.exe");
  LaunchRequest request;
  request.target = orphan;
  const LaunchOutcome outcome = launchItem(request, context);
  EXPECT_EQ(outcome.result, SE_ERR_NOASSOC);
  EXPECT_TRUE(outcome.started);
  EXPECT_EQ(startedCalls, 1);
  const DWORD chooser = waitForNewProcess(L"rundll32.exe", before);
  ASSERT_NE(chooser, 0u);
  const std::wstring commandLine = commandLineOf(chooser);
  endProcess(chooser, nullptr);
  EXPECT_NE(commandLine.find(L"shell32.dll,OpenAs_RunDLL " + orphan), std::wstring::npos) << commandLine;
}

}  // namespace
}  // namespace vorbin
