#!/usr/bin/env bash
# Runs a Windows program under Wine with its standard streams and exit
# status passed through. The prefix is the build's own (VELKAST_WINEPREFIX,
# else wineprefix/ beside the program's build tree), made on first use, so
# nothing touches the user's ~/.wine.
set -euo pipefail
exe=$1
shift
if [[ -z ${VELKAST_WINEPREFIX:-} ]]; then
  dir=$(cd "$(dirname "$exe")" && pwd)
  until [[ -f $dir/CMakeCache.txt || $dir == / ]]; do dir=$(dirname "$dir"); done
  [[ $dir != / ]] || { echo "wine-run.sh: $exe is not in a build tree" >&2; exit 2; }
  VELKAST_WINEPREFIX=$dir/wineprefix
fi
export WINEPREFIX=$VELKAST_WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [[ ! -f $WINEPREFIX/system.reg ]]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init </dev/null >/dev/null 2>&1
fi
exec wine "$exe" "$@"
