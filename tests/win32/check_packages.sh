#!/usr/bin/env bash
# The Windows packages, built from this tree and checked:
#   - the ZIP holds the two programs, the README and the licence at its top,
#     and nothing else (no usr/bin, no manual pages, no desktop files);
#   - the installer, run silently under Wine, puts them under the 64-bit
#     Program Files with a Start-menu shortcut; the installed velkast-cli
#     runs; the uninstaller takes everything away again.
#
# usage: check_packages.sh BUILD_DIR CPACK_COMMAND VERSION WINE_RUN
set -euo pipefail
build=$1 cpack=$2 version=$3 wine_run=$4
export VELKAST_WINEPREFIX=${VELKAST_WINEPREFIX:-$build/wineprefix}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

(cd "$build" && "$cpack" -G "ZIP;NSIS" -B "$work" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log" >&2; fail "cpack"; }
zip=$work/velkast-$version-win64.zip
installer=$work/velkast-$version-win64.exe

listing=$(unzip -Z1 "$zip" | LC_ALL=C sort | tr '\n' ' ')
[[ $listing == "LICENSE.txt README.md Velkast.exe velkast-cli.exe " ]] || fail "the ZIP holds: $listing"
echo "ZIP: $listing"

drive=$VELKAST_WINEPREFIX/drive_c
programs="$drive/Program Files/Velkast"
menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Velkast"
"$wine_run" "$installer" /S || fail "the installer exited with $?"
for file in Velkast.exe velkast-cli.exe README.md LICENSE.txt Uninstall.exe; do
  [[ -f $programs/$file ]] || fail "not installed: Program Files/Velkast/$file"
done
[[ -f $menu/Velkast.lnk ]] || fail "no Start-menu shortcut"
text=$(echo password | "$wine_run" "$programs/velkast-cli.exe" encrypt)
[[ $text == 53877449c8ce5745eefc1ef26d760efa ]] || fail "the installed velkast-cli gave '$text'"
echo "installed under Program Files/Velkast, with its Start-menu shortcut"

# The uninstaller runs a copy of itself and returns at once.
"$wine_run" "$programs/Uninstall.exe" /S || fail "the uninstaller exited with $?"
for _ in $(seq 200); do
  [[ -e $programs || -e $menu ]] || break
  sleep 0.1
done
[[ ! -e $programs && ! -e $menu ]] || fail "left behind after uninstalling: $(ls "$programs" "$menu" 2>&1)"
echo "uninstalled"
