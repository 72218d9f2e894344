// The EXEC key's dialog: a program picked by the user, with the run history,
// started where the last run left off.
#pragma once
#include <windows.h>

#include "launcher/interact/launch_item.h"
#include "launcher/model/profile.h"
#include "launcher/model/settings.h"

namespace vorbin {

// Remembers the folder and filter shown last in the settings and the
// history in the profile, and starts the chosen program.
void runProgramDialog(HWND owner, Settings& settings, Profile& profile, CmdHistory& history,
                      const LaunchContext& context);

}  // namespace vorbin
