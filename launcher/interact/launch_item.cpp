// Starting items through the shell. The decisions live in launch_rules; this
// file asks the system and executes the request.
#include "launcher/interact/launch_item.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>

#include "framework/trace.h"
#include "launcher/interact/apply_show_state.h"
#include "launcher/interact/item_launch.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/shell_helpers.h"
#include "launcher/widgets/user_message.h"

namespace vorbin {

static_assert(exec_mask::kInvokeIdList == SEE_MASK_INVOKEIDLIST && exec_mask::kHotKey == SEE_MASK_HOTKEY &&
              exec_mask::kNoCloseProcess == SEE_MASK_NOCLOSEPROCESS &&
              exec_mask::kDoEnvSubst == SEE_MASK_DOENVSUBST && exec_mask::kNoUi == SEE_MASK_FLAG_NO_UI &&
              exec_mask::kMonitor == SEE_MASK_HMONITOR);
static_assert(sw::kHide == SW_HIDE && sw::kShowNormal == SW_SHOWNORMAL && sw::kMaximize == SW_MAXIMIZE &&
              sw::kMinNoActive == SW_SHOWMINNOACTIVE);

namespace {

constexpr DWORD kIdleWaitMs = 10000;

// The wait cursor for the whole launch, restored on every way out.
class WaitCursor {
 public:
  WaitCursor() : m_previous(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(m_previous); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR m_previous;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

std::vector<HWND> topLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// The first top-level window that was not there before, skipping the input
// method windows that every new GUI thread gets.
HWND firstNewWindow(const std::vector<HWND>& before) {
  for (HWND window : topLevelWindows()) {
    if (std::find(before.begin(), before.end(), window) != before.end()) continue;
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if (lstrcmpiW(className, L"IME") == 0 || lstrcmpiW(className, L"MSCTFIME UI") == 0) continue;
    return window;
  }
  return nullptr;
}

// The ID list in a new unnamed shared block for Explorer, which takes the
// block over by its handle and our process id.
HANDLE shareIdList(const std::vector<uint8_t>& idList) {
  const std::vector<uint8_t> block = explorerIdListBlock(idList);
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      static_cast<DWORD>(block.size()), nullptr);
  if (!mapping) {
    FW_TRACE_FAILURE("CreateFileMappingW");
    return nullptr;
  }
  void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, block.size());
  if (!view) {
    FW_TRACE_FAILURE("MapViewOfFile");
    CloseHandle(mapping);
    return nullptr;
  }
  std::memcpy(view, block.data(), block.size());
  UnmapViewOfFile(view);
  return mapping;
}

// The classic number of a failed request: the shell's own if it gave one, else one for the error.
int failureNumber(const SHELLEXECUTEINFOW& info, DWORD error) {
  const auto result = reinterpret_cast<INT_PTR>(info.hInstApp);
  if (result > 0 && result <= 32) return static_cast<int>(result);
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return SE_ERR_FNF;
    case ERROR_PATH_NOT_FOUND:
      return SE_ERR_PNF;
    case ERROR_ACCESS_DENIED:
    case ERROR_CANCELLED:
      return SE_ERR_ACCESSDENIED;
    case ERROR_NO_ASSOCIATION:
      return SE_ERR_NOASSOC;
    default:
      return 0;
  }
}

// The shell's result as the classic numbers: > 32 success, else an error.
int executeRequest(SHELLEXECUTEINFOW& info) {
  if (ShellExecuteExW(&info)) {
    const auto result = reinterpret_cast<INT_PTR>(info.hInstApp);
    return result > 32 ? static_cast<int>(result) : 33;
  }
  const DWORD error = GetLastError();
  const int result = failureNumber(info, error);
  // No association leads to the chooser and a cancel is the user's: neither is a failure here.
  if (result != SE_ERR_NOASSOC && error != ERROR_CANCELLED) FW_TRACE_FAILURE("ShellExecuteExW");
  return result;
}

const wchar_t* orNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

// The program's window gets the start mode and the hot key once it is idle.
void settleNewWindow(HANDLE process, const std::vector<HWND>& before, const LaunchPlan& plan,
                     LaunchOutcome& outcome) {
  WaitForInputIdle(process, kIdleWaitMs);
  HWND window = firstNewWindow(before);
  if (!window) return;
  DWORD ownerId = 0;
  GetWindowThreadProcessId(window, &ownerId);
  if (ownerId != GetProcessId(process)) {
    if (HANDLE owner = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ownerId)) {
      WaitForInputIdle(owner, kIdleWaitMs);
      CloseHandle(owner);
    }
  }
  outcome.newWindow = window;
  if (plan.showCommand == sw::kHide && IsWindowVisible(window)) {
    applyShowState(window, ShowStateRequest{0, sw::kHide, true, true});
  }
  if (plan.hotKey != 0) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_SETHOTKEY, plan.hotKey, 0, SMTO_ABORTIFHUNG, kIdleWaitMs, &answer);
  }
}

