// The launcher's application object: single instance, start-up, the message
// pump and its filters, and shutdown.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "framework/app.h"
#include "framework/com.h"
#include "framework/handle.h"
#include "launcher/app/startup_rules.h"
#include "launcher/bar/bar_messages.h"
#include "framework/window.h"
#include "launcher/model/group_table.h"
#include "launcher/model/registry_profile.h"
#include "launcher/model/settings.h"

namespace vorbin {

class CBarWindow;

inline constexpr wchar_t kInstanceMutexName[] = L"PreVorbin";


// The character filter of dialog loops: a vertical bar typed into a field
// whose control id has bit 0x1000 is swallowed with a beep. Installed for the
// calling thread.
HHOOK installDialogFilter();
LRESULT CALLBACK filterDialogMessage(int code, WPARAM wParam, LPARAM lParam);

class CLauncherApp : public fw::CApplication {
 public:
  CLauncherApp();
  ~CLauncherApp() override;

  // Platform check and OLE; false when the process must end at once.
  bool constructApplication();
  static ATOM registerBarClass(HINSTANCE instance);
  CBarWindow* bar() const { return m_bar.get(); }
  bool win2000OrLater() const { return m_win2000OrLater; }

  // The program's own icons, loaded on first use (none is needed to show the
  // bar): the default window icon of the task list, the start-up marker of
  // groups, the group and task marks and the application icon.
  enum class AppIcon { kDefaultWindow, kStartupMarker, kTaskMark, kGroupMark, kApplication, kCount };
  HICON appIcon(AppIcon which);

 protected:
  bool initInstance() override;
  int exitInstance() override;
  bool pumpMessage() override;
  bool preTranslateMessage(MSG& msg) override;

 private:
  // Another copy runs: bring its bar forward.
  static void activateRunningInstance();
  bool loadProfile();
  bool createOwnerWindow();
  bool createBarWindow();
  void showAtStart();
  void showTipOfTheDay(const LaunchArguments& arguments);
  void askFirstRunImports();
  void importFolder(int question);
  void showContextHelp();
  void showHelpPopup(int controlId, POINT at);

  // First, so that OLE ends after everything else is gone.
  std::optional<fw::OleScope> m_ole;
  RegistryProfile m_profile;
  Settings m_settings;
  Colors m_colors;
  CmdHistory m_history;
  std::unique_ptr<GroupTable> m_groups;
  std::unique_ptr<CBarWindow> m_bar;
  std::unique_ptr<fw::CWindow> m_owner;
  LaunchArguments m_arguments;
  fw::KernelHandle m_instanceMutex;
  fw::HookHandle m_dialogFilter;
  HWND m_helpTip = nullptr;
  // Shared icons from LoadIcon: they belong to the module and are never destroyed.
  HICON m_icons[static_cast<int>(AppIcon::kCount)] = {};
  bool m_companionStarted = false;
  bool m_nt = true;
  bool m_win2000OrLater = true;
};

}  // namespace vorbin
