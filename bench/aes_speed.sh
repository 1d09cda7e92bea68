#!/usr/bin/env bash
# AES-256 block cipher speed in one table: instructions per block (callgrind,
# repeatable whatever the machine is doing) and MB/s against OpenSSL's
# generic, non-AES-NI code path, measured side by side in one run.
#
#   bench/aes_speed.sh [build-dir]     (default build/release, -O2)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
if [[ ! -x $build/bench/velkast_cipher_bench ]]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELKAST_BUILD_BENCH=ON >/dev/null
fi
cmake --build "$build" --target velkast_cipher_bench velkast_aes_workload >/dev/null

workload=$build/bench/velkast_aes_workload
bench=$build/bench/velkast_cipher_bench
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Instructions inside one function, per call of the work unit.
count_ir() {  # function-pattern mode units
  valgrind --tool=callgrind --callgrind-out-file="$tmp/cg.out" \
    --toggle-collect="$1" "$workload" "$2" "$3" >/dev/null 2>&1
  local total
  total=$(awk '/^totals:/ {print $2}' "$tmp/cg.out")
  awk -v t="$total" -v n="$3" 'BEGIN { printf "%.0f", t / n }'
}

enc_ir=$(count_ir 'CAesTextCipher::EncryptBuffer*' encrypt 20000)
dec_ir=$(count_ir 'CAesTextCipher::DecryptBuffer*' decrypt 20000)
key_ir=$(count_ir 'CAesTextCipher::ExpandKey*' expand 20000)

# Bytes per second of one benchmark, from Google Benchmark's CSV.
mbps() {  # csv-file name
  awk -F, -v name="\"$2\"" '$1 == name { printf "%.1f", $6 / 1e6 }' "$1"
}

# Repetitions of all four run interleaved in random order, so that other
# load on the machine falls on Velkast and OpenSSL alike.
run_bench() {  # output-file filter [env...]
  local out=$1 filter=$2; shift 2
  env "$@" "$bench" --benchmark_filter="$filter" --benchmark_repetitions=9 \
    --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    sed -n '/^name,/,$p' | sed 's/_median"/"/' > "$out"
}
run_bench "$tmp/generic.csv" 'Buffer256' OPENSSL_ia32cap='~0x200020200000000'
run_bench "$tmp/native.csv" 'OpenSslBuffer256'

enc=$(mbps "$tmp/generic.csv" EncryptBuffer256)
dec=$(mbps "$tmp/generic.csv" DecryptBuffer256)
ossl_enc=$(mbps "$tmp/generic.csv" OpenSslBuffer256/1)
ossl_dec=$(mbps "$tmp/generic.csv" OpenSslBuffer256/0)
ni_enc=$(mbps "$tmp/native.csv" OpenSslBuffer256/1)

# The flags the engine was compiled with, as the build recorded them.
flags=$(awk -F'"' '/AesBlockCipher.cpp.o -c/ { n = split($4, w, " "); for (i = 1; i <= n; ++i)
  if (w[i] ~ /^-(O|march|mtune)/) printf "%s ", w[i]; exit }' "$build/compile_commands.json")
compiler=$(awk -F= '/^CMAKE_CXX_COMPILER:/ { print $2 }' "$build/CMakeCache.txt")
printf '%-34s %s\n' "build" "$("$compiler" -dumpfullversion 2>/dev/null | sed "s|^|$(basename "$compiler") |") ${flags% }"
[[ " $flags" == *" -O2 "* ]] ||
  echo "warning: the engine was not built with -O2; check CMAKE_CXX_FLAGS_RELEASE in $build" >&2
printf '%-34s %12s %12s\n' "AES-256" "encrypt" "decrypt"
printf '%-34s %12s %12s\n' "instructions per block (callgrind)" "$enc_ir" "$dec_ir"
printf '%-34s %12s\n' "instructions per ExpandKey" "$key_ir"
printf '%-34s %12s %12s\n' "Velkast MB/s (median of 9)" "$enc" "$dec"
printf '%-34s %12s %12s\n' "OpenSSL generic MB/s" "$ossl_enc" "$ossl_dec"
awk -v a="$enc" -v b="$ossl_enc" -v c="$dec" -v d="$ossl_dec" \
  'BEGIN { printf "%-34s %12.2f %12.2f\n", "ratio to OpenSSL generic", a / b, c / d }'
printf '%-34s %12s\n' "OpenSSL with AES-NI MB/s" "$ni_enc"
# The generic path is several times slower than AES-NI; if not, the
# capability mask did not take effect and the ratios mean nothing.
awk -v g="$ossl_enc" -v n="$ni_enc" 'BEGIN { if (g * 3 > n) { print "warning: OPENSSL_ia32cap did not take effect" > "/dev/stderr"; exit 1 } }'
