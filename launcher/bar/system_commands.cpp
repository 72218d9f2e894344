#include "launcher/bar/system_commands.h"

#include <shellapi.h>

#include "framework/trace.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/shell_helpers.h"
#include "launcher/widgets/shutdown_dialog.h"
#include "launcher/widgets/user_message.h"

namespace vorbin {

namespace {

bool fileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

void SystemCommands::exit(HWND bar) {
  if (m_settings.dispEndMessage) {
    UserMessage question;
    question.text = IDS_QUERY_EXIT;
    if (showMessage(bar, question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  }
  if (!m_settings.runningAsShell) {
    PostMessageW(bar, WM_CLOSE, 0, 0);
    return;
  }
  endSession(bar);
}

void SystemCommands::endSession(HWND bar) {
  if (!m_settings.runningAsShell) {
    if (HWND progman = FindWindowW(L"progman", L"Program Manager")) {
      PostMessageW(progman, WM_CLOSE, 0, 0);
      return;
    }
  }
  CShutdownDialog dialog;
  const int flags = dialog.run(bar);
  if (flags == -1) return;
  if (flags != 0) enablePrivilege(SE_SHUTDOWN_NAME);
  if (!ExitWindowsEx(static_cast<UINT>(flags), 0)) FW_TRACE_FAILURE("ExitWindowsEx");
}

void SystemCommands::showHelp(HWND bar) {
  const std::wstring& folder = m_settings.programFolder;
  for (const wchar_t* file : {L"vorbin2Kj.hlp", L"vorbin2Ke.hlp"}) {
    if (fileExists(folder + file)) {
      // Results up to 32 are errors; the last error tells which.
      if (reinterpret_cast<INT_PTR>(
              ShellExecuteW(bar, nullptr, L"WinHlp32.exe", file, folder.c_str(), SW_SHOWNORMAL)) <= 32)
        FW_TRACE_FAILURE("ShellExecuteW");
      return;
    }
  }
  UserMessage none;
  none.text = IDS_NO_HELP_FILE;
  none.caption = IDS_HELP_CAPTION;
  showMessage(bar, none, MB_OK | MB_ICONEXCLAMATION);
}

void SystemCommands::showSystemMenu(HWND bar, POINT at, const RECT* keepUncovered) {
  HMENU menu = GetSystemMenu(bar, FALSE);
  if (!menu) {
    FW_TRACE_FAILURE("GetSystemMenu");
    return;
  }
  SetForegroundWindow(bar);
  TPMPARAMS params{};
  params.cbSize = sizeof(params);
  if (keepUncovered) params.rcExclude = *keepUncovered;
  // A cancelled menu answers 0 as a failed one does; only the failure sets an error.
  SetLastError(ERROR_SUCCESS);
  const UINT command =
      TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_VERTICAL,
                       at.x, at.y, bar, keepUncovered ? &params : nullptr);
  if (!command && GetLastError() != ERROR_SUCCESS) FW_TRACE_FAILURE("TrackPopupMenuEx");
  if (command) PostMessageW(bar, WM_SYSCOMMAND, command, 0);
}

}  // namespace vorbin
