#!/usr/bin/env bash
# Makes a Wine prefix for the Windows tests and starts its server to stay:
#   scripts/wine-prefix.sh PREFIX
# The prefix runs every program in a virtual desktop, so windows need no
# window manager and are drawn with the system's own frames. Started here,
# once, Wine's own services never inherit a test's output pipe (which would
# keep the test runner waiting for them).
set -euo pipefail
export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
mkdir -p "$WINEPREFIX"
# One caller makes the prefix while the others wait; Wine's processes must
# not inherit the lock (9>&-), or it would be held as long as they live.
exec 9>"$WINEPREFIX.lock"
flock 9
quiet() { "$@" </dev/null >/dev/null 2>&1 9>&-; }
if [[ ! -f $WINEPREFIX/.velkast-ready ]]; then
  quiet wineboot --init
  quiet wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
  quiet wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f
  # The desktop the first start made is not yet virtual: end it with its
  # server, so the next program starts the virtual one.
  quiet wineserver -k || true
  touch "$WINEPREFIX/.velkast-ready"
fi
# The server stays a minute after its last program, so a test run reuses
# one; a server that is already there is kept. Its services and desktop
# start here too, with nothing of a test's to inherit.
quiet wineserver -p60 || true
quiet wineboot
