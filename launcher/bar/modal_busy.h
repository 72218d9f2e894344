// Work that must wait while a modal sheet or a folder scan runs: such a loop
// still dispatches the bar's messages, and a Program Manager command, a drop
// or a close handled underneath it could take away the group being edited.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>

namespace vorbin {

class ModalBusy {
 public:
  bool busy() const { return m_depth > 0; }
  size_t pending() const { return m_deferred.size(); }

  // While busy, keeps work for later and returns true; otherwise returns
  // false and the caller does the work itself now.
  bool defer(std::function<void()> work);

  // A modal loop begins / ends. The outermost end runs what was kept, in
  // order; work that starts another modal loop keeps the rest waiting.
  void enter() { ++m_depth; }
  void leave();

  // Marks a stretch of code as modal.
  class Scope {
   public:
    explicit Scope(ModalBusy* busy) : m_busy(busy) {
      if (m_busy) m_busy->enter();
    }
    ~Scope() {
      if (m_busy) m_busy->leave();
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    ModalBusy* m_busy;
  };

 private:
  int m_depth = 0;
  bool m_running = false;
  std::deque<std::function<void()>> m_deferred;
};

}  // namespace vorbin
