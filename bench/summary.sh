#!/usr/bin/env bash
# shellcheck disable=SC2154 # program and make_statements come from summary.env
# The summary of a year of saved statements (34 stations by 12 months, 408 files, made by
# make_statements as Ctrl+S saves them) written as CSV without a window, against poppler's
# pdfinfo -meta over the same files two at a time: the least any summary must do, since the
# program reads each file with it. RUNS runs of each, in turn, so that both see the same load;
# each run of the summary must exit 0 and write a row for each file and the totals.
# The figures: the median wall times and their ratio, at most 1.2; the most memory the summary
# holds (/usr/bin/time's maximum resident set, which is the program's: its readers are smaller)
# above that of the same command over no file at all, at most 50 MiB. Exits 1 when either is
# above its bound, 2 when the benchmark itself cannot run.
# Release build, in build/bench; the statements, each run and the figures are left in
# build/bench/summary/.
# Usage: bench/summary.sh [RUNS]      (default 5)
set -euo pipefail
shopt -s inherit_errexit
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
"$root/scripts/install-deps.sh" bench

build="$root/build/bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQM415_BENCH=ON \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target qm415 make_statements
# shellcheck source=/dev/null # written by bench/CMakeLists.txt: program, make_statements
source "$build/bench/summary.env"

fail() { echo "summary.sh: $*" >&2; exit 2; }

out="$build/summary"
statements="$out/statements"
rm -rf "$out"
mkdir -p "$out/empty" "$out/runtime" "$out/cache"
chmod 700 "$out/runtime"
# Whatever the toolkit or fontconfig would keep goes here, not into the user's folders; no print
# system answers at CUPS_SERVER.
export LANG=en_US.UTF-8 XDG_RUNTIME_DIR="$out/runtime" XDG_CACHE_HOME="$out/cache" \
  CUPS_SERVER="$out/no-print-system.sock"
unset LC_ALL

"$make_statements" "$statements" || fail "make_statements could not make the statements"
files=$(find "$statements" -name '*.pdf' | wc -l)
[ "$files" -eq 408 ] || fail "make_statements made $files statements, not 408"

now() { echo "${EPOCHREALTIME/[.,]/}"; } # microseconds

# The files read by pdfinfo, two at a time; prints the seconds it took.
pdfinfo_once() {
  local start
  start=$(now)
  # shellcheck disable=SC2011 # the files' names are the tool's own: no space, no newline
  ls "$statements"/*.pdf | xargs -P2 -n1 pdfinfo -meta >/dev/null ||
    fail "pdfinfo could not read every statement"
  echo "$start $(now)" | awk '{ printf "%.3f\n", ($2 - $1) / 1e6 }'
}

# The summary as CSV; prints the seconds it took and the most memory it held, in KiB.
summary_once() {
  local start status=0 end rows
  rm -f "$out/summary.csv"
  start=$(now)
  /usr/bin/time -f %M -o "$out/rss" "$program" --summary "$statements" --csv "$out/summary.csv" \
    2>"$out/summary.errors" || status=$?
  end=$(now)
  [ "$status" -eq 0 ] ||
    fail "the summary exited with status $status, not 0:"$'\n'"$(head -n5 "$out/summary.errors")"
  # The header, a row for each file and the totals, each ended by CR LF.
  rows=$(grep -c $'\r$' "$out/summary.csv")
  [ "$rows" -eq $((files + 2)) ] || fail "the summary's CSV has $rows lines, not $((files + 2))"
  grep -q "^Total,,$files of $files statements add up," "$out/summary.csv" ||
    fail "the summary's totals row does not count every statement"
  echo "$start $end $(tail -n1 "$out/rss")" | awk '{ printf "%.3f %d\n", ($2 - $1) / 1e6, $3 }'
}

# The same command over no file: the program as it starts, doing the least it can.
baseline_once() {
  /usr/bin/time -f %M -o "$out/rss" "$program" --summary "$out/empty" --csv /dev/null ||
    fail "the summary of no file exited with status $?"
  tail -n1 "$out/rss"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# A first run of each, not counted, brings the files and the programs into the page cache.
pdfinfo_once >/dev/null
summary_once >/dev/null
# One run: its figures on a line of their own, after its name.
record() {
  local figures
  figures=$("$1_once")
  echo "$1 $figures" >>"$out/runs"
}
for i in $(seq "$runs"); do
  # Each takes its turn first.
  if [ $((i % 2)) -eq 1 ]; then
    record pdfinfo
    record summary
  else
    record summary
    record pdfinfo
  fi
  record baseline
done

pdfinfo_s=$(awk '$1 == "pdfinfo" { print $2 }' "$out/runs" | median)
summary_s=$(awk '$1 == "summary" { print $2 }' "$out/runs" | median)
summary_kib=$(awk '$1 == "summary" { print $3 }' "$out/runs" | median)
baseline_kib=$(awk '$1 == "baseline" { print $2 }' "$out/runs" | median)
awk -v n="$runs" -v files="$files" -v p="$pdfinfo_s" -v s="$summary_s" -v kib="$summary_kib" \
  -v base="$baseline_kib" 'BEGIN {
    ratio = s / p; above = (kib - base) / 1024
    printf "summary of %d statements (medians of %d runs): pdfinfo -meta x2 %.2f s, summary " \
      "--csv %.2f s, %.2fx (at most 1.2x); memory %.1f MiB, %+.1f MiB above the %.1f MiB of " \
      "no file (at most 50 MiB)\n", files, n, p, s, ratio, kib / 1024, above, base / 1024
    exit !(ratio <= 1.2 && above <= 50)
  }' | tee "$out/figures.txt"
