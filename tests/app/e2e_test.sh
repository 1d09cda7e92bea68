#!/usr/bin/env bash
# The built Velkast in an X server of its own with a window manager, driven
# as a person would: typing, clicking, copying and pasting through the
# clipboard. Checks
#   - a password with characters beyond ASCII encrypts to velkast-cli's text
#     and that text, pasted back, decrypts to the password;
#   - text pasted with its line end (copied from a terminal or a file) is
#     taken without it: the text with "\r\n" decrypts, the password with
#     "\n" encrypts to the same text;
#   - a screen reader (over AT-SPI, on a session bus of the test's own) is
#     told of a dialog with its caption, and of its controls' roles and names;
#   - the window manager's close button ends the program, and so does
#     Escape: the process exits by itself with status 0 and leaves no window;
#   - a second start while one runs opens a second dialog;
#   - without a display, with one that cannot be opened (a stale DISPLAY
#     or WAYLAND_DISPLAY), or without Qt's plugin for it, the program says
#     so in one line and exits with status -1; a plugin that fails once
#     started ends it the same way, not with an abort;
#   - the running program may write no core file (its limit is 0, soft and
#     hard);
#   - the program, run with an empty HOME and empty XDG directories, leaves
#     no file there.
# Exits 77 (skipped) when the X tools are not installed.
#
# usage: e2e_test.sh VELKAST VELKAST_CLI
set -euo pipefail

velkast=$1
cli=$2
password='Pässwörd€ñ'

for tool in Xvfb openbox xdotool xclip xwininfo xprop xmodmap dbus-daemon dbus-send; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is not installed (scripts/packages-test.txt)" >&2
    exit 77
  fi
done

if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "python3-pyatspi is not installed (scripts/packages-test.txt)" >&2
  exit 77
fi

# $work, fail, wait_for (10 s), and $pids: Xvfb, openbox, the session bus and
# every Velkast started, ended on any way out.
source "$(dirname "$0")/../support/e2e.sh"

# --- the X server and the window manager -----------------------------------

# -displayfd: the server picks a free display and writes its number once it
# accepts connections.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for test -s "$work/display" || { cat "$work/xvfb.log" >&2; fail "Xvfb did not start"; }
export DISPLAY=:$(head -n1 "$work/display")

# The window manager keeps its own home, so whatever it writes is not taken
# for the program's.
mkdir -p "$work/wm"
HOME=$work/wm XDG_CONFIG_HOME=$work/wm XDG_CACHE_HOME=$work/wm XDG_DATA_HOME=$work/wm \
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_for wm_ready || { cat "$work/openbox.log" >&2; fail "openbox did not start"; }

# The keyboard gets keys for the password's letters beyond ASCII before the
# program starts, as a European keyboard has them. (Left to xdotool, keys
# would be remapped while typing, and the program could see a letter before
# it has seen the new key map.)
free=($(xmodmap -pke | awk 'NF == 3 && $2 > 8 { print $2 }'))
xmodmap -e "keycode ${free[0]} = adiaeresis Adiaeresis" -e "keycode ${free[1]} = odiaeresis Odiaeresis" \
  -e "keycode ${free[2]} = EuroSign" -e "keycode ${free[3]} = ntilde Ntilde"

# --- a session bus, and a screen reader that says it runs --------------------

# The bus starts the accessibility bus when asked; their files and settings
# stay in a folder of their own.
mkdir -p "$work/bus"
chmod 0700 "$work/bus"
env HOME="$work/bus" XDG_RUNTIME_DIR="$work/bus" GSETTINGS_BACKEND=memory \
  dbus-daemon --session --nofork --print-address=3 3>"$work/bus/address" >"$work/bus/log" 2>&1 &
pids+=($!)
wait_for test -s "$work/bus/address" || { cat "$work/bus/log" >&2; fail "dbus-daemon did not start"; }
export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus/address")
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
  org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:ScreenReaderEnabled \
  variant:boolean:true >/dev/null || fail "the accessibility bus did not start"

# --- the program's empty home ----------------------------------------------

home=$work/home
for dir in home config data state cache runtime; do mkdir -p "$work/$dir"; done
chmod 0700 "$work/runtime"

