// The launcher's application object: single instance, start-up and shutdown.
#pragma once
#include <windows.h>

#include <memory>

#include "framework/app.h"
#include "framework/window.h"

namespace vorbin {

class CBarWindow;

inline constexpr wchar_t kInstanceMutexName[] = L"PreVorbin";
inline constexpr wchar_t kBarClassName[] = L"Vorbin96_Class";

class CLauncherApp : public fw::CApplication {
 public:
  CLauncherApp();
  ~CLauncherApp() override;

  // Platform check and OLE; false when the process must end at once.
  bool constructApplication();
  static ATOM registerBarClass(HINSTANCE instance);
  CBarWindow* bar() const { return m_bar.get(); }

 protected:
  bool initInstance() override;
  int exitInstance() override;
  bool preTranslateMessage(MSG& msg) override;

 private:
  // Another copy runs: bring its bar forward.
  static void activateRunningInstance();

  std::unique_ptr<CBarWindow> m_bar;
  std::unique_ptr<fw::CWindow> m_owner;
  HANDLE m_instanceMutex = nullptr;
  bool m_oleInitialized = false;
};

}  // namespace vorbin
