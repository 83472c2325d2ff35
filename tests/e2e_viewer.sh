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
xdotool mousemove --window "$wid" 535 361 click 1   # PRGM
xdotool mousemove --window "$wid" 20 20
# The factorial: SHIFT UP 1 x<->y MULTIPLY SHIFT UP 1 SUBTRACT IF X<Y 0 c ROLL UP END
# ROLL DOWN GO TO 0 3, from step 0.0 on (a fresh machine's counter).
for key in Return 1 w x Return 1 minus shift+y 0 c u shift+o shift+u g 0 3; do
  xdotool key --window "$wid" "$key"
  sleep 0.1
done
xdotool mousemove --window "$wid" 606 361 click 1   # RUN
sleep 0.3
# The pop-up menu, then its fourth entry: View Program Memory.
xdotool mousemove --window "$wid" 300 200 click 3
sleep 0.5
for key in Down Down Down Down Return; do
  xdotool key "$key"
  sleep 0.15
done
vid=$(find_window '^HP-9100B Program Memory Viewer \[\]$')
[ -n "$vid" ] || fail "the viewer did not open"
sleep 0.5
[ -z "$shot" ] || import -window root "$shot"
# The instruction cell of step 0.0, below the menu bar; type over it.
xdotool mousemove --window "$vid" 200 28 click 1
sleep 0.3
xdotool type --delay 60 Subtract
xdotool key Return
sleep 0.3
# File, then its fifth entry: Send To Memory; Y answers the question.
xdotool mousemove --window "$vid" 18 9 click 1
sleep 0.5
for key in Down Down Down Down Down Return; do
  xdotool key "$key"
  sleep 0.15
done
sleep 0.5
xdotool key y
sleep 0.5
# Escape closes the viewer; N declines saving the edited table as a file.
xdotool key Escape
sleep 0.5
xdotool key n
sleep 0.5
xdotool search --name 'Program Memory Viewer' >/dev/null 2>&1 && fail "the viewer did not close"
close_calculator
SESSION

e2e_run_session "$work" "$shot"

# Register 0 holds steps 0.0 to 0.d, one decimal code a word.
row=$("$readlist" "$work/cif9B.ini" | grep '^000' | cut -c4-)
echo "steps 0.0-0.d in the saved state: $row"
# SUBTRACT (octal 34) where SHIFT UP (27) was keyed; 1 (01) and MULTIPLY (36) behind it.
[ "$(echo "$row" | cut -d'~' -f1-4)" = "$((8#34))~$((8#01))~$((8#30))~$((8#36))" ]
