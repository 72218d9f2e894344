// Start-up and shutdown of the launcher.
#include "launcher/app/launcher_app.h"

#include <ole2.h>
#include <psapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <iterator>

#include "framework/trace.h"
#include "launcher/app/resource_library.h"
#include "launcher/app/startup_rules.h"
#include "launcher/bar/bar_window.h"
#include "launcher/dialogs/group_sheet.h"
#include "launcher/dialogs/help_popup.h"
#include "launcher/dialogs/options_sheet.h"
#include "launcher/dialogs/tips_dialog.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/hook_companion.h"
#include "launcher/model/model_win.h"
#include "launcher/render/icon_image.h"
#include "launcher/widgets/question_box.h"
#include "launcher/widgets/user_message.h"

namespace vorbin {

CLauncherApp::CLauncherApp() = default;

CLauncherApp::~CLauncherApp() {
  // The bar before its hidden owner, whose destruction would take the bar along.
  m_bar.reset();
  m_owner.reset();
}

bool CLauncherApp::constructApplication() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
#ifdef __GNUC__
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  if (!GetVersionExW(&version)) FW_TRACE_FAILURE("GetVersionExW");
#ifdef __GNUC__
#pragma GCC diagnostic pop
#endif
  m_nt = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  m_win2000OrLater = version.dwMajorVersion > 4;
  if (!m_nt) {
    showMessage(nullptr,
                L"You cannot run this application under the Windows9X, because this EXE file is "
                L"UNICODE version",
                MB_OK);
    return false;
  }
  m_ole.emplace();
  return true;
}

ATOM CLauncherApp::registerBarClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.style = CS_DBLCLKS | CS_BYTEALIGNWINDOW;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconBarClass));
  if (!wc.hIcon) {
    FW_TRACE_FAILURE("LoadIconW");
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  }
  wc.hIconSm =
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconBarClassSmall), IMAGE_ICON, 16, 16, 0));
  if (!wc.hIconSm) FW_TRACE_FAILURE("LoadImageW");
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kBarClassName;
  return fw::CWindow::registerClass(wc);
}

void CLauncherApp::activateRunningInstance() {
  HWND bar = FindWindowW(kBarClassName, nullptr);
  // The owner window has the same class but no owner of its own; the bar is owned.
  while (bar && GetWindow(bar, GW_OWNER) == nullptr) bar = FindWindowExW(nullptr, bar, kBarClassName, nullptr);
  if (!bar) return;
  if (!IsWindowVisible(bar)) {
    ShowWindow(bar, IsIconic(bar) ? SW_RESTORE : SW_SHOW);
  } else if (IsIconic(bar)) {
    ShowWindow(bar, SW_RESTORE);
  } else {
    SetForegroundWindow(bar);
  }
}

HICON CLauncherApp::appIcon(AppIcon which) {
  static constexpr int kIcons[] = {kIconDefaultItem, kIconStartupMarker, kIconTaskMark, kIconGroupMark,
                                   kIconApplication};
  static_assert(std::size(kIcons) == static_cast<size_t>(AppIcon::kCount));
  const auto i = static_cast<size_t>(which);
  if (i >= std::size(kIcons)) return nullptr;
  if (!m_icons[i]) {
    m_icons[i] = LoadIconW(moduleInstance(), MAKEINTRESOURCEW(kIcons[i]));
    if (!m_icons[i]) FW_TRACE_FAILURE("LoadIconW");
  }
  return m_icons[i];
}

bool CLauncherApp::loadProfile() {
  // The whole profile is read in one go by two readers; once the groups are
  // loaded, reads see the registry itself again.
  m_profile.takeSnapshot();
  struct DropSnapshot {
    RegistryProfile& profile;
    ~DropSnapshot() { profile.dropSnapshot(); }
  } drop{m_profile};
  int language = readLanguage(m_profile);
  if (!loadResourceLibrary(true, language)) return false;
  setResourceInstance(static_cast<HINSTANCE>(resourceModule()));
  loadSettings(m_profile, m_settings);
  m_settings.language = language;
  loadColors(m_profile, m_colors);
  loadHistory(m_profile, m_history);
  m_groups = std::make_unique<GroupTable>(m_profile, launcherModelOptions(m_settings));
  m_groups->loadGroups();
  return true;
}

