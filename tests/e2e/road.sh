#!/usr/bin/env bash
# The road of one statement, by keyboard alone, on the real program zoomed to 200 %: station
# and month, amounts, both pop-money calculators, Calculate; the results are read as a screen
# reader hears them, through the accessibility bus, and found where the user sees them.
source "$(dirname "$0")/lib.sh"
SCREEN=1920x1440x24 start_display
start_program
S="Financial Statement"
P="Pop Money Calculation"
win=$(wait_window "$S")
sleep 0.5

size_is() { client_geometry "$1"; [ "${WIDTH}x${HEIGHT}" = "$2" ] || fail "$3 is ${WIDTH}x${HEIGHT}, not $2"; }
# A message box at 100 %; then Ctrl++ through 125, 150 and 175 % to 200 %, where a fifth press
# finds no larger level that fits the screen.
keys Return
client_geometry "$(wait_window "List a Station")"
box="${WIDTH}x${HEIGHT}"
keys Return
wait_no_window "List a Station"
keys ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus
size_is "$win" 1516x1182 "after Ctrl++ five times the statement's client area"

# A typed station is no pick, even one that reads like an entry: Calculate asks for one, in a
# box of the desktop's own size. (The first box left the focus in the station list.)
type_text "Station 5"
keys Return
size_is "$(wait_window "List a Station")" "$box" "at 200 % the message box"
keys Return
wait_no_window "List a Station"
keys Down Down Down                # Station 3, picked
keys Tab Down Down Down Down Down  # May
keys Tab; type_text "100"          # balance carried forward
keys Tab; type_text "20"           # house dues, 1 unit
keys Tab Tab Tab Tab Tab           # on to special collections, 3 units
keys Tab                           # the pop-money line opens its calculator, at 200 %
size_is "$(wait_window "$P")" 850x514 "the calculator's client area"
# Ctrl and the wheel zoom over any part of a window, a caption or an instruction as well: a notch
# towards the user over the statement's heading INCOME, one away over the calculator's second
# instruction.
wheel_over() { # window, control, button (4: away from the user, 5: towards)
  local x y
  read -r x y <<<"$(atspi where "$1" "$2")"
  [ -n "$y" ] || fail "'$2' cannot be found on the screen"
  xdotool mousemove "$x" "$y" keydown ctrl click "$3" keyup ctrl
  sleep 0.3
}
wheel_over "$S" INCOME 5
size_is "$win" 1327x1034 "after Ctrl and the wheel towards the user over INCOME the statement's client area"
wheel_over "$P" "2. Use a different box for each amount received" 4
size_is "$(wait_window "$P")" 850x514 "after Ctrl and the wheel away over its instructions the calculator's client area"
type_text "1.25"; keys Tab; type_text "2.75"
# A mistyped amount in box 5, then Submit before any Calculate: after the "Question" box the
# focus goes to the first box, and box 5 is checked on its way out.
keys Tab Tab Tab; type_text "abc"
keys alt+s
wait_window "Question" >/dev/null
keys Return
wait_window "Input Error" >/dev/null
keys Return
wait_no_window "Input Error"
atspi expect "$P" "Amount 5=" "focus=Amount 5" ||
  fail "after the check of box 5 the calculator is not back in an emptied box 5"
keys alt+c
atspi expect "$P" 'Total amount collected=Total Amount Collected for the Month: $4.00' ||
  fail "the calculator's total does not read \$4.00"
atspi placed "$P" "Total amount collected=416,416,162,66" "Amount 1=32,176,162,56" ||
  fail "a screen reader does not find the calculator's controls where they are at 200 %"
shot pop-calculated
keys alt+s
wait_no_window "$P"
sleep 0.3
type_text "Raffle"                 # the focus came back to the first Other Income line
# A middle-click pastes the X selection; over the pop-money line it only enters the line,
# which opens its calculator, and Cancel then leaves the line as Submit wrote it.
keys shift+Home
read -r x y <<<"$(atspi where "$S" "Sales of candy and pop")"
[ -n "$y" ] || fail "the pop-money line cannot be found on the screen"
xdotool mousemove "$x" "$y" click 2
wait_window "$P" >/dev/null
sleep 0.3
atspi expect "$S" "Sales of candy and pop=4" || fail "a middle-click pasted into the pop-money line"
keys alt+a
wait_window "Cancel" >/dev/null
keys Return
wait_no_window "$P"
sleep 0.3
keys Tab; type_text "30"
keys Tab Tab Tab; type_text "45.10" # telephone
keys Tab; type_text "12"            # newspaper
keys Tab                            # the expense pop-money line opens its calculator
wait_window "$P" >/dev/null
type_text "9"; keys ctrl+w          # closed as by its close box: no question, nothing handed on
wait_no_window "$P"
focus_window "$win"
atspi expect "$S" "Candy and pop expenses=" "focus=Other expenses, line 1, description" ||
  fail "Ctrl+W in the calculator handed something on or moved the statement's focus"
