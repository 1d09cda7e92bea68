#!/usr/bin/env bash
# Velkast.exe under Wine, in an X server and a Wine prefix of its own,
# driven from the keyboard as a person would, its result copied out through
# the clipboard:
#   - a password beyond ASCII, typed into the field that has the focus at
#     start, encrypts (Enter there does nothing; Tab to Encrypt, Space) to
#     velkast-cli.exe's text;
#   - that text pasted back decrypts to the password (Tab to Decrypt, Enter);
#   - Alt+F4 (the close box's command) and Escape each end the program by
#     itself with status 0.
# Exits 77 (skipped) when the X tools are not installed.
#
# usage: e2e_windows.sh VELKAST_EXE VELKAST_CLI_EXE WAIT_WINDOW_EXE
set -euo pipefail

velkast=$1
cli=$2
wait_window=$3
password='Pässwörd€ñ'
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb xdotool xclip xmodmap wine; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 77; }
done

# $work, fail, wait_for, and $pids: Xvfb and every Velkast.exe started,
# ended on any way out with the prefix's server.
source "$here/../support/e2e.sh"
wait_seconds=20
e2e_cleanup_hook() { WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true; }

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=:$(head -n1 "$work/display")
# Keys for the password's letters beyond ASCII, as a European keyboard has.
free=($(xmodmap -pke | awk 'NF == 3 && $2 > 8 { print $2 }'))
xmodmap -e "keycode ${free[0]} = adiaeresis Adiaeresis" -e "keycode ${free[1]} = odiaeresis Odiaeresis" \
  -e "keycode ${free[2]} = EuroSign" -e "keycode ${free[3]} = ntilde Ntilde"

export VELKAST_WINEPREFIX=$work/prefix
"$here/../../scripts/wine-prefix.sh" "$VELKAST_WINEPREFIX"
run() { "$here/../../cmake/wine-run.sh" "$@"; }

expected=$(printf '%s\n' "$password" | run "$cli" encrypt)
[[ $expected =~ ^[0-9a-f]{32}$ ]] || fail "velkast-cli.exe encrypt gave '$expected'"

# Starts Velkast.exe and gives the keyboard to its desktop; sets $velkast_pid.
start_velkast() {
  run "$velkast" >"$work/velkast.log" 2>&1 &
  velkast_pid=$!
  pids+=("$velkast_pid")
  local desktop
  desktop_shown() { desktop=$(xdotool search --onlyvisible --name 'Wine desktop' | head -n1) && [[ -n $desktop ]]; }
  wait_for desktop_shown || fail "no Wine desktop"
  # The dialog inside it, before a key is typed.
  run "$wait_window" --leave-open "Velkast v1.1" 20 || fail "no dialog in the Wine desktop"
  xdotool windowfocus --sync "$desktop"
}

keys() { xdotool key --delay 50 "$@"; }
clipboard() { xclip -o -selection clipboard 2>/dev/null; }
expect_clipboard() {
  local expected=$1
  wait_for eval '[[ "$(clipboard)" == "$expected" ]]' ||
    fail "$2: the clipboard holds '$(clipboard)', not '$expected'"
}
expect_exit() {
  local status=0
  wait_for eval '! kill -0 '"$velkast_pid"' 2>/dev/null' || fail "Velkast.exe still runs after $1"
  wait "$velkast_pid" || status=$?
  ((status == 0)) || { cat "$work/velkast.log" >&2; fail "Velkast.exe exited with $status after $1"; }
}

start_velkast
# Tab order: input, output, Decrypt, Encrypt. A field reached with Tab has
# its whole text selected.
xdotool type --delay 50 "$password"
keys Return Tab Tab Tab space shift+Tab shift+Tab ctrl+c
expect_clipboard "$expected" "Encrypt"
echo "encrypted: $expected"

printf '%s' "$expected" | xclip -i -selection clipboard
keys shift+Tab ctrl+v Tab Tab Return shift+Tab ctrl+c
expect_clipboard "$password" "Decrypt"
echo "decrypted: $password"

keys alt+F4
expect_exit "Alt+F4"
echo "ended by Alt+F4"

start_velkast
keys Escape
expect_exit "Escape"
echo "ended by Escape"
