#!/usr/bin/env bash
# End to end through the desktop's accessibility bus, as a screen reader drives the calculator
# (e2e_atspi.py tells what is checked there), and Shift+F10 opening the pop-up menu. The session
# has a bus of its own, the accessibility bus with its registry, and the calculator on it.
#   e2e_atspi.sh PROGRAM_FOLDER
set -euo pipefail
program_dir=$1

source "$(dirname "${BASH_SOURCE[0]}")/e2e_session.sh"
e2e_work "$program_dir"
cp "$(dirname "${BASH_SOURCE[0]}")/e2e_atspi.py" "$work/"
mkdir "$work/home" "$work/run"
chmod 700 "$work/run"

cat > "$work/session.sh" <<'SESSION'
set -u
[ -z "${E2E_TRACE:-}" ] || set -x
cd "$1"
source ./e2e_session.sh
read -r DBUS_SESSION_BUS_ADDRESS bus < <(dbus-daemon --session --fork --print-address=1 \
  --print-pid=1 | paste -s -d ' ')
export DBUS_SESSION_BUS_ADDRESS
trap 'kill "$bus" 2> /dev/null' EXIT
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launch '^HP9100B$' env QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 ./orrindale
/usr/bin/python3 e2e_atspi.py "$wid" || fail "through the accessibility bus"
# Shift+F10 opens the pop-up menu, a window of its own, which Escape closes.
before_ids=$(xdotool search --onlyvisible --class '' 2> /dev/null | sort)
xdotool key --window "$wid" shift+F10
wait_for "Shift+F10 did not open the menu" new_window "$before_ids" > /dev/null
menu=$(new_window "$before_ids")
xdotool key Escape
wait_for "the menu did not close" not_drawn "$menu"
# The first Escape takes the keyboard's focus off the controls, the second closes.
xdotool key --window "$wid" Escape
close_calculator
SESSION

HOME=$work/home XDG_RUNTIME_DIR=$work/run e2e_run_session "$work"
