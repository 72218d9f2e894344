// Timing for the benchmarks that run under Wine on real GDI: a millisecond
// clock and the mean time of a call after one warm-up call.
#pragma once
#include <windows.h>

namespace benchsupport {

inline double nowMs() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// Mean time of f over n calls; GDI's batch is flushed before the clock stops.
template <class F>
double perCallMs(int n, F f) {
  f();
  const double t0 = nowMs();
  for (int i = 0; i < n; ++i) f();
  GdiFlush();
  return (nowMs() - t0) / n;
}

}  // namespace benchsupport
