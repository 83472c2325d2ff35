#!/usr/bin/env bash
# End to end: the real calculator in a program folder it cannot write. The first start says once
# where the settings and state go instead; switch on, key 1 2 Enter 3 +, close with Escape:
# the machine state lies in the user's data folder, with X 3 and Y 15, and nothing is added to
# the program folder. The second start says nothing, reads that state back and, closed at once,
# saves the same X and Y again (a state that was lost would come back as a reset machine's).
# Root may write any folder whatever its mode, so as root the program runs as "nobody".
#   e2e_readonly.sh PROGRAM_FOLDER READLIST KEYRUN
set -euo pipefail
program_dir=$1 readlist=$2 keyrun=$3

source "$(dirname "${BASH_SOURCE[0]}")/e2e_session.sh"
e2e_work "$program_dir"
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
mkdir "$work/prog" "$work/home"
mv "$work"/orrindale "$work"/*.dat "$work/prog/"
as_user
chmod 555 "$work/prog"
listing=$(ls "$work/prog")

cat > "$work/session.sh" <<'SESSION'
set -u
[ -z "${E2E_TRACE:-}" ] || set -x
cd "$1"
runner=$2 phase=$3
source ./e2e_session.sh
E2E_PHASE=$phase
share_display "$runner"
cd prog
# shellcheck disable=SC2086
launch '^HP9100B' $runner ./orrindale
if [ "$phase" = first ]; then
  answer Return "the word at the first start of where the state goes"
  power_on
  xdotool mousemove --window "$wid" 20 20
  keys_see "$wid" 1 2 Return 3 equal
else
  # A message would also keep the Escape of close_calculator from closing the calculator.
  ! has_window --onlyvisible '^Orrindale' || fail "a message at the second start"
fi
close_calculator
SESSION

state=$work/home/.local/share/Orrindale/cif9B.ini
want=$(keyed_sum "$keyrun")
for phase in first second; do
  HOME=$work/home e2e_run_session "$work" "$runner" "$phase"
  [ -f "$state" ] || { echo "$phase: no machine state in the data folder"; exit 1; }
  [ "$(ls "$work/prog")" = "$listing" ] || { echo "$phase: the program folder changed"; exit 1; }
  got=$(saved_sum "$readlist" "$state")
  echo "$phase: saved by the calculator: $got"
  [ "$got" = "$want" ] || { echo "$phase: the engine computes $want"; exit 1; }
done
