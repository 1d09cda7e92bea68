#!/usr/bin/env bash
# Time from process start to the dialog being mapped, and peak RSS, for
# Velkast and for a bare Qt 6 QDialog with the same five controls, run
# alternately in one Xvfb; prints the medians.
#
#   bench/startup.sh [build-dir] [runs]    (default build/release, 9 runs)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-9}
cmake --build "$build" --target Velkast velkast_map_timer velkast_bare_dialog >/dev/null

display=:$((100 + RANDOM % 800))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
runtime=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; rm -rf "$runtime"' EXIT
export DISPLAY=$display
# Qt wants a private runtime directory; give it one so it need not complain.
export XDG_RUNTIME_DIR=$runtime
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

timer=$build/bench/startup/velkast_map_timer
: > /tmp/velkast-startup.$$
for i in $(seq "$runs"); do
  echo "velkast $("$timer" "$build/app/velkast")" >> /tmp/velkast-startup.$$
  echo "bare $("$timer" "$build/bench/startup/velkast_bare_dialog")" >> /tmp/velkast-startup.$$
done

median() {  # name column
  awk -v n="$1" -v c="$2" '$1 == n { print $c }' /tmp/velkast-startup.$$ | sort -n |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
vt=$(median velkast 2); bt=$(median bare 2)
vm=$(median velkast 3); bm=$(median bare 3)
rm -f /tmp/velkast-startup.$$
printf '%-22s %14s %16s\n' "median of $runs runs" "ms to mapped" "peak RSS (KiB)"
printf '%-22s %14s %16s\n' "Velkast" "$vt" "$vm"
printf '%-22s %14s %16s\n' "bare Qt QDialog" "$bt" "$bm"
awk -v a="$vt" -v b="$bt" -v c="$vm" -v d="$bm" \
  'BEGIN { printf "%-22s %13.2fx %+15d\n", "Velkast vs bare", a / b, c - d }'
