// Failure traces: one line per failed call to the debugger output. Linked in
// only when a debug build's FW_TRACE_FAILURE refers to it.
#include "framework/trace.h"

#include <windows.h>

#include <cstdio>

namespace fw {

namespace {
// The last two parts of a path ("backup/hive.cpp"): enough to find the file,
// and the same line whichever folder the tree was built in.
const char* shortPath(const char* file) {
  const char* last = nullptr;
  const char* previous = file;
  for (const char* p = file; *p; ++p) {
    if (*p != '/' && *p != '\\') continue;
    if (last) previous = last + 1;
    last = p;
  }
  return previous;
}

void writeTrace(const char* call, unsigned long code, const char* file, int line) {
  char text[512];
  std::snprintf(text, sizeof text, "%s failed: error %lu (0x%08lX) at %s:%d\n", call ? call : "?", code, code,
                file ? shortPath(file) : "?", line);
  OutputDebugStringA(text);
}
}  // namespace

void traceFailure(const char* call, const char* file, int line) {
  const DWORD error = GetLastError();
  writeTrace(call, error, file, line);
  SetLastError(error);
}

void traceFailureCode(const char* call, unsigned long code, const char* file, int line) {
  const DWORD error = GetLastError();
  writeTrace(call, code, file, line);
  SetLastError(error);
}

}  // namespace fw
