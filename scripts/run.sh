#!/usr/bin/env bash
# Builds Velkast and opens its dialog on the desktop.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh scripts/packages-build.txt
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELKAST_BUILD_TESTS=OFF >/dev/null
cmake --build build/run --target Velkast velkast-cli
if [[ -z ${DISPLAY:-}${WAYLAND_DISPLAY:-} ]]; then
  echo "run.sh: no display to open the dialog on (DISPLAY and WAYLAND_DISPLAY are unset);" \
       "build/run/tools/velkast-cli works without one" >&2
  exit 1
fi
exec build/run/app/velkast "$@"
