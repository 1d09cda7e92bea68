#!/usr/bin/env bash
# Runs a Windows program under Wine with its standard streams and exit
# status passed through. The prefix is the build's own (VELKAST_WINEPREFIX,
# else wineprefix/ beside the program's build tree), made on first use by
# scripts/wine-prefix.sh, so nothing touches the user's ~/.wine.
set -euo pipefail
exe=$1
shift
if [[ -z ${VELKAST_WINEPREFIX:-} ]]; then
  dir=$(cd "$(dirname "$exe")" && pwd)
  until [[ -f $dir/CMakeCache.txt || $dir == / ]]; do dir=$(dirname "$dir"); done
  [[ $dir != / ]] || { echo "wine-run.sh: $exe is not in a build tree" >&2; exit 2; }
  VELKAST_WINEPREFIX=$dir/wineprefix
fi
"$(dirname "$0")/../scripts/wine-prefix.sh" "$VELKAST_WINEPREFIX"
export WINEPREFIX=$VELKAST_WINEPREFIX WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec wine "$exe" "$@"
