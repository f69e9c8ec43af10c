#!/usr/bin/env bash
# shellcheck disable=SC2154 # program, bare and first_frame come from startup.env
# The program's start-up against a bare Qt Widgets window, on one virtual display of its own:
# wall time and processor time to the first frame and the most memory used until then
# (/usr/bin/time), RUNS runs of each taken in turn so that both see the same load, then the
# instructions each runs to its first frame (callgrind, CALLGRIND_RUNS runs of each); first
# without a session bus, then with one.
# Release build, in build/bench; the figures and each run are left in build/bench/startup/.
# Usage: bench/startup.sh [RUNS [CALLGRIND_RUNS]]      (defaults 20 and 3)
# PROGRAM=/path/to/qm415 measures that build of the program instead; BEFORE=/path/to/qm415 measures
# another one as well, in turn with the two others, say a build from before a change.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-20}
callgrind_runs=${2:-3}
"$root/scripts/install-deps.sh" bench

build="$root/build/bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQM415_BENCH=ON \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target qm415 bench_bare_window first_frame
# shellcheck source=/dev/null # written by bench/CMakeLists.txt: program, bare, first_frame
source "$build/bench/startup.env"
program=${PROGRAM:-$program}

out="$build/startup"
rm -rf "$out"
mkdir -p "$out/runtime"
chmod 700 "$out/runtime"
# The end-to-end tests' display and session bus, ended with this script whatever happens.
export ARTIFACTS="$out" QM415_E2E_WM=
# shellcheck source=tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"
start_display
# The runs, the display and the buses go before other work on the machine where that may be
# asked for (as root): a real-time priority, so that other work does not come in between. None of
# them keeps a processor busy for long; each run ends at its first frame.
boost=()
if [ "$(id -u)" -eq 0 ]; then
  boost=(chrt --fifo 10)
  chrt --fifo --pid 10 "$XVFB_PID"
fi
export LANG=en_US.UTF-8 XDG_RUNTIME_DIR="$out/runtime" QT_QPA_PLATFORM=xcb
unset LC_ALL QT_LINUX_ACCESSIBILITY_ALWAYS_ON QT_ACCESSIBILITY

median() { sort -g | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# The median of one column of one program's lines in a file of results.
median_of() { awk -v who="$1" -v n="$3" '$1 == who { print $n }' "$2" | median; }

# One start to the first frame: prints the milliseconds it took, the milliseconds of processor
# time it used, and the most memory, in KiB.
start_once() {
  local times
  times=$("${boost[@]}" "$first_frame" /usr/bin/time -f %M -o "$out/rss" "$1") ||
    fail "$1 did not reach its first frame"
  echo "$times $(tail -n1 "$out/rss")"
}

# Instructions to the end of the first flush of a window to the screen, that is, to the first
# frame; the run is ended there.
instructions_once() {
  local file="$out/callgrind.$2" pid
  valgrind --tool=callgrind --dump-after='QBackingStore::flush*' --callgrind-out-file="$file" \
    "$1" >"$file.log" 2>&1 &
  pid=$!
  for _ in $(seq 1200); do grep -qs '^totals:' "$file.1" && break; sleep 0.1; done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  grep -qs '^totals:' "$file.1" || fail "$1 did not reach its first frame under callgrind"
  awk '/^totals:/ { print $2 }' "$file.1"
}

# The programs measured, in turn, against the bare window.
names=(bare program)
if [ -n "${BEFORE:-}" ]; then
  # shellcheck disable=SC2034 # read as ${!who}
  before=$BEFORE
  names+=(before)
fi

measure() {
  local key=$1 title=$2 i k who result
  # A first run of each, not counted, brings the files into the page cache.
  for who in "${names[@]}"; do start_once "${!who}" >/dev/null; done
  for i in $(seq "$runs"); do
    # Each takes its turn first.
    for k in "${!names[@]}"; do
      who=${names[$(((i + k) % ${#names[@]}))]}
      result=$(start_once "${!who}")
      echo "$who $result" >>"$out/$key.runs"
    done
  done
  for i in $(seq "$callgrind_runs"); do
    for who in "${names[@]}"; do
      result=$(instructions_once "${!who}" "$key.$who.$i")
      echo "$who $result" >>"$out/$key.instructions"
    done
  done

  echo "$title (medians of $runs runs each, callgrind of $callgrind_runs):" |
    tee -a "$out/summary.txt"
  local ms cpu kib ir
  for who in "${names[@]}"; do
    ms=$(median_of "$who" "$out/$key.runs" 2)
    cpu=$(median_of "$who" "$out/$key.runs" 3)
    kib=$(median_of "$who" "$out/$key.runs" 4)
    ir=$(median_of "$who" "$out/$key.instructions" 2)
    if [ "$who" = bare ]; then
      bare_ms=$ms bare_cpu=$cpu bare_kib=$kib bare_ir=$ir
      printf "  %-12s wall %.1f ms, processor %.1f ms, memory %.1f MiB, %.1f M instructions\n" \
        "bare window:" "$ms" "$cpu" "$(echo "$kib" | awk '{ print $1 / 1024 }')" \
        "$(echo "$ir" | awk '{ print $1 / 1e6 }')"
    else
      awk -v who="$who:" -v ms="$ms" -v cpu="$cpu" -v kib="$kib" -v ir="$ir" -v bms="$bare_ms" \
        -v bcpu="$bare_cpu" -v bkib="$bare_kib" -v bir="$bare_ir" 'BEGIN {
          printf "  %-12s wall %.1f ms (%.2fx), processor %.1f ms (%.2fx), memory %+.1f MiB, " \
            "%.1f M instructions (%+.1f M)\n", who, ms, ms / bms, cpu, cpu / bcpu,
            (kib - bkib) / 1024, ir / 1e6, (ir - bir) / 1e6
        }'
    fi
  done | tee -a "$out/summary.txt"
}

# No session bus: an address where none answers, so that nothing starts one either.
DBUS_SESSION_BUS_ADDRESS="unix:path=$out/no-bus"
export DBUS_SESSION_BUS_ADDRESS
measure no-bus "without a session bus"
# A session bus with the accessibility bus on it, as on a desktop.
start_session_bus
if [ ${#boost[@]} -gt 0 ]; then
  for pid in "$BUS_PID" "$ATSPI_PID" "$REGISTRY_PID"; do chrt --fifo --pid 10 "$pid"; done
fi
measure bus "with a session bus"
