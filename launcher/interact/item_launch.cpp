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

}  // namespace vorbin
