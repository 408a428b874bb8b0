#!/usr/bin/env bash
# Usage: wine-session.sh BUILD_DIR [--use-display] COMMAND...
# Runs COMMAND with a private Wine prefix, an X display and a warm Wine server,
# and takes them down afterwards. The display is a private Xvfb, or with
# --use-display the caller's $DISPLAY when one is set.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh" "$1"
shift

use_display=0
if [ "${1:-}" = "--use-display" ]; then use_display=1; shift; fi

xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 </dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && wait "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ $use_display -eq 0 ] || [ -z "${DISPLAY:-}" ]; then
  # Xvfb picks a free display itself and writes its number once it is ready.
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 </dev/null &
  xvfb_pid=$!
  read -r display_number <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$display_number"
fi

# A new prefix: create it and tell the X11 driver not to wait for a window
# manager, before the server that the tests use starts.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 </dev/null || true
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
  wineserver -w >/dev/null 2>&1 </dev/null || true
fi

# Drive Z: is the Unix tree, through which the tests reach the build; the
# package's check hides it for a while and puts it back (again here, should
# that check have been killed).
[ -e "$WINEPREFIX/dosdevices/z:" ] || ln -s / "$WINEPREFIX/dosdevices/z:"

# A persistent, warm server: program starts then take tens of milliseconds.
# Every stream is redirected, or helper processes would hold the caller's pipes.
wineserver -k >/dev/null 2>&1 </dev/null || true
wineserver -p >/dev/null 2>&1 </dev/null
wine cmd /c exit >/dev/null 2>&1 </dev/null || true

"$@"
