#!/usr/bin/env bash
# End to end: files opened from outside the real calculator under Xvfb, as the desktop opens
# them. "orrindale sum.mcf" starts with the card in the slot (the power switched on for it); a
# file of no kind the calculator opens is refused while it is dragged, and no box follows; a
# stack file dragged from another program (xdrop) and dropped on the calculator opens the
# marked card reader with it, and its first card fed in PRGM keys rows 0 and 1; a second start
# "orrindale square.ptf" hands the plot to the running calculator and ends, and the plot is
# drawn in that calculator's plotter. Found after the close: the card remembered, the program
# rows of the card, and the plotter's current plot the same as the file.
#   e2e_desktop.sh PROGRAM_DIR READLIST KEYRUN XDROP SOURCE_DIR [SCREENSHOT]
set -euo pipefail
program_dir=$1 readlist=$2 keyrun=$3 xdrop=$4 source_dir=$5 shot=${6:-}

source "$(dirname "${BASH_SOURCE[0]}")/e2e_session.sh"
e2e_work "$program_dir" CR91B.dat HP9plig.dat
cp "$xdrop" "$work/xdrop"
echo "not a calculator's file" > "$work/notes.doc"
card="$work/sum.mcf" stack="$work/mul.ocf" plot="$work/square.ptf"
"$keyrun" prgm 4 SHUP 5 Add End card-new record card-save="$card" > /dev/null
"$keyrun" prgm 6 SHUP 7 Mul End "stack-save=$stack" > /dev/null
# shellcheck disable=SC2046
"$keyrun" plotter $(cat "$source_dir/tests/plotter_program.txt") Cont plot-save="$plot" > /dev/null

cat > "$work/session.sh" <<'SESSION'
set -u
[ -z "${E2E_TRACE:-}" ] || set -x
cd "$1"
shot=$2
source ./e2e_session.sh
launch '^HP9100B$' ./orrindale sum.mcf
# The card in the slot switched the calculator on: its display is lit.
wait_for "the card did not switch the calculator on" display_lit
# A file dragged from the bottom left corner and let go over the calculator's case; true when
# the calculator took it. The drag source is a test tool: in a sanitizer build, the desktop
# libraries' leaks at its exit are not the calculator's.
drag_onto_calculator() { # FILE
  ASAN_OPTIONS=detect_leaks=0 ./xdrop "$1" > drop.log &
  drop=$!
  did=$(find_window '^xdrop$')
  [ -n "$did" ] || fail "the drag source did not appear"
  wait_for "the drag source was not drawn" is_drawn "$did"
  xdotool mousemove --window "$did" 40 40 mousedown 1
  # The drag goes on over the calculator until the drop lands (the source ends with it).
  for x in 200 250 300 250 300; do
    xdotool mousemove --window "$wid" "$x" 200
    poll 1 has_ended "$drop" && break
  done
  xdotool mouseup 1
  wait_for "the drop did not end" has_ended "$drop"
  wait "$drop"
}
! drag_onto_calculator notes.doc || fail "the calculator took a file it cannot open"
no_window --onlyvisible '^Orrindale$' || fail "a refused drag was followed by a box"
drag_onto_calculator mul.ocf || fail "the calculator refused the dropped stack: $(cat drop.log)"
rid=$(find_window '^Marked Card Reader$')
[ -n "$rid" ] || fail "the dropped stack did not open the reader"
wait_for "the reader was not drawn" is_drawn "$rid"
xdotool windowraise "$rid" 2>/dev/null || true
click_see "$wid" $(at PRGM) "PRGM was not set"
pass_see "the card was not fed" xdotool mousemove --window "$rid" $(at reader-feed) click 1
menu_see "$rid" 60 100 Up Return                  # the reader's menu: Close  (Esc)
wait_for "the reader did not close" no_window '^Marked Card Reader$'
# A second start on the same folder hands its file over and ends at once.
timeout 10 ./orrindale square.ptf || fail "the second start did not end by itself"
pid=$(find_window '^Plotter$')
[ -n "$pid" ] || fail "the handed plot did not open the plotter"
wait_for "the plotter was not drawn" is_drawn "$pid"
[ "$(xdotool search --name '^HP9100B$' | wc -l)" = 1 ] || fail "a second calculator is running"
[ -z "$shot" ] || import -window root "$shot"
menu_see "$pid" 400 300 Up Return                 # the plotter's menu: Close  (Esc)
# A plot handed over may be asked about at the close: not saved as another plot file.
asked_or_closed() { has_window --onlyvisible '^Orrindale$' || no_window '^Plotter$'; }
wait_for "the plotter neither asked nor closed" asked_or_closed
no_window '^Plotter$' || answer n "closing the plotter"
wait_for "the plotter did not close" no_window '^Plotter$'
close_calculator
SESSION

e2e_run_session "$work" "$shot"

"$readlist" "$work/cce9B.ini" | grep -q "^012$card\$" || { echo "the named card is not in the slot"; exit 1; }
card1=$("$readlist" "$stack" | sed -n 6p | cut -d'~' -f3-30)
state=$("$readlist" "$work/cif9B.ini")
rows=$(printf '%s\n' "$state" | grep '^000' | cut -c4- | cut -d'~' -f1-14)~$(printf '%s\n' "$state" | grep '^001' | cut -c4- | cut -d'~' -f1-14)
echo "dropped stack's card 1: $card1"
echo "program rows 0 and 1:   $rows"
[ "$card1" = "$rows" ] || { echo "the dropped stack did not reach the reader"; exit 1; }
# The plotter's current plot: the handed file's record, and after it only what the plotter
# itself added at its close.
handed=$("$readlist" "$plot")
current=$("$readlist" "$work/pvpt.dat" | head -n "$(printf '%s\n' "$handed" | wc -l)")
[ "$current" = "$handed" ] \
  || { echo "the plotter of the running calculator does not hold the handed plot:"
       diff <(printf '%s\n' "$current") <(printf '%s\n' "$handed") | head -n 10; exit 1; }
echo "card in the slot, stack in the reader, plot in the running calculator's plotter"
