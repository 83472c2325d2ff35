# The plotter on the real executable under Xvfb: a program on a card (written by keyrun) draws
# a square and a sine curve through FMT SHIFT UP/DOWN on the plotter opened from the menu; a
# second card draws a line and stops right after it. The record is then found in "pvpt.dat"
# after the plotter window closed, and must be keyrun's record of the same two runs: the
# program waits for the pen, so the STOP no longer cuts the last line short. The SVG exported
# from the plotter's menu is keyrun's picture of that record. An Escape that
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
  plot-save="$work/keyrun.ptf" plot-svg="$work/keyrun.svg" > /dev/null
printf '%s\n%s\n%s\n' "$card" "$card2" "$work/plot.svg" > "$work/answers"

cat > "$work/session.sh" <<'SESSION'
set -u
[ -z "${E2E_TRACE:-}" ] || set -x
cd "$1"
shot=$2
export ORRINDALE_TEST_FILE_ANSWERS="$1/answers"
source ./e2e_session.sh
start_calculator
power_on
menu_see "$wid" 300 200 Down Right Down Down Down Return   # Magnetic Card, Load
card_see card-enter "the card was not entered"
menu_see "$wid" 300 200 Down Down Right Return    # Peripherals, Plotter
pid=$(find_window '^Plotter$')
[ -n "$pid" ] || fail "the plotter window did not open"
wait_for "the plotter was not drawn" is_drawn "$pid"
xdotool windowmove --sync "$pid" 0 0
menu_see "$pid" 400 300 Down Down Down Down Down Down Down Down Return   # Centre Controls
click_see "$pid" $(at plotter-ON) "the plotter did not switch on"
# The calculator over the plotter, its display in sight.
see root "the calculator did not come up" xdotool windowraise "$wid"
xdotool mousemove --window "$wid" 20 20
# A program takes no step while the pen travels, so once it has stopped the pen is at rest and
# the record holds every line before the stop. The curve takes a while on a loaded machine.
E2E_LIMIT=90 run_see "the square and the curve" xdotool mousemove --window "$wid" $(at Cont) click 1
menu_see "$wid" 300 200 Down Right Down Down Down Return   # Magnetic Card, Load: the STOP card
card_see card-enter "the STOP card was not entered"
xdotool mousemove --window "$wid" 20 20
run_see "the STOP card" xdotool mousemove --window "$wid" $(at Cont) click 1
see root "the plotter did not come up" xdotool windowraise "$pid"
[ -z "$shot" ] || import -window root "$shot"
# Export Picture, above Help and Close (the file entries above are off while the plotter is
# on), and in it SVG…
menu_see "$pid" 400 300 Up Up Up Right Return
wait_for "the plot was not exported" has_file "$PWD/plot.svg"
# Escape that closes the pop-up menu leaves the plotter open.
menu_see "$pid" 400 300 Escape
has_window '^Plotter$' || fail "Escape that closed the menu closed the plotter"
menu_see "$pid" 400 300 Up Return               # Close  (Esc)
[ -z "$shot" ] || import -window root "${shot%.png}-question.png"
answer n "closing the plotter"                  # do not save as a plot file
wait_for "the plotter did not close" no_window '^Plotter$'
# A click on the bare case gives the calculator the keyboard again.
xdotool mousemove --window "$wid" 390 385 click 1
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
# The picture exported from the window is the one keyrun draws of the same record.
cmp -s "$work/plot.svg" "$work/keyrun.svg" \
  || { echo "the exported SVG differs from keyrun's: $(diff "$work/plot.svg" "$work/keyrun.svg" | head -n 6 | tr '\n' ' ')"; exit 1; }
echo "exported SVG: $(grep -c '<path' "$work/plot.svg") paths, the same as keyrun's"