bool CLauncherApp::createOwnerWindow() {
  HINSTANCE instance = moduleInstance();
  if (!registerBarClass(instance)) return false;
  m_owner = std::make_unique<fw::CWindow>();
  fw::CreateArgs ownerArgs;
  ownerArgs.className = kBarClassName;
  ownerArgs.style = WS_POPUP;
  ownerArgs.exStyle = WS_EX_TOOLWINDOW;
  ownerArgs.x = ownerArgs.y = ownerArgs.width = ownerArgs.height = 0;
  if (!m_owner->create(ownerArgs)) return false;
  return true;
}

bool CLauncherApp::createBarWindow() {
  m_bar = std::make_unique<CBarWindow>(
      BarContext{m_settings, m_colors, m_profile, *m_groups, m_history, m_win2000OrLater});
  if (!m_bar->createBar(m_owner->hwnd(), m_arguments.command)) return false;
  setMainWindow(m_bar.get());
  return true;
}

void CLauncherApp::showAtStart() {
  std::optional<int> show = startShowCommand(m_settings.runWithOpen, m_settings.isMaxSize, showCommand());
  if (show) {
    ShowWindow(m_bar->hwnd(), *show);
    UpdateWindow(m_bar->hwnd());
  } else {
    m_bar->hideBar(kHideKeepGroup);
  }
}

void CLauncherApp::showTipOfTheDay(const LaunchArguments& arguments) {
  const bool wanted = m_bar && tipsWantedAtStartUp(m_profile, m_settings.programFolder, m_settings.language,
                                                     arguments.noLogo);
  if (wanted) CTipsDialog(m_profile, m_settings.programFolder, m_settings.language).doModal(m_bar->hwnd());
}

void CLauncherApp::importFolder(int question) {
  // The folder's files become groups and buttons as the registration page
  // makes them, with the HowGetSubFolder of this import.
  RegisterFolder folder;
  for (const FirstRunImport& import : firstRunImports()) {
    if (import.questionId != question) continue;
    switch (import.folder) {
      case ImportFolder::Desktop:
        folder = systemFolder(CSIDL_DESKTOP, true);
        break;
      case ImportFolder::ControlPanel:
        folder = systemFolder(CSIDL_CONTROLS, true);
        break;
      case ImportFolder::CommonStartMenu:
        folder = systemFolder(CSIDL_COMMON_PROGRAMS, false);
        break;
      case ImportFolder::UserStartMenu:
        folder = systemFolder(CSIDL_PROGRAMS, false);
        break;
    }
  }
  if (!m_bar || (folder.path.empty() && folder.idList.empty())) return;
  const GroupSheetContext context{.groups = m_groups.get(),
                                  .settings = &m_settings,
                                  .bar = m_bar->hwnd(),
                                  .resources = static_cast<HINSTANCE>(resourceModule()),
                                  .busy = &m_bar->modalBusy()};
  registerFolderNow(m_bar->hwnd(), m_groups->activeGroup, folder, m_settings.howGetSubFolder, L"*.*",
                    context);
}

void CLauncherApp::askFirstRunImports() {
  if (!offerFirstRunImports(m_groups->size())) return;
  const std::wstring caption = resourceString(IDS_IMPORT_CAPTION);
  const int howGetSubFolder = m_settings.howGetSubFolder;
  for (const FirstRunImport& import : firstRunImports()) {
    if (import.folder == ImportFolder::CommonStartMenu && !m_nt) continue;
    // The bar may be closed while a question is open; then no more are asked.
    if (!m_bar || !IsWindow(m_bar->hwnd())) return;
    const std::wstring question = resourceString(static_cast<unsigned>(import.questionId));
    if (CQuestionBox(caption, question).ask(m_bar->hwnd()) != IDOK) {
      continue;
    }
    m_settings.howGetSubFolder = import.howGetSubFolder;
    importFolder(import.questionId);
    m_settings.howGetSubFolder = howGetSubFolder;
  }
}

