#!/usr/bin/env bash
# The real program under a virtual display: it opens centred and titled, and Exit asks first.
source "$(dirname "$0")/lib.sh"
start_display
start_program
win=$(wait_window "Financial Statement")
sleep 0.5
shot startup

client_geometry "$win"
screen_width=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1] }')
offset=$(( 2 * X + WIDTH - screen_width ))
[ "${offset#-}" -le 2 ] || fail "the window is not centred: x=$X, width $WIDTH on a screen $screen_width wide"
[ "$WIDTH" -eq 758 ] || fail "the client area is $WIDTH pixels wide, not 758 (11370 twips)"

# Each button with a key of the desktop's names it, for the eye and for a screen reader.
atspi expect "Financial Statement" "Print the statement (Ctrl+P)=Print" \
  "Exit the program (Ctrl+Q)=Exit" || fail "the buttons do not name their keys"

# Exit answered No: the window stays. Then Ctrl+Q, answered Yes (the default): the program ends.
keys alt+x
wait_window "Form QM-415" >/dev/null
shot exit-question
keys n
wait_no_window "Form QM-415"
program_running || fail "the program ended although the exit was answered No"
focus_window "$(wait_window "Financial Statement")"
keys ctrl+q
wait_window "Form QM-415" >/dev/null
keys Return
wait_program_end
echo "startup: centred at x=$X (width $WIDTH), Exit and Ctrl+Q ask and end"
