#!/usr/bin/env bash
# The Windows packages, built from this tree, installed and started as a
# person does, under Wine:
#   - the ZIP holds the two programs, the README for Windows users and the
#     licence at its top, with CRLF line ends, and the library for
#     programmers in dev/, and nothing else;
#   - the README's C example, built against the ZIP's dev/ folder, runs
#     under Wine (what velkast.dll carries, check_executables.py checks);
#   - the installer carries its own version block;
#   - installed silently, the programs (not dev/) are under the 64-bit Program Files,
#     Apps and Features lists them with what it shows (name, version,
#     publisher, icon, folder, size, a quoted uninstaller, no Modify or
#     Repair), and the Start-menu shortcut, started through the shell,
#     shows the dialog; the installed velkast-cli runs;
#   - while Velkast runs, the uninstaller refuses (status 2) and leaves
#     every file;
#   - installed again into another folder, the first install is gone;
#   - uninstalled, nothing is left: no file, no shortcut, no registry key.
#
# usage: check_packages.sh BUILD_DIR CPACK_COMMAND VERSION WINE_RUN WAIT_WINDOW C_COMPILER
#                          C_EXAMPLE
set -euo pipefail
build=$1 cpack=$2 version=$3 wine_run=$4 wait_window=$5 cc=$6 example=$7
export VELKAST_WINEPREFIX=${VELKAST_WINEPREFIX:-$build/wineprefix}
# No menu entries in the Linux desktop of whoever runs the test.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="

# Debian's Python, which has the pefile module (python3-pefile).
python=/usr/bin/python3

# $work, fail, wait_for, and $pids, ended on any way out.
source "$(dirname "$0")/../support/e2e.sh"
wait_seconds=20

