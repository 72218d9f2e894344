// The application object: one per process, owns the message loop.
#pragma once
#include <windows.h>

namespace fw {

class CWindow;

class CApplication {
 public:
  CApplication();
  virtual ~CApplication();
  CApplication(const CApplication&) = delete;
  CApplication& operator=(const CApplication&) = delete;

  // The one application object of the process.
  static CApplication* instance() { return s_instance; }

  // Runs initInstance, then the message loop; returns the exit code.
  int run(HINSTANCE hInstance, int showCommand);

  HINSTANCE moduleInstance() const { return m_instance; }
  // Where strings, dialogs and menus come from (the program itself by default).
  HINSTANCE resourceInstance() const { return m_resources ? m_resources : m_instance; }
  void setResourceInstance(HINSTANCE h) { m_resources = h; }
  int showCommand() const { return m_showCommand; }
  CWindow* mainWindow() const { return m_mainWindow; }
  void setMainWindow(CWindow* w) { m_mainWindow = w; }

 protected:
  virtual bool initInstance() { return true; }
  virtual int exitInstance() { return m_exitCode; }
  // One pass of the loop: false when WM_QUIT arrived.
  virtual bool pumpMessage();
  // True when the message was consumed.
  virtual bool preTranslateMessage(MSG& msg);

  int m_exitCode = 0;

 private:
  static CApplication* s_instance;
  HINSTANCE m_instance = nullptr;
  HINSTANCE m_resources = nullptr;
  int m_showCommand = SW_SHOWNORMAL;
  CWindow* m_mainWindow = nullptr;
};

}  // namespace fw
