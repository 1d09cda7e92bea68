#!/usr/bin/env bash
# Runs the Windows build's tests (build/windows, made by build-windows.sh):
# the programs under Wine in a prefix of the build's own, and the checks
# made from Linux of the .exe files and the packages. Wine's windows need a
# screen: run it under an X server (scripts/test.sh uses xvfb-run).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
prefix=$PWD/$build/wineprefix
# A server left from another run may hold its desktop on another display.
WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
scripts/wine-prefix.sh "$prefix"
status=0
VELKAST_WINEPREFIX=$prefix ctest --test-dir "$build" --output-on-failure -j "$(nproc)" || status=$?
WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
exit "$status"
