// The shutdown choice: which button of the dialog asks for which way of
// ending the Windows session.
#pragma once

namespace vorbin {

inline constexpr int kShutdownCancelled = -1;

// The flag word for the system's exit call (8 power off, 2 restart, 0 log
// off) for the buttons IDC_SHUTDOWN_* of resource_ids.h, or -1 for any other
// control (Cancel, Escape, the close box).
int shutdownFlagsFor(int controlId);

}  // namespace vorbin