# Starts Velkast in a clean environment; sets $velkast_pid.
start_velkast() {
  env -i PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb \
    DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" HOME="$home" XDG_CONFIG_HOME="$work/config" \
    XDG_DATA_HOME="$work/data" XDG_STATE_HOME="$work/state" XDG_CACHE_HOME="$work/cache" \
    XDG_RUNTIME_DIR="$work/runtime" \
    ${ASAN_OPTIONS:+ASAN_OPTIONS="$ASAN_OPTIONS"} ${LSAN_OPTIONS:+LSAN_OPTIONS="$LSAN_OPTIONS"} \
    "$velkast" >>"$work/velkast.log" 2>&1 &
  velkast_pid=$!
  pids+=("$velkast_pid")
}

# The dialog window of a process, once it is shown.
dialog_of() {
  local pid=$1 window
  dialog_shown() { window=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Velkast v1\.1$' | head -n1) && [[ -n $window ]]; }
  wait_for dialog_shown || { cat "$work/velkast.log" >&2; fail "no dialog window for process $pid"; }
  echo "$window"
}

# Waits for a process to end by itself; fails unless its status is 0.
expect_exit() {
  local pid=$1 what=$2 status=0
  wait_for eval '! kill -0 '"$pid"' 2>/dev/null' || fail "Velkast still runs after $what"
  wait "$pid" || status=$?
  ((status == 0)) || { cat "$work/velkast.log" >&2; fail "Velkast exited with status $status after $what"; }
}

# No dialog is left on the screen, not even an unmapped one.
expect_no_dialog() {
  ! xdotool search --name '^Velkast v1\.1$' >/dev/null 2>&1 || fail "a dialog window is left after $1"
}

# --- where the controls are ------------------------------------------------

# The dialog's client area is its template's 167 x 149 dialog units in
# pixels, so a control's place in pixels is its place in units scaled by the
# same factors. Each click goes to the middle of a control.
declare -A control=(  # x y cx cy in dialog units, as in res/Velkast.rc
  [input]="7 79 154 14" [output]="7 115 155 14" [decrypt]="110 7 50 14" [encrypt]="110 29 50 14")
# Absolute geometry of a window, from xwininfo: sets geom_x, geom_y,
# geom_width and geom_height. (xdotool counts a reparented window's frame
# offset twice.)
geometry() {
  local info
  info=$(xwininfo -id "$1")
  geom_x=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
  geom_y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
  geom_width=$(sed -n 's/^ *Width: *//p' <<<"$info")
  geom_height=$(sed -n 's/^ *Height: *//p' <<<"$info")
}
click() {
  local window=$1 name=$2 cx cy cw ch
  geometry "$window"
  read -r cx cy cw ch <<<"${control[$name]}"
  xdotool mousemove --sync $((geom_x + (2 * cx + cw) * geom_width / 334)) \
    $((geom_y + (2 * cy + ch) * geom_height / 298)) click 1
}

# Waits until the clipboard holds the expected text; fails with what it held.
clipboard() { xclip -o -selection clipboard 2>/dev/null; }
expect_clipboard() {
  local expected=$1 what=$2
  wait_for eval '[[ "$(clipboard)" == "$expected" ]]' ||
    fail "$what: clipboard holds '$(clipboard)', expected '$expected'"
}

copy_output() {
  click "$1" output
  xdotool key ctrl+a ctrl+c
}

# Puts text on the clipboard as another program does, and waits until it
# holds it.
clipboard_is() { cmp -s <(clipboard) <(printf '%s' "$1"); }
set_clipboard() {
  printf '%s' "$1" | xclip -selection clipboard -i >/dev/null 2>&1
  wait_for clipboard_is "$1" || fail "xclip did not take the clipboard"
}

# Replaces the input field's text with the clipboard's.
paste_input() {
  click "$1" input
  xdotool key ctrl+a ctrl+v
}

# --- no display, or one that cannot be opened --------------------------------

# The framework cannot start without one: exactly one line, naming what is
# missing, and status -1; no dialog and no crash. A stale DISPLAY, left over
# from an ssh session, names a display that no server answers. A plugin that
# loads and then finds no screen (a framebuffer that is not there) fails
# later, inside Qt, after Qt's own warnings: the last line says why.
# The program names itself after its executable, velkast on Linux.
name=$(basename "$velkast")
stale=$((4000 + RANDOM % 1000))
while [[ -e /tmp/.X11-unix/X$stale || -e /tmp/.X$stale-lock ]]; do stale=$((stale + 1)); done
unreachable=(  # environment|what the program says, as a pattern
  "|$name: There is no display to show windows on: neither DISPLAY nor WAYLAND_DISPLAY is set."
  "DISPLAY=:$stale|$name: Cannot open display \":$stale\"."
  "DISPLAY=:$stale QT_QPA_PLATFORM=xcb|$name: Cannot open display \":$stale\"."
  "WAYLAND_DISPLAY=wayland-stale XDG_RUNTIME_DIR=$work/runtime|$name: Cannot open display \"wayland-stale\"."
  "QT_QPA_PLATFORM=bogus|$name: Qt has no platform plugin \"bogus\" to show windows with; the installed ones are *xcb*."
  "QT_QPA_PLATFORM=linuxfb:fb=$work/no-fb XDG_RUNTIME_DIR=$work/runtime|*
$name: The window system failed: Cannot create window: no screens available"
)
for row in "${unreachable[@]}"; do
  vars=${row%%|*} said=${row#*|} status=0
  # shellcheck disable=SC2086  # one word per variable
  env -i PATH=/usr/bin:/bin HOME="$home" $vars ${ASAN_OPTIONS:+ASAN_OPTIONS="$ASAN_OPTIONS"} \
    ${LSAN_OPTIONS:+LSAN_OPTIONS="$LSAN_OPTIONS"} "$velkast" >"$work/no-display.log" 2>&1 || status=$?
  # shellcheck disable=SC2053  # said is a pattern
  ((status == 255)) && [[ $(<"$work/no-display.log") == $said ]] ||
    { cat "$work/no-display.log" >&2; fail "with '$vars': status $status"; }
done
echo "no display, one that cannot be opened, or no plugin for it: one line, status 255"

# --- encrypt, copy, paste, decrypt; then the close button -------------------

expected=$(printf '%s\n' "$password" | "$cli" encrypt)
[[ $expected =~ ^[0-9a-f]{32}$ ]] || fail "velkast-cli encrypt gave '$expected'"

start_velkast
first=$velkast_pid
window=$(dialog_of "$first")
xdotool windowactivate --sync "$window"

# It holds passwords: no core file, whatever limit it was started with.
core_limit=$(awk '/^Max core file size/ { print $5, $6 }' "/proc/$first/limits")
[[ $core_limit == "0 0" ]] || fail "core file limit of the running Velkast: $core_limit"
echo "core file limit: $core_limit"

timeout 30 /usr/bin/python3 "$(dirname "$0")/atspi_tree.py" "$first" ||
  fail "what a screen reader is told"

click "$window" input
xdotool type --delay 20 "$password"
click "$window" encrypt
copy_output "$window"
expect_clipboard "$expected" "Encrypt"
echo "encrypted: $expected"

set_clipboard "$expected"$'\r\n'
paste_input "$window"
click "$window" decrypt
copy_output "$window"
expect_clipboard "$password" "Decrypt"
echo "decrypted: $password (pasted with \\r\\n)"

set_clipboard "$password"$'\n'
paste_input "$window"
click "$window" encrypt
copy_output "$window"
expect_clipboard "$expected" "Encrypt of a password pasted with its line end"
echo "encrypted again: $expected (pasted with \\n)"

# Openbox's close button is the last one on the right of the title bar: a
# square as high as the title, inside the frame's border.
frame=$(xwininfo -tree -id "$window" | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p')
read -r _ _ title _ < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
geometry "$frame"
xdotool mousemove --sync $((geom_x + geom_width - title / 2 - 2)) $((geom_y + title / 2)) click 1
expect_exit "$first" "the close button"
expect_no_dialog "the close button"
echo "closed by the close button"

# --- two at once, each closed with Escape ------------------------------------

start_velkast
first=$velkast_pid
first_window=$(dialog_of "$first")
start_velkast
second=$velkast_pid
second_window=$(dialog_of "$second")
[[ $first_window != "$second_window" ]] || fail "two processes share one window"
echo "two dialogs at once"

for pair in "$first:$first_window" "$second:$second_window"; do
  xdotool windowactivate --sync "${pair#*:}"
  xdotool key Escape
  expect_exit "${pair%%:*}" "Escape"
done
expect_no_dialog "Escape"
echo "closed by Escape"

# --- nothing written ---------------------------------------------------------

# fontconfig, the system's font library under Qt, may keep its cache in
# XDG_CACHE_HOME/fontconfig; that is the library's, not the program's.
written=$(cd "$work" && find home config data state cache runtime -mindepth 1 \
  -not -path 'cache/fontconfig' -not -path 'cache/fontconfig/*')
[[ -z $written ]] || fail "files left behind: $written"
echo "nothing written to HOME or the XDG directories"
