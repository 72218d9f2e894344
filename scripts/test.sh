#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#   native: the platform-free core under AddressSanitizer and UBSan (clang),
#           plus short libFuzzer runs;
#   Windows: the programs and their tests under Wine, on a private Xvfb.
# VB_BUILD_DIR picks another build folder (default: build).
# VB_ONLY=native|win runs one half; extra arguments go to both ctest runs.
set -euo pipefail
# Wine makes file names through the locale's character set: with no locale at
# all (a bare install, a service, env -i) it cannot create names outside ASCII.
# C.UTF-8 is always present; the tests expect it.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${VB_BUILD_DIR:-$ROOT/build}
ONLY=${VB_ONLY:-}
JOBS=$(nproc)
export VB_FUZZ_SECONDS=${VB_FUZZ_SECONDS:-30}

stage_start=$(date +%s)
stage() {
  local now; now=$(date +%s)
  echo "== ${1} (previous stage took $((now - stage_start)) s)"
  stage_start=$now
}

stage "set-up"
"$ROOT/scripts/setup.sh"

status=0
if [ "$ONLY" != win ]; then
  stage "native build"
  cmake -S "$ROOT" -B "$BUILD/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build "$BUILD/native" -j "$JOBS"
  stage "native tests"
  (cd "$BUILD/native" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j "$JOBS" "$@") || status=1
fi
if [ "$ONLY" != native ]; then
  stage "Windows build"
  cmake -S "$ROOT" -B "$BUILD/win" -G Ninja --no-warn-unused-cli -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$BUILD/win" -j "$JOBS"
  stage "Windows tests under Wine"
  (cd "$BUILD/win" && ctest --output-on-failure -j "$JOBS" "$@") || status=1
fi
# ctest's summary closes the output; a failed half fails the whole run.
exit $status
