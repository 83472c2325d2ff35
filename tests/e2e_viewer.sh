#!/usr/bin/env bash
# End to end: the program memory viewer on the real calculator under Xvfb. Switch on, key the
# factorial of the user guide in PRGM mode, open "View Program Memory" from the pop-up menu
# with the keyboard, type Subtract over the first step, Send To Memory (answering its question
# with the Y key), close the viewer without saving and the calculator with Escape, and find
# the changed step, and its unchanged neighbours, in the saved machine state.
#   e2e_viewer.sh PROGRAM_FOLDER READLIST [SCREENSHOT.png]
set -euo pipefail
program_dir=$1 readlist=$2 shot=${3:-}

source "$(dirname "${BASH_SOURCE[0]}")/e2e_session.sh"
e2e_work "$program_dir"

cat > "$work/session.sh" <<'SESSION'
set -u
cd "$1"
shot=$2
source ./e2e_session.sh
start_calculator
power_on
click_see "$wid" $(at PRGM) "PRGM was not set"
xdotool mousemove --window "$wid" 20 20
# The factorial: SHIFT UP 1 x<->y MULTIPLY SHIFT UP 1 SUBTRACT IF X<Y 0 c ROLL UP END
# ROLL DOWN GO TO 0 3, from step 0.0 on (a fresh machine's counter).
keys_see "$wid" Return 1 w x Return 1 minus shift+y 0 c u shift+o shift+u g 0 3
click_see "$wid" $(at RUN) "RUN was not set"
# The pop-up menu, then its fourth entry: View Program Memory.
menu_see "$wid" 300 200 Down Down Down Down Return
vid=$(find_window '^HP-9100B Program Memory Viewer \[\]$')
[ -n "$vid" ] || fail "the viewer did not open"
wait_for "the viewer was not drawn" is_drawn "$vid"
[ -z "$shot" ] || import -window root "$shot"
# The instruction cell of step 0.0, below the menu bar; type over it.
xdotool mousemove --window "$vid" 200 28 click 1
see "$vid" "the step was not typed" xdotool type --delay 60 Subtract
see "$vid" "the step was not entered" xdotool key Return
# File, then its fifth entry: Send To Memory; Y answers the question.
MENU_BUTTON=1 menu_see "$vid" 18 9 Down Down Down Down Down Return
answer y "Send To Memory"
# Escape closes the viewer (sent to it: the keyboard goes back to no window in particular once
# the question has gone); N declines saving the edited table as a file.
xdotool key --window "$vid" Escape
answer n "closing the viewer"
wait_for "the viewer did not close" no_window 'Program Memory Viewer'
close_calculator
SESSION

e2e_run_session "$work" "$shot"

# Register 0 holds steps 0.0 to 0.d, one decimal code a word.
row=$("$readlist" "$work/cif9B.ini" | grep '^000' | cut -c4-)
echo "steps 0.0-0.d in the saved state: $row"
# SUBTRACT (octal 34) where SHIFT UP (27) was keyed; 1 (01) and MULTIPLY (36) behind it.
[ "$(echo "$row" | cut -d'~' -f1-4)" = "$((8#34))~$((8#01))~$((8#30))~$((8#36))" ]
