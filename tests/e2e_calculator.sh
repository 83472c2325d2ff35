#!/usr/bin/env bash
# End to end: the real calculator under Xvfb. Switch it on with a click on ON, type
# 1 2 Enter 3 + on the PC keyboard, then 4 5 rolled over (5 goes down before 4 comes up),
# dismiss the pop-up menu with Escape (the calculator stays), print X on the strip printer and
# the roll through the print dialog to a PDF file (the print module), close it with Escape, and
# compare X and Y in the saved machine state with what the engine alone computes for the same
# keys.
#   e2e_calculator.sh PROGRAM_FOLDER READLIST KEYRUN
set -euo pipefail
program_dir=$1 readlist=$2 keyrun=$3

source "$(dirname "${BASH_SOURCE[0]}")/e2e_session.sh"
e2e_work "$program_dir" orrindale_audio.so orrindale_print.so

cat > "$work/session.sh" <<'SESSION'
set -u
cd "$1"
source ./e2e_session.sh
start_calculator
# The desktop names the window after the calculator and the application.
titled() { xprop -id "$wid" _NET_WM_NAME 2> /dev/null | grep -q '"HP9100B — Orrindale"'; }
wait_for "window title: $(xprop -id "$wid" _NET_WM_NAME)" titled
power_on
# Park the pointer off the keys, then type.
xdotool mousemove --window "$wid" 20 20
keys_see "$wid" 1 2 Return 3 equal
see "$wid" "the rolled-over keys" xdotool keydown --window "$wid" 4 keydown --window "$wid" 5 \
  keyup --window "$wid" 4 keyup --window "$wid" 5
# An Escape that closes the menu leaves the calculator open.
menu_see "$wid" 300 200 Escape
is_drawn "$wid" || fail "Escape on the menu closed the calculator"
# Printer ON and the X button latched, then PRINT SPACE (T) prints X on the strip.
click_see "$wid" $(at print-ON) "the printer did not switch on"
click_see "$wid" $(at print-X) "the X button did not latch"
xdotool mousemove --window "$wid" 20 20
# The strip shows X once the line is on the roll.
take_before area_shot paper rgb:-
xdotool key --window "$wid" t
wait_for "X was not printed" paper_changed
# Pop-up menu, "Printer Roll", "Print": the print dialog offers a PDF file in the home folder.
menu_see "$wid" 300 200 Down Down Down Right Return
pdid=$(find_window '^Print')
[ -n "$pdid" ] || fail "the print dialog did not open"
wait_for "the print dialog did not take the keyboard" has_focus "$pdid"
xdotool key Return
wait_for "the roll was not printed" has_file "$HOME/print.pdf"
close_calculator
SESSION

HOME=$work e2e_run_session "$work"

# The roll went to paper: one page with the printed line's picture on it.
[ -s "$work/print.pdf" ] || { echo "the roll was not printed"; cat "$work/stderr.log"; exit 1; }
pdfinfo "$work/print.pdf" | grep -q '^Pages: *1$'
images=$(pdfimages -list "$work/print.pdf" | tail -n +3 | wc -l)
echo "printed roll: $images line pictures"
[ "$images" -ge 1 ]

state=$("$readlist" "$work/cif9B.ini")
regs=$("$keyrun" 1 2 SHUP 3 Add 4 5 regs)
for pair in "X 100" "Y 101"; do
  set -- $pair
  got=$(printf '%s\n' "$state" | grep "^$2" | cut -c4-)
  want=$(printf '%s\n' "$regs" | awk -v r="$1" '$1 == r { for (i = 2; i <= NF; ++i) printf "%s~", $i }')
  echo "$1 saved by the calculator: $got"
  echo "$1 computed by the engine:  $want"
  [ -n "$want" ] && [ "$got" = "$want" ]
done
# The power was on and the window closed normally: the settings were written too.
"$readlist" "$work/cce9B.ini" > /dev/null
