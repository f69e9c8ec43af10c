#!/usr/bin/env bash
# Amounts typed as a user of another locale types them, on the real program: Spanish (groups of
# a minimum of two digits' worth, decimal comma) and Swiss German (’ groups, typed as ', the
# currency as CHF). Calculate twice: nothing is refused, nothing lost, the totals are right. The
# Swiss road starts with a statement named on the command line that is not there.
source "$(dirname "$0")/lib.sh"
# The program takes its locale from LANG here; nothing more specific may override it.
unset LC_ALL LC_NUMERIC LC_MONETARY
start_display
S="Financial Statement"
nbsp=$(printf '\xc2\xa0')
rsquo=$(printf '\xe2\x80\x99')

# locale, then the six amounts as typed (balance, house dues 1 to 3 units, telephone,
# newspaper), then what a screen reader hears in each box and total after Calculate.
road() {
  local locale=$1
  shift
  local typed=("${@:1:6}") shown=("${@:7:6}") income=${13} expenses=${14} balance=${15}
  LANG=$locale start_program ${OPEN_AT_START:+"$OPEN_AT_START"}
  local win
  win=$(wait_window "$S")
  sleep 0.5
  if [ -n "${OPEN_AT_START:-}" ]; then # refused: said over the window, then the empty form
    wait_window "Open" >/dev/null
    keys Return
    wait_no_window "Open"
    focus_window "$win"
  fi
  keys Tab Down Tab Down # the first station and month
  keys Tab; type_text "${typed[0]}"
  keys Tab; type_text "${typed[1]}"
  keys Tab; type_text "${typed[2]}"
  keys Tab; type_text "${typed[3]}"
  local x y
  read -r x y <<<"$(atspi where "$S" "Telephone")"
  [ -n "$y" ] || fail "$locale: the telephone box cannot be found on the screen"
  xdotool mousemove "$x" "$y" click 1
  sleep 0.3
  type_text "${typed[4]}"
  keys Tab; type_text "${typed[5]}"
  local pass
  for pass in first second; do
    if [ $pass = first ]; then keys Return; else keys alt+c; fi
    sleep 0.3
    shot "$locale-$pass"
    xdotool search --onlyvisible --name "^Input Error\$" >/dev/null 2>&1 &&
      fail "$locale: the $pass Calculate refused an amount"
    atspi expect "$S" "focus=Print" \
      "Balance carried forward=${shown[0]}" "House dues, 1 unit=${shown[1]}" \
      "House dues, 2 units=${shown[2]}" "House dues, 3 units=${shown[3]}" \
      "Telephone=${shown[4]}" "Newspaper=${shown[5]}" \
      "Income total=Total Cost: $income" "Total cost=Total Cost: $income" \
      "Expense total=Total Expenses: $expenses" \
      "Minus expenses total=Minus Expenses Total: $expenses" \
      "End of month balance=End of Month Balance: $balance" ||
      fail "$locale: after the $pass Calculate the statement does not read as it should"
  done
  keys alt+x
  wait_window "Form QM-415" >/dev/null
  keys Return
  wait_program_end
}

road es_ES.UTF-8 "1234567,89" "1234,5" "1.234,50" "25" "100,25" "-12,5" \
  "1.234.567,89" "1234,50" "1234,50" "25,00" "100,25" "-12,50" \
  "1.237.061,89${nbsp}€" "87,75${nbsp}€" "1.236.974,14${nbsp}€"
OPEN_AT_START="$ARTIFACTS/no such statement.pdf" road de_CH.UTF-8 "1'234.50" "CHF 100" "12345.6" "1'000" "-25.5" "7.05 CHF" \
  "1${rsquo}234.50" "100.00" "12${rsquo}345.60" "1${rsquo}000.00" "-25.50" "7.05" \
  "CHF${nbsp}14${rsquo}680.10" "CHF-18.45" "CHF${nbsp}14${rsquo}698.55"
echo "locales: es_ES and de_CH amounts typed as their users type them, kept through two Calculates"