void closeUnlessProtected(HANDLE process) {
  DWORD flags = 0;
  if (process && GetHandleInformation(process, &flags) && !(flags & HANDLE_FLAG_PROTECT_FROM_CLOSE)) {
    CloseHandle(process);
  }
}

}  // namespace

std::optional<std::wstring> Win32LaunchSystem::expandEnvironment(const std::wstring& text) {
  // The size is asked first, so that a long expansion is refused rather than cut.
  const DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (size == 0) FW_TRACE_FAILURE("ExpandEnvironmentStringsW");
  if (size == 0 || size > kMaxPathChars + 1) return std::nullopt;
  std::wstring expanded(size, L'\0');
  const DWORD n = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), size);
  if (n == 0 || n > size) return std::nullopt;
  expanded.resize(n - 1);
  return expanded;
}

// Some of the shell's calls misbehave on texts longer than a path can be;
// such texts name nothing, so they are answered here.
bool Win32LaunchSystem::exists(const std::wstring& path) {
  return path.size() < MAX_PATH && shellExists(path.c_str());
}

bool Win32LaunchSystem::isFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::wstring> Win32LaunchSystem::searchPath(const std::wstring& name,
                                                          const std::wstring& extension) {
  const wchar_t* ext = orNull(extension);
  DWORD size = SearchPathW(nullptr, name.c_str(), ext, 0, nullptr, nullptr);
  if (size == 0) return std::nullopt;
  std::wstring found(size, L'\0');
  const DWORD n = SearchPathW(nullptr, name.c_str(), ext, size, found.data(), nullptr);
  if (n == 0 || n >= size) return std::nullopt;
  found.resize(n);
  return found;
}

