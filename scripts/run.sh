#!/usr/bin/env bash
# Installs what is missing, builds the Windows programs and starts the launcher
# under Wine: on $DISPLAY when there is one, otherwise on a private Xvfb, where
# it writes a screenshot and prints its path. Runs until Ctrl+C.
set -euo pipefail
# Wine makes file names through the locale's character set: with no locale at
# all (a bare install, a service, env -i) it cannot create names outside ASCII.
# C.UTF-8 is always present; the tests expect it.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${VB_BUILD_DIR:-$ROOT/build}
WIN=$BUILD/win
"$ROOT/scripts/setup.sh"
cmake -S "$ROOT" -B "$WIN" -G Ninja --no-warn-unused-cli -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$WIN" -j "$(nproc)" --target vorbin2k Vorber2k Vorbr2ke Vorbr2kj VorbinBR

if [ -n "${DISPLAY:-}" ]; then
  export WINEPREFIX=$WIN/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  echo "Starting vorbin2k.exe on $DISPLAY (Ctrl+C ends it)"
  exec "$(command -v wine64 || echo /usr/lib/wine/wine64)" "$WIN/bin/vorbin2k.exe" "$@"
fi

"$ROOT/scripts/wine-env.sh" start "$WIN"
trap '"$ROOT/scripts/wine-env.sh" stop "$WIN" >/dev/null' EXIT
trap 'exit 0' INT TERM
display=:$(cat "$WIN/wine-env/display")
"$ROOT/scripts/wine-run.sh" "$WIN/bin/vorbin2k.exe" "$@" &
sleep "${VB_SHOT_DELAY:-4}"
shot=$BUILD/screenshot.png
xwd -root -display "$display" | convert xwd:- "$shot"
echo "The launcher runs on the private display $display."
echo "Screenshot: $shot"
echo "Press Ctrl+C to end it."
wait
