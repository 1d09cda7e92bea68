#!/usr/bin/env bash
# Builds the .debs from a build tree, checks them as the Debian archive
# would, then installs them into a scratch root and starts the program as
# people do:
#   - lintian with no error and no warning, for every package; a manual page
#     for every program;
#   - with the dialog program: a valid desktop entry and AppStream metainfo,
#     the theme icons at every size, the font and Qt among its dependencies
#     and qt6-wayland recommended, the version block in the program;
#   - hardened programs: what hardening-check can see in the binaries (PIE,
#     stack protector, fortified functions, read-only relocations, immediate
#     binding), and the stack-clash and control-flow protection it cannot
#     see, in every compile command of the build;
#   - velkast and velkast-cli are the commands on PATH; the desktop entry's
#     Exec line starts the dialog in an X server of its own, and the
#     window's WM_CLASS is the entry's StartupWMClass;
#   - on a Wayland compositor with no X server behind it (sway, headless, as
#     an ordinary user), the window's app_id is the desktop entry's id;
#   - the library's packages (libvelkast1, libvelkast-dev, python3-velkast):
#     their fields, files and dependencies, the library's shlibs, symbols
#     and ldconfig trigger, and its hardening; unpacked, a C program built
#     through pkg-config and through find_package, and a Python script, make
#     and read texts (tests/lib/check-install.sh).
# The desktop entry and metainfo are validated from the build tree too, so
# they stay valid before the program exists.
#
# usage: check-deb.sh BUILD_DIR CPACK_COMMAND VERSION SOURCE_DIR
set -euo pipefail

build=$1 cpack=$2 version=$3 source=$4
# $work, wait_for, and $pids, ended on any way out; a failure here is
# counted and the checks go on.
source "$(dirname "$0")/../support/e2e.sh"
wait_seconds=20
id=org.velkast.Velkast
icon_sizes=(16 24 32 48 64 128 256)
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
# The value of a key of the desktop entry's main group.
desktop_value() { sed -n "s/^$2=//p" "$1" | head -n1; }

# Runs the desktop entry's Exec line as a launcher does, under the command
# given (an environment with the package's programs first on PATH);
# $launched is its process.
launch_entry() {
  local exec
  exec=$(desktop_value "$desktop" Exec | sed 's/ *%[fFuUdDnNickvm]//g')
  "$@" sh -c "exec $exec" >>"$work/launched.log" 2>&1 &
  launched=$!
  pids+=("$launched")
}

# The dialog started from its desktop entry in an X server of its own: its
# window shows, and its WM_CLASS class is the entry's StartupWMClass.
check_x11_start() {
  local display window wm_class
  mkdir -p -m 0700 "$work/runtime"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  pids+=($!)
  wait_for test -s "$work/display" || { fail "Xvfb did not start"; return; }
  display=:$(head -n1 "$work/display")
  launch_entry env PATH="$root/usr/bin:/usr/bin:/bin" DISPLAY="$display" \
    XDG_RUNTIME_DIR="$work/runtime"
  window=$(DISPLAY=$display timeout 20 xdotool search --sync --all --onlyvisible --pid "$launched" \
    --name '^Velkast v1\.1$' | head -n1) || true
  if [[ -z $window ]]; then
    cat "$work/launched.log" >&2
    fail "the desktop entry's Exec line shows no dialog"
    return
  fi
  wm_class=$(DISPLAY=$display xprop -id "$window" WM_CLASS | sed 's/.*= "[^"]*", "\([^"]*\)"/\1/')
  [[ $wm_class == "$(desktop_value "$desktop" StartupWMClass)" ]] ||
    fail "WM_CLASS class '$wm_class' is not the entry's StartupWMClass"
  echo "started from its desktop entry on X11: WM_CLASS class $wm_class"
}

# The dialog started from its desktop entry on a headless sway with no X
# server: its app_id is the entry's id. sway refuses to run as root, so
# there both run as nobody, from a copy of the package readable by all.
check_wayland_start() {
  local dir=$work/wayland as=() wayland ipc app_id
  rm -rf "$dir"
  chmod a+x "$work"  # for nobody, to reach what it runs
  mkdir -p -m 0755 "$dir"
  mkdir -m 0700 "$dir/run"
  cp -a "$root" "$dir/root"
  chmod -R a+rX "$dir/root"
  if ((EUID == 0)); then
    chown nobody "$dir/run"
    as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  fi
  printf 'xwayland disable\noutput HEADLESS-1 resolution 1024x768\n' >"$dir/config"
  "${as[@]}" env -i PATH=/usr/bin:/bin HOME="$dir/run" XDG_RUNTIME_DIR="$dir/run" \
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$dir/config" >"$work/sway.log" 2>&1 &
  pids+=($!)
  sockets_ready() {
    wayland=$(cd "$dir/run" && ls wayland-? 2>/dev/null | head -n1)
    ipc=$(cd "$dir/run" && ls sway-ipc.*.sock 2>/dev/null | head -n1)
    [[ -n $wayland && -n $ipc ]]
  }
  wait_for sockets_ready || { cat "$work/sway.log" >&2; fail "sway did not start"; return; }
  launch_entry "${as[@]}" env -i PATH="$dir/root/usr/bin:/usr/bin:/bin" HOME="$dir/run" \
    XDG_RUNTIME_DIR="$dir/run" XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY="$wayland"
  shown_app_id() {
    app_id=$("${as[@]}" env XDG_RUNTIME_DIR="$dir/run" SWAYSOCK="$dir/run/$ipc" \
      timeout 5 swaymsg -r -t get_tree |
      python3 -c '
import json, sys
def walk(node):
    if node.get("name") == "Velkast v1.1" and node.get("app_id"):
        print(node["app_id"])
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))') && [[ -n $app_id ]]
  }
  if ! wait_for shown_app_id; then
    cat "$work/launched.log" >&2
    fail "no dialog on the Wayland compositor"
    return
  fi
  [[ $app_id == "$id" ]] || fail "the Wayland app_id is '$app_id', not '$id'"
  echo "started from its desktop entry on Wayland (no X server): app_id $app_id"
}

