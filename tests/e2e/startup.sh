#!/usr/bin/env bash
# The real program under a virtual display: it opens centred, titled and with its icon, and Exit
# asks first.
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

# The window hands the desktop its icon at every size of the icon theme, pixel for pixel the
# bitmaps the package installs.
xprop -len 4000000 -id "$win" -notype -f _NET_WM_ICON 32c _NET_WM_ICON >"$ARTIFACTS/icon.txt"
/usr/bin/python3 - "$ARTIFACTS/icon.txt" "$QM415_ICONS" <<'PY' || fail "the window's icon is not the installed icon"
import glob, os, re, subprocess, sys

values = [int(v) for v in re.findall(r"\d+", open(sys.argv[1]).read().partition("=")[2])]
offered, i = {}, 0
while i + 2 <= len(values):
    side = values[i]
    offered[side] = values[i + 2 : i + 2 + side * values[i + 1]]
    i += 2 + side * values[i + 1]
installed = glob.glob(os.path.join(sys.argv[2], "*x*", "apps", "*.png"))
if not installed:
    sys.exit(f"no icons in {sys.argv[2]}")
bad = False
for png in sorted(installed):
    side = int(png.split(os.sep)[-3].split("x")[0])
    rgba = subprocess.run(["convert", png, "-depth", "8", "rgba:-"], check=True,
                          capture_output=True).stdout
    argb = [rgba[k + 3] << 24 | rgba[k] << 16 | rgba[k + 1] << 8 | rgba[k + 2]
            for k in range(0, len(rgba), 4)]
    shown = offered.get(side)
    if shown is None:
        print(f"the desktop finds no {side}x{side} icon on the window; it has "
              f"{sorted(offered) or 'none'}", file=sys.stderr)
        bad = True
    elif shown != argb:
        wrong = sum(a != b for a, b in zip(shown, argb)) + abs(len(shown) - len(argb))
        print(f"the {side}x{side} icon differs from {png} in {wrong} pixels; its corner is "
              f"#{shown[0]:08x} where the installed one is #{argb[0]:08x}", file=sys.stderr)
        bad = True
sys.exit(bad)
PY

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
echo "startup: centred at x=$X (width $WIDTH), its icon at every size, Exit and Ctrl+Q ask and end"
