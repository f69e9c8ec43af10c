#!/usr/bin/env bash
# Fuzzes the amount reader and writer with libFuzzer for a bounded time.
# Usage: fuzz.sh [seconds]   (default 60)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" test
build="$root/build/fuzz"
CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQM415_FUZZ=ON -DBUILD_TESTING=OFF -DQM415_WERROR=ON >/dev/null
cmake --build "$build" --target fuzz_money
corpus="$build/corpus"
mkdir -p "$corpus"
"$build/tests/fuzz/fuzz_money" -max_total_time="${1:-60}" -max_len=256 -print_final_stats=1 \
  "$corpus" "$root/tests/fuzz/seeds" 2>&1 | tail -n 12
