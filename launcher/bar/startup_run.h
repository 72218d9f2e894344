// What starts with the launcher: the shell's "load" and "run" lines when it
// runs as the shell, the documents of its command line and the groups'
// start-up items, unless Shift, Ctrl or Alt is held.
#pragma once
#include <string>

#include "launcher/interact/launch_item.h"
#include "launcher/model/group_table.h"
#include "launcher/model/settings.h"

namespace vorbin {

// The lock keeps the bar in front while the started programs come up.
void runStartupLaunch(Settings& settings, const GroupTable& groups, const std::wstring& commandLine,
                      const LaunchContext& context);

}  // namespace vorbin
