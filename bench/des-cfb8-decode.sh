#!/usr/bin/env bash
# DES-CFB-8 decoding of a 10 MB data document: pavlora-tool data decode
# against "openssl enc -d -des-cfb8" on the same bytes, in the same run.
# Usage: bench/des-cfb8-decode.sh [RUNS] (default 7; the best run counts).
# pavlora decrypts large documents on up to 4 threads; on a single idle core
# the two are about even (both do one DES block per byte).
# Needs the ci build (cmake --preset ci) and openssl with its legacy provider.
set -euo pipefail

runs=${1:-7}
root=$(cd "$(dirname "$0")/.." && pwd)
tool=$root/build/ci/bin/pavlora-tool
cmake --build --preset ci --target pavlora-tool -j2 >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
key_text='bench-key'
key=$(printf '%s' "$key_text" | openssl sha1 -binary | head -c 8 | od -An -tx1 | tr -d ' \n')
ossl=(openssl enc -provider legacy -provider default -nopad -K "$key")
iv=$(head -c 8 /dev/zero | "${ossl[@]}" -des-ecb | od -An -tx1 | tr -d ' \n')

# 10 MiB of plain bytes (decoding does not look at them); the stored document is the DES marker and openssl's ciphertext.
head -c 10485760 /dev/urandom > "$work/plain"
"${ossl[@]}" -des-cfb8 -iv "$iv" -in "$work/plain" -out "$work/body"
{ printf 'KTBr\x3e\xa9\x68\xf5'; cat "$work/body"; } > "$work/stored.dat"

# The two alternate, so that a busy machine slows both alike; the best run
# of each counts, by wall-clock time and by processor time (user + system,
# all threads), which a machine shared with other work disturbs less.
TIMEFORMAT='%R %U %S'
ours=()
theirs=()
for _ in $(seq "$runs"); do
  ours+=("$({ time "$tool" data decode --key "$key_text" "$work/stored.dat" > "$work/ours" 2>/dev/null; } 2>&1)")
  theirs+=("$({ time "${ossl[@]}" -d -des-cfb8 -iv "$iv" -in "$work/body" -out "$work/theirs"; } 2>&1)")
done
best_wall() { printf '%s\n' "$@" | awk '{ print $1 }' | sort -g | head -1; }
best_cpu() { printf '%s\n' "$@" | awk '{ print $2 + $3 }' | sort -g | head -1; }
ours_wall=$(best_wall "${ours[@]}")
theirs_wall=$(best_wall "${theirs[@]}")
ours_cpu=$(best_cpu "${ours[@]}")
theirs_cpu=$(best_cpu "${theirs[@]}")

cmp -s "$work/ours" "$work/plain" || { echo "pavlora-tool decoded different bytes" >&2; exit 1; }
cmp -s "$work/theirs" "$work/plain" || { echo "openssl decoded different bytes" >&2; exit 1; }
echo "DES-CFB-8 decode of 10 MiB, best of $runs:"
echo "  wall clock: pavlora-tool ${ours_wall}s, openssl ${theirs_wall}s"
echo "  processor:  pavlora-tool ${ours_cpu}s, openssl ${theirs_cpu}s"
awk -v a="$ours_wall" -v b="$theirs_wall" -v c="$ours_cpu" -v d="$theirs_cpu" 'BEGIN {
  printf "ratio openssl/pavlora-tool: wall clock %.2f, processor %.2f (above 1: pavlora-tool is faster)\n", b / a, d / c }'
