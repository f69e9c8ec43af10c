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

# Every process the tests start carries this mark in its environment, daemons started by D-Bus
# activation too (the bus hands its environment on), so whatever still carries it once the tests
# are over was left behind: a bus, a display or a window manager that nobody ended.
QM415_TEST_RUN="$$.$(date +%s%N)"
export QM415_TEST_RUN
left_behind() {
  local found pid
  found=$(grep -lzxF "QM415_TEST_RUN=$QM415_TEST_RUN" /proc/[0-9]*/environ 2>/dev/null || true)
  # Not this script, and not the short-lived helpers of the search itself.
  for pid in $(sed 's|^/proc/||; s|/environ$||' <<<"$found"); do
    [ "$pid" != $$ ] && [ "$pid" != "$BASHPID" ] && kill -0 "$pid" 2>/dev/null && echo "$pid"
  done
  return 0
}

status=0
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600) || status=$?

# A server ended by a test's clean-up may take a moment to go.
for _ in $(seq 30); do [ -z "$(left_behind)" ] && break; sleep 0.1; done
pids=$(left_behind)
if [ -n "$pids" ]; then
  echo "FAIL: the tests left these processes running:" >&2
  # shellcheck disable=SC2086 # one argument per process
  ps -o pid=,ppid=,etime=,args= -p ${pids//$'\n'/,} >&2 || true
  # They are this run's own: end them, so that runs do not pile them up on the machine.
  # shellcheck disable=SC2086
  kill $pids 2>/dev/null || true
  status=1
fi
exit "$status"
