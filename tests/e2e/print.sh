#!/usr/bin/env bash
# Printing for real: a CUPS scheduler of the test's own with a default CUPS-PDF queue, the real
# program printing a calculated statement, the PDF read back; then the same with no printer.
# Needs root (the scheduler runs in a mount namespace of its own), as on the test machines.
source "$(dirname "$0")/lib.sh"
[ "$(id -u)" -eq 0 ] || fail "printing tests start a scheduler of their own and must run as root"

# The print system is the test's own, in the run's folder: configuration, spool, logs, the socket
# it listens on (no network port) and the folder the queue writes its PDFs into. The machine's
# scheduler, queues, default printer and files are never touched. The CUPS-PDF backend reads its
# settings from /etc/cups alone, so the scheduler runs where the run's folder stands at /etc/cups,
# in a mount namespace that the machine never sees, and off the machine's system bus. The program
# and CUPS's tools reach it through CUPS_SERVER, and read the lpoptions of the run's own
# CUPS_SERVERROOT and HOME, none of a user's or of the machine's.
cups="$ARTIFACTS/cups"
out="$cups/out"
chmod 755 "$ARTIFACTS" # the filters run as lp
mkdir -p "$cups"/{etc,spool,cache,state,log,home,pdf-spool} "$out"
printf '%s\n' "ServerRoot $cups/etc" "RequestRoot $cups/spool" "CacheDir $cups/cache" \
  "StateDir $cups/state" "AccessLog $cups/log/access_log" "ErrorLog $cups/log/error_log" \
  "PageLog $cups/log/page_log" "Printcap $cups/state/printcap" "ServerBin /usr/lib/cups" \
  "DataDir /usr/share/cups" "CreateSelfSignedCerts no" >"$cups/etc/cups-files.conf"
# The page log names the sheet each job asks for.
printf '%s\n' "Listen $cups/cups.sock" "LogLevel info" "PageLogFormat %j %{media}" "Browsing No" \
  "BrowseLocalProtocols none" "WebInterface No" \
  "<Policy default>" "<Limit All>" "Order deny,allow" "</Limit>" "</Policy>" >"$cups/etc/cupsd.conf"
printf '%s\n' "Out $out" "AnonDirName $out" "Spool $cups/pdf-spool" "Log $cups/log" \
  "GSTmp $cups/spool/tmp" "Grp lpadmin" "DecodeHexStrings 1" >"$cups/etc/cups-pdf.conf"
export CUPS_SERVER="$cups/cups.sock" CUPS_SERVERROOT="$cups/etc" HOME="$cups/home"

scheduler_running() { lpstat -r 2>/dev/null | grep -q '^scheduler is running'; }
CUPSD_PID=
stop_cupsd() {
  [ -n "$CUPSD_PID" ] || return 0
  kill -TERM "$CUPSD_PID" 2>/dev/null || true
  wait "$CUPSD_PID" 2>/dev/null || true
  CUPSD_PID=
}
trap 'stop_cupsd; cleanup' EXIT
# unshare and sh each make way for the next: the pid is the scheduler's.
# shellcheck disable=SC2016 # expanded by that sh
DBUS_SYSTEM_BUS_ADDRESS="unix:path=$cups/no-bus" unshare --mount --propagation private sh -c \
  'mount --bind "$1/etc" /etc/cups && exec cupsd -f -c "$1/etc/cupsd.conf" -s "$1/etc/cups-files.conf"' \
  sh "$cups" </dev/null >"$cups/log/cupsd.log" 2>&1 &
CUPSD_PID=$!
for _ in $(seq 100); do scheduler_running && break; sleep 0.1; done
scheduler_running || fail "the test's own cupsd did not start: $(cat "$cups/log/cupsd.log")"
lpadmin -p PDF -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -o printer-is-shared=no \
  -o PageSize=A4 -E 2>/dev/null
