// Process details of another program's window, and the command line behind
// it from the hook library or, failing that, from its path and title.
#include "launcher/services/process_info.h"

#include <psapi.h>

#include <algorithm>

#include "framework/handle.h"
#include "hook/vorber2k.h"
#include "launcher/interact/launch_item.h"
#include "launcher/services/process_rules.h"

namespace vorbin {

namespace {

using KernelHandle = fw::UniqueHandle<fw::KernelHandleTraits>;

// Paths longer than this are not taken; the launcher starts none of them.
constexpr DWORD kMaxImagePath = 1024;

bool runs64Bit(HANDLE process) {
  BOOL wow64 = FALSE;
  if (!IsWow64Process(process, &wow64) || wow64) return false;
#ifdef _WIN64
  return true;
#else
  // A 32-bit launcher sees native processes as 64-bit only on a 64-bit system.
  BOOL self = FALSE;
  return IsWow64Process(GetCurrentProcess(), &self) && self;
#endif
}

// Where limited rights do not give the path (older systems), the system's
// own module walk with read rights does; no memory is read here.
std::wstring modulePath(DWORD processId) {
  KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process) return {};
  wchar_t path[kMaxImagePath] = {};
  const DWORD length = GetModuleFileNameExW(process.get(), nullptr, path, kMaxImagePath);
  return length > 0 && length < kMaxImagePath ? std::wstring(path, length) : std::wstring();
}

std::wstring titleOf(HWND window) {
  wchar_t title[kMaxTitleChars + 1] = {};
  // The stored text: no message reaches a program that may hang.
  const int length = InternalGetWindowText(window, title, static_cast<int>(kMaxTitleChars + 1));
  return std::wstring(title, static_cast<size_t>(std::clamp(length, 0, static_cast<int>(kMaxTitleChars))));
}

bool pathExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

std::wstring_view ProcessDetails::priorityName() const { return vorbin::priorityName(basePriority); }

std::wstring processImagePath(HANDLE process) {
  wchar_t path[kMaxImagePath] = {};
  DWORD length = kMaxImagePath;
  if (!QueryFullProcessImageNameW(process, 0, path, &length) || length >= kMaxImagePath) return {};
  return std::wstring(path, length);
}

ProcessDetails queryProcess(HWND window) {
  ProcessDetails details;
  DWORD processId = 0;
  if (!window || !GetWindowThreadProcessId(window, &processId) || processId == 0) return details;
  details.processId = processId;
  details.typeName = programTypeName(static_cast<uint64_t>(GetWindowLongPtrW(window, GWLP_HINSTANCE)));
  KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return details;
  // The id may have been given to a new process after the window's ended.
  DWORD ownerNow = 0;
  if (!GetWindowThreadProcessId(window, &ownerNow) || ownerNow != processId) {
    details.processId = 0;
    return details;
  }
  details.imagePath = processImagePath(process.get());
  if (details.imagePath.empty()) details.imagePath = modulePath(processId);
  if (const DWORD priorityClass = GetPriorityClass(process.get())) {
    details.basePriority = basePriorityOf(priorityClass);
  }
  details.is64Bit = runs64Bit(process.get());
  return details;
}

std::wstring takeCommandLineAtom(UINT atom) {
  const ATOM id = static_cast<ATOM>(atom & 0xFFFFu);
  if (id == 0) return {};
  wchar_t text[kMaxAtomChars + 1] = {};
  const UINT length = GlobalGetAtomNameW(id, text, static_cast<int>(kMaxAtomChars + 1));
  GlobalDeleteAtom(id);
  return std::wstring(text, std::min<size_t>(length, kMaxAtomChars));
}

TaskCommandLine taskCommandLine(HWND window) {
  TaskCommandLine result;
  if (!window || !IsWindow(window)) return result;
  if (const std::wstring line = takeCommandLineAtom(GetTaskInfo(window)); !line.empty()) {
    Win32LaunchSystem system;
    SplitCommand split = splitTaskCommandLine(line, system);
    if (!split.program.empty()) {
      return {std::move(split.program), std::move(split.arguments), CommandLineSource::kHookLibrary};
    }
  }
  result.program = queryProcess(window).imagePath;
  if (std::optional<TitlePath> document = pathFromTitle(titleOf(window), pathExists)) {
    result.arguments = std::move(document->path);
    result.source = CommandLineSource::kTitle;
  }
  return result;
}

}  // namespace vorbin
