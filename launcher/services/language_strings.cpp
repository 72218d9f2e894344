// Reading strings of the loaded language library.
#include "launcher/services/language_strings.h"

#include <windows.h>

#include <vector>

#include "framework/trace.h"

namespace vorbin {

namespace {
HMODULE g_library = nullptr;
}  // namespace

void* resourceModule() { return g_library; }

void setResourceModule(void* module) { g_library = static_cast<HMODULE>(module); }

std::wstring resourceStringFrom(void* module, unsigned id, size_t bufferChars) {
  if (!module || bufferChars == 0) return {};
  std::vector<wchar_t> buffer(bufferChars, L'\0');
  int n = LoadStringW(static_cast<HMODULE>(module), id, buffer.data(), static_cast<int>(bufferChars));
  if (n <= 0) FW_TRACE_FAILURE("LoadStringW");
  return n > 0 ? std::wstring(buffer.data(), static_cast<size_t>(n)) : std::wstring();
}

std::wstring resourceStringOrLoaded(void* module, unsigned id, size_t bufferChars) {
  return resourceStringFrom(module ? module : g_library, id, bufferChars);
}

std::wstring resourceString(unsigned id, size_t bufferChars) {
  return resourceStringFrom(g_library, id, bufferChars);
}

}  // namespace vorbin
