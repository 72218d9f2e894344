// Working folders are user data: the folder check must stay in bounds for any text.
#include <cstdint>
#include <cstdlib>

#include "fuzz/interact/fuzz_system.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorbin;
  if (size < 1) return 0;
  FuzzSystem sys(data[0]);
  const std::wstring text = FuzzSystem::text(data + 1, size - 1);
  if (normaliseFolderText(text).size() > kMaxPathChars + 2) std::abort();
  std::wstring folder = text;
  const FolderResult result = checkFolder(folder, (data[0] & 0x20) != 0, (data[0] & 0x40) != 0, sys);
  if (!result.ok && !result.report && folder != L"C:\\Windows") std::abort();
  (void)findFile(text, sys);
  return 0;
}
