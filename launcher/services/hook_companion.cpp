#include "launcher/services/hook_companion.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "hook/companion_link.h"

namespace vorbin {
namespace {

bool nativeSystemIs64() {
  // IsWow64Process2 (Windows 10) names the machine even from a 32-bit
  // process; GetNativeSystemInfo answers on older systems.
  using IsWow64Process2Fn = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
  if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
    if (auto fn = reinterpret_cast<IsWow64Process2Fn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process2")))) {
      USHORT process = 0, native = 0;
      if (fn(GetCurrentProcess(), &process, &native))
        return native == IMAGE_FILE_MACHINE_AMD64 || native == IMAGE_FILE_MACHINE_ARM64;
    }
  }
  SYSTEM_INFO info{};
  GetNativeSystemInfo(&info);
  return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
         info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_ARM64;
}

std::wstring widen(const char* text) { return std::wstring(text, text + std::strlen(text)); }

}  // namespace

void startHookCompanion() {
  if (!vorber::shouldStartCompanion(nativeSystemIs64(), sizeof(void*) == 8)) return;
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  std::wstring path(self, length);
  path.erase(path.find_last_of(L'\\') + 1);
  path += widen(vorber::kCompanionFolder) + L"\\" + widen(vorber::kCompanionProgram);
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  std::wstring commandLine =
      L"\"" + path + L"\" " + widen(vorber::companionArguments(GetCurrentProcessId()).c_str());
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                     &pi)) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
}

}  // namespace vorbin
