#!/usr/bin/env bash
# The organisation's month on the real program: three statements saved through the window (the
# second started from the first by Ctrl+N), and a text file named .pdf, dragged together onto the
# statement from another program; the summary they open is heard through the accessibility bus.
# Then the same files summarised without a window, as CSV and as PDF.
source "$(dirname "$0")/lib.sh"
start_display
start_program
S="Financial Statement"
win=$(wait_window "$S")
sleep 0.5
dir="$ARTIFACTS/statements"
mkdir -p "$dir"

# Station 1, March: 100.00 carried forward, 20.00 for the telephone.
keys Tab Down Tab Down Down Down
keys Tab; type_text "100"
read -r x y <<<"$(atspi where "$S" "Telephone")"
xdotool mousemove "$x" "$y" click 1; sleep 0.3
type_text "20"
keys Return
keys ctrl+s
choose_file "Save the Statement as PDF" "$dir/s1-march.pdf"
# Saved, so the next month starts without a question, from March's end balance.
keys ctrl+n
atspi expect "$S" "Month Ending:=Month Ending: April" "Balance carried forward=80.00" \
  "Telephone=" "focus=House dues, 1 unit" ||
  fail "Ctrl+N did not start April from March's end balance"
type_text "10"
keys Return
keys ctrl+s
choose_file "Save the Statement as PDF" "$dir/s1-april.pdf"
# Station 2, March: 50.00 carried forward.
keys alt+l
wait_window "Form QM-415" >/dev/null
keys Return
wait_no_window "Form QM-415"
focus_window "$win"
keys Down Down Tab Down Down Down
keys Tab; type_text "50"
keys Return
keys ctrl+s
choose_file "Save the Statement as PDF" "$dir/s2-march.pdf"
echo "not a statement" >"$dir/notes.pdf"
files=("$dir/s1-march.pdf" "$dir/s1-april.pdf" "$dir/s2-march.pdf" "$dir/notes.pdf")

# Dragged from another program onto the statement, all four at once.
drag_onto "$win" "${files[@]}"
wait_window "Summary of Statements" >/dev/null
sleep 1
atspi rows "Summary of Statements" "Statements" >"$ARTIFACTS/rows.txt"
atspi rows "Summary of Statements" "Totals of the statements that add up" >"$ARTIFACTS/totals.txt"
diff - "$ARTIFACTS/rows.txt" >&2 <<'ROWS' || fail "the summary's rows are not heard as they should be"
Station 1|March|s1-march.pdf|$100.00|$100.00|$20.00|$80.00|
Station 1|April|s1-april.pdf|$80.00|$90.00|$0.00|$90.00|
Station 2|March|s2-march.pdf|$50.00|$50.00|$0.00|$50.00|
||notes.pdf|||||refused: it is not a PDF file
ROWS
diff - "$ARTIFACTS/totals.txt" >&2 <<'TOTALS' || fail "the summary's totals are not heard as they should be"
Total||3 of 4 statements add up|$230.00|$240.00|$20.00|$220.00|
TOTALS

# Without a window: the same summary as CSV on standard output, and as a PDF.
rc=0
"$QM415" --summary "${files[@]}" --csv - --pdf "$ARTIFACTS/summary.pdf" \
  >"$ARTIFACTS/summary.csv" 2>"$ARTIFACTS/problems.txt" </dev/null || rc=$?
[ "$rc" = 1 ] || fail "the summary of a refused file and missing stations ended with status $rc, not 1"
printf '%s\r\n' "Station,Month,File,Balance carried forward,Income total,Expense total,End-of-month balance,What is wrong" \
  "Station 1,March,s1-march.pdf,100.00,100.00,20.00,80.00," \
  "Station 1,April,s1-april.pdf,80.00,90.00,0.00,90.00," \
  "Station 2,March,s2-march.pdf,50.00,50.00,0.00,50.00," \
  ",,notes.pdf,,,,,refused: it is not a PDF file" \
  "Total,,3 of 4 statements add up,230.00,240.00,20.00,220.00," >"$ARTIFACTS/expected.csv"
cmp "$ARTIFACTS/expected.csv" "$ARTIFACTS/summary.csv" ||
  { diff "$ARTIFACTS/expected.csv" "$ARTIFACTS/summary.csv" >&2; fail "the CSV is not the summary expected"; }
grep -qxF "$dir/notes.pdf: refused: it is not a PDF file" "$ARTIFACTS/problems.txt" &&
  grep -qxF "March: no statement from Station 34" "$ARTIFACTS/problems.txt" ||
  fail "the problems were not said one a line: $(cat "$ARTIFACTS/problems.txt")"
text=$(pdftotext -layout "$ARTIFACTS/summary.pdf" -)
for expected in "Station 1" "s1-april.pdf" "\$230.00" "refused: it is not a PDF" "Page 1 of 1"; do
  grep -qF -- "$expected" <<<"$text" || fail "the summary's PDF does not show '$expected': $text"
done
# A folder of the statements and of what no statement is: each refused with its reason, the rest
# summarised, nothing waiting; the summary never replaces a file it reads.
mkfifo "$dir/pipe.pdf"
ln -s loop.pdf "$dir/loop.pdf"
truncate -s 11M "$dir/large.pdf"
mkdir "$dir/folder.pdf" "$dir/below" && cp "$dir/s2-march.pdf" "$dir/below/"
rc=0
timeout 60 "$QM415" --summary "$dir" --csv - >"$ARTIFACTS/folder.csv" 2>/dev/null </dev/null || rc=$?
[ "$rc" = 1 ] || fail "the summary of a folder of strangers ended with status $rc, not 1"
for row in ",,pipe.pdf,,,,,refused: it is not a file" ",,large.pdf,,,,,refused: it is larger than the 10 MiB a statement can be" \
  ",,loop.pdf,,,,,refused: " "Total,,3 of 7 statements add up,230.00,240.00,20.00,220.00,"; do
  grep -qF -- "$row" "$ARTIFACTS/folder.csv" || fail "the folder's summary lacks '$row': $(cat "$ARTIFACTS/folder.csv")"
done
rc=0
"$QM415" --summary "$dir" --csv "$dir/s1-march.pdf" 2>/dev/null </dev/null || rc=$?
[ "$rc" = 2 ] && pdfinfo "$dir/s1-march.pdf" >/dev/null 2>&1 || fail "a summary was written over a statement it read"
echo "summary: three statements and a stranger dragged in, heard as rows and totals; the same as CSV and PDF"
