// Starts the 32-bit companion of the hook library on a 64-bit system, so
// that the bar also hears about windows of 32-bit programs. The companion
// ends by itself when the launcher does.
#pragma once

namespace vorbin {

// Silently does nothing where the companion is not needed or is missing.
void startHookCompanion();

}  // namespace vorbin
