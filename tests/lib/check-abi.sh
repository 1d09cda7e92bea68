#!/usr/bin/env bash
# The ABI of libvelkast.so.1 held to its baseline: abidiff (abigail-tools)
# compares what abidw reads from the library as built with the baseline in
# the repository, so any change of the exported functions or the types they
# use fails, an incompatible one named as such. The exported symbols and the
# SONAME are checked by name too.
#
# usage: check-abi.sh LIBRARY BASELINE [--update]
#   --update writes the baseline anew from LIBRARY: for a change made on
#   purpose (an incompatible one needs a new SONAME as well).
set -euo pipefail
library=$1 baseline=$2
# The exported functions and the types they use, without paths or places.
abi() {
  abidw --exported-interfaces-only --no-corpus-path --no-comp-dir-path --no-show-locs \
    --out-file "$1" "$library"
}
if [[ ${3:-} == --update ]]; then
  abi "$baseline"
  echo "wrote $baseline"
  exit 0
fi

fresh=$(mktemp)
trap 'rm -f "$fresh"' EXIT
abi "$fresh"
status=0
abidiff "$baseline" "$fresh" || status=$?
# abidiff's status: bit 2 (4) a change, bit 3 (8) an incompatible one.
if ((status & 8)); then
  echo "FAIL: an incompatible change of libvelkast.so.1's ABI (a new SONAME, and the baseline anew)" >&2
elif ((status & 4)); then
  echo "FAIL: libvelkast.so.1's ABI changed; if on purpose, write the baseline anew" \
    "(cmake --build <dir> --target velkast_abi_baseline)" >&2
elif ((status)); then
  echo "FAIL: abidiff could not compare (status $status)" >&2
fi
exports=$(nm -D --defined-only "$library" | awk '{ print $3 }' | LC_ALL=C sort | tr '\n' ' ')
expected="VELKAST_1 velkast_decrypt@@VELKAST_1 velkast_encrypt@@VELKAST_1 velkast_status_message@@VELKAST_1 velkast_version@@VELKAST_1 "
[[ $exports == "$expected" ]] || { echo "FAIL: exports $exports" >&2; status=1; }
soname=$(objdump -p "$library" | awk '$1 == "SONAME" { print $2 }')
[[ $soname == libvelkast.so.1 ]] || { echo "FAIL: SONAME '$soname'" >&2; status=1; }
((status == 0)) && echo "libvelkast.so.1: the baseline's ABI; exports $exports"
exit "$status"