# The library's packages: their fields and files, the library's control
# files and hardening; then, unpacked beside the program, the library used
# as a C program and a Python script use it.
check_library_packages() {
  local row package name section architecture depends files report multiarch
  multiarch=lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)
  for row in "$libdeb|libvelkast1|libs|$arch|libc6 (>= *libstdc++6 (>= *" \
    "$devdeb|libvelkast-dev|libdevel|$arch|libvelkast1 (= $version)" \
    "$pydeb|python3-velkast|python|all|python3:any, libvelkast1 (= $version)"; do
    IFS='|' read -r package name section architecture depends <<<"$row"
    [[ $(dpkg-deb -f "$package" Package Version Section Architecture Source | tr '\n' ' ') == \
      "Package: $name Version: $version Section: $section Architecture: $architecture Source: velkast " ]] ||
      fail "$name: $(dpkg-deb -f "$package" Package Version Section Architecture Source | tr '\n' ' ')"
    # shellcheck disable=SC2053  # a pattern
    [[ $(dpkg-deb -f "$package" Depends) == $depends ]] ||
      fail "$name depends on '$(dpkg-deb -f "$package" Depends)'"
    dpkg-deb -x "$package" "$root"
  done
  files() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort | tr '\n' ' '; }
  [[ $(files "$libdeb") == "./usr/$multiarch/libvelkast.so.1 ./usr/$multiarch/libvelkast.so.$version ./usr/share/doc/libvelkast1/changelog.gz ./usr/share/doc/libvelkast1/copyright " ]] ||
    fail "libvelkast1 holds $(files "$libdeb")"
  [[ $(files "$devdeb") == "./usr/include/velkast.h ./usr/$multiarch/cmake/Velkast/VelkastConfig.cmake ./usr/$multiarch/cmake/Velkast/VelkastConfigVersion.cmake ./usr/$multiarch/cmake/Velkast/VelkastTargets-release.cmake ./usr/$multiarch/cmake/Velkast/VelkastTargets.cmake ./usr/$multiarch/libvelkast.so ./usr/$multiarch/pkgconfig/velkast.pc ./usr/share/doc/libvelkast-dev/changelog.gz ./usr/share/doc/libvelkast-dev/copyright ./usr/share/man/man3/velkast.3.gz " ]] ||
    fail "libvelkast-dev holds $(files "$devdeb")"
  [[ $(files "$pydeb") == "./usr/lib/python3/dist-packages/velkast/__init__.py ./usr/lib/python3/dist-packages/velkast/py.typed ./usr/share/doc/python3-velkast/changelog.gz ./usr/share/doc/python3-velkast/copyright " ]] ||
    fail "python3-velkast holds $(files "$pydeb")"
  # Debian's ldconfig trigger, not ldconfig from maintainer scripts.
  [[ $(dpkg-deb --ctrl-tarfile "$libdeb" | tar -t | LC_ALL=C sort | tr '\n' ' ') == \
    "./control ./md5sums ./shlibs ./symbols ./triggers " ]] || fail "libvelkast1's control files"
  [[ $(dpkg-deb -I "$libdeb" shlibs) == "libvelkast 1 libvelkast1 (>= $version)" ]] ||
    fail "libvelkast1's shlibs: $(dpkg-deb -I "$libdeb" shlibs)"
  [[ $(dpkg-deb -I "$libdeb" triggers) == "activate-noawait ldconfig" ]] || fail "no ldconfig trigger"
  dpkg-deb -I "$libdeb" symbols | grep -qx " velkast_encrypt@VELKAST_1 $version" ||
    fail "libvelkast1's symbols: $(dpkg-deb -I "$libdeb" symbols)"
  # A library has no PIE, and no call whose size its compiler knows to fortify.
  report=$(hardening-check "$root/usr/$multiarch/libvelkast.so.$version") || true
  echo "$report"
  if grep -E 'Stack protected|Read-only relocations|Immediate binding' <<<"$report" |
    grep -vqE ': yes'; then
    fail "libvelkast.so.$version is not hardened"
  fi
  "$source/tests/lib/check-install.sh" "$source" /usr/bin/python3 "$multiarch" \
    lib/python3/dist-packages "$root" || fail "the library as its packages install it"
}

