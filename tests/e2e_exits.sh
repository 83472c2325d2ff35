#!/usr/bin/env bash
# End to end: the ways a session starts and ends besides the close box. For each of SIGTERM
# (logout, shutdown), SIGHUP (a closed terminal) and SIGINT (Ctrl+C), the real calculator under
# Xvfb is switched on, 1 2 Enter 3 + is typed, and the signal is sent: the program must end by
# itself with status 0, having saved X and Y as the engine alone computes them. After SIGTERM it
# is started again and closed with Escape: the sum read back is the sum written again. Then two
# starts at the same moment, one with a card and one with a plot, as a quick double-click on two
# files makes them: one calculator comes up, with the card in its slot and the plot in its
# plotter, as the files it saves at the close (on SIGTERM, with the plotter open) show.
#   e2e_exits.sh PROGRAM_FOLDER READLIST KEYRUN SOURCE_DIR
set -euo pipefail
program_dir=$1 readlist=$2 keyrun=$3 source_dir=$4

source "$(dirname "${BASH_SOURCE[0]}")/e2e_session.sh"
e2e_work "$program_dir" orrindale_audio.so HP9plig.dat
card="$work/sum.mcf" plot="$work/square.ptf"
"$keyrun" prgm 4 SHUP 5 Add End card-new record card-save="$card" > /dev/null
# shellcheck disable=SC2046
"$keyrun" plotter $(cat "$source_dir/tests/plotter_program.txt") Cont plot-save="$plot" > /dev/null

# In a sanitizer build the desktop's message bus library leaks at every exit; the exit status
# checked here is the calculator's own.
echo "leak:libdbus-1.so" > "$work/lsan.supp"

cat > "$work/session.sh" <<'SESSION'
set -u
cd "$1"
source ./e2e_session.sh
export LSAN_OPTIONS="suppressions=$PWD/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
for signal in HUP INT TERM; do
  E2E_PHASE=$signal
  rm -f cif9B.ini
  start_calculator
  power_on
  xdotool mousemove --window "$wid" 20 20
  keys_see "$wid" 1 2 Return 3 equal
  kill -s "$signal" "$app"
  poll "${E2E_LIMIT:-30}" has_ended "$app" || fail "the calculator did not end on SIG$signal"
  status=0
  wait "$app" || status=$?
  [ "$status" -eq 0 ] || fail "the calculator ended with status $status on SIG$signal"
  cp cif9B.ini "state-$signal.ini" || fail "no machine state was saved on SIG$signal"
done
E2E_PHASE="start after SIGTERM"
start_calculator
xdotool mousemove --window "$wid" 20 20 key --window "$wid" Escape
poll "${E2E_LIMIT:-30}" has_ended "$app" || fail "the calculator did not close on Escape"
cp cif9B.ini state-again.ini

E2E_PHASE="two starts at once"
rm -f cce9B.ini pvpt.dat
./orrindale sum.mcf & first=$!
./orrindale square.ptf & second=$!
pid=$(find_window '^Plotter$')
[ -n "$pid" ] || fail "the plot did not open the plotter"
wait_for "the plotter was not drawn" is_drawn "$pid"
one_ended() { has_ended "$first" || has_ended "$second"; }
wait_for "both starts still run: neither handed its file over" one_ended
[ "$(xdotool search --name '^HP9100B$' | wc -l)" = 1 ] || fail "two calculators are running"
app=$first
has_ended "$first" && app=$second
kill -s TERM "$app"
poll "${E2E_LIMIT:-30}" has_ended "$app" || fail "the calculator did not end on SIGTERM"
wait "$first" || fail "the first start ended with a failure"
wait "$second" || fail "the second start ended with a failure"
SESSION

e2e_run_session "$work"

want=$(keyed_sum "$keyrun")
echo "computed by the engine: $want"
for saved in state-HUP state-INT state-TERM state-again; do
  got=$(saved_sum "$readlist" "$work/$saved.ini")
  echo "$saved: $got"
  [ "$got" = "$want" ]
done

"$readlist" "$work/cce9B.ini" | grep -q "^012$card\$" || { echo "the card is not in the slot"; exit 1; }
handed=$("$readlist" "$plot")
current=$("$readlist" "$work/pvpt.dat" | head -n "$(printf '%s\n' "$handed" | wc -l)")
[ "$current" = "$handed" ] || { echo "the plotter does not hold the plot"; exit 1; }
echo "one calculator, with the card in its slot and the plot in its plotter"
