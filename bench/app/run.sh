#!/usr/bin/env bash
# Builds and runs the whole-program figures of the launcher under Wine, in the
# build folder's private prefix and display: bench/app/run.sh BUILD_DIR
set -eu
BUILD=$(cd "${1:?windows build folder}" && pwd)
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
cmake --build "$BUILD" --target app_bench -j2 >/dev/null
"$ROOT/scripts/wine-env.sh" start "$BUILD" >/dev/null
trap '"$ROOT/scripts/wine-env.sh" stop "$BUILD" >/dev/null' EXIT
"$ROOT/scripts/wine-run.sh" "$BUILD/bin/app_bench.exe"
