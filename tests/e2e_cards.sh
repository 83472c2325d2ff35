#!/usr/bin/env bash
# End to end: a program kept on a magnetic card, on the real calculator under Xvfb.
# Switch on; in PRGM key 4 SHIFT-UP 5 + END; in RUN press END (counter home); "New" card from
# the menu, record side A, "Save" it (the file dialog answered through the test hook of
# main.cpp, the real "Card Names" dialog typed into; a first Save is cancelled by Escape in the
# name field) and close. Start again without the
# machine state (a memory reset): the remembered card is back in the slot. "Load" the file
# through the menu, enter side A, press CONT and close; X and Y (+ leaves the sum in Y) in the
# saved machine state must be what the engine alone computes for the program keyed in directly.
#   e2e_cards.sh PROGRAM_FOLDER READLIST KEYRUN
set -euo pipefail
program_dir=$1 readlist=$2 keyrun=$3

source "$(dirname "${BASH_SOURCE[0]}")/e2e_session.sh"
e2e_work "$program_dir"
card="$work/sum.mcf"
printf '%s\n' "$card" "$card" "$card" > "$work/answers"

cat > "$work/session.sh" <<'SESSION'
set -u
cd "$1"
phase=$2
export ORRINDALE_TEST_FILE_ANSWERS="$1/answers"
E2E_PHASE=$phase
source ./e2e_session.sh
start_calculator
# The Magnetic Card sub-menu by keyboard: New 0, Swap 1, Eject 2, Load 3, Save 4.
card_menu() {
  local downs=()
  for _ in $(seq "$1"); do downs+=(Down); done
  menu_see "$wid" 300 200 Down Right "${downs[@]}" Return
}
power_on
if [ "$phase" = record ]; then
  click_see "$wid" $(at PRGM) "PRGM was not set"
  xdotool mousemove --window "$wid" 20 20
  keys_see "$wid" 4 Return 5 equal
  click_see "$wid" $(at End) "END was not keyed"
  click_see "$wid" $(at RUN) "RUN was not set"
  click_see "$wid" $(at End) "END did not send the counter home"
  card_menu 0                      # New
  card_see card-record "side A was not recorded"
  # Save from the card menu, and TEXT typed into the Card Names dialog's name field.
  names_typed() {
    card_menu 4                    # Save
    did=$(find_window '^Card Names$')
    [ -n "$did" ] || fail "the Card Names dialog did not appear"
    wait_for "the Card Names dialog was not drawn" is_drawn "$did"
    xdotool windowfocus --sync "$did" 2>/dev/null || true
    wait_for "the Card Names dialog did not take the keyboard" has_focus "$did"
    xdotool type --window "$did" "$1"
  }
  # A first Save is cancelled by Escape in the Card Names dialog, typed with the cursor in the
  # name field: the dialog closes and nothing is saved.
  names_typed x
  xdotool key --window "$did" Escape
  wait_for "Escape in the name field did not close Card Names" no_window '^Card Names$'
  [ ! -e "$PWD/sum.mcf" ] || fail "Escape in Card Names still saved the card"
  names_typed sum
  xdotool key --window "$did" Return
  wait_for "the card was not saved" has_file "$PWD/sum.mcf"
else
  card_menu 3                      # Load
  card_see card-enter "side A was not entered"
  xdotool mousemove --window "$wid" 20 20
  run_see CONT short xdotool mousemove --window "$wid" $(at Cont) click 1
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