lpadmin -d PDF
queue_empty() {
  for _ in $(seq 600); do [ -z "$(lpstat -o PDF 2>/dev/null)" ] && return 0; sleep 0.1; done
  fail "the print queue did not empty"
}
# The page of the job just sent, moved to $1 once the queue is empty: the only PDF in its folder.
take_printed() {
  local pdfs=()
  for _ in $(seq 600); do
    mapfile -t pdfs < <(find "$out" -name '*.pdf' -size +0)
    [ -z "$(lpstat -o PDF 2>/dev/null)" ] && [ ${#pdfs[@]} -gt 0 ] && break
    sleep 0.1
  done
  [ ${#pdfs[@]} -eq 1 ] || fail "${#pdfs[@]} PDFs came from the print queue for one Print, not one: $(ls "$out")"
  mv "${pdfs[0]}" "$1"
}

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
take_printed "$ARTIFACTS/statement.pdf"

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

# On the sheet ($2, as pdfinfo names it) as on paper: the window's 11370 twips centred across
# it, as far from its top as from its sides, so the statement's box (360 twips in, 600 down)
# stands there, and at true size, 10695 twips (7.43 inches) wide.
stands_on() { # file, sheet, what it is
  pdfinfo "$1" | grep -q "^Page size:.*($2)" ||
    fail "$3 is on a sheet of $(pdfinfo "$1" | sed -n 's/^Page size: *//p'), not $2"
  pdftoppm -r 300 -png -singlefile "$1" "$ARTIFACTS/page"
  local ink left top wide high sheet
  ink=$(convert "$ARTIFACTS/page.png" -format '%@' info:) # the box round all ink, WxH+X+Y
  IFS='x+' read -r wide _ left _ <<<"$ink"
  high=$(identify -format %h "$ARTIFACTS/page.png")
  top=$(convert "$ARTIFACTS/page.png" -crop "3x$high+$left+0" +repage -format '%@' info: | cut -d+ -f3)
  sheet=$(identify -format %w "$ARTIFACTS/page.png")
  local expected # where the box's corner belongs, in pixels at 300 dpi
  expected=$(awk -v s="$sheet" 'BEGIN { m = (s - 11370 * 300 / 1440) / 2; printf "%d,%d", m + 75, m + 125 }')
  awk -v w="$wide" -v x="$left" -v y="$top" -v e="$expected" 'BEGIN { split(e, c, ",")
    exit !(w > 7.2 * 300 && w < 7.7 * 300 && (x - c[1]) ^ 2 < 9 && (y - c[2]) ^ 2 < 9) }' ||
    fail "$3 shows the statement's box $(awk -v w="$wide" 'BEGIN { printf "%.2f", w / 300 }') inches wide with its corner at $left,$top (at 300 dpi), not 7.43 inches wide at $expected, as far from the sheet's top as from its sides"
}
stands_on "$ARTIFACTS/statement.pdf" A4 "the page printed on the queue's A4"
program_running || fail "the program ended"

# The user's own sheet for the queue, not its default: the page is made for it, the job asks
# for it.
lpoptions -p PDF -o media=Letter
keys ctrl+p
take_printed "$ARTIFACTS/letter.pdf"
check_page "$ARTIFACTS/letter.pdf" "the page printed on the user's Letter"
stands_on "$ARTIFACTS/letter.pdf" letter "the page printed on the user's Letter"
[ "$(tail -n1 "$cups/log/page_log" | cut -d' ' -f2)" = Letter ] ||
  fail "the job asked for the sheet '$(tail -n1 "$cups/log/page_log" | cut -d' ' -f2)', not the user's Letter"
lpoptions -p PDF -r media

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

# A printed copy is the page alone: opening it is refused, and the statement stays as it was.
keys ctrl+o
choose_file "Open a Statement" "$ARTIFACTS/statement.pdf"
focus_window "$(wait_window "Open")"
keys Return
wait_no_window "Open"
focus_window "$win"

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
stop_cupsd
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
echo "print: a $size-byte PDF of text at true size on A4 and on the user's Letter; with no printer it was saved as a PDF"
