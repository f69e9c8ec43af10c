#!/usr/bin/env bash
# Printing for real: a CUPS scheduler of the test's own with a default CUPS-PDF queue, the real
# program printing a calculated statement, the PDF read back; then the same with no printer.
# Needs root (CUPS administration), as on the test machines.
source "$(dirname "$0")/lib.sh"
[ "$(id -u)" -eq 0 ] || fail "printing tests administer CUPS and must run as root"
# The machine has one scheduler: two printing tests at once would share its queue.
exec 9>/tmp/qm415-cups.lock
flock -w 900 9 || fail "another printing test held the CUPS lock for 15 minutes"

scheduler_running() { lpstat -r 2>/dev/null | grep -q '^scheduler is running'; }
CUPSD_PID=
stop_cupsd() {
  [ -n "$CUPSD_PID" ] || return 0
  kill -TERM "$CUPSD_PID" 2>/dev/null || true
  for _ in $(seq 100); do kill -0 "$CUPSD_PID" 2>/dev/null || break; sleep 0.1; done
  CUPSD_PID=
}
trap 'stop_cupsd; cleanup' EXIT

if ! scheduler_running; then
  pgrep -x cupsd >/dev/null && fail "a cupsd is running but does not answer"
  cupsd -f </dev/null >/dev/null 2>&1 &
  CUPSD_PID=$!
  for _ in $(seq 100); do scheduler_running && break; sleep 0.1; done
  scheduler_running || fail "cupsd did not start"
fi
lpadmin -x PDF 2>/dev/null || true # a fresh queue: no option of an earlier run stays
lpadmin -p PDF -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -o printer-is-shared=no \
  -o PageSize=A4 -E 2>/dev/null
