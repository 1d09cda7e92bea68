#!/usr/bin/env bash
# Builds the .deb from a build tree and checks it as the Debian archive
# would: lintian with no error and no warning, a manual page for every
# program, and, when the dialog program is in it, a valid desktop entry, valid
# AppStream metainfo, the theme icons at 16, 32 and 48 pixels, the font and
# Qt among its dependencies, the version block in the program, and the
# packaged program showing its dialog in an X server of its own. The desktop
# entry and metainfo are validated from the build tree too, so they stay
# valid before the program exists.
#
# usage: check-deb.sh BUILD_DIR CPACK_COMMAND VERSION SOURCE_DIR
set -euo pipefail

build=$1 cpack=$2 version=$3 source=$4
work=$build/packaging-test
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Warnings and errors fail; hints and pedantic notes are only shown.
validate_desktop() {
  local out
  out=$(desktop-file-validate "$1" 2>&1) || true
  [[ -n "$out" ]] && echo "$out"
  if grep -qE ': (error|warning): ' <<<"$out"; then fail "desktop-file-validate $1"; fi
}
validate_metainfo() {
  local out
  if ! out=$(appstreamcli validate --no-net --no-color "$1" 2>&1); then
    echo "$out"; fail "appstreamcli validate $1"; return
  fi
  echo "$out"
  if grep -qE '^[EW]: ' <<<"$out"; then fail "appstreamcli validate $1"; fi
}
# Width and height of a PNG, from its IHDR chunk.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ print ($1*16777216 + $2*65536 + $3*256 + $4) "x" ($5*16777216 + $6*65536 + $7*256 + $8) }'
}

# Starts a dialog program in an X server of its own and waits until its
# window is shown; the program is then ended. Without Xvfb or xdotool it
# only says so.
shows_dialog() {
  local program=$1 display xvfb pid shown=1
  if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
    echo "note: Xvfb or xdotool is missing: $program was not started"
    return 0
  fi
  mkdir -p -m 0700 "$work/runtime"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
  if [[ -s $work/display ]]; then
    display=:$(head -n1 "$work/display")
    DISPLAY=$display XDG_RUNTIME_DIR=$work/runtime "$program" &
    pid=$!
    DISPLAY=$display timeout 20 xdotool search --sync --all --onlyvisible --pid "$pid" \
      --name '^Velkast v1\.1$' >/dev/null && shown=0
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  return $shown
}

validate_desktop "$source/res/linux/org.velkast.Velkast.desktop"
validate_metainfo "$build/packaging/org.velkast.Velkast.metainfo.xml"

rm -rf "$work"
mkdir -p "$work"
umask 022
if ! (cd "$build" && "$cpack" -G DEB -B "$work" >"$work/cpack.log" 2>&1); then
  cat "$work/cpack.log"
  echo "FAIL: cpack" >&2
  exit 1
fi
deb=$work/velkast_${version}_$(dpkg --print-architecture).deb
[[ -f "$deb" ]] || { echo "FAIL: no $deb" >&2; ls "$work" >&2; exit 1; }
root=$work/root
dpkg-deb -x "$deb" "$root"
dpkg-deb -I "$deb" control

[[ "$(dpkg-deb -f "$deb" Package)" == velkast ]] || fail "package name"
[[ "$(dpkg-deb -f "$deb" Version)" == "$version" ]] || fail "package version"
[[ "$(dpkg-deb -f "$deb" Section)" == utils ]] || fail "section"

programs=()
for program in "$root"/usr/bin/*; do
  name=$(basename "$program")
  programs+=("$name")
  [[ -f "$root/usr/share/man/man1/$name.1.gz" ]] || fail "no manual page for $name"
done
echo "programs: ${programs[*]}"
[[ -x "$root/usr/bin/velkast-cli" ]] || echo "note: velkast-cli is not in this build"

if [[ -x "$root/usr/bin/Velkast" ]]; then
  desktop=$root/usr/share/applications/org.velkast.Velkast.desktop
  metainfo=$root/usr/share/metainfo/org.velkast.Velkast.metainfo.xml
  [[ -f "$desktop" ]] && validate_desktop "$desktop" || fail "no desktop entry"
  [[ -f "$metainfo" ]] && validate_metainfo "$metainfo" || fail "no metainfo"
  for size in 16 32 48; do
    icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/org.velkast.Velkast.png
    if [[ ! -f "$icon" ]]; then fail "no ${size}-pixel icon"; continue; fi
    [[ "$(png_size "$icon")" == "${size}x${size}" ]] || fail "$icon is $(png_size "$icon")"
  done
  depends=$(dpkg-deb -f "$deb" Depends)
  grep -q 'fonts-dejavu-core' <<<"$depends" || fail "fonts-dejavu-core not in Depends: $depends"
  grep -q 'libqt6widgets6' <<<"$depends" || fail "Qt 6 Widgets not in Depends: $depends"
  strings -el "$root/usr/bin/Velkast" | grep -qx "$version" || fail "Velkast carries no version block"
  if shows_dialog "$root/usr/bin/Velkast"; then
    echo "the packaged Velkast shows its dialog"
  else
    fail "the packaged Velkast shows no dialog"
  fi
else
  echo "note: the dialog program is not in this build"
fi

# Lintian refuses nothing as root here but says so; keep that line out.
if ! lintian --fail-on error,warning --tag-display-limit 0 -I "$deb" 2> >(grep -v 'root privileges' >&2); then
  fail "lintian"
fi

if ((failures)); then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "velkast_${version} passes"
