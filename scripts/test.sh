#!/usr/bin/env bash
# Builds everything and runs every test: the sanitizer build, the fuzzers,
# the release build with warnings as errors, then the Windows build (cross-
# built with MinGW-w64) with its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh scripts/packages-build.txt scripts/packages-test.txt \
  scripts/packages-windows.txt

jobs=$(nproc)
ctest_run() { ctest --test-dir "$1" --output-on-failure -j "$jobs" "${@:2}"; }
# The engine and the layers under it first: a fault there fails the run in a
# minute, before the slower tests that it would make fail too.
ctest_tiers() { ctest_run "$1" -L unit && ctest_run "$1" -LE unit; }

echo "== Format =="
scripts/check-format.sh

echo "== AddressSanitizer + UndefinedBehaviorSanitizer =="
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELKAST_SANITIZE=ON -DVELKAST_WERROR=ON >/dev/null
cmake --build build/asan
ASAN_OPTIONS=detect_leaks=1 ctest_tiers build/asan

echo "== libFuzzer (corpus replay and a bounded run) =="
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DVELKAST_BUILD_FUZZ=ON -DVELKAST_BUILD_TESTS=OFF \
  -DVELKAST_BUILD_GUI=OFF -DVELKAST_WERROR=ON >/dev/null
cmake --build build/fuzz
ctest_run build/fuzz

echo "== Release =="
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DVELKAST_WERROR=ON -DVELKAST_BUILD_BENCH=ON >/dev/null
cmake --build build/release
ctest_tiers build/release

echo "== Windows (MinGW-w64, tests under Wine) =="
scripts/build-windows.sh
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" scripts/test-windows.sh build/windows

echo "== Reproducible: a second build in another folder, compared byte for byte =="
scripts/check-reproducible.sh build/release build/windows