std::wstring Win32LaunchSystem::windowsFolder() {
  wchar_t buffer[MAX_PATH] = {};
  const UINT n = GetWindowsDirectoryW(buffer, MAX_PATH);
  if (n == 0) FW_TRACE_FAILURE("GetWindowsDirectoryW");
  return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

bool Win32LaunchSystem::setCurrentFolder(const std::wstring& folder) {
  if (SetCurrentDirectoryW(folder.c_str())) return true;
  FW_TRACE_FAILURE("SetCurrentDirectoryW");
  return false;
}

bool Win32LaunchSystem::is16BitWindowsProgram(const std::wstring& program) {
  if (program.size() >= MAX_PATH) return false;
  const DWORD_PTR type = SHGetFileInfoW(program.c_str(), 0, nullptr, 0, SHGFI_EXETYPE);
  return LOWORD(type) == 0x454E && HIWORD(type) != 0;  // "NE"
}

std::optional<std::wstring> Win32LaunchSystem::shortPath(const std::wstring& path) {
  if (path.size() >= MAX_PATH) return std::nullopt;
  const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring shortName(size, L'\0');
  const DWORD n = GetShortPathNameW(path.c_str(), shortName.data(), size);
  if (n == 0 || n >= size) return std::nullopt;
  shortName.resize(n);
  return shortName;
}

std::wstring Win32LaunchSystem::classDefaultVerb(const std::wstring& extension) {
  // Class names and verbs are read into bounded buffers of 520 bytes.
  wchar_t className[260] = {};
  DWORD bytes = sizeof(className);
  if (RegGetValueW(HKEY_CLASSES_ROOT, extension.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, className,
                   &bytes) != ERROR_SUCCESS ||
      className[0] == L'\0') {
    return {};
  }
  const std::wstring shellKey = std::wstring(className) + L"\\shell";
  wchar_t verb[260] = {};
  bytes = sizeof(verb);
  if (RegGetValueW(HKEY_CLASSES_ROOT, shellKey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, verb, &bytes) !=
      ERROR_SUCCESS) {
    return {};
  }
  return verb;
}

LaunchSystem::Association Win32LaunchSystem::findExecutable(const std::wstring& file) {
  if (file.size() >= MAX_PATH) return {SE_ERR_FNF, L""};
  wchar_t program[MAX_PATH] = {};
  const auto result = reinterpret_cast<INT_PTR>(FindExecutableW(file.c_str(), nullptr, program));
  if (result <= 32) return {static_cast<int>(result), L""};
  return {static_cast<int>(result), program};
}

void reportNotFound(const std::wstring& name, bool folder, bool noAssociation, const LaunchContext& context) {
  MessageBeep(MB_ICONEXCLAMATION);
  showMessage(context.owner,
              {.text = notFoundMessageId(folder, noAssociation),
               .caption = IDS_NOT_FOUND_CAPTION,
               .insert = name,
               .library = context.resources},
              MB_OK | MB_ICONEXCLAMATION);
}

bool checkFolder(std::wstring& folder, bool report, bool fullPath, const LaunchContext& context) {
  Win32LaunchSystem sys;
  const FolderResult result = checkFolder(folder, report, fullPath, sys);
  if (result.report) reportNotFound(folder, true, false, context);
  return result.ok;
}

int findProgram(std::wstring& file, bool report, const LaunchContext& context) {
  Win32LaunchSystem sys;
  const int result = findProgram(file, sys);
  if (result >= 32 || !report) return result;
  reportNotFound(file, false, result == kNoAssociation, context);
  return 32;
}

LaunchOutcome launchItem(const LaunchRequest& request, const LaunchContext& context) {
  WaitCursor wait;
  Win32LaunchSystem sys;
  LaunchPlan plan = planLaunch(request, sys);
  LaunchOutcome outcome;
  outcome.showCommand = plan.showCommand;
  if (!plan.valid) {
    if (!plan.passIdList && !plan.explorerIdList) reportNotFound(plan.file, false, false, context);
    return outcome;
  }

  PIDLIST_ABSOLUTE idList = plan.passIdList ? idListToShell(request.idList) : nullptr;
  if (plan.passIdList && !idList) return outcome;
  if (plan.explorerIdList) {
    HANDLE block = shareIdList(request.idList);
    if (!block) return outcome;
    plan.parameters += explorerIdListParameter(reinterpret_cast<uintptr_t>(block), GetCurrentProcessId());
  }
  outcome.file = plan.file;
  outcome.parameters = plan.parameters;
  outcome.directory = plan.directory;
  outcome.verb = plan.verb;

  std::vector<HWND> before;
  if (plan.trackNewWindow) before = topLevelWindows();

  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = plan.mask;
  info.hwnd = context.owner;
  info.lpVerb = orNull(plan.verb);
  info.lpFile = orNull(plan.file);
  info.lpParameters = orNull(plan.parameters);
  info.lpDirectory = orNull(plan.directory);
  info.nShow = plan.showCommand;
  info.lpIDList = idList;
  info.dwHotKey = plan.hotKey;
  if (context.owner) {
    info.hMonitor = MonitorFromWindow(context.owner, MONITOR_DEFAULTTONEAREST);
  } else {
    info.fMask &= ~exec_mask::kMonitor;
  }

  outcome.result = executeRequest(info);
  switch (afterExecute(outcome.result, plan.passIdList)) {
    case AfterExecute::kSucceeded:
      outcome.started = true;
      break;
    case AfterExecute::kOpenAs: {
      const OpenAsRequest openAs = openAsRequest(plan);
      SHELLEXECUTEINFOW chooser = {};
      chooser.cbSize = sizeof(chooser);
      chooser.hwnd = context.owner;
      chooser.lpVerb = openAs.verb.c_str();
      chooser.lpFile = openAs.file.c_str();
      chooser.lpParameters = openAs.parameters.c_str();
      chooser.lpDirectory = orNull(openAs.directory);
      chooser.nShow = openAs.showCommand;
      if (!ShellExecuteExW(&chooser)) FW_TRACE_FAILURE("ShellExecuteExW");
      outcome.started = true;
      break;
    }
    case AfterExecute::kStop:
      break;
    case AfterExecute::kRetryWithUi:
      info.fMask &= ~exec_mask::kNoUi;
      info.hProcess = nullptr;
      outcome.result = executeRequest(info);
      closeUnlessProtected(info.hProcess);
      info.hProcess = nullptr;
      break;
  }
  if (idList) CoTaskMemFree(idList);
  if (!outcome.started) return outcome;

  if (context.onStarted) context.onStarted();
  if (info.hProcess) {
    outcome.processId = GetProcessId(info.hProcess);
    if (plan.trackNewWindow) settleNewWindow(info.hProcess, before, plan, outcome);
    closeUnlessProtected(info.hProcess);
  }
  return outcome;
}

LaunchOutcome launchSlot(const GroupTable& groups, int groupIndex, int slot, const LaunchContext& context) {
  const Item* item = groups.item(groupIndex, slot);
  if (!item) return {};
  return launchItem(launchRequestFor(*item), context);
}

std::vector<LaunchOutcome> launchGroup(const GroupTable& groups, int groupIndex,
                                       const LaunchContext& context) {
  std::vector<LaunchOutcome> outcomes;
  const Group* group = groups.group(groupIndex);
  if (!group) return outcomes;
  for (const LaunchRequest& request : groupStartRequests(*group))
    outcomes.push_back(launchItem(request, context));
  return outcomes;
}

}  // namespace vorbin
