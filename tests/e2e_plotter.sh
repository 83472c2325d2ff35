# The plotter on the real executable under Xvfb: a program on a card (written by keyrun) draws
# a square and a sine curve through FMT SHIFT UP/DOWN on the plotter opened from the menu; a
# second card draws a line and stops right after it. The record is then found in "pvpt.dat"
# after the plotter window closed, and must be keyrun's record of the same two runs: the
# program waits for the pen, so the STOP no longer cuts the last line short. An Escape that
# closes the plotter's pop-up menu leaves the plotter open.
#   e2e_plotter.sh PROGRAM_DIR READLIST KEYRUN SOURCE_DIR [SCREENSHOT]
set -euo pipefail
program_dir=$1 readlist=$2 keyrun=$3 source_dir=$4 shot=${5:-}

source "$(dirname "${BASH_SOURCE[0]}")/e2e_session.sh"
e2e_work "$program_dir" HP9plig.dat
card="$work/plot.mcf" card2="$work/stop.mcf"
stop_program="prgm 0 SHUP 0 FMT SHDN 0 SHUP 3 0 0 0 FMT SHDN Stop End run End"
# shellcheck disable=SC2046
"$keyrun" $(cat "$source_dir/tests/plotter_program.txt") card-new record card-save="$card" \
  > /dev/null
# shellcheck disable=SC2086
"$keyrun" $stop_program card-new record card-save="$card2" > /dev/null
# shellcheck disable=SC2046,SC2086
"$keyrun" plotter $(cat "$source_dir/tests/plotter_program.txt") Cont $stop_program Cont \
  plot-save="$work/keyrun.ptf" > /dev/null
printf '%s\n%s\n' "$card" "$card2" > "$work/answers"

cat > "$work/session.sh" <<'SESSION'
set -u
cd "$1"
shot=$2
export ORRINDALE_TEST_FILE_ANSWERS="$1/answers"
source ./e2e_session.sh
start_calculator
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.3; }
menu() { # window, x, y, keys...
  local w=$1 x=$2 y=$3
  shift 3
  xdotool mousemove --window "$w" "$x" "$y" click 3
  sleep 0.5
  for key in "$@"; do xdotool key "$key"; sleep 0.1; done
  sleep 0.5
}
power_on
menu "$wid" 300 200 Down Right Down Down Down Return   # Magnetic Card, Load
click "$wid" 605 314                          # enter
sleep 2.5
menu "$wid" 300 200 Down Down Right Return    # Peripherals, Plotter
pid=$(find_window '^Plotter$')
[ -n "$pid" ] || fail "the plotter window did not open"
xdotool windowmove "$pid" 0 0
sleep 0.5
menu "$pid" 400 300 Down Down Down Down Down Down Down Down Return   # Centre Controls
click "$pid" 739 510                          # ON
sleep 0.5
xdotool mousemove --window "$wid" 20 20
click "$wid" 548 466                          # CONT
sleep 16
xdotool windowraise "$wid"                    # the calculator over the plotter
sleep 0.5
menu "$wid" 300 200 Down Right Down Down Down Return   # Magnetic Card, Load: the STOP card
click "$wid" 605 314                          # enter
sleep 2.5
xdotool mousemove --window "$wid" 20 20
click "$wid" 548 466                          # CONT
sleep 4
xdotool windowraise "$pid"
sleep 0.5
[ -z "$shot" ] || import -window root "$shot"
# Escape that closes the pop-up menu leaves the plotter open.
menu "$pid" 400 300 Escape
xdotool search --name '^Plotter$' >/dev/null 2>&1 || fail "Escape that closed the menu closed the plotter"
menu "$pid" 400 300 Up Return               # Close  (Esc)
sleep 0.8
[ -z "$shot" ] || import -window root "${shot%.png}-question.png"
xdotool key n                                 # do not save as a plot file
sleep 0.8
xdotool search --name '^Plotter$' >/dev/null 2>&1 && fail "the plotter did not close"
close_calculator
SESSION

e2e_run_session "$work" "$shot"

[ -f "$work/pvpt.dat" ] || { echo "no pvpt.dat was written"; exit 1; }
lines=$("$readlist" "$work/pvpt.dat")
echo "pvpt.dat: $(printf '%s' "$lines" | head -n 20 | tr '\n' ' ')..."
# The square's corners (750, 1500), (2750, 1500), (2750, 3500), (750, 3500) in order, drawn with
# the pen down, and the crest of the curve (4470, 3500).
corners="$((750 * 65536 + 1500)) $((2750 * 65536 + 1500)) $((2750 * 65536 + 3500)) $((750 * 65536 + 3500))"
printf '%s\n' "$lines" | tr '\n' ' ' | grep -q -- "-31 $corners $((750 * 65536 + 1500))" \
  || { echo "the square is not in the record"; exit 1; }
printf '%s\n' "$lines" | grep -qx "$((4470 * 65536 + 3500))" \
  || { echo "the curve is not in the record"; exit 1; }
# The line the STOP card draws ends at (6750, 2500) before the STOP lifts the pen.
printf '%s\n' "$lines" | tail -n 3 | tr '\n' ' ' \
  | grep -q -- "$((3750 * 65536 + 2500)) $((6750 * 65536 + 2500)) -16" \
  || { echo "the line before STOP is not in the record"; exit 1; }
[ "$lines" = "$("$readlist" "$work/keyrun.ptf")" ] \
  || { echo "the record differs from keyrun's: $(diff <(printf '%s\n' "$lines") <("$readlist" "$work/keyrun.ptf") | head -n 10 | tr '\n' ' ')"; exit 1; }
