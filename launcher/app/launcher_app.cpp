// Start-up and shutdown of the launcher.
#include "launcher/app/launcher_app.h"

#include <ole2.h>

#include "launcher/bar/bar_window.h"

namespace vorbin {

CLauncherApp::CLauncherApp() = default;

CLauncherApp::~CLauncherApp() {
  m_bar.reset();
  m_owner.reset();
  if (m_oleInitialized) OleUninitialize();
}

bool CLauncherApp::constructApplication() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(&version);
#pragma GCC diagnostic pop
  if (version.dwPlatformId != VER_PLATFORM_WIN32_NT) {
    MessageBoxW(nullptr,
                L"You cannot run this application under the Windows9X, because this EXE file is "
                L"UNICODE version",
                nullptr, MB_OK);
    return false;
  }
  m_oleInitialized = SUCCEEDED(OleInitialize(nullptr));
  return true;
}

ATOM CLauncherApp::registerBarClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.style = CS_DBLCLKS | CS_BYTEALIGNWINDOW;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(101));
  if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(208), IMAGE_ICON, 16, 16, 0));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kBarClassName;
  return fw::CWindow::registerClass(wc);
}

void CLauncherApp::activateRunningInstance() {
  HWND bar = FindWindowW(kBarClassName, nullptr);
  // The owner window has the same class but the tool-window style and no size;
  // the bar is the one owned by it.
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

bool CLauncherApp::initInstance() {
  if (HANDLE other = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, kInstanceMutexName)) {
    CloseHandle(other);
    activateRunningInstance();
    return false;
  }
  m_instanceMutex = CreateMutexW(nullptr, FALSE, kInstanceMutexName);

  HINSTANCE instance = moduleInstance();
  if (!registerBarClass(instance)) return false;

  m_owner = std::make_unique<fw::CWindow>();
  fw::CreateArgs ownerArgs;
  ownerArgs.className = kBarClassName;
  ownerArgs.style = WS_POPUP;
  ownerArgs.exStyle = WS_EX_TOOLWINDOW;
  ownerArgs.x = ownerArgs.y = ownerArgs.width = ownerArgs.height = 0;
  if (!m_owner->create(ownerArgs)) return false;

  m_bar = std::make_unique<CBarWindow>();
  if (!m_bar->createBar(m_owner->hwnd())) return false;
  setMainWindow(m_bar.get());
  m_bar->showBar(showCommand());
  return true;
}

int CLauncherApp::exitInstance() {
  if (m_instanceMutex) {
    CloseHandle(m_instanceMutex);
    m_instanceMutex = nullptr;
  }
  return fw::CApplication::exitInstance();
}

bool CLauncherApp::preTranslateMessage(MSG& msg) {
  // Item and bar hot keys are registered for the thread and arrive without a window.
  if (msg.message == WM_HOTKEY && msg.hwnd == nullptr && m_bar && m_bar->hwnd()) {
    SendMessageW(m_bar->hwnd(), WM_HOTKEY, msg.wParam, msg.lParam);
    return true;
  }
  return fw::CApplication::preTranslateMessage(msg);
}

}  // namespace vorbin
