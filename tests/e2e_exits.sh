#!/usr/bin/env bash
# End to end: the ways a session ends besides the close box. For each of SIGTERM (logout,
# shutdown), SIGHUP (a closed terminal) and SIGINT (Ctrl+C), the real calculator under Xvfb is
# switched on, 1 2 Enter 3 + is typed, and the signal is sent: the program must end by itself
# with status 0, having saved X and Y as the engine alone computes them. After SIGTERM it is
# started again and closed with Escape: the sum read back is the sum written again.
#   e2e_exits.sh PROGRAM_FOLDER READLIST KEYRUN
set -euo pipefail
program_dir=$1 readlist=$2 keyrun=$3

source "$(dirname "${BASH_SOURCE[0]}")/e2e_session.sh"
e2e_work "$program_dir" orrindale_audio.so

cat > "$work/session.sh" <<'SESSION'
set -u
cd "$1"
source ./e2e_session.sh
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
close_calculator
SESSION

e2e_run_session "$work"

want=$(keyed_sum "$keyrun")
echo "computed by the engine: $want"
for saved in state-HUP state-INT state-TERM cif9B; do
  got=$(saved_sum "$readlist" "$work/$saved.ini")
  echo "$saved: $got"
  [ "$got" = "$want" ]
done
