#!/usr/bin/env bash
# Files from others on the real program: a name that is markup is said as it is written, the
# window answers a screen reader while a file is being read, and the reader of a file ends with
# the program, also when the program is killed.
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
echo "opening: a name of markup said as written, the window heard while reading, the reader gone with the program"
