// The launcher's own shutdown dialog (IDD_SHUTDOWN of the resource library):
// power off, restart or log off, for when no standard shell asks.
#pragma once
#include <windows.h>

#include <span>

#include "framework/dialog.h"

namespace vorbin {

class CShutdownDialog : public fw::CMappedDialog<CShutdownDialog> {
 public:
  CShutdownDialog();
  // The flag word for ExitWindowsEx, or -1 when the user cancelled.
  int run(HWND parent);

  static std::span<const fw::CommandEntry<CShutdownDialog>> commandMap();

 protected:
  bool onInitDialog() override;
  void onCancel() override;

 private:
  void onPowerOff();
  void onRestart();
  void onLogOff();
};

}  // namespace vorbin