lpadmin -d PDF
queue_empty() {
  for _ in $(seq 600); do [ -z "$(lpstat -o PDF 2>/dev/null)" ] && return 0; sleep 0.1; done
  fail "the print queue did not empty"
}
queue_empty # a job of an earlier run must not land in this run's folder
out="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF" # where cups-pdf puts a user's jobs
mkdir -p "$out"
rm -f "$out"/*.pdf

SCREEN=1920x1440x24 start_display # room for the statement at 200 %
start_program
win=$(wait_window "Financial Statement")
sleep 0.5
keys Tab Down Tab Down             # Station 1, January
keys Tab; type_text "1234.5"
keys Tab; type_text "20"
# A click into the first description of other income (the calculator's box is not on the way).
client_geometry "$win"
xdotool mousemove $((X + 161)) $((Y + 394)) click 1; sleep 0.3
type_text "Raffle"
keys Return                        # Calculate
shot calculated
calculated_at="${WIDTH}x${HEIGHT}+${X}+${Y}" # the zoom steps below may move the window
keys ctrl+p

# The job is done when the queue is empty and its PDF has arrived. Other programs on a shared
# machine may print into the same queue meanwhile: this statement's page is the one that
# carries the description typed above, and it arrives once.
ours() { for f in "$out"/*.pdf; do [ -s "$f" ] && pdftotext "$f" - 2>/dev/null | grep -q Raffle && echo "$f"; done; }
for _ in $(seq 600); do
  [ -z "$(lpstat -o PDF 2>/dev/null)" ] &&
    { [ -n "$(ours)" ] || [ "$(ls "$out" | grep -c '\.pdf$')" -eq 1 ]; } && break
  sleep 0.1
done
mapfile -t pdfs < <(ours)
# A page that cannot be read is still this one when it came alone: the text check says more.
[ ${#pdfs[@]} -eq 0 ] && compgen -G "$out/*.pdf" >/dev/null && pdfs=("$out"/*.pdf)
[ ${#pdfs[@]} -eq 1 ] || fail "${#pdfs[@]} PDFs of this statement arrived from the print queue, not one: $(ls "$out")"
cp "${pdfs[0]}" "$ARTIFACTS/statement.pdf"

# The page is text: every figure and caption reads back exactly, and no button is on it.
check_page() { # file, what it is
  local text
  text=$(pdftotext -layout "$1" - | tr -s ' \n' '  ')
  for expected in "FINANCIAL STATEMENT" "FORM QM-415" "Financial Statement For:" "Station 1" \
                  "Month Ending:" "January" "Balance Carried Forward:" "1,234.50" "20.00" \
                  "Raffle" "Total Cost: \$1,254.50" "Minus Expenses Total: \$0.00" \
                  "End of Month Balance: \$1,254.50" "SIGNED:"; do
    grep -qF -- "$expected" <<<"$text" || fail "$2 does not show '$expected'; it reads: $text"
  done
  for button in Calculate Print Clear Exit; do
    grep -qw -- "$button" <<<"$text" && fail "$2 shows the '$button' button; it reads: $text"
  done
  # Lines and text, not a picture: no image, or none coarser than 300 dots to the inch.
  local coarse
  coarse=$(pdfimages -list "$1" | awk 'NR > 2 && ($13 < 300 || $14 < 300)')
  [ -z "$coarse" ] || fail "$2 holds images coarser than 300 ppi: $coarse"
}
check_page "$ARTIFACTS/statement.pdf" "the printed page"
pdfinfo "$ARTIFACTS/statement.pdf" | grep -q '^Title:.*FORM QM-415 Station 1 January' ||
  fail "the print job is not titled like the PDF: $(pdfinfo "$ARTIFACTS/statement.pdf" | grep Title)"
size=$(stat -c %s "$ARTIFACTS/statement.pdf")
[ "$size" -lt 102400 ] || fail "the printed page is a $size-byte PDF, not under 100 KB"

# True size: the statement's box is 10695 twips, 7.43 inches, wide on paper.
pdftoppm -r 300 -png -singlefile "$ARTIFACTS/statement.pdf" "$ARTIFACTS/page"
width=$(convert "$ARTIFACTS/page.png" -trim -format '%w' info:)
inches=$(awk -v w="$width" 'BEGIN { printf "%.2f", w / 300 }')
awk -v i="$inches" 'BEGIN { exit !(i > 7.2 && i < 7.7) }' ||
  fail "the statement prints $inches inches wide, not its true 7.43"
program_running || fail "the program ended"

# In the open save dialog: the statement saved in a fresh folder, which then holds that PDF alone.
save_in() {
  rm -rf "$1"; mkdir -p "$1"
  local dialog
  dialog=$(wait_window "Save the Statement as PDF")
  shot "save-dialog-$(basename "$1")"
  focus_window "$dialog"
  keys ctrl+a; type_text "$1/statement"; keys Return # the dialog adds the ending
  wait_no_window "Save the Statement as PDF"
  for _ in $(seq 100); do [ -s "$1/statement.pdf" ] && break; sleep 0.1; done
  [ "$(ls -A "$1")" = statement.pdf ] ||
    fail "saving left '$(ls -A "$1")' where the user chose, not the PDF alone"
  check_page "$1/statement.pdf" "the saved PDF"
}

# Ctrl+S with the printer there: the page it printed, on its sheet, and the focus left in place.
keys ctrl+s
save_in "$ARTIFACTS/kept"
printed="$ARTIFACTS/statement.pdf" kept="$ARTIFACTS/kept/statement.pdf"
diff <(pdftotext -layout "$printed" -) <(pdftotext -layout "$kept" -) >&2 ||
  fail "the saved page does not read as the printed one (< printed, > saved)"
diff <(pdfinfo "$printed" | grep 'Page size') <(pdfinfo "$kept" | grep 'Page size') >&2 ||
  fail "the saved page is not the size of the printed one (< printed, > saved)"
focus_window "$win"
atspi expect "Financial Statement" "focus=Clear" || fail "Ctrl+S moved the focus"
# At 200 % (four steps of Ctrl++) the page is the same: the same text in the same places.
keys ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+s
save_in "$ARTIFACTS/zoomed"
diff <(pdftotext -layout "$kept" -) <(pdftotext -layout "$ARTIFACTS/zoomed/statement.pdf" -) >&2 ||
  fail "the page saved at 200 % does not read as the one saved at 100 % (< 100 %, > 200 %)"
focus_window "$win"
keys ctrl+0

# The printing window test on this scheduler, printing for real.
real_print() {
  QM415_REAL_PRINT=1 QT_QPA_PLATFORM=offscreen "$QM415_PRINT_TEST" printsOnTheDefaultPrinter 2>&1 |
    grep -E 'busy|FAIL|Totals'
}
real_print # how long Print keeps the window busy, measured inside the program's window code
queue_empty
# A stopped queue, then one that refuses jobs: a message with CUPS's reason, and no job.
cupsdisable -r "Out of paper" PDF
QM415_EXPECT_REFUSAL="Out of paper" real_print
cupsenable PDF
cupsreject -r "Closed for the audit" PDF
QM415_EXPECT_REFUSAL="Closed for the audit" real_print
cupsaccept PDF
[ -z "$(lpstat -o PDF)" ] || fail "a refused print left a job behind: $(lpstat -o PDF)"

# No printer at all: the user is offered a PDF instead. No: the buttons back, nothing lost.
if [ -n "$CUPSD_PID" ]; then stop_cupsd; else lpadmin -x PDF; fi
focus_window "$win"
keys alt+p
wait_window "Print" >/dev/null
shot no-printer
keys alt+n
wait_no_window "Print"
sleep 0.3
shot after-no-printer
# The window is pixel for pixel as it was before the first Print: buttons back, nothing lost,
# the focus on Print again.
client_geometry "$win"
convert "$ARTIFACTS/calculated.png" -crop "$calculated_at" +repage "$ARTIFACTS/calculated-window.png"
convert "$ARTIFACTS/after-no-printer.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage \
  "$ARTIFACTS/after-no-printer-window.png"
changed=$(compare -metric AE "$ARTIFACTS/calculated-window.png" "$ARTIFACTS/after-no-printer-window.png" \
  null: 2>&1 || true)
[ "$changed" = 0 ] || fail "after the failed print $changed pixels of the window differ from before"

# Yes: the desktop's save dialog, and the same page in the file chosen there.
focus_window "$win"
keys alt+p
wait_window "Print" >/dev/null
keys Return
save_in "$ARTIFACTS/saved"
program_running || fail "the program ended"
QM415_EXPECT_NO_PRINTER=1 real_print
echo "print: a $inches-inch statement arrived as a $size-byte PDF of text; with no printer it was saved as a PDF"
