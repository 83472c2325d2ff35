#!/usr/bin/env bash
# End to end: the HP 9101A on the real calculator under Xvfb. Switch on, open "Peripherals" /
# "Extended Memory" from the pop-up menu, switch LINE on, key program 2 (5 into b, FMT END)
# and store it with FMT FMT, key program 1 (2 FMT GO TO, recall b) and store it, call program 1
# with FMT GO TO and run it, look at the memory map, close the memory with Escape, and find both
# programs, the protect line and the call state in the saved "mmexdt.dat".
#   e2e_extmem.sh PROGRAM_FOLDER READLIST [PANEL_SHOT.png [MAP_SHOT.png]]
set -euo pipefail
program_dir=$1 readlist=$2 shot=${3:-} mapshot=${4:-}

source "$(dirname "${BASH_SOURCE[0]}")/e2e_session.sh"
e2e_work "$program_dir" mmexig.dat mmexpl.dat

cat > "$work/session.sh" <<'SESSION'
set -u
[ -z "${E2E_TRACE:-}" ] || set -x
cd "$1"
shot=$2 mapshot=$3
source ./e2e_session.sh
keys() { keys_see "$wid" "$@"; }
start_calculator
power_on
# The pop-up menu: its second entry, Peripherals, and in it Extended Memory, the entry above
# the last (the card editor).
menu_see "$wid" 300 200 Down Down Right Up Up Return
mid=$(find_window '^HP9101A$')
[ -n "$mid" ] || fail "the memory window did not open"
wait_for "the memory window was not drawn" is_drawn "$mid"
click_see "$mid" $(at memory-LINE-ON) "LINE did not switch on"
xdotool mousemove --window "$wid" 20 20 click 1
# Program 2: 5 X->( ) b FMT END, stored with FMT FMT from step 0.
click_see "$wid" $(at PRGM) "PRGM was not set"
keys 5 m b shift+f shift+o
click_see "$wid" $(at RUN) "RUN was not set"
keys shift+o 2 shift+f shift+f shift+o
# Program 1: 2 FMT GO TO b END, stored likewise.
click_see "$wid" $(at PRGM) "PRGM was not set"
keys 2 shift+f g b shift+o
click_see "$wid" $(at RUN) "RUN was not set"
keys shift+o 1 shift+f shift+f shift+o
# Call program 1 and run it: it calls program 2, which returns into it; the display shows the
# 5 it recalled once it stops.
keys 1 shift+f g
run_see "program 1" short xdotool key --window "$wid" n
[ -z "$shot" ] || import -window root "$shot"
# The memory map: the panel's menu, second entry.
menu_see "$mid" 300 30 Down Down Return
map=$(find_window '^9101A Memory Map$')
[ -n "$map" ] || fail "the memory map did not open"
wait_for "the memory map did not take the keyboard" has_focus "$map"
[ -z "$mapshot" ] || import -window root "$mapshot"
# To the focused window: the map, which is modal.
xdotool key Escape
wait_for "the memory map did not close" no_window '^9101A Memory Map$'
# Escape closes the memory, then the calculator.
xdotool mousemove --window "$mid" 300 30
xdotool key --window "$mid" Escape
wait_for "the memory window did not close" no_window '^HP9101A$'
# A click on the bare case gives the calculator the keyboard again.
xdotool mousemove --window "$wid" 390 385 click 1
close_calculator
SESSION

e2e_run_session "$work" "$shot" "$mapshot"

saved=$("$readlist" "$work/mmexdt.dat")
echo "$saved" | grep -E '^00[0235]'
# Program 2 from register 0, program 1 from register 1, protect line 2; program 1 is current,
# one call (the keyboard's) still open: program 2 returned into program 1.
echo "$saved" | grep -qx '0002'
echo "$saved" | grep -qx '0022~0~'
echo "$saved" | grep -qx '0021~1~'
echo "$saved" | grep -qx '0031'
echo "$saved" | grep -qx '0051'
