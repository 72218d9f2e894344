#!/usr/bin/env bash
# Takes the README's pictures of the bar as a user would have it: programs of
# the system with their own icons, folders and a web link in two groups, and
# task mode with Notepad, the file manager and the registry editor open;
# each at 100 % and 150 % (96 and 144 DPI), cropped to the bar, into docs/:
#   bar-groups.png (the programs' group), bar-groups-150.png (the folders'
#   and web link's group), bar-tasks.png, bar-tasks-150.png
# The buttons are made by the running launcher itself (Program Manager DDE
# commands sent by tests/tools/readme_seed.cpp), so each gets the picture the
# launcher builds from its target.
# Usage: scripts/screenshots.sh [build folder]   (default: build/win; it is
# configured when needed and the programs are built). The pictures are taken
# in a Wine prefix and Xvfb of their own under <build folder>/screenshots, so
# the tests' prefix keeps its settings; the DPI is set back afterwards.
set -euo pipefail
export LC_ALL=C.UTF-8 LANG=C.UTF-8
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(mkdir -p "${1:-$ROOT/build/win}" && cd "${1:-$ROOT/build/win}" && pwd)
OUT=${VB_SHOTS_DIR:-$ROOT/docs}
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja --no-warn-unused-cli -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
fi
if [ -z "${VB_SHOTS_NO_BUILD:-}" ]; then
  cmake --build "$BUILD" -j "${VB_JOBS:-2}" --target vorbin2k Vorber2k Vorbr2ke Vorbr2kj readme_seed >/dev/null
fi
for tool in xdotool xwd convert; do
  command -v "$tool" >/dev/null || { echo "screenshots.sh needs $tool" >&2; exit 1; }
done

# Every Wine program of this script runs in the private environment: wine-run.sh
# would otherwise pick the prefix from the program's folder, and system
# programs (reg, notepad) have none of ours.
ENV_DIR=$BUILD/screenshots
mkdir -p "$ENV_DIR"
export VB_WINE_BUILD=$ENV_DIR
"$ROOT/scripts/wine-env.sh" start "$ENV_DIR" >/dev/null
# On the way out, also after a failure: later programs of this prefix see the
# DPI it had, and the environment is stopped.
dpi_read=0
# shellcheck disable=SC2317  # run by the trap
finish() {
  if [ "$dpi_read" = 1 ] && [ -n "$had_dpi" ]; then
    wine_quiet reg add "$desktop" /v LogPixels /t REG_DWORD /d "$((had_dpi))" /f || true
  elif [ "$dpi_read" = 1 ]; then
    wine_quiet reg delete "$desktop" /v LogPixels /f || true
  fi
  "$ROOT/scripts/wine-env.sh" stop "$ENV_DIR" >/dev/null 2>&1 || true
}
trap finish EXIT
DISPLAY=:$(cat "$ENV_DIR/wine-env/display")
export DISPLAY
RUN="$ROOT/scripts/wine-run.sh"
# Nothing started here may hold the caller's output open (a program left
# running would keep a pipe such as `| tee` waiting).
wine_quiet() { "$RUN" "$@" </dev/null >/dev/null 2>&1; }
SEED="$BUILD/bin/readme_seed.exe"
desktop='HKCU\Control Panel\Desktop'
settings='HKCU\Software\Ornel\vorbin96\Settings'

# A new prefix of Wine 8 maps no extension to "exefile", so the shell gives
# every program the generic program icon; Windows maps ".exe" to it.
wine_quiet reg add 'HKCR\.exe' /ve /d exefile /f

# The test environment draws the dialog fonts with a Japanese font (for the
# Japanese texts), which shows a backslash as a yen sign: the pictures are of
# the English bar and keep the prefix's own fonts.
for face in Tahoma "MS Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "MS UI Gothic" "Segoe UI"; do
  wine_quiet reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" /f || true
done

