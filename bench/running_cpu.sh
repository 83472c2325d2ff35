#!/usr/bin/env bash
# A long program running in the real calculator window under Xvfb: the share of one core the
# process uses while it runs, the share it uses idle (switched on and warmed up, nothing
# running), and the program's pace against the run loop's ideal pace.
#
# The program is "+ GO TO 0 0" with 1 in X: each pass round the loop (four steps) adds one to Y.
# Closing the window stops it and saves Y; the steps it ran, over the time it ran, against
# (StepsPerSleep + 1) steps every 30 ms at the default run speed, give the pace (1.00 is exact).
# Run by hand after a build (not part of the tests):
#   bench/running_cpu.sh [BUILD_DIR] [SECONDS]
set -euo pipefail

build=$(cd "${1:-$(dirname "$0")/../build}" && pwd)
seconds=${2:-20}
work=$(mktemp -d)
xvfb=
trap '[ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
cp "$build/bin/orrindale" "$build/bin/PM91B.dat" "$build/bin/HPfncd.dat" "$work/"
cp "$build/bin/"PM91B@?x.dat "$work/" 2>/dev/null || true

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
export DISPLAY=":$(head -n 1 "$work/display")" QT_QPA_PLATFORM=xcb
cd "$work"
export XDG_DATA_HOME=$work/data
unset QT_SCALE_FACTOR # the clicks below are in the panel's 1x pixels

./orrindale &
app=$!
wid=
for _ in $(seq 50); do
    wid=$(xdotool search --name '^HP9100B$' 2>/dev/null | head -n 1) && [ -n "$wid" ] && break
    sleep 0.2
done
[ -n "$wid" ] || { echo "the calculator window did not appear" >&2; exit 1; }
sleep 0.5
at() { # X Y [xdotool command chained after the move]
    local x=$1 y=$2
    shift 2
    xdotool mousemove --window "$wid" "$x" "$y" "$@"
}
click() { at "$1" "$2" click 1; sleep 0.3; }
key() { xdotool key --window "$wid" "$1"; sleep 0.15; }
# Utime plus stime of the calculator, in clock ticks.
ticks() { awk '{print $14 + $15}' "/proc/$app/stat"; }
hz=$(getconf CLK_TCK)
share() { # TICKS_BEFORE TICKS_AFTER NS_BEFORE NS_AFTER
    awk -v a="$1" -v b="$2" -v s="$3" -v e="$4" -v hz="$hz" \
        'BEGIN {printf "%.1f", 100 * (b - a) / hz / ((e - s) / 1e9)}'
}

click 465 361 # ON
at 20 20
# The display warms up for five seconds after switching on, redrawn ten times a second.
sleep 6
t0=$(ticks) n0=$(date +%s%N)
sleep 5
idle=$(share "$t0" "$(ticks)" "$n0" "$(date +%s%N)")

click 535 361 # PRGM
at 20 20
key equal     # +
click 583 466 # GO TO
at 20 20
key 0
key 0
click 606 361 # RUN
click 616 443 # END: the counter goes home
at 20 20
key 1
at 548 466 click 1 # CONT
started=$(date +%s%N)
at 20 20
sleep 1
t0=$(ticks) n0=$(date +%s%N)
sleep "$seconds"
running=$(share "$t0" "$(ticks)" "$n0" "$(date +%s%N)")
xdotool key --window "$wid" Escape
stopped=$(date +%s%N)
for _ in $(seq 50); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.2
done
kill -0 "$app" 2>/dev/null && { kill "$app"; echo "the calculator did not close" >&2; exit 1; }

state=$(find "$work" -name cif9B.ini | head -n 1)
[ -n "$state" ] || { echo "no machine state was saved" >&2; exit 1; }
# Y is saved as its words: mantissa digits last first (32 a blank), then the exponent.
loops=$("$build/bin/readlist" "$state" | awk -F'~' '/^101/ {
    sub(/^101/, "", $1); digits = ""
    for (i = 10; i >= 1; --i) if ($i != 32) digits = digits $i
    exponent = $11; value = digits + 0
    for (i = length(digits) - 1; i > exponent; --i) value /= 10
    print value }')
steps=$((loops * 4))
awk -v s="$steps" -v a="$started" -v b="$stopped" -v idle="$idle" -v run="$running" 'BEGIN {
    pace = s / ((b - a) / 1e9) / (52 / 0.030)
    printf "idle, switched on: %s%% of a core\n", idle
    printf "program running:   %s%% of a core\n", run
    printf "pace:              %.3f of the ideal (%d steps in %.1f s)\n", pace, s, (b - a) / 1e9}'
