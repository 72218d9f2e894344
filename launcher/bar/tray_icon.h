// The bar's notification-area icon: added once the start has settled (on a
// short-lived thread, as the exchange with the tray takes a few milliseconds
// the bar need not wait for), put back for a restarted shell, removed at the end.
#pragma once
#include <windows.h>

#include <memory>

#include "framework/handle.h"

namespace vorbin {

struct TrayRequest;

class TrayIcon {
 public:
  TrayIcon();
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Learns the shell's restart message (before the bar exists).
  void watchShellRestarts();
  // The bar is made: a wanted icon waits for the start to settle, with the
  // tray timer standing in when the application's loop does not get to run.
  void begin(HWND bar, bool wanted);
  // The start settled or the tray timer fired: a waiting icon is added now.
  void settled(bool wanted);
  // Adds or removes the icon at once (after any addition still running).
  void show(bool add);
  // The message a restarted shell sends every program.
  bool isShellRestart(UINT msg) const { return msg == m_taskbarCreated && msg != 0; }
  // Puts the icon back after a shell restart.
  void putBack();
  // The bar goes: waits for an addition still running and removes the icon.
  void end();

 private:
  void addInBackground();
  // Waits for the background addition, answering sent messages meanwhile.
  void finish();

  HWND m_bar = nullptr;
  bool m_shown = false;
  bool m_pending = false;  // waiting for the start to settle
  fw::KernelHandle m_thread;
  std::shared_ptr<TrayRequest> m_request;
  UINT m_taskbarCreated = 0;
};

}  // namespace vorbin
