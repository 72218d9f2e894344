// Launch requests made from the launcher's items and groups.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "launcher/interact/launch_rules.h"
#include "launcher/model/group_table.h"

namespace vorbin {

LaunchRequest launchRequestFor(const Item& item, std::optional<std::wstring> document = std::nullopt);
// Every occupied slot in slot order, with the group's start-up show mode and no document.
std::vector<LaunchRequest> groupStartRequests(const Group& group);

}  // namespace vorbin