keys shift+Tab                      # entering the line again opens a fresh calculator
wait_window "$P" >/dev/null
atspi expect "$P" "Amount 1=" || fail "the calculator closed by Ctrl+W came back as it was"
type_text "5.5"; keys shift+Tab; type_text "4.5"
keys alt+c
sleep 0.3
keys alt+s
wait_no_window "$P"
sleep 0.3
type_text "Stamps"                  # first Other Expenses line
keys Tab; type_text "7.40"

# Enter in a box calculates; a screen reader is told of every new total as it comes.
atspi announced "$S" 'Income total=$154.00' 'Expense total=$74.50' \
  'End of month balance=$79.50' >"$ARTIFACTS/announced.log" 2>&1 &
READER_PID=$!
for _ in $(seq 100); do grep -q listening "$ARTIFACTS/announced.log" && break; sleep 0.1; done
keys Return
if ! wait "$READER_PID"; then
  READER_PID=
  cat "$ARTIFACTS/announced.log" >&2
  fail "the new totals were not announced"
fi
READER_PID=
sleep 0.3
shot calculated

atspi expect "$S" "Financial Statement For:=Financial Statement For: Station 3" \
  "Month Ending:=Month Ending: May" \
  "Balance carried forward=100.00" "Sales of candy and pop=4.00" \
  "Candy and pop expenses=10.00" "Other income, line 1, description=Raffle" \
  'Income total=Total Cost: $154.00' 'Total cost=Total Cost: $154.00' \
  'Expense total=Total Expenses: $74.50' 'Minus expenses total=Minus Expenses Total: $74.50' \
  'End of month balance=End of Month Balance: $79.50' "focus=Print" ||
  fail "the calculated statement does not read as it should"
# Where the user sees them at 200 %: the statement's box has its client area at 50,82.
atspi placed "$S" "Income total=610,882,130,34" "End of month balance=1330,818,114,34" \
  "Sales of candy and pop=610,658,130,38" "Month Ending:=1202,98,242,56" ||
  fail "a screen reader does not find the figures where they are at 200 %"

# The wheel turned while the pointer merely crosses the month list changes nothing.
read -r x y <<<"$(atspi where "$S" "Month Ending:")"
[ -n "$y" ] || fail "the month list cannot be found on the screen"
xdotool mousemove "$x" "$y" click 5 click 5
sleep 0.3
atspi expect "$S" "Month Ending:=Month Ending: May" "focus=Print" ||
  fail "the wheel over the month list changed it without the focus"

# Saved (Ctrl+S), cleared, and opened again (Ctrl+O), each file chosen in the desktop's own
# dialog: the same statement, its station, month, amounts, descriptions and totals, is heard again.
saved="$ARTIFACTS/saved/May.pdf"
rm -rf "${saved%/*}"; mkdir -p "${saved%/*}"
keys ctrl+s
choose_file "Save the Statement as PDF" "$saved"
keys alt+l
wait_window "Form QM-415" >/dev/null
keys Return
wait_no_window "Form QM-415"
focus_window "$win"
atspi expect "$S" "Balance carried forward=" "Other income, line 1, description=" "focus=Station" ||
  fail "Clear did not empty the statement"
keys ctrl+o
choose_file "Open a Statement" "$saved"
atspi expect "$S" "Financial Statement For:=Financial Statement For: Station 3" \
  "Month Ending:=Month Ending: May" "Candy and pop expenses=10.00" \
  "Other income, line 1, description=Raffle" 'End of month balance=End of Month Balance: $79.50' \
  "focus=Print" || fail "the statement opened again does not read as saved"
program_running || fail "the program ended"
echo "road: at 200 % a screen reader hears \$154.00 income, \$74.50 expenses, \$79.50 balance"
