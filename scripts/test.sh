#!/usr/bin/env bash
# Builds qm415 with warnings as errors and runs every test headless.
# Usage: test.sh [--sanitize]   (--sanitize: AddressSanitizer + UndefinedBehaviorSanitizer)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" test

flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM415_WERROR=ON -DQM415_BENCH=ON)
build="$root/build/test"
if [ "${1:-}" = --sanitize ]; then
  flags=(-DCMAKE_BUILD_TYPE=Debug -DQM415_WERROR=ON -DQM415_SANITIZE=ON)
  build="$root/build/sanitize"
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
cmake -S "$root" -B "$build" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$build"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600
