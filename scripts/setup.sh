#!/usr/bin/env bash
# Installs everything the build and the tests need, from Debian's packages only,
# and cross-builds GoogleTest and libjpeg-turbo for mingw-w64 into build/deps.
# Idempotent: a second run only checks and returns in seconds.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
# Dependencies live in one place for every build folder of the checkout.
DEPS=$ROOT/build/deps
PREFIX=$DEPS/mingw
SUDO=""
[ "$(id -u)" = 0 ] || SUDO=sudo

PACKAGES=(
  cmake ninja-build pkg-config dpkg-dev
  mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth x11-apps x11-utils xdotool imagemagick
  clang libclang-rt-14-dev llvm
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  python3 fonts-ipafont-gothic libjpeg62-turbo-dev
  wixl
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done

# libjpeg-turbo's source comes through a deb-src entry for the same suite.
SRC_LIST=/etc/apt/sources.list.d/vorbin-deb-src.sources
need_update=0
if [ ! -f "$SRC_LIST" ] && ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  $SUDO tee "$SRC_LIST" >/dev/null <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $suite
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ]; then
  echo "setup: installing ${missing[*]:-(source lists only)}"
  $SUDO apt-get update -q
  if [ ${#missing[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
fi

mkdir -p "$DEPS/src" "$PREFIX"
TOOLCHAIN=$ROOT/cmake/mingw-w64-x86_64.cmake
JOBS=$(nproc)

# GoogleTest and GoogleMock for the Windows tests.
if [ ! -f "$PREFIX/.gtest-done" ]; then
  echo "setup: cross-building GoogleTest"
  rm -rf "$DEPS/src/gtest-build"
  cmake -S /usr/src/googletest -B "$DEPS/src/gtest-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" -Dgtest_disable_pthreads=OFF \
    -DCMAKE_CROSSCOMPILING_EMULATOR= -Wno-dev >/dev/null
  cmake --build "$DEPS/src/gtest-build" -j "$JOBS" >/dev/null
  cmake --install "$DEPS/src/gtest-build" >/dev/null
  touch "$PREFIX/.gtest-done"
fi

# libjpeg-turbo (libjpeg 6b interface), static, for the thumbnail writer.
if [ ! -f "$PREFIX/.jpeg-done" ]; then
  echo "setup: cross-building libjpeg-turbo"
  srcdir=$(find "$DEPS/src" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)
  if [ -z "$srcdir" ]; then
    (cd "$DEPS/src" && apt-get source -q libjpeg-turbo >/dev/null 2>&1) || {
      $SUDO apt-get update -q && (cd "$DEPS/src" && apt-get source -q libjpeg-turbo >/dev/null); }
    srcdir=$(find "$DEPS/src" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)
  fi
  rm -rf "$DEPS/src/jpeg-build"
  cmake -S "$srcdir" -B "$DEPS/src/jpeg-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" -DWITH_SIMD=OFF -DENABLE_SHARED=OFF \
    -DWITH_TURBOJPEG=OFF -DCMAKE_CROSSCOMPILING_EMULATOR= -Wno-dev >/dev/null
  cmake --build "$DEPS/src/jpeg-build" -j "$JOBS" >/dev/null
  cmake --install "$DEPS/src/jpeg-build" >/dev/null
  touch "$PREFIX/.jpeg-done"
fi
echo "setup: ready ($PREFIX)"
