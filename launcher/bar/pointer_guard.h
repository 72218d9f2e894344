// Pointer-carrying messages are taken only from the launcher's own thread: a
// hook on the thread's queue turns posted ones into WM_NULL.
#pragma once
#include <windows.h>

#include "framework/handle.h"

namespace vorbin {

class PointerGuard {
 public:
  void install();
  void remove() { m_hook.reset(); }

 private:
  static LRESULT CALLBACK guardProc(int code, WPARAM wParam, LPARAM lParam);
  fw::HookHandle m_hook;
};

}  // namespace vorbin
