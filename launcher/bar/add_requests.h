// Requests of message 0x0520 (another part of the launcher, such as a folder
// scan, asking for a button): each is copied out of the sender's memory while
// it waits for the answer, and the buttons are made once it has it, in one
// batch through the adder.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "launcher/bar/item_adder.h"
#include "launcher/services/id_list.h"

namespace vorbin {

class AddRequestQueue {
 public:
  struct Context {
    ItemAdder& adder;
    // The groups changed: selections forgotten, the bar painted again.
    std::function<void()> groupsChanged;
    // The button a request asked to show, made hot when it is in view.
    std::function<void(int group, int slot)> highlight;
  };
  explicit AddRequestQueue(Context context) : m_context(std::move(context)) {}

  // A 0x0520 message: the request copied and queued; once the first one is
  // queued the bar posts itself kMsgAddRequestsQueued. Only a send from the
  // bar's own thread may carry a pointer: anything else is refused (0).
  LRESULT receive(HWND bar, WPARAM wParam, LPARAM lParam);
  // kMsgAddRequestsQueued: every queued request made a button.
  void addQueued();

  struct Request {
    uint32_t flags = 0;
    std::wstring path;   // a path or text
    IdListBytes idList;  // with kFoundByIdList: the item-ID list
  };
  // Taken and waiting for the adding.
  const std::vector<Request>& pending() const { return m_queue; }

 private:
  Context m_context;
  std::vector<Request> m_queue;
};

}  // namespace vorbin