bool CLauncherApp::initInstance() {
  if (fw::KernelHandle other{OpenMutexW(MUTEX_ALL_ACCESS, FALSE, kInstanceMutexName)}) {
    other.reset();
    activateRunningInstance();
    return false;
  }
  m_instanceMutex.reset(CreateMutexW(nullptr, FALSE, kInstanceMutexName));
  if (!m_instanceMutex) FW_TRACE_FAILURE("CreateMutexW");
  m_arguments = parseLaunchArguments(commandLineArguments(GetCommandLineW()));
  if (!createOwnerWindow()) return false;
  if (!loadProfile()) return false;
  if (!createBarWindow()) return false;
  m_dialogFilter.reset(installDialogFilter());
  if (!m_dialogFilter) FW_TRACE_FAILURE("SetWindowsHookExW");
  showAtStart();
  showTipOfTheDay(m_arguments);
  askFirstRunImports();
  return true;
}

int CLauncherApp::exitInstance() {
  m_instanceMutex.reset();
  return fw::CApplication::exitInstance();
}

bool CLauncherApp::pumpMessage() {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    // Idle: give back every page the system can take.
    if (m_bar) m_bar->startSettled();
    // The hooks for 32-bit programs, once the bar is up: starting a program
    // stays off the way to the first picture, and the companion replays the
    // hook library's settings made before it came.
    if (m_bar && !m_companionStarted) {
      m_companionStarted = true;
      startHookCompanion();
    }
    SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
  }
  BOOL got = GetMessageW(&msg, nullptr, 0, 0);
  if (got == 0 || got == -1) {
    if (got == -1) FW_TRACE_FAILURE("GetMessageW");
    if (got == 0) m_exitCode = static_cast<int>(msg.wParam);
    return false;
  }
  if (msg.message == kIdleUpdateMessage) return true;
  if (!preTranslateMessage(msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

bool CLauncherApp::preTranslateMessage(MSG& msg) {
  // Item and bar hot keys are registered for the thread and arrive without a window.
  if (msg.message == WM_HOTKEY && msg.hwnd == nullptr && m_bar && m_bar->hwnd()) {
    SendMessageW(m_bar->hwnd(), WM_HOTKEY, msg.wParam, msg.lParam);
    return true;
  }
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1 && m_bar && msg.hwnd != m_bar->hwnd()) {
    showContextHelp();
    return true;
  }
  // The modeless options sheet: its keyboard, and its end after OK or Cancel.
  if (routeOptionsSheetMessage(msg)) return true;
  return fw::CApplication::preTranslateMessage(msg);
}

HHOOK installDialogFilter() {
  return SetWindowsHookExW(WH_MSGFILTER, filterDialogMessage, nullptr, GetCurrentThreadId());
}

LRESULT CALLBACK filterDialogMessage(int code, WPARAM wParam, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  // F1 inside a modal dialog or sheet explains its focused control.
  if (code == MSGF_DIALOGBOX && msg && msg->message == WM_KEYDOWN && msg->wParam == VK_F1 && showFocusHelp())
    return TRUE;
  if (code == MSGF_DIALOGBOX && msg && msg->message == WM_CHAR &&
      swallowDialogChar(static_cast<uint32_t>(msg->wParam), GetDlgCtrlID(msg->hwnd))) {
    MessageBeep(0);
    return TRUE;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CLauncherApp::showContextHelp() {
  if (GetKeyState(VK_F1) < 0 && showFocusHelp()) return;
  POINT at{};
  if (GetKeyState(VK_F1) < 0) {
    RECT r{};
    GetWindowRect(GetFocus(), &r);
    at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  } else {
    DWORD pos = GetMessagePos();
    at = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
  }
  HWND active = GetActiveWindow();
  if (!active) return;
  POINT client = at;
  ScreenToClient(active, &client);
  HWND control = ChildWindowFromPointEx(active, client, CWP_SKIPINVISIBLE);
  int id = control && control != active ? GetDlgCtrlID(control) : 0;
  if (id == 0) {
    for (HWND child = GetWindow(active, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      RECT r;
      GetWindowRect(child, &r);
      if (IsWindowVisible(child) && PtInRect(&r, at) && GetDlgCtrlID(child)) {
        id = GetDlgCtrlID(child);
        break;
      }
    }
  }
  const bool tipShown = m_helpTip && IsWindow(m_helpTip) && IsWindowVisible(m_helpTip);
  if (contextHelpWanted(id, tipShown)) showHelpPopup(id, at);
}

void CLauncherApp::showHelpPopup(int controlId, POINT at) {
  showActiveWindowHelp(controlId, at);
}

}  // namespace vorbin