(cd "$build" && "$cpack" -G "ZIP;NSIS" -B "$work" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log" >&2; fail "cpack"; }
zip=$work/velkast-$version-win64.zip
installer=$work/velkast-$version-win64.exe

# --- the ZIP and the installer's version block -----------------------------

listing=$(unzip -Z1 "$zip" | LC_ALL=C sort | tr '\n' ' ')
[[ $listing == "LICENSE.txt README.txt Velkast.exe dev/ dev/bin/ dev/bin/velkast.dll dev/include/ dev/include/velkast.h dev/lib/ dev/lib/libvelkast.dll.a dev/lib/velkast.def velkast-cli.exe " ]] ||
  fail "the ZIP holds: $listing"
for text in README.txt LICENSE.txt; do
  unzip -p "$zip" "$text" | "$python" -c '
import sys
data = sys.stdin.buffer.read()
sys.exit(0 if data.count(b"\n") == data.count(b"\r\n") > 0 else 1)' || fail "$text has lines not ended by CRLF"
done
echo "ZIP: $listing(CRLF text)"

"$python" "$(dirname "$0")/check_executables.py" --installer "$installer" "$version" ||
  fail "the installer's version block"

# --- the library for programmers ---------------------------------------------

unzip -q "$zip" 'dev/*' -d "$work/zip"
dev=$work/zip/dev
# Built as its user would build it, beside velkast.dll.
"$cc" -std=c99 -Wall -Wextra -Wpedantic -Werror -I"$dev/include" -o "$dev/bin/example.exe" \
  "$example" "$dev/lib/libvelkast.dll.a" || fail "the C example does not build against dev/"
out=$("$wine_run" "$dev/bin/example.exe" | tr -d '\r') || true
[[ $out == "53877449c8ce5745eefc1ef26d760efa password" ]] || fail "the C example printed '$out'"
echo "the C example, built against the ZIP's dev/: $out"

# --- installed silently, started from the Start menu ------------------------

wine() { "$wine_run" "$@"; }
drive=$VELKAST_WINEPREFIX/drive_c
default_dir="C:\\Program Files\\Velkast"
other_dir="C:\\Tools\\Velkast"
unix_dir() { local dir=${1#C:\\}; echo "$drive/${dir//\\//}"; }
shortcut="C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Velkast.lnk"
uninstall_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velkast"
installed_files=(Velkast.exe velkast-cli.exe README.txt LICENSE.txt Uninstall.exe)

# A value of Apps and Features' entry as reg.exe shows it: type and data.
registry_value() { wine reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' |
  awk -v name="$1" '$1 == name { $1 = ""; sub(/^ +/, ""); print }'; }

expect_installed_in() {
  local dir=$1 file
  for file in "${installed_files[@]}"; do
    [[ -f $(unix_dir "$dir")/$file ]] || fail "not installed: $dir\\$file"
  done
  [[ -f $(unix_dir "$shortcut") ]] || fail "no Start-menu shortcut"
  [[ ! -e $(unix_dir "$dir")/dev ]] || fail "the installer installed dev"
  local expected=(
    "DisplayName|REG_SZ Velkast"
    "DisplayVersion|REG_SZ $version"
    "Publisher|REG_SZ The Velkast developers"
    "DisplayIcon|REG_SZ \"$dir\\Velkast.exe\",0"
    "InstallLocation|REG_SZ $dir"
    "UninstallString|REG_SZ \"$dir\\Uninstall.exe\""
    "NoModify|REG_DWORD 0x1"
    "NoRepair|REG_DWORD 0x1"
  ) row
  for row in "${expected[@]}"; do
    [[ $(registry_value "${row%%|*}") == "${row#*|}" ]] ||
      fail "Apps and Features: ${row%%|*} is '$(registry_value "${row%%|*}")', not '${row#*|}'"
  done
  local size
  size=$(registry_value EstimatedSize)
  [[ $size =~ ^REG_DWORD\ 0x[0-9a-f]+$ ]] && (($(printf '%d' "${size#REG_DWORD }") > 100)) ||
    fail "Apps and Features: EstimatedSize is '$size'"
}

# The Start-menu shortcut, opened by the shell as a click on it does, must
# show the dialog.
expect_shortcut_starts_velkast() {
  wine cmd /c start "" "$shortcut" || fail "the shell could not open the shortcut"
  wine "$wait_window" "Velkast v1.1" 20 || fail "the Start-menu shortcut shows no dialog"
}

wine "$installer" /S || fail "the installer exited with $?"
expect_installed_in "$default_dir"
expect_shortcut_starts_velkast
text=$(echo password | wine "$(unix_dir "$default_dir")/velkast-cli.exe" encrypt)
[[ $text == 53877449c8ce5745eefc1ef26d760efa ]] || fail "the installed velkast-cli gave '$text'"
echo "installed in $default_dir; the Start-menu shortcut shows the dialog"

# --- a running Velkast is not pulled from under its user ---------------------

wine "$(unix_dir "$default_dir")/Velkast.exe" &
velkast=$!
pids+=("$velkast")
wine "$wait_window" --leave-open "Velkast v1.1" 20 || fail "the installed Velkast.exe shows no dialog"
# Run in place (_?=), the uninstaller's status is its own. _?= must stand
# unquoted at the end of its command line, which only a batch file gives it
# (Wine quotes an argument with spaces).
printf '"%s\\Uninstall.exe" /S _?=%s\r\nexit /b %%errorlevel%%\r\n' "$default_dir" "$default_dir" \
  >"$work/uninstall.bat"
status=0
wine cmd /c "Z:${work//\//\\}\\uninstall.bat" >/dev/null || status=$?
((status == 2)) || fail "the uninstaller, with Velkast running, exited with $status"
for file in "${installed_files[@]}"; do
  [[ -f $(unix_dir "$default_dir")/$file ]] || fail "removed while Velkast ran: $file"
done
wine "$wait_window" "Velkast v1.1" 20 || fail "the running Velkast did not close"
wait "$velkast" || true
echo "with Velkast running, the uninstaller refuses and keeps every file"

# --- installed again elsewhere, then uninstalled ----------------------------

wine "$installer" /S "/D=$other_dir" || fail "the installer, into $other_dir, exited with $?"
[[ ! -e $(unix_dir "$default_dir") ]] || fail "the first install is left: $(ls "$(unix_dir "$default_dir")")"
expect_installed_in "$other_dir"
expect_shortcut_starts_velkast
echo "installed again in $other_dir: the first install is gone"

# The uninstaller runs a copy of itself and returns at once.
wine "$(unix_dir "$other_dir")/Uninstall.exe" /S || fail "the uninstaller exited with $?"
gone() { [[ ! -e $(unix_dir "$other_dir") && ! -e $(unix_dir "$shortcut") ]]; }
wait_for gone || fail "left after uninstalling: $(ls "$(unix_dir "$other_dir")" 2>&1)"
for key in "$uninstall_key" "HKLM\\Software\\The Velkast developers"; do
  ! wine reg query "$key" >/dev/null 2>&1 || fail "left in the registry: $key"
done
echo "uninstalled: no file, shortcut or registry key left"
