#!/usr/bin/env bash
# The road of one statement, by keyboard alone, on the real program: station and month,
# amounts, both pop-money calculators, Calculate; the results are read off the screen.
source "$(dirname "$0")/lib.sh"
start_display
start_program
win=$(wait_window "Financial Statement")
sleep 0.5

keys Tab Down Down Down            # Station 3
keys Tab Down Down Down Down Down  # May
keys Tab; type_text "100"          # balance carried forward
keys Tab; type_text "20"           # house dues, 1 unit
keys Tab Tab Tab Tab Tab           # on to special collections, 3 units
keys Tab                           # the pop-money line opens its calculator
wait_window "Pop Money Calculation" >/dev/null
type_text "1.25"; keys Tab; type_text "2.75"
keys alt+c
sleep 0.3
shot pop-calculated
keys alt+s
wait_no_window "Pop Money Calculation"
sleep 0.3
type_text "Raffle"                 # the focus came back to the first Other Income line
keys Tab; type_text "30"
keys Tab Tab Tab; type_text "45.10" # telephone
keys Tab; type_text "12"            # newspaper
keys Tab                            # the expense pop-money line opens its calculator
wait_window "Pop Money Calculation" >/dev/null
type_text "5.5"; keys shift+Tab; type_text "4.5"
keys alt+c
sleep 0.3
keys alt+s
wait_no_window "Pop Money Calculation"
sleep 0.3
type_text "Stamps"                  # first Other Expenses line
keys Tab; type_text "7.40"
keys Return                         # Enter in a box calculates
sleep 0.5
shot calculated

# Read the statement as the user sees it: each box or total, cut out of the screen by its
# place on the form (twips inside the container), enlarged and read by OCR.
client_geometry "$win"
read_control() { # left top width height (twips, inside the container)
  local x=$((X + 24 + 1 + $1 / 15 + 1)) y=$((Y + 40 + 1 + $2 / 15 + 1))
  local w=$(($3 / 15 - 2)) h=$(($4 / 15 - 2)) name="$ARTIFACTS/ocr-$1-$2"
  convert "$ARTIFACTS/calculated.png" -crop "${w}x${h}+${x}+${y}" +repage -resize 400% \
    -colorspace Gray -bordercolor white -border 20 "$name.png"
  tesseract "$name.png" "$name" --psm 7 -c tessedit_char_whitelist='0123456789.,$()-' \
    >/dev/null 2>&1
  tr -d ' \n' <"$name.txt"
}
expect_control() { # what, expected text, place
  local got
  got=$(read_control "${@:3}")
  [ "$got" = "$2" ] || fail "$1 shows '$got', not '$2'"
}
expect_control "Balance carried forward" "100.00" 4200 1200 975 285
expect_control "Sales of candy and pop" "4.00" 4200 4320 975 285
expect_control "Candy and pop expenses" "10.00" 9600 1920 855 285
expect_control "Income total" '$154.00' 4200 6000 975 255
expect_control "Expense total" '$74.50' 9600 4320 855 255
expect_control "End of month balance" '$79.50' 9600 5520 855 255
program_running || fail "the program ended"
echo "road: the statement shows \$154.00 income, \$74.50 expenses, \$79.50 balance"
