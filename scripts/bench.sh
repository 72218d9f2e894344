#!/usr/bin/env bash
# Runs every benchmark: the native micro-benchmarks (optimised, no
# sanitizers) and the whole-program figures under Wine. Nothing here
# passes or fails on time; it prints figures.
#   scripts/bench.sh [native|wine]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${VB_BUILD_DIR:-$ROOT/build}
what=${1:-all}
"$ROOT/scripts/setup.sh" >/dev/null
if [ "$what" != wine ]; then
  cmake -S "$ROOT" -B "$BUILD/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVB_SANITIZE=OFF \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build "$BUILD/bench" -j "$(nproc)" >/dev/null
  find "$BUILD/bench/bench" -type f -executable -name 'bench_*' | sort | while read -r b; do
    echo "== $(basename "$b")"
    "$b" --benchmark_min_time=0.2
  done
fi
if [ "$what" != native ]; then
  cmake -S "$ROOT" -B "$BUILD/win" -G Ninja --no-warn-unused-cli -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$BUILD/win" -j "$(nproc)" --target app_bench >/dev/null
  "$ROOT/scripts/wine-env.sh" start "$BUILD/win" >/dev/null
  trap '"$ROOT/scripts/wine-env.sh" stop "$BUILD/win" >/dev/null' EXIT
  echo "== whole programs under Wine"
  "$ROOT/scripts/wine-run.sh" "$BUILD/win/bin/app_bench.exe"
fi