# The profile: made by the launcher from these commands.
programs='[CreateGroup(Programs)]'
programs+='[AddItem(C:\windows\notepad.exe,Notepad)]'
programs+='[AddItem(C:\windows\system32\winefile.exe,Files)]'
programs+='[AddItem(C:\windows\regedit.exe,Registry)]'
programs+='[AddItem(C:\windows\system32\cmd.exe,Command prompt)]'
programs+='[AddItem("C:\Program Files\Windows NT\Accessories\wordpad.exe",WordPad)]'
programs+='[AddItem(C:\windows\system32\taskmgr.exe,Task manager)]'
programs+='[AddItem(C:\windows\system32\control.exe,Control panel)]'
places='[CreateGroup(Places)]'
places+='[AddItem(C:\windows,Windows)]'
places+='[AddItem(C:\users\Public,Public)]'
places+='[AddItem(C:\users\Public\Music,Music)]'
# A web address has no icon of its own under Wine: the browser's.
places+='[AddItem(https://www.debian.org/,Debian,C:\Program Files\Internet Explorer\iexplore.exe,0)]'

# The X window of the shown bar (its caption is the product name), or nothing.
bar_window() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name '^Vorb in$' 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}

# Closes the running launcher through its bar and waits for it to end.
close_launcher() {
  wine_quiet "$SEED" close || echo "the launcher did not end by itself" >&2
}

# Starts the launcher, waits until its bar has settled, saves its picture
# (the bar's own X window: nothing around it) and closes the launcher.
shoot() {
  local file=$1 id status=0
  # The pointer away from where the bar comes up: no hover, no tool tip.
  xdotool mousemove 5000 5000
  # /nologo: no tip of the day over the bar.
  "$RUN" "$BUILD/bin/vorbin2k.exe" /nologo </dev/null >/dev/null 2>&1 &
  local pid=$!
  if id=$(bar_window); then
    sleep "${VB_SHOT_DELAY:-3}"
    # Above the programs' windows (a late one may have come up over it).
    xdotool windowraise "$id"
    sleep 0.5
    xwd -silent -id "$id" | convert xwd:- -strip -define png:compression-level=9 "$file"
    echo "wrote $file ($(identify -format '%wx%h' "$file"))"
  else
    echo "the bar did not appear for $file" >&2
    status=1
  fi
  close_launcher
  wait "$pid" 2>/dev/null || true
  return $status
}

# Real windows for task mode; ended again by close_programs.
programs_pids=()
open_programs() {
  for exe in notepad.exe 'winefile.exe C:\users\Public' regedit.exe; do
    # shellcheck disable=SC2086  # the program and its argument
    "$RUN" $exe </dev/null >/dev/null 2>&1 &
    programs_pids+=($!)
  done
  for name in Notepad 'Wine File' 'Registry Editor'; do
    for _ in $(seq 50); do
      xdotool search --onlyvisible --name "$name" >/dev/null 2>&1 && break
      sleep 0.2
    done
  done
}
close_programs() {
  for exe in notepad.exe winefile.exe regedit.exe; do wine_quiet taskkill /im "$exe" || true; done
  sleep 1
  for exe in notepad.exe winefile.exe regedit.exe; do wine_quiet taskkill /f /im "$exe" || true; done
  for pid in "${programs_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  programs_pids=()
}

mkdir -p "$OUT"
status=0
had_dpi=$("$RUN" reg query "$desktop" /v LogPixels </dev/null 2>/dev/null | awk '/LogPixels/ {print $3}' || true)
dpi_read=1
for dpi in 96 144; do
  suffix=$([ "$dpi" = 96 ] && echo "" || echo "-$((dpi * 100 / 96))")
  wine_quiet reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f
  # The programs at 100 %, the folders and the web link at 150 %.
  shown=$([ "$dpi" = 96 ] && echo Programs || echo Places)
  wine_quiet reg delete 'HKCU\Software\Ornel\vorbin96' /f || true
  # Wine shows tray icons in a window of its own, which task mode would list
  # as a program: this bar keeps its icon out of the tray.
  wine_quiet reg add "$settings" /v DispIconInTary /t REG_SZ /d No /f
  if ! "$RUN" "$SEED" seed "$programs" "$places" "[ShowGroup($shown,1)]" </dev/null >/dev/null; then
    echo "could not make the profile at $dpi DPI" >&2
    status=1
    continue
  fi
  shoot "$OUT/bar-groups$suffix.png" || status=1
  open_programs
  wine_quiet reg add "$settings" /v TaskMode /t REG_SZ /d Yes /f
  shoot "$OUT/bar-tasks$suffix.png" || status=1
  close_programs
done
exit $status
