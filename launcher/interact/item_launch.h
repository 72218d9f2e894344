// Launch requests made from the launcher's items and groups.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "launcher/app/startup_rules.h"
#include "launcher/interact/launch_rules.h"
#include "launcher/model/group_table.h"

namespace vorbin {

LaunchRequest launchRequestFor(const Item& item, std::optional<std::wstring> document = std::nullopt);
// Every occupied slot in slot order, with the group's start-up show mode and no document.
std::vector<LaunchRequest> groupStartRequests(const Group& group);
// What the bar's creation starts, in order: the planned commands ("load"
// entries minimized without activation), then every item of every real group
// with a start-up value.
std::vector<LaunchRequest> startupRequests(const StartupPlan& plan, const GroupTable& groups);

}  // namespace vorbin
