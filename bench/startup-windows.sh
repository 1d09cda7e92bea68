#!/usr/bin/env bash
# Time from process start to the dialog being mapped, for Velkast.exe and a
# bare Win32 dialog with the same resources (bench/startup/win32: the same
# template, icon and manifest, no framework), both under Wine, run
# alternately in one Xvfb. Prints for each the median time with its
# quartiles and extremes, the median processor time and peak RSS; and
# against the bare dialog the ratio of the medians, the median ratio of the
# runs made one after the other, and the ratio of the processor times.
#
#   bench/startup-windows.sh [build-dir] [runs] [other.exe...]
#     default build/windows (scripts/build-windows.sh makes it) and 51 runs;
#     further .exe files join the rotation and are compared with the bare
#     dialog too (builds of Velkast.exe with one change, say)
#
# Process start is the fork of "wine PROGRAM"; the dialog counts as shown
# when the X server is asked to map its window. The benchmark has a Wine
# prefix of its own ($build/wineprefix-bench) without the virtual desktop
# the tests use, and no window manager runs, so Wine gives each top-level
# window an X window of its own, a child of the root: the map timer of
# bench/startup.sh (MapTimer.cpp, built here for this machine) sees its
# MapNotify, as for the Linux program. (In a virtual desktop the dialog's X
# window is a child of the desktop's, and Wine marks it override-redirect.)
# The prefix's server, explorer and services start once, before the first
# run, and stay, so a run times one program: the Wine loader, the system
# DLLs, the program. A few runs of each, not counted, fill the file cache.
#
# Wine's start-up varies by tens of milliseconds from run to run, and more
# on a machine busy with other work: use enough runs, read the quartiles
# and the paired ratio beside the medians, and repeat on a quiet machine.
# Needs Xvfb, wine64, a C++ compiler and Xlib's headers (libx11-dev).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
runs=${2:-51}
others=("${@:3}")
warmup=3

# The bare dialog is a benchmark target: switch benchmarks on in a tree
# configured without them (this adds the one small program).
if ! grep -q '^VELKAST_BUILD_BENCH:BOOL=ON' "$build/CMakeCache.txt"; then
  cmake -DVELKAST_BUILD_BENCH=ON "$build" >/dev/null
fi
cmake --build "$build" --target Velkast velkast_bare_dialog >/dev/null
velkast=$build/app/Velkast.exe
bare=$build/bench/startup/win32/velkast_bare_dialog.exe

timer=$build/bench/startup/host/velkast_map_timer
if [[ ! $timer -nt bench/startup/MapTimer.cpp ]]; then
  mkdir -p "$(dirname "$timer")"
  c++ -std=c++20 -O2 -Wall -Wextra -Wpedantic -o "$timer" bench/startup/MapTimer.cpp -lX11
fi

WINEPREFIX=$(cd "$build" && pwd)/wineprefix-bench
export WINEPREFIX WINEDEBUG=-all
# No Mono or Gecko to offer, no menu entries to write.
export WINEDLLOVERRIDES=mscoree,mshtml=,winemenubuilder.exe=d
results=$(mktemp)
display=$(mktemp)
# Xvfb picks a free display and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display" >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -f "$results" "$display"
}
trap cleanup EXIT
for _ in $(seq 100); do [[ -s $display ]] && break; sleep 0.1; done
[[ -s $display ]] || { echo "startup-windows.sh: Xvfb did not start" >&2; exit 1; }
DISPLAY=:$(head -n1 "$display")
export DISPLAY

# A server left from another run may hold its desktop on another display.
wineserver -k 2>/dev/null || true
if [[ ! -f $WINEPREFIX/.velkast-bench-ready ]]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init </dev/null >/dev/null 2>&1
  wineserver -k 2>/dev/null || true
  touch "$WINEPREFIX/.velkast-bench-ready"
fi
# A server of this run's own, kept until the end.
wineserver -p
wineboot </dev/null >/dev/null 2>&1

programs=("$velkast" "$bare" "${others[@]}")
for i in $(seq $((warmup + runs))); do
  for exe in "${programs[@]}"; do
    # A run that sees no window mapped (rare, under Wine) is made once more;
    # a second failure ends the benchmark.
    line=$("$timer" wine "$exe") || line=$("$timer" wine "$exe")
    ((i > warmup)) && echo "$exe $line" >> "$results"
    # The program is killed once mapped: let Wine and the X server finish
    # tearing it down before the next one starts.
    sleep 0.2
  done
done

# One column of one program's results, in the order of the runs.
column() { awk -v n="$1" -v c="$2" '$1 == n { print $c }' "$results"; }
# Numbers on standard input -> "median q1 q3 min max" (quartiles by nearest rank).
summary() {
  sort -n | awk '
    { v[NR] = $1 }
    function q(p) { return v[int(p * (NR - 1) + 0.5) + 1] }
    END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
          print m, q(0.25), q(0.75), v[1], v[NR] }'
}
median() { column "$1" "$2" | summary | cut -d' ' -f1; }
row() {  # label exe
  read -r m q1 q3 lo hi < <(column "$2" 2 | summary)
  printf '%-26s %7.1f %13s %13s %7.1f %9d\n' "$1" "$m" "$q1-$q3" "$lo-$hi" \
    "$(median "$2" 4)" "$(median "$2" 3)"
}
printf '%-26s %7s %13s %13s %7s %9s\n' "$runs runs each, alternating" median quartiles \
  extremes CPU "peak RSS"
printf '%-26s %7s %13s %13s %7s %9s\n' "" ms ms ms ms KiB
row "Velkast.exe" "$velkast"
row "bare Win32 dialog" "$bare"
for exe in "${others[@]}"; do row "$(basename "$exe")" "$exe"; done
# The ratio of the medians; beside it the median of the ratios of runs made
# one after the other, which a load that changes during the benchmark moves
# less, and the ratio of the processor times.
for exe in "$velkast" "${others[@]}"; do
  paired=$(paste <(column "$exe" 2) <(column "$bare" 2) | awk '{ print $1 / $2 }' | summary |
           cut -d' ' -f1)
  awk -v a="$(median "$exe" 2)" -v b="$(median "$bare" 2)" -v p="$paired" \
      -v c="$(median "$exe" 4)" -v d="$(median "$bare" 4)" -v n="$(basename "$exe") vs bare" \
    'BEGIN { printf "%-26s %6.2fx   (paired runs %.2fx, CPU %.2fx)\n", n, a / b, p, c / d }'
done
