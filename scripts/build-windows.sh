#!/usr/bin/env bash
# Cross-builds Velkast.exe and velkast-cli.exe for 64-bit Windows with
# MinGW-w64 into build/windows, with their tests, and makes the ZIP and the
# installer there.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh scripts/packages-windows.txt

build=build/windows
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DVELKAST_WERROR=ON >/dev/null
cmake --build "$build"
(cd "$build" && cpack -G ZIP >/dev/null && cpack -G NSIS >/dev/null)
ls "$build"/velkast-*-win64.{zip,exe}
