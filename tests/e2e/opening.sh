#!/usr/bin/env bash
# Files from others on the real program: a name that is markup is said as it is written, the
# window answers a screen reader while a file is being read, the reader of a file ends with the
# program, also when the program is killed, and a file dragged in during a read waits its turn.
source "$(dirname "$0")/lib.sh"
start_display
S="Financial Statement"

name="$ARTIFACTS/<b>PAID</b> <i>IN FULL</i>.pdf"
start_program "$name"
win=$(wait_window "$S")
wait_window "Open" >/dev/null
told="The file \"$name\" could not be opened: No such file or directory."
atspi expect "Open" "$told=$told" || fail "the name of the file was not said as it is written"
keys Return
wait_no_window "Open"
kill "$APP_PID"; wait "$APP_PID" 2>/dev/null || true

# A reader that never answers, in place of poppler's.
mkdir -p "$ARTIFACTS/bin"
printf '#!/bin/sh\necho $$ >"%s/reader.pid"\nexec sleep 60\n' "$ARTIFACTS" >"$ARTIFACTS/bin/pdfinfo"
chmod +x "$ARTIFACTS/bin/pdfinfo"
printf '%%PDF-1.4\n%%%%EOF\n' >"$ARTIFACTS/slow.pdf"
PATH="$ARTIFACTS/bin:$PATH" start_program "$ARTIFACTS/slow.pdf"
win=$(wait_window "$S")
for _ in $(seq 50); do [ -s "$ARTIFACTS/reader.pid" ] && break; sleep 0.1; done
reader=$(cat "$ARTIFACTS/reader.pid" 2>/dev/null) || fail "the program did not start reading the file"
atspi answers "$S" 500 || fail "while a file was read the window did not answer a screen reader"
kill -9 "$APP_PID"; wait "$APP_PID" 2>/dev/null || true
APP_PID=
for _ in $(seq 20); do kill -0 "$reader" 2>/dev/null || break; sleep 0.1; done
kill -0 "$reader" 2>/dev/null && { kill "$reader"; fail "the reader outlived the program"; }
# A second file dragged onto the window while the first is still being read waits its turn, and
# keys typed meanwhile are refused: the first opens, then the second after its question.
PATH="$ARTIFACTS/bin:$PATH" # a stand-in reader that never answers is no longer wanted
rm "$ARTIFACTS/bin/pdfinfo"
start_program
win=$(wait_window "$S")
sleep 0.5
keys Tab # into the station list, where Clear puts the focus again
for station in 1 2; do
  for _ in $(seq "$station"); do keys Down; done
  keys Tab Down
  keys ctrl+s
  choose_file "Save the Statement as PDF" "$ARTIFACTS/station$station.pdf"
  keys alt+l
  wait_window "Form QM-415" >/dev/null
  keys Return
  wait_no_window "Form QM-415"
  focus_window "$win"
done
kill "$APP_PID"; wait "$APP_PID" 2>/dev/null || true
printf '#!/bin/sh\nsleep 3\nexec %s "$@"\n' "$(command -v pdfinfo)" >"$ARTIFACTS/bin/pdfinfo"
chmod +x "$ARTIFACTS/bin/pdfinfo"
PATH="$ARTIFACTS/bin:$PATH" start_program "$ARTIFACTS/station1.pdf"
win=$(wait_window "$S")
drag_onto "$win" "$ARTIFACTS/station2.pdf"
wait_window "Form QM-415" >/dev/null
atspi expect "$S" "Financial Statement For:=Financial Statement For: Station 1" ||
  fail "the first file was not opened first"
keys Return
wait_no_window "Form QM-415"
atspi expect "$S" "Financial Statement For:=Financial Statement For: Station 2" "Balance carried forward=" \
  "Month Ending:=Month Ending: January" || fail "the file dragged in during the read did not open in its turn"
echo "opening: a name of markup said as written, the window heard while reading, the reader gone with the program"
