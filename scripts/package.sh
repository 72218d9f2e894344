#!/usr/bin/env bash
# Builds the installer and the portable zip from a clean build folder:
#   build/package/dist/vorbin-<version>-x64.msi           per-user installer
#   build/package/dist/vorbin-<version>-x64-portable.zip  the files (with x86/) and a read-me
# VB_BUILD_DIR picks another build folder (default: build).
set -euo pipefail
export LC_ALL=C.UTF-8 LANG=C.UTF-8
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${VB_BUILD_DIR:-$ROOT/build}/package

"$ROOT/scripts/setup.sh"
rm -rf "$OUT"
cmake -S "$ROOT" -B "$OUT" -G Ninja --no-warn-unused-cli -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$OUT" -j "$(nproc)" --target packages
echo "package: done"
ls -1 "$OUT"/dist/*
