// Closing and restarting the launcher around a restore.
#include "backup/launcher_control.h"

#include <shellapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstddef>

#include "framework/handle.h"
#include "framework/trace.h"

namespace backup {

namespace {
constexpr size_t kMaxPathCharacters = 260;
// A loader list longer than this is taken as damaged.
constexpr int kMaxModules = 4096;
constexpr DWORD kCloseTimeoutMs = 1000;
constexpr DWORD kExitWaitMs = 5000;

template <class T>
bool readRemote(HANDLE process, const void* address, T& out) {
  SIZE_T got = 0;
  if (!address) return false;
  if (!ReadProcessMemory(process, address, &out, sizeof(T), &got)) {
    FW_TRACE_FAILURE("ReadProcessMemory");
    return false;
  }
  return got == sizeof(T);
}

// The full path of the loaded module whose base is the process's image base,
// read from the process's loader data. Every pointer in there belongs to the
// other process and is only ever read through ReadProcessMemory, with bounds.
std::wstring imagePathFromLoaderData(HANDLE process) {
  using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  auto query = ntdll ? reinterpret_cast<QueryProcess>(
                           reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryInformationProcess")))
                     : nullptr;
  if (!query) return {};
  PROCESS_BASIC_INFORMATION basic{};
  ULONG length = 0;
  if (NTSTATUS status = query(process, ProcessBasicInformation, &basic, sizeof(basic), &length); status < 0) {
    FW_TRACE_FAILURE_CODE("NtQueryInformationProcess", status);
    return {};
  }

  PEB peb{};
  if (!readRemote(process, basic.PebBaseAddress, peb)) return {};
  const void* imageBase = peb.Reserved3[1];  // ImageBaseAddress
  PEB_LDR_DATA loader{};
  if (!readRemote(process, peb.Ldr, loader)) return {};

  auto* head = reinterpret_cast<const BYTE*>(peb.Ldr) + offsetof(PEB_LDR_DATA, InMemoryOrderModuleList);
  const BYTE* link = reinterpret_cast<const BYTE*>(loader.InMemoryOrderModuleList.Flink);
  for (int i = 0; i < kMaxModules && link && link != head; ++i) {
    LDR_DATA_TABLE_ENTRY entry{};
    if (!readRemote(process, link - offsetof(LDR_DATA_TABLE_ENTRY, InMemoryOrderLinks), entry)) return {};
    if (entry.DllBase == imageBase) {
      size_t characters = entry.FullDllName.Length / sizeof(wchar_t);
      if (characters == 0 || characters > kMaxPathCharacters || !entry.FullDllName.Buffer) return {};
      std::wstring path(characters, L'\0');
      SIZE_T got = 0;
      if (!ReadProcessMemory(process, entry.FullDllName.Buffer, path.data(), characters * sizeof(wchar_t),
                             &got)) {
        FW_TRACE_FAILURE("ReadProcessMemory");
        return {};
      }
      if (got != characters * sizeof(wchar_t)) return {};
      path.resize(wcsnlen(path.c_str(), characters));
      return path;
    }
    link = reinterpret_cast<const BYTE*>(entry.InMemoryOrderLinks.Flink);
  }
  return {};
}

// Systems outside the NT family: the process snapshot names the program file.
std::wstring imagePathFromSnapshot(DWORD processId) {
  using CreateSnapshot = HANDLE(WINAPI*)(DWORD, DWORD);
  using WalkProcesses = BOOL(WINAPI*)(HANDLE, LPPROCESSENTRY32W);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (!kernel) return {};
  auto create = reinterpret_cast<CreateSnapshot>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "CreateToolhelp32Snapshot")));
  auto first =
      reinterpret_cast<WalkProcesses>(reinterpret_cast<void*>(GetProcAddress(kernel, "Process32FirstW")));
  auto next =
      reinterpret_cast<WalkProcesses>(reinterpret_cast<void*>(GetProcAddress(kernel, "Process32NextW")));
  if (!create || !first || !next) return {};
  HANDLE raw = create(TH32CS_SNAPPROCESS, 0);
  if (raw == INVALID_HANDLE_VALUE) {
    FW_TRACE_FAILURE("CreateToolhelp32Snapshot");
    return {};
  }
  fw::KernelHandle snapshot(raw);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = first(snapshot.get(), &entry); more; more = next(snapshot.get(), &entry)) {
    if (entry.th32ProcessID == processId)
      return std::wstring(entry.szExeFile, wcsnlen(entry.szExeFile, MAX_PATH));
  }
  return {};
}

// The bar is the owned window of the launcher's class; its hidden owner may
// bear the same class but doesn't save the settings when it closes.
HWND findBar() {
  struct Search {
    HWND owned = nullptr;
    HWND any = nullptr;
  } search;
  EnumWindows(
      [](HWND window, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        wchar_t className[32] = {};
        if (!GetClassNameW(window, className, 32) || lstrcmpW(className, L"Vorbin96_Class") != 0) return TRUE;
        if (!s->any) s->any = window;
        if (GetWindow(window, GW_OWNER)) {
          s->owned = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.owned ? search.owned : search.any;
}

std::wstring executableOf(DWORD processId, bool ntFamily) {
  if (!ntFamily) return imagePathFromSnapshot(processId);
  fw::KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process) process.reset(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) {
    FW_TRACE_FAILURE("OpenProcess");
    return {};
  }
  std::wstring path = imagePathFromLoaderData(process.get());
  if (!path.empty()) return path;
  // The loader data of a process of another bitness can't be read this way.
  wchar_t buffer[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  if (QueryFullProcessImageNameW(process.get(), 0, buffer, &size)) return std::wstring(buffer, size);
  FW_TRACE_FAILURE("QueryFullProcessImageNameW");
  return {};
}
}  // namespace

std::optional<RunningLauncher> findRunningLauncher(bool ntFamily) {
  fw::KernelHandle mutex(OpenMutexW(MUTEX_ALL_ACCESS, FALSE, L"PreVorbin"));
  if (!mutex) return std::nullopt;
  mutex.reset();
  HWND bar = findBar();
  if (!bar) return std::nullopt;
  RunningLauncher launcher;
  launcher.bar = bar;
  GetWindowThreadProcessId(bar, &launcher.processId);
  launcher.executable = executableOf(launcher.processId, ntFamily);
  return launcher;
}

void closeLauncher(const RunningLauncher& launcher) {
  fw::KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, launcher.processId));
  if (!process) FW_TRACE_FAILURE("OpenProcess");
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(launcher.bar, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, kCloseTimeoutMs, &result))
    FW_TRACE_FAILURE("SendMessageTimeoutW");
  if (process) {
    const DWORD wait = WaitForSingleObject(process.get(), kExitWaitMs);
    if (wait != WAIT_OBJECT_0) FW_TRACE_FAILURE_CODE("WaitForSingleObject", wait);
  }
}

void startLauncher(const std::wstring& executable) {
  // Results up to 32 are errors; the last error tells which.
  if (reinterpret_cast<INT_PTR>(
          ShellExecuteW(nullptr, nullptr, executable.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) <= 32)
    FW_TRACE_FAILURE("ShellExecuteW");
}

}  // namespace backup
