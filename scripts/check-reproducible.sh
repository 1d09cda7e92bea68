#!/usr/bin/env bash
# Checks that the same source gives the same bytes: builds what is shipped
# (the .debs; the Windows ZIP and installer) in a temporary folder of its own
# with another time zone, locale and umask, and compares it, artefact by
# artefact, with a first build:
#
#   scripts/check-reproducible.sh                     builds both
#   scripts/check-reproducible.sh LINUX_DIR WINDOWS_DIR
#                                                     the first build is the
#                                                     given release trees (as
#                                                     scripts/test.sh makes
#                                                     them from a clean clone)
#
# Compared: every .deb (the program's and the library's) and every file in
# it, velkast-1.0.0.1-win64.zip and .exe, and Velkast.exe, velkast-cli.exe
# and velkast.dll as built. On a difference it
# names the artefact and shows what differs in it (diffoscope, when
# installed, else the first differing bytes), and exits 1.
set -euo pipefail
cd "$(dirname "$0")/.."
source=$PWD
# Both builds take the time of the same commit.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || true)}
[[ -n $SOURCE_DATE_EPOCH ]] || unset SOURCE_DATE_EPOCH
export SOURCE_DATE_EPOCH

work=$(mktemp -d "${TMPDIR:-/tmp}/velkast-reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT

# build LINUX_DIR WINDOWS_DIR: the shipped programs and their packages.
build() {
  cmake -S "$source" -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELKAST_BUILD_TESTS=OFF >/dev/null
  cmake --build "$1" >/dev/null
  cmake -S "$source" -B "$2" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$source/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DVELKAST_BUILD_TESTS=OFF >/dev/null
  cmake --build "$2" >/dev/null
}
# package DIR GENERATOR...: the packages of a tree, into DIR/packages.
package() {
  local dir=$1 generator
  shift
  for generator in "$@"; do
    (cd "$dir" && cpack -G "$generator" -B "$dir/packages" >/dev/null)
  done
}

start=$SECONDS
if (($# == 2)); then
  first_linux=$(cd "$1" && pwd) first_windows=$(cd "$2" && pwd)
  # Up to date with the source (nothing to do after scripts/test.sh).
  cmake --build "$first_linux" >/dev/null
  cmake --build "$first_windows" >/dev/null
else
  first_linux=$work/a/linux first_windows=$work/a/windows
  (umask 022 && TZ=UTC LC_ALL=C.UTF-8 build "$first_linux" "$first_windows")
fi
rm -rf "$first_linux/packages" "$first_windows/packages"
(umask 022 && TZ=UTC LC_ALL=C.UTF-8 package "$first_linux" DEB && package "$first_windows" ZIP NSIS)

# The second build: another folder, time zone, locale and umask, later.
second_linux=$work/second-build-in-another-folder/linux
second_windows=$work/second-build-in-another-folder/windows
(umask 077 && TZ=Pacific/Chatham LC_ALL=C build "$second_linux" "$second_windows" &&
  package "$second_linux" DEB && package "$second_windows" ZIP NSIS)

differences=0
# compare NAME FIRST SECOND
compare() {
  if cmp -s "$2" "$3"; then
    echo "same: $1"
    return
  fi
  differences=$((differences + 1))
  echo "DIFFERENT: $1" >&2
  if command -v diffoscope >/dev/null; then
    timeout 120 diffoscope --no-progress --max-report-size 20000 "$2" "$3" >&2 || true
  else
    cmp "$2" "$3" | head -n 5 >&2 || true
  fi
}

debs=$(cd "$first_linux/packages" && ls ./*.deb)
[[ $debs == "$(cd "$second_linux/packages" && ls ./*.deb)" ]] ||
  { echo "the two builds make other packages" >&2; differences=$((differences + 1)); }
for deb in $debs; do
  deb=${deb#./}
  compare "$deb" "$first_linux/packages/$deb" "$second_linux/packages/$deb"
  rm -rf "$work/deb1" "$work/deb2"
  mkdir -p "$work/deb1" "$work/deb2"
  dpkg-deb -x "$first_linux/packages/$deb" "$work/deb1"
  dpkg-deb -x "$second_linux/packages/$deb" "$work/deb2"
  (cd "$work/deb1" && find . -type f | LC_ALL=C sort) >"$work/deb-files"
  while read -r file; do
    compare "$deb: ${file#./}" "$work/deb1/$file" "$work/deb2/$file"
  done <"$work/deb-files"
done
for package in "$first_windows"/packages/velkast-*-win64.{zip,exe}; do
  name=$(basename "$package")
  compare "$name" "$package" "$second_windows/packages/$name"
done
for program in app/Velkast.exe tools/velkast-cli.exe libvelkast/velkast.dll; do
  compare "$program" "$first_windows/$program" "$second_windows/$program"
done
for sums in "$first_linux/packages" "$first_windows/packages"; do
  (cd "$sums" && sha256sum --quiet -c SHA256SUMS) || { echo "SHA256SUMS do not match in $sums" >&2; differences=$((differences + 1)); }
done

echo "reproducibility checked in $((SECONDS - start)) s"
if ((differences)); then
  echo "$differences artefact(s) differ between two builds of the same source" >&2
  exit 1
fi
echo "two builds of the same source give the same bytes"
