// The launcher's own shutdown dialog.
#include "launcher/widgets/shutdown_dialog.h"

#include "launcher/app/resource_library.h"
#include "launcher/widgets/shutdown_choice.h"

namespace vorbin {

CShutdownDialog::CShutdownDialog()
    : CMappedDialog(kShutdownDialogTemplate, static_cast<HINSTANCE>(resourceModule())) {}

std::span<const fw::CommandEntry<CShutdownDialog>> CShutdownDialog::commandMap() {
  using D = CShutdownDialog;
  static const fw::CommandEntry<D> map[] = {
      {kIdPowerOff, BN_CLICKED, &D::onPowerOff},
      {kIdRestart, BN_CLICKED, &D::onRestart},
      {kIdLogOff, BN_CLICKED, &D::onLogOff},
  };
  return map;
}

int CShutdownDialog::run(HWND parent) {
  INT_PTR result = doModal(parent);
  return result == kShutdownCancelled ? kShutdownCancelled : static_cast<int>(result);
}

bool CShutdownDialog::onInitDialog() {
  RECT desktop, self;
  GetWindowRect(GetDesktopWindow(), &desktop);
  GetWindowRect(m_hwnd, &self);
  const int w = self.right - self.left, h = self.bottom - self.top;
  SetWindowPos(m_hwnd, nullptr, desktop.left + (desktop.right - desktop.left - w) / 2,
               desktop.top + (desktop.bottom - desktop.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  return true;
}

void CShutdownDialog::onCancel() { endDialog(kShutdownCancelled); }
void CShutdownDialog::onPowerOff() { endDialog(shutdownFlagsFor(kIdPowerOff)); }
void CShutdownDialog::onRestart() { endDialog(shutdownFlagsFor(kIdRestart)); }
void CShutdownDialog::onLogOff() { endDialog(shutdownFlagsFor(kIdLogOff)); }

}  // namespace vorbin
