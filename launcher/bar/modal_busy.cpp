// Deferring the bar's outside work while a modal loop runs.
#include "launcher/bar/modal_busy.h"

namespace vorbin {

bool ModalBusy::defer(std::function<void()> work) {
  if (!busy()) return false;
  m_deferred.push_back(std::move(work));
  return true;
}

void ModalBusy::leave() {
  if (m_depth > 0) --m_depth;
  // A piece of work that ends in leave() of its own must not start the queue again.
  if (m_depth > 0 || m_running) return;
  m_running = true;
  while (!busy() && !m_deferred.empty()) {
    std::function<void()> work = std::move(m_deferred.front());
    m_deferred.pop_front();
    work();
  }
  m_running = false;
}

}  // namespace vorbin
