// Feeds arbitrary bytes to the item-ID list readers.
#include <cstddef>
#include <cstdint>
#include <span>

#include "launcher/services/id_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  size_t n = vorbin::idListSize(bytes);
  if (n > size) __builtin_trap();
  auto copy = vorbin::idListCopy(bytes);
  if (copy.size() != n) __builtin_trap();
  auto split = vorbin::idListSplit(bytes);
  if (split.ok && split.lastOffset >= size && n > 2) __builtin_trap();
  auto joined = vorbin::idListAppend(bytes, bytes);
  if (n != 0 && joined.size() != 2 * n - 2) __builtin_trap();
  return 0;
}
