#!/usr/bin/env bash
# Builds the data-document fuzz target with clang and libFuzzer and runs it
# by hand. Usage: fuzz/run-fuzzer.sh [SECONDS] (default 600).
#
# New inputs that add coverage are merged into fuzz/corpus/data-document;
# crash, leak and time-out inputs land in fuzz/crashes/data-document. Commit
# both: the test run replays them (data_tests, FuzzCorpusReplay).
set -euo pipefail

seconds=${1:-600}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz
corpus=$root/fuzz/corpus/data-document
crashes=$root/fuzz/crashes/data-document

# The fuzzing toolchain is not part of the normal build's dependencies.
missing=()
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then as_root=(); else as_root=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${as_root[@]}" apt-get -o DPkg::Lock::Timeout=600 update -q
  "${as_root[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
fi

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -g -O1"
cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DPAVLORA_FUZZ=ON -DPAVLORA_BUILD_TESTS=OFF -DPAVLORA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target data_document_fuzzer -j2

work=$build/corpus-work
mkdir -p "$work" "$crashes"
cp -n "$corpus"/* "$work"/ 2>/dev/null || true

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
"$build/fuzz/data_document_fuzzer" "$work" "$corpus" \
  -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$crashes/" -print_final_stats=1 || status=$?

# Keep only what adds coverage to the committed corpus.
"$build/fuzz/data_document_fuzzer" -merge=1 "$corpus" "$work" >/dev/null 2>&1 || true
echo "run-fuzzer: corpus $(ls "$corpus" | wc -l) inputs, findings $(ls "$crashes" | wc -l) (exit $status)"
exit $status
