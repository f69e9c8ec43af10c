#!/usr/bin/env bash
# Fuzzes with libFuzzer for a bounded time each: the amount reader and writer, then the reading
# of a saved statement's entries.
# Usage: fuzz.sh [seconds]   (default 60, for each)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" test
build="$root/build/fuzz"
CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQM415_FUZZ=ON -DBUILD_TESTING=OFF -DQM415_WERROR=ON >/dev/null
cmake --build "$build" --target fuzz_money fuzz_statement_file
# target, seconds, seeds, then libFuzzer's own options
fuzz() {
  local corpus="$build/corpus-$1"
  mkdir -p "$corpus"
  "$build/tests/fuzz/$1" -max_total_time="$2" -print_final_stats=1 "${@:4}" \
    "$corpus" "$root/tests/fuzz/$3" 2>&1 | tail -n 12
}
fuzz fuzz_money "${1:-60}" seeds -max_len=256
# Inputs large enough to reach the reader's limits, the format's names to build them from, and a
# failure where reading one takes more memory than a statement's reading may.
fuzz fuzz_statement_file "${1:-60}" statement_seeds -max_len=1048576 \
  -dict="$root/tests/fuzz/statement.dict" -malloc_limit_mb=64 -rss_limit_mb=1024
