// The running launcher: finding its bar and its executable, closing it before
// a restore and starting it again afterwards.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace backup {

struct RunningLauncher {
  HWND bar = nullptr;
  DWORD processId = 0;
  std::wstring executable;  // empty when it could not be found
};

// The launcher when its instance mutex "PreVorbin" and a window of class
// "Vorbin96_Class" both exist.
std::optional<RunningLauncher> findRunningLauncher(bool ntFamily);

// Asks the bar to close (it saves its settings first) and waits a bounded time
// for the process to end, so that nothing it writes on the way out lands on
// top of restored settings.
void closeLauncher(const RunningLauncher& launcher);

// Starts the launcher's executable through the shell.
void startLauncher(const std::wstring& executable);

}  // namespace backup
