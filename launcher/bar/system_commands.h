// The bar's system commands that leave it: the exit command (asked first when
// the settings say so), ending the Windows session, the help file, and the
// system menu itself.
#pragma once
#include <windows.h>

#include "launcher/model/settings.h"

namespace vorbin {

class SystemCommands {
 public:
  explicit SystemCommands(const Settings& settings) : m_settings(settings) {}

  // Ends the launcher (asking first when DispEndMessage is on); as the shell,
  // ends the session instead.
  void exit(HWND bar);
  // Not the shell: the shell's own Program Manager asks. As the shell: the
  // shutdown dialog, and what it chose.
  void endSession(HWND bar);
  // The help file beside the program, or a message that there is none.
  void showHelp(HWND bar);
  // At the point; with a rectangle, the menu keeps clear of it. The chosen
  // command comes back as WM_SYSCOMMAND.
  void showSystemMenu(HWND bar, POINT at, const RECT* keepUncovered = nullptr);

 private:
  const Settings& m_settings;
};

}  // namespace vorbin
