// The launcher's own shutdown dialog.
#include "launcher/widgets/shutdown_dialog.h"

#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/widgets/shutdown_choice.h"

namespace vorbin {

CShutdownDialog::CShutdownDialog() : CMappedDialog(IDD_SHUTDOWN, static_cast<HINSTANCE>(resourceModule())) {}

std::span<const fw::CommandEntry<CShutdownDialog>> CShutdownDialog::commandMap() {
  using D = CShutdownDialog;
  static const fw::CommandEntry<D> map[] = {
      {IDC_SHUTDOWN_POWER_OFF, BN_CLICKED, &D::onPowerOff},
      {IDC_SHUTDOWN_RESTART, BN_CLICKED, &D::onRestart},
      {IDC_SHUTDOWN_LOG_OFF, BN_CLICKED, &D::onLogOff},
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
void CShutdownDialog::onPowerOff() { endDialog(shutdownFlagsFor(IDC_SHUTDOWN_POWER_OFF)); }
void CShutdownDialog::onRestart() { endDialog(shutdownFlagsFor(IDC_SHUTDOWN_RESTART)); }
void CShutdownDialog::onLogOff() { endDialog(shutdownFlagsFor(IDC_SHUTDOWN_LOG_OFF)); }

}  // namespace vorbin
