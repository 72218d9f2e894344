// The extra exports of the hook library's test build, Vorber2k_test.dll.
// The shipped Vorber2k.dll has neither: any program could use them.
#pragma once
#include "hook/vorber2k.h"

// The shared block outlives every test program under Wine: this removes every
// hook and puts the block back to its initial values.
VORBER2K_API void WINAPI ResetSharedStateForTests();
// Copies up to size bytes of the shared block; returns its full size.
VORBER2K_API UINT WINAPI CopySharedStateForTests(void* buffer, UINT size);
// Overwrites the shared block with up to size bytes (a copy taken with the
// export above, changed): events the hooks would record, made by the test.
VORBER2K_API UINT WINAPI WriteSharedStateForTests(const void* buffer, UINT size);
