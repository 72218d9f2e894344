// VorbinBR.exe: backs up and restores the launcher's settings, silently with
// "-B" or through its main dialog.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "backup/command_line.h"
#include "backup/file_ops.h"
#include "backup/hive.h"
#include "backup/main_dialog.h"
#include "backup/messages.h"
#include "backup/operations.h"
#include "backup/resource_ids.h"
#include "framework/trace.h"

namespace {

// Platform 2 is the NT family; the others get the emulated restore.
bool isNtFamily() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
  if (!GetVersionExW(&version)) {
    FW_TRACE_FAILURE("GetVersionExW");
    return true;
  }
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  backup::ToolContext context;
  context.ntFamily = isNtFamily();
  context.underWine = backup::runningUnderWine();
  context.toolFolder = backup::toolFolder();

  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  if (FAILED(com)) FW_TRACE_FAILURE_CODE("CoInitializeEx", com);
  if (backup::isSilentBackupCommand(commandLine ? commandLine : L"")) {
    backup::makeBackup(context, backup::loadString(IDS_DEFAULT_NAME), backup::Prompter(nullptr, true));
  } else {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    if (!InitCommonControlsEx(&controls)) FW_TRACE_FAILURE("InitCommonControlsEx");
    backup::CBackupDialog dialog(context);
    dialog.doModal(nullptr);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}
