// Entry point of vorbin2k.exe.
#include <windows.h>

#include "launcher/app/launcher_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  vorbin::CLauncherApp app;
  if (!app.constructApplication()) return 0;
  return app.run(instance, showCommand);
}
