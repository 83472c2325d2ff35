#!/usr/bin/env bash
# End to end: a marked card stack fed into the real calculator under Xvfb. keyrun keys a program
# and writes it as a card stack, cut into cards as the viewer's export cuts it. The calculator
# is switched on, "Peripherals" / "Marked Card Reader" opened from the pop-up menu, the stack
# loaded through the reader's own menu (the file dialog answered through the test hook of
# main.cpp), PRGM set and one card fed with "Card Feed"; the reader and then the calculator are
# closed. The saved machine state must hold the card's 28 codes in program rows 0 and 1.
# Then the marked card editor ("Peripherals" / "Marked Card Editor") makes cards of a program
# text with its Text button and saves them with Save, taking the file name it proposes: the
# text must be unchanged and a stack of the same name with .ocf must stand beside it. Card 1 is
# clicked in the card list, Down pressed and Erase answered Yes: saved again, the stack still
# holds card 1, since Erase acts on the card the list moved to.
#   e2e_marked.sh PROGRAM_FOLDER READLIST KEYRUN [READER_SHOT.png]
set -euo pipefail
program_dir=$1 readlist=$2 keyrun=$3 shot=${4:-}

source "$(dirname "${BASH_SOURCE[0]}")/e2e_session.sh"
e2e_work "$program_dir" CR91B.dat HP9pgcd.dat
stack="$work/sum.ocf"
"$keyrun" prgm 4 SHUP 5 Add End "stack-save=$stack" > /dev/null
text="$work/sinx.txt"
"$keyrun" prgm 4 SHUP 5 Add End run End "listing-save=$text" > /dev/null
cp "$text" "$work/sinx.kept"
# The answers: the stack for Load Stack, the text for Text, and the proposed name ("=") for Save.
printf '%s\n' "$stack" "$text" "=" "$work/erased.ocf" > "$work/answers"

cat > "$work/session.sh" <<'SESSION'
set -u
[ -z "${E2E_TRACE:-}" ] || set -x
cd "$1"
shot=$2
export ORRINDALE_TEST_FILE_ANSWERS="$1/answers"
source ./e2e_session.sh
start_calculator
power_on
# The pop-up menu: its second entry, Peripherals, and in it the reader below the plotter.
menu_see "$wid" 300 200 Down Down Right Down Return
rid=$(find_window '^Marked Card Reader$')
[ -n "$rid" ] || fail "the reader did not open"
wait_for "the reader was not drawn" is_drawn "$rid"
# Without room beside the calculator the reader stands over a part of it that is neither the
# display nor the keyboard.
xdotool windowraise "$rid" 2>/dev/null || true
# Its own menu: Load Stack is the first entry; the stack shows in the hopper.
see "$rid" "the stack was not loaded" menu_see "$rid" 60 100 Down Return
click_see "$wid" $(at PRGM) "PRGM was not set"
pass_see "the card was not fed" xdotool mousemove --window "$rid" $(at reader-feed) click 1
[ -z "$shot" ] || import -window root "$shot"
# The reader's menu again: Close  (Esc) is the last entry.
menu_see "$rid" 60 100 Up Return
wait_for "the reader did not close" no_window '^Marked Card Reader$'
# The editor, the last entry of Peripherals; its toolbar's Text and Save buttons.
menu_see "$wid" 300 200 Down Down Right Down Down Down Return
eid=$(find_window '^Marked Card Editor$')
[ -n "$eid" ] || fail "the editor did not open"
wait_for "the editor was not drawn" is_drawn "$eid"
click_see "$eid" 118 18 "the program text was not read"
xdotool mousemove --window "$eid" 162 18 click 1   # Save
wait_for "the stack was not saved" has_file "$PWD/sinx.ocf"
[ -z "${E2E_EDITOR_SHOT:-}" ] || import -window root "$E2E_EDITOR_SHOT"
# Card 1 clicked in the card list, Down to card 2, Erase and Yes: the card erased is card 2, the
# one the list and the face show, so card 1 keeps its program in the stack saved again.
xdotool mousemove --window "$eid" 330 46 click 1
xdotool key --window "$eid" Down
xdotool mousemove --window "$eid" 250 18 click 1   # Erase
answer y "erasing the card"
xdotool mousemove --window "$eid" 162 18 click 1   # Save
wait_for "the stack was not saved again" has_file "$PWD/erased.ocf"
xdotool key Escape
wait_for "the editor did not close" no_window '^Marked Card Editor$'
# A click on the bare case gives the calculator the keyboard again.
xdotool mousemove --window "$wid" 390 385 click 1
close_calculator
SESSION

e2e_run_session "$work" "$shot"

# The first card's line: "-1~0~" and then its 29 fields; steps 0-13 are program row 0, steps
# 14-27 row 1.
card=$("$readlist" "$stack" | sed -n 6p)
codes=$(printf '%s\n' "$card" | cut -d'~' -f3-31)
echo "card 1: $codes"
state=$("$readlist" "$work/cif9B.ini")
row0=$(printf '%s\n' "$state" | grep '^000' | cut -c4- | cut -d'~' -f1-14)
row1=$(printf '%s\n' "$state" | grep '^001' | cut -c4- | cut -d'~' -f1-14)
echo "rows 0 and 1 saved by the calculator: $row0~$row1"
[ "$(printf '%s\n' "$codes" | cut -d'~' -f1-28)" = "$row0~$row1" ] || {
  echo "the fed card is not in program memory"; exit 1; }
# The program itself, not only zeros, reached memory.
[ "$(printf '%s\n' "$row0" | cut -d'~' -f1)" != 0 ]

# The editor's save went beside the program text, not over it.
cmp -s "$text" "$work/sinx.kept" || { echo "the program text was overwritten"; exit 1; }
[ -f "$work/sinx.ocf" ] || { echo "no sinx.ocf beside the program text"; exit 1; }
made=$("$readlist" "$work/sinx.ocf" | sed -n 6p)
echo "editor's card 1: $made"
[ "$(printf '%s\n' "$made" | cut -d'~' -f3-8)" = "4~23~5~27~38~0" ] || {
  echo "the editor's stack does not hold the program text"; exit 1; }
kept=$("$readlist" "$work/erased.ocf" | sed -n 6p)
echo "card 1 after Down and Erase: $kept"
[ "$kept" = "$made" ] || { echo "Erase after an arrow erased the card the list had left"; exit 1; }