validate_desktop "$source/res/linux/$id.desktop"
validate_metainfo "$build/packaging/$id.metainfo.xml"

umask 022
if ! (cd "$build" && "$cpack" -G DEB -B "$work" >"$work/cpack.log" 2>&1); then
  cat "$work/cpack.log"
  echo "FAIL: cpack" >&2
  exit 1
fi
arch=$(dpkg --print-architecture)
deb=$work/velkast_${version}_$arch.deb
libdeb=$work/libvelkast1_${version}_$arch.deb
devdeb=$work/libvelkast-dev_${version}_$arch.deb
pydeb=$work/python3-velkast_${version}_all.deb
debs=("$deb" "$libdeb" "$devdeb" "$pydeb")
for package in "${debs[@]}"; do
  [[ -f "$package" ]] || { echo "FAIL: no $package" >&2; ls "$work" >&2; exit 1; }
done
[[ $(cd "$work" && ls ./*.deb | wc -l) == "${#debs[@]}" ]] || fail "more packages: $(ls "$work")"
root=$work/root
dpkg-deb -x "$deb" "$root"
for package in "${debs[@]}"; do
  dpkg-deb -I "$package" control
  echo "files:"
  dpkg-deb -c "$package" | awk '{ print "  " $6 }'
done

[[ "$(dpkg-deb -f "$deb" Package)" == velkast ]] || fail "package name"
[[ "$(dpkg-deb -f "$deb" Version)" == "$version" ]] || fail "package version"
[[ "$(dpkg-deb -f "$deb" Section)" == utils ]] || fail "section"

programs=()
for program in "$root"/usr/bin/*; do
  name=$(basename "$program")
  programs+=("$name")
  [[ -f "$root/usr/share/man/man1/$name.1.gz" ]] || fail "no manual page for $name"
  [[ $name == "${name,,}" ]] || fail "$name on PATH is not lower case"
  report=$(hardening-check "$program") || true  # non-zero for the two it cannot see
  echo "$report"
  # hardening-check cannot see stack-clash or control-flow protection on
  # this system even where they are; they are checked in the build below.
  if grep -vE 'Stack clash protection|Control flow integrity' <<<"$report" | grep -E '^ ' |
    grep -vqE ': yes'; then
    fail "$name is not hardened"
  fi
done
echo "programs: ${programs[*]}"
unhardened=$(python3 -c '
import json, sys
for entry in json.load(open(sys.argv[1])):
    if not {"-fstack-clash-protection", "-fcf-protection"} <= set(entry["command"].split()):
        print(entry["file"])' "$build/compile_commands.json")
[[ -z $unhardened ]] || fail "compiled without stack-clash or control-flow protection: $unhardened"
[[ $(PATH=$root/usr/bin:/usr/bin:/bin command -v velkast-cli) == "$root/usr/bin/velkast-cli" ]] ||
  fail "velkast-cli is not the command on PATH"

check_library_packages

if [[ -x "$root/usr/bin/velkast" ]]; then
  [[ $(PATH=$root/usr/bin:/usr/bin:/bin command -v velkast) == "$root/usr/bin/velkast" ]] ||
    fail "velkast is not the command on PATH"
  desktop=$root/usr/share/applications/$id.desktop
  metainfo=$root/usr/share/metainfo/$id.metainfo.xml
  [[ -f "$desktop" ]] && validate_desktop "$desktop" || fail "no desktop entry"
  [[ -f "$metainfo" ]] && validate_metainfo "$metainfo" || fail "no metainfo"
  [[ $(desktop_value "$desktop" Icon) == "$id" ]] || fail "the desktop entry's icon is not $id"
  for size in "${icon_sizes[@]}"; do
    icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
    if [[ ! -f "$icon" ]]; then fail "no ${size}-pixel icon"; continue; fi
    [[ "$(png_size "$icon")" == "${size}x${size}" ]] || fail "$icon is $(png_size "$icon")"
  done
  depends=$(dpkg-deb -f "$deb" Depends)
  grep -q 'fonts-dejavu-core' <<<"$depends" || fail "fonts-dejavu-core not in Depends: $depends"
  grep -q 'libqt6widgets6' <<<"$depends" || fail "Qt 6 Widgets not in Depends: $depends"
  [[ $(dpkg-deb -f "$deb" Recommends) == *qt6-wayland* ]] || fail "qt6-wayland not recommended"
  strings -el "$root/usr/bin/velkast" | grep -qx "$version" || fail "velkast carries no version block"
  check_x11_start
  check_wayland_start
else
  echo "note: the dialog program is not in this build"
fi

# Lintian refuses nothing as root here but says so; keep that line out.
for package in "${debs[@]}"; do
  if ! lintian --fail-on error,warning --tag-display-limit 0 -I "$package" 2> >(grep -v 'root privileges' >&2); then
    fail "lintian $(basename "$package")"
  fi
done

if ((failures)); then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "velkast, libvelkast1, libvelkast-dev and python3-velkast ${version} pass"
