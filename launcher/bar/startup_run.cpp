#include "launcher/bar/startup_run.h"

#include <algorithm>

#include "launcher/app/startup_rules.h"
#include "launcher/interact/item_launch.h"

namespace vorbin {

void runStartupLaunch(Settings& settings, const GroupTable& groups, const std::wstring& commandLine,
                      const LaunchContext& context) {
  const bool held = !startupLaunchAllowed(GetAsyncKeyState(VK_SHIFT) < 0, GetAsyncKeyState(VK_CONTROL) < 0,
                                          GetAsyncKeyState(VK_MENU) < 0);
  wchar_t load[261] = {}, run[261] = {};
  if (settings.runningAsShell) {
    GetProfileStringW(L"windows", L"load", L"", load, 261);
    GetProfileStringW(L"windows", L"run", L"", run, 261);
  }
  const int lock = settings.lockLevel;
  settings.lockLevel = std::max(lock, 1);
  const StartupPlan plan = planStartupLaunch(held, settings.runningAsShell, load, run, commandLine);
  for (const LaunchRequest& request : startupRequests(plan, groups)) launchItem(request, context);
  settings.lockLevel = lock;
}

}  // namespace vorbin
