#!/usr/bin/env bash
# Starts an X server of its own and runs a command there (the dialog test
# that checks from a screenshot that its text rendered), as on a Plasma
# desktop whose general font is DejaVu Sans at 16 points (kdeglobals, which
# Qt reads by itself there). Exits 77 (skipped) only when Xvfb cannot start.
#
# Usage: real_window_test.sh <command> [<argument>...]
set -euo pipefail

if ! command -v Xvfb >/dev/null; then
  echo "Xvfb is not installed" >&2
  exit 77
fi

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  if [[ -n $xvfb_pid ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# -displayfd: the server picks a free display and writes its number once it
# accepts connections.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [[ -s $work/display ]] && break
  if ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 77
  fi
  sleep 0.1
done
if [[ ! -s $work/display ]]; then
  echo "Xvfb did not report a display" >&2
  exit 77
fi
display=:$(head -n1 "$work/display")
echo "Xvfb on $display"

mkdir -p "$work/config"
printf '[General]\nfont=DejaVu Sans,16,-1,5,50,0,0,0,0,0\n' >"$work/config/kdeglobals"
env -u QT_QPA_PLATFORMTHEME DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work" \
  XDG_CONFIG_HOME="$work/config" XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5 "$@" |
  tee "$work/test.log"
status=${PIPESTATUS[0]}
[[ $status -eq 0 ]] || exit "$status"
# A filter that matches no test passes silently: insist that one test ran.
if ! grep -q '^\[  PASSED  \] 1 test\.' "$work/test.log"; then
  echo "the real-window test did not run" >&2
  exit 1
fi
