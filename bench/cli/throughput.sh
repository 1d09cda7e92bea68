#!/usr/bin/env bash
# Lines per second through velkast-cli encrypt and decrypt, beside what a
# script would do without it: a shell loop that runs openssl enc once per
# password. Prints one table; exits non-zero when the outputs disagree.
#
# usage: bench/cli/throughput.sh [velkast-cli] [passwords] [openssl sample] [repeats]
#   velkast-cli     the binary (default: build/release/tools/velkast-cli)
#   passwords       random passwords of 8 to 20 characters (default 1000000)
#   openssl sample  how many of them the openssl loop runs (default 500);
#                   its rate is extrapolated to lines per second
#   repeats         runs of each velkast-cli command; the best counts (default 3)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cli=${1:-$root/build/release/tools/velkast-cli}
count=${2:-1000000}
sample=${3:-500}
repeats=${4:-3}
(( sample <= count )) || sample=$count

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The key the way openssl takes it: the built-in pass phrase, read from the
# engine's source, zero-filled to 32 bytes, as hex.
phrase=$(sed -n 's/.*g_szBuiltinPassPhrase\[\] = "\(.*\)";.*/\1/p' "$root/cipher/BuiltinKey.h")
key=$(printf '%s' "$phrase" | od -An -v -tx1 | tr -d ' \n')
while (( ${#key} < 64 )); do key+=00; done

# Printable ASCII passwords; the fixed seed makes runs comparable.
awk -v n="$count" 'BEGIN {
  srand(20240611)
  for (i = 0; i < n; i++) {
    len = 8 + int(rand() * 13); s = ""
    for (j = 0; j < len; j++) s = s sprintf("%c", 33 + int(rand() * 94))
    print s
  }
}' > "$work/passwords"

now() { echo "${EPOCHREALTIME/,/.}"; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

# Best time of the given runs of one velkast-cli command.
best_of() {
  local input=$1 output=$2; shift 2
  local best="" start end t
  for (( r = 0; r < repeats; r++ )); do
    start=$(now)
    "$cli" "$@" < "$input" > "$output"
    end=$(now)
    t=$(elapsed "$start" "$end")
    if [[ -z $best ]] || awk -v t="$t" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$t; fi
  done
  echo "$best"
}

t_enc=$(best_of "$work/passwords" "$work/texts" encrypt)
t_dec=$(best_of "$work/texts" "$work/back" decrypt)
cmp -s "$work/passwords" "$work/back" || { echo "decrypt did not give back the passwords" >&2; exit 1; }

# One openssl process per password, zero-filled to P = (L + 17) - (L + 17) % 16
# bytes, spelled as lowercase hex: what a script would do by hand.
head -n "$sample" "$work/passwords" > "$work/sample"
start=$(now)
while IFS= read -r pw; do
  l=${#pw}
  p=$(( (l + 17) - (l + 17) % 16 ))
  { printf '%s' "$pw"; head -c $(( p - l )) /dev/zero; } |
    openssl enc -aes-256-ecb -nopad -K "$key" | od -An -v -tx1 | tr -d ' \n'
  echo
done < "$work/sample" > "$work/openssl"
end=$(now)
t_ssl=$(elapsed "$start" "$end")
head -n "$sample" "$work/texts" | cmp -s - "$work/openssl" ||
  { echo "openssl's texts differ from velkast-cli's" >&2; exit 1; }

rate() { awk -v n="$1" -v t="$2" 'BEGIN { printf "%.0f", (t > 0 ? n / t : 0) }'; }
printf '%s, %d passwords of 8-20 characters, best of %d runs\n' \
  "$("$cli" --version)" "$count" "$repeats"
printf '%-44s %10s %10s %12s\n' method lines seconds lines/s
printf '%-44s %10d %10s %12s\n' "velkast-cli encrypt" "$count" "$t_enc" "$(rate "$count" "$t_enc")"
printf '%-44s %10d %10s %12s\n' "velkast-cli decrypt" "$count" "$t_dec" "$(rate "$count" "$t_dec")"
printf '%-44s %10d %10s %12s\n' "shell loop, one openssl enc per password" "$sample" "$t_ssl" \
  "$(rate "$sample" "$t_ssl")"
echo "openssl's texts equal velkast-cli's for all $sample sampled passwords"
