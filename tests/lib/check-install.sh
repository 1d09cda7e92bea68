#!/usr/bin/env bash
# The library as cmake --install places it, into a prefix of its own, or as
# its packages hold it: the files where a distribution expects them, and
# the README's examples, a C program built through pkg-config and through
# CMake's find_package, and a Python script, each making a text and reading
# it back.
#
# usage: check-install.sh SOURCE_DIR PYTHON LIBDIR PYTHONDIR DIR [BUILD_DIR]
#   with BUILD_DIR: cmake --install BUILD_DIR --prefix DIR first;
#   without: DIR is a root the packages are unpacked into, for /usr.
set -euo pipefail
source=$1 python=$2 libdir=$3 pythondir=$4 dir=$5 build=${6:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [[ -n $build ]]; then
  prefix=$dir sysroot=
  rm -rf "$prefix"
  cmake --install "$build" --prefix "$prefix" >"$work/install.log"
else
  prefix=$dir/usr sysroot=$dir
fi
examples=$source/libvelkast/examples
expected="53877449c8ce5745eefc1ef26d760efa password"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# expect_output WHAT COMMAND...: the example's one line, on standard output.
expect_output() {
  local what=$1 out
  shift
  out=$("$@") || { fail "$what exited with $?"; return; }
  [[ $out == "$expected" ]] || fail "$what printed '$out'"
  echo "$what: $out"
}

for file in include/velkast.h "$libdir/libvelkast.so.1" "$libdir/libvelkast.so" \
  "$libdir/pkgconfig/velkast.pc" "$libdir/cmake/Velkast/VelkastConfig.cmake" \
  "$libdir/cmake/Velkast/VelkastConfigVersion.cmake" "$pythondir/velkast/__init__.py" \
  "$pythondir/velkast/py.typed" share/man/man3/velkast.3; do
  [[ -e $prefix/$file || -e $prefix/$file.gz ]] || fail "not installed: $file"
done

# The packages' velkast.pc names /usr, which is the unpacked root here.
export PKG_CONFIG_PATH=$prefix/$libdir/pkgconfig PKG_CONFIG_SYSROOT_DIR=$sysroot
[[ $(pkg-config --modversion velkast) == 1.0.0.1 ]] || fail "pkg-config's version of velkast"
# shellcheck disable=SC2046  # the flags are words
cc -std=c99 -Wall -Wextra -Wpedantic -Werror -o "$work/example" "$examples/example.c" \
  $(pkg-config --keep-system-cflags --keep-system-libs --cflags --libs velkast)
expect_output "C, through pkg-config" env LD_LIBRARY_PATH="$prefix/$libdir" "$work/example"

cmake -S "$source/tests/lib/consumer" -B "$work/consumer" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" -DEXAMPLE="$examples/example.c" >"$work/consumer.log" 2>&1 &&
  cmake --build "$work/consumer" >>"$work/consumer.log" 2>&1 ||
  { cat "$work/consumer.log" >&2; fail "the CMake consumer did not build"; }
expect_output "C, through find_package(Velkast)" "$work/consumer/example"

expect_output "Python" env PYTHONPATH="$prefix/$pythondir" PYTHONDONTWRITEBYTECODE=1 \
  "$python" "$examples/example.py"

# The README shows the examples tested here, as they stand.
"$python" - "$source/README.md" "$examples/example.c" "$examples/example.py" <<'PY' ||
import sys
readme = open(sys.argv[1]).read()
sys.exit(0 if all(open(path).read() in readme for path in sys.argv[2:]) else 1)
PY
  fail "the README's examples are not libvelkast/examples/example.c and example.py"

((failures == 0)) || exit 1
echo "in $prefix: library, header, pkg-config file, CMake package, Python module, manual page"
