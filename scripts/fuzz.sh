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
# target, longest input, seeds
fuzz() {
  local corpus="$build/corpus-$1"
  mkdir -p "$corpus"
  "$build/tests/fuzz/$1" -max_total_time="${4:-60}" -max_len="$2" -print_final_stats=1 \
    "$corpus" "$root/tests/fuzz/$3" 2>&1 | tail -n 12
}
fuzz fuzz_money 256 seeds "${1:-60}"
fuzz fuzz_statement_file 8192 statement_seeds "${1:-60}"
