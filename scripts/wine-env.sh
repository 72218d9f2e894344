#!/usr/bin/env bash
# Starts or stops the private test environment of one Windows build folder:
# its own Wine prefix (created once, reused), its own Xvfb display and a
# persistent wineserver. Only what this script started is ended.
#   wine-env.sh start|stop|status BUILD_DIR
set -uo pipefail
# Wine makes file names through the locale's character set: with no locale at
# all (a bare install, a service, env -i) it cannot create names outside ASCII.
# C.UTF-8 is always present; the tests expect it.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
cmd=${1:?start|stop|status}
BUILD=$(cd "${2:?build dir}" && pwd)
STATE=$BUILD/wine-env
export WINEPREFIX=$BUILD/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
[ -x "$WINE" ] || WINE=/usr/lib/wine/wine64
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
[ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver
mkdir -p "$STATE"

stop_env() {
  if [ -f "$STATE/display" ]; then
    # Ends the prefix's wineserver and every process of this private prefix.
    timeout 20 "$WINESERVER" -k >/dev/null 2>&1
  fi
  if [ -f "$STATE/xvfb.pid" ]; then
    pid=$(cat "$STATE/xvfb.pid")
    if kill -0 "$pid" 2>/dev/null && grep -q Xvfb "/proc/$pid/cmdline" 2>/dev/null; then
      kill "$pid" 2>/dev/null
      for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      kill -9 "$pid" 2>/dev/null
    fi
  fi
  rm -f "$STATE/xvfb.pid" "$STATE/display"
}

start_env() {
  stop_env
  # A free display number of our own.
  n=$(( 50 + RANDOM % 400 ))
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 ${VB_SCREEN:-1280x1024x24} -nolisten tcp -ac >"$STATE/xvfb.log" 2>&1 </dev/null &
  echo $! >"$STATE/xvfb.pid"
  for _ in $(seq 100); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.05; done
  [ -e /tmp/.X11-unix/X$n ] || { echo "Xvfb did not start"; cat "$STATE/xvfb.log"; exit 1; }
  echo $n >"$STATE/display"
  export DISPLAY=:$n
  "$WINESERVER" -p </dev/null >/dev/null 2>&1
  if [ ! -f "$WINEPREFIX/.vb-ready" ]; then
    echo "creating Wine prefix $WINEPREFIX"
    "$WINE" wineboot -i </dev/null >/dev/null 2>&1
    # Without a window manager, hiding a managed window waits ~2 s each time.
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
    "$WINESERVER" -w
    "$WINESERVER" -p </dev/null >/dev/null 2>&1
    touch "$WINEPREFIX/.vb-ready"
  fi
  # Japanese texts need a Japanese font behind the dialog fonts (Debian's IPA
  # Gothic), or they show as boxes. Not behind Arial: Wine has no Arial, and a
  # link would make IPA Gothic draw the bar's Latin labels too.
  if [ ! -f "$WINEPREFIX/.vb-fontlink2" ]; then
    fonts=$STATE/fonts.reg
    # REGEDIT4 files carry multi-strings as ANSI bytes.
    link=$(printf 'ipag.ttf,IPAGothic' | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//; s/,$//'),00,00
    {
      printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\n'
      for face in Tahoma "MS Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "MS UI Gothic" "Segoe UI"; do
        printf '"%s"=hex(7):%s\n' "$face" "$link"
      done
    } >"$fonts"
    "$WINE" regedit /s "$(echo "$fonts" | sed 's|/|\\|g; s|^|Z:|')" </dev/null >/dev/null 2>&1
    touch "$WINEPREFIX/.vb-fontlink2"
  fi
  # Warm the desktop so that the first test window does not pay for it.
  "$WINE" cmd /c exit </dev/null >/dev/null 2>&1
  echo "wine environment ready on :$n"
}

case $cmd in
  start) start_env ;;
  stop) stop_env; echo "wine environment stopped" ;;
  status) [ -f "$STATE/display" ] && echo ":$(cat "$STATE/display")" || { echo "stopped"; exit 1; } ;;
  *) echo "usage: $0 start|stop|status BUILD_DIR"; exit 2 ;;
esac
