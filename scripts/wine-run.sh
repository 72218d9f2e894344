#!/usr/bin/env bash
# Runs a Windows program of a build folder under Wine, in that folder's own
# prefix and on its own Xvfb display (see wine-env.sh). Used as the CMake
# cross-compiling emulator, so ctest runs Windows tests through it.
set -u
# Wine makes file names through the locale's character set: with no locale at
# all (a bare install, a service, env -i) it cannot create names outside ASCII.
# C.UTF-8 is always present; the tests expect it.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
exe=${1:?program}
dir=$(cd "$(dirname "$exe")" 2>/dev/null && pwd || pwd)
BUILD=${VB_WINE_BUILD:-}
if [ -z "$BUILD" ]; then
  d=$dir
  while [ "$d" != / ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done
  if [ -f "$d/CMakeCache.txt" ]; then
    BUILD=$d
  else
    # A program of the system (reg, notepad) has no build folder of ours:
    # without one Wine would make a new prefix wherever this runs.
    echo "wine-run.sh: $exe is not in a build folder; say which one with VB_WINE_BUILD=<build folder>" >&2
    exit 2
  fi
fi
export WINEPREFIX=$BUILD/wineprefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
[ -f "$BUILD/wine-env/display" ] && export DISPLAY=:$(cat "$BUILD/wine-env/display")
WINE=$(command -v wine64 || true)
[ -n "$WINE" ] || WINE=/usr/lib/wine/wine64
exec "$WINE" "$@"
