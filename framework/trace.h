// Failure traces of debug builds: which Win32 call failed, with what error,
// and where, written to the debugger output. Release builds compile none of it.
#pragma once

namespace fw {

// Writes "<call> failed: error <n> (0x<hex>) at <folder>/<file>:<line>" to the
// debugger output. GetLastError is read before anything else runs and is left
// as it was found, so code after the trace still sees the call's error.
void traceFailure(const char* call, const char* file, int line);
// The same for calls that return their error (registry, HRESULT, shell)
// instead of setting the thread's last error.
void traceFailureCode(const char* call, unsigned long code, const char* file, int line);

}  // namespace fw

// Use at the place where a call's failure is detected and handled, not for
// expected outcomes (a value that is not there, a window already gone).
#ifdef NDEBUG
#define FW_TRACE_FAILURE(call) ((void)0)
#define FW_TRACE_FAILURE_CODE(call, code) ((void)0)
#else
#define FW_TRACE_FAILURE(call) ::fw::traceFailure(call, __FILE__, __LINE__)
#define FW_TRACE_FAILURE_CODE(call, code) \
  ::fw::traceFailureCode(call, static_cast<unsigned long>(code), __FILE__, __LINE__)
#endif
