// The registry text check on any bytes: it ends, reads within bounds, and a
// text it accepts stays accepted with more complete lines after it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "backup/wine_hive_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view raw(reinterpret_cast<const char*>(data), size);
  backup::isWellFormedWineHiveText(raw);
  // Most inputs fail at the header; check the body too.
  std::string text = "WINE REGISTRY Version 2\n[] 1\n" + std::string(raw);
  if (backup::isWellFormedWineHiveText(text) &&
      !backup::isWellFormedWineHiveText(text + "[k] 2\n@=dword:00000000\n"))
    abort();
  return 0;
}
