// A small program for the file-pick tests: it appends its arguments as one
// line to the file named by VB_APPEND_OUT and ends.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
  wchar_t outPath[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"VB_APPEND_OUT", outPath, MAX_PATH) == 0) return 2;
  const std::wstring line = std::wstring(arguments) + L"\n";
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0,
                                        nullptr, nullptr);
  std::string text(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), text.data(), bytes, nullptr,
                      nullptr);
  // Several copies start at once: each waits for the file to itself.
  for (int attempt = 0; attempt < 200; ++attempt) {
    HANDLE file =
        CreateFileW(outPath, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
      CloseHandle(file);
      return 0;
    }
    Sleep(20);
  }
  return 1;
}
