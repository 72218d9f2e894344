// Reset and copy of the shared block, linked into the test build of the hook
// library only (its own image, so its own shared section).
#define VORBER2K_BUILD
#include "tests/hook/hook_test_exports.h"

#include <cstring>

#include "hook/hook_globals.h"

using vorber::g_shared;

VORBER2K_API void WINAPI ResetSharedStateForTests() {
  FreeHook();
  g_shared = vorber::kInitialHookState;
  vorber::readDesktop();
}

VORBER2K_API UINT WINAPI CopySharedStateForTests(void* buffer, UINT size) {
  const UINT total = sizeof g_shared;
  if (buffer) std::memcpy(buffer, &g_shared, size < total ? size : total);
  return total;
}

VORBER2K_API UINT WINAPI WriteSharedStateForTests(const void* buffer, UINT size) {
  const UINT total = sizeof g_shared;
  if (!buffer || size != total) return 0;
  std::memcpy(static_cast<void*>(&g_shared), buffer, total);
  return total;
}
