#!/usr/bin/env bash
# End to end: a program kept on a magnetic card, on the real calculator under Xvfb.
# Switch on; in PRGM key 4 SHIFT-UP 5 + END; in RUN press END (counter home); "New" card from
# the menu, record side A, "Save" it (the file dialog answered through the test hook of
# main.cpp, the real "Card Names" dialog typed into) and close. Start again without the
# machine state (a memory reset): the remembered card is back in the slot. "Load" the file
# through the menu, enter side A, press CONT and close; X and Y (+ leaves the sum in Y) in the
# saved machine state must be what the engine alone computes for the program keyed in directly.
#   e2e_cards.sh PROGRAM_FOLDER READLIST KEYRUN
set -euo pipefail
program_dir=$1 readlist=$2 keyrun=$3

source "$(dirname "${BASH_SOURCE[0]}")/e2e_session.sh"
e2e_work "$program_dir"
card="$work/sum.mcf"
printf '%s\n' "$card" "$card" > "$work/answers"

cat > "$work/session.sh" <<'SESSION'
set -u
cd "$1"
phase=$2
export ORRINDALE_TEST_FILE_ANSWERS="$1/answers"
E2E_PHASE=$phase
source ./e2e_session.sh
start_calculator
click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; sleep 0.3; }
# The Magnetic Card sub-menu by keyboard: New 0, Swap 1, Eject 2, Load 3, Save 4.
card_menu() {
  xdotool mousemove --window "$wid" 300 200 click 3
  sleep 0.5
  xdotool key Down Right
  for _ in $(seq "$1"); do xdotool key Down; done
  xdotool key Return
  sleep 0.5
}
power_on
if [ "$phase" = record ]; then
  click 535 361                    # PRGM
  xdotool mousemove --window "$wid" 20 20
  for key in 4 Return 5 equal; do xdotool key --window "$wid" "$key"; sleep 0.15; done
  click 616 443                    # END
  click 606 361                    # RUN
  click 616 443                    # END: the counter goes home
  card_menu 0                      # New
  click 475 314                    # record
  sleep 2.5
  card_menu 4                      # Save
  for _ in $(seq 25); do
    did=$(xdotool search --name '^Card Names$' 2>/dev/null | head -n 1) && [ -n "$did" ] && break
    sleep 0.2
  done
  [ -n "${did:-}" ] || fail "the Card Names dialog did not appear"
  xdotool windowfocus --sync "$did" 2>/dev/null || true
  xdotool type --window "$did" sum
  xdotool key --window "$did" Return
  sleep 0.5
else
  card_menu 3                      # Load
  click 605 314                    # enter
  sleep 2.5
  xdotool mousemove --window "$wid" 20 20
  click 548 466                    # CONT
  sleep 1.5
fi
close_calculator
SESSION

run() { e2e_run_session "$work" "$1"; }
run record
[ -f "$card" ] || { echo "no card file was saved"; exit 1; }
lines=$("$readlist" "$card")
echo "card file: $(printf '%s' "$lines" | tr '\n' ' ')"
[ "$(printf '%s\n' "$lines" | head -n 1)" = sum ] || { echo "side A is not named sum"; exit 1; }
"$readlist" "$work/cce9B.ini" | grep -q "^012$card\$" || { echo "the card is not remembered"; exit 1; }

rm "$work/cif9B.ini"
run enter
state=$("$readlist" "$work/cif9B.ini")
regs=$("$keyrun" prgm 4 SHUP 5 Add End run End Cont regs)
for pair in "X 100" "Y 101"; do
  set -- $pair
  got=$(printf '%s\n' "$state" | grep "^$2" | cut -c4-)
  want=$(printf '%s\n' "$regs" | awk -v r="$1" '$1 == r { for (i = 2; i <= NF; ++i) printf "%s~", $i }')
  echo "$1 saved by the calculator: $got"
  echo "$1 computed by the engine:  $want"
  [ -n "$want" ] && [ "$got" = "$want" ]
done
