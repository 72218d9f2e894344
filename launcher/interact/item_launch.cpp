// Launch requests made from items and groups.
#include "launcher/interact/item_launch.h"

namespace vorbin {

LaunchRequest launchRequestFor(const Item& item, std::optional<std::wstring> document) {
  LaunchRequest request;
  request.flags = item.flags & kItemFlagBits;
  if (request.flags & kItemIdList) {
    request.idList = item.target;
  } else {
    request.target = item.targetPath();
  }
  request.folder = item.folder;
  request.hotKey = item.hotKey;
  request.document = std::move(document);
  return request;
}

std::vector<LaunchRequest> groupStartRequests(const Group& group) {
  std::vector<LaunchRequest> requests;
  for (const auto& item : group.items) {
    if (!item) continue;
    requests.push_back(launchRequestFor(*item));
    requests.back().groupStartMode = group.startUp;
  }
  return requests;
}

std::vector<LaunchRequest> startupRequests(const StartupPlan& plan, const GroupTable& groups) {
  std::vector<LaunchRequest> requests;
  for (const StartupLaunch& command : plan.commands) {
    LaunchRequest request;
    request.target = command.command;
    request.flags = command.minimizedNoActivate ? 1 : 0;
    requests.push_back(std::move(request));
  }
  if (!plan.launchStartupGroups) return requests;
  // Group 0 is the quick group and the last one the empty placeholder.
  for (size_t g = 1; g < groups.placeholderIndex(); ++g) {
    if (groups[g].startUp == 0) continue;
    std::vector<LaunchRequest> items = groupStartRequests(groups[g]);
    requests.insert(requests.end(), items.begin(), items.end());
  }
  return requests;
}

}  // namespace vorbin
