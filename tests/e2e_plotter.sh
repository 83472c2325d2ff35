# The plotter on the real executable under Xvfb: a program on a card (written by keyrun) draws
# a square and a sine curve through FMT SHIFT UP/DOWN on the plotter opened from the menu; the
# record is then found in "pvpt.dat" after the plotter window closed.
#   e2e_plotter.sh PROGRAM_DIR READLIST KEYRUN SOURCE_DIR [SCREENSHOT]
set -euo pipefail
program_dir=$1 readlist=$2 keyrun=$3 source_dir=$4 shot=${5:-}

source "$(dirname "${BASH_SOURCE[0]}")/e2e_session.sh"
e2e_work "$program_dir" HP9plig.dat
card="$work/plot.mcf"
# shellcheck disable=SC2046
"$keyrun" $(cat "$source_dir/tests/plotter_program.txt") card-new record card-save="$card" \
  > /dev/null
printf '%s\n' "$card" > "$work/answers"

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
[ -z "$shot" ] || import -window root "$shot"
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
