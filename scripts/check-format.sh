#!/usr/bin/env bash
# Checks that C++ sources are formatted as .clang-format says; prints what
# clang-format would change and fails if anything. With no arguments it
# checks every C++ file git tracks; given files or folders, only the C++
# files among them.
#
# usage: scripts/check-format.sh [PATH...]
set -euo pipefail
cd "$(dirname "$0")/.."

clang_format=$(command -v clang-format || command -v clang-format-14 || true)
if [[ -z $clang_format ]]; then
  echo "check-format: clang-format is not installed" >&2
  exit 1
fi

mapfile -t files < <(git ls-files -- "$@" | grep -E '\.(c|cc|cpp|cxx|h|hh|hpp)$' || true)
status=0
for file in "${files[@]}"; do
  if ! "$clang_format" --style=file "$file" | diff -u --label "$file" --label "$file (formatted)" "$file" -; then
    status=1
  fi
done
if ((status)); then
  echo "check-format: the files above differ from .clang-format; run clang-format -i on them" >&2
fi
exit "$status"
