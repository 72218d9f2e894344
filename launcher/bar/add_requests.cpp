#include "launcher/bar/add_requests.h"

#include <cwchar>
#include <optional>

#include "launcher/bar/bar_messages.h"
#include "launcher/services/shell_helpers.h"
#include "launcher/services/folder_walk.h"

namespace vorbin {

LRESULT AddRequestQueue::receive(HWND bar, WPARAM wParam, LPARAM lParam) {
  // lParam is a pointer: only a call from this thread may carry one.
  if (InSendMessageEx(nullptr) != ISMEX_NOSEND || lParam == 0) return 0;
  Request request;
  request.flags = static_cast<uint32_t>(wParam);
  if (wParam & kFoundByIdList) {
    request.idList = idListCopy(idListBytes(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam)));
    if (request.idList.empty()) return 0;
  } else {
    const auto* text = reinterpret_cast<const wchar_t*>(lParam);
    request.path.assign(text, wcsnlen(text, 0x8000));
  }
  // The sender waits for the answer: the buttons are made once it has it.
  if (m_queue.empty()) PostMessageW(bar, kMsgAddRequestsQueued, 0, 0);
  m_queue.push_back(std::move(request));
  return 1;
}

void AddRequestQueue::addQueued() {
  // Moved out first: a question asked while adding runs a loop in which more arrive.
  std::vector<Request> requests = std::move(m_queue);
  m_queue.clear();
  if (requests.empty()) return;
  std::optional<ItemAdder::Added> hot;
  for (Request& r : requests) {
    NewItemRequest request;
    request.flags = r.flags;
    request.target = std::move(r.path);
    request.idList = std::move(r.idList);
    const ItemAdder::RequestOutcome outcome = m_context.adder.addRequest(std::move(request), r.flags);
    if (outcome.highlight) hot = outcome.added;
  }
  m_context.groupsChanged();
  if (hot) m_context.highlight(hot->group, hot->slot);
}

}  // namespace vorbin
