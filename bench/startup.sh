#!/usr/bin/env bash
# Start-up of the calculator against a bare Qt window of the same size, side by side under one
# Xvfb: time from launch to the first painted window, and peak memory (maximum resident set).
# Runs the two alternately, RUNS times each, and prints the medians and both ratios.
# Run by hand after a build (not part of the tests):
#   bench/startup.sh [BUILD_DIR] [RUNS]
# Each program stays up LINGER_MS after its first paint, so that the work it queues behind the
# first paint counts towards its peak memory as well.
set -euo pipefail

build=$(cd "${1:-$(dirname "$0")/../build}" && pwd)
runs=${2:-41}
linger=${LINGER_MS:-1500}

work=$(mktemp -d)
xvfb=
trap '[ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
# A copy of the program folder, so the runs neither read nor write the build's own files.
cp -r "$build/bin" "$work/program"
rm -f "$work/program"/*.ini "$work/program"/*.hp91

# The server picks a free display and names it, so runs beside other sessions never race for one.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
display=:$(head -n 1 "$work/display")

# One run: prints "<microseconds to first paint> <peak KiB>".
measure() {
    local log=$work/run.log start
    start=$(date +%s%N)
    DISPLAY=$display QT_QPA_PLATFORM=xcb ORRINDALE_FIRST_PAINT=$linger \
        /usr/bin/time -f 'peak %M' "$@" >"$log" 2>&1 || true
    local painted peak
    painted=$(awk '/^first-paint/ {print $2}' "$log")
    peak=$(awk '/^peak/ {print $2}' "$log")
    if [ -z "$painted" ] || [ -z "$peak" ]; then
        echo "no first paint from $*:" >&2
        cat "$log" >&2
        exit 1
    fi
    echo "$(((painted - start) / 1000)) $peak"
}

median() { sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
least() { sort -n | head -n 1; }

: >"$work/calc" && : >"$work/bare"
# One unmeasured start of each warms the disk cache.
measure "$work/program/orrindale" >/dev/null
measure "$build/bench/bare_window" >/dev/null
for ((i = 0; i < runs; i++)); do
    measure "$work/program/orrindale" >>"$work/calc"
    measure "$build/bench/bare_window" >>"$work/bare"
done

calc_us=$(cut -d' ' -f1 "$work/calc" | median)
bare_us=$(cut -d' ' -f1 "$work/bare" | median)
calc_kb=$(cut -d' ' -f2 "$work/calc" | median)
bare_kb=$(cut -d' ' -f2 "$work/bare" | median)
# A shared machine adds delays of its own to some starts; the quickest start of each shows the
# cost of the program itself.
calc_best=$(cut -d' ' -f1 "$work/calc" | least)
bare_best=$(cut -d' ' -f1 "$work/bare" | least)
# Each start against the bare start right after it, which met the machine in much the same state.
pairs=$(paste -d' ' <(cut -d' ' -f1 "$work/calc") <(cut -d' ' -f1 "$work/bare") |
    awk '{print $1 / $2}' | median)
echo "runs each:        $runs (alternating)"
awk -v a="$calc_us" -v b="$bare_us" -v e="$calc_best" -v f="$bare_best" 'BEGIN {
    printf "first paint (ms): calculator %.1f, bare window %.1f (medians)\n", a / 1000, b / 1000
    printf "                  calculator %.1f, bare window %.1f (quickest)\n", e / 1000, f / 1000}'
echo "peak memory (KiB): calculator $calc_kb, bare window $bare_kb (medians)"
awk -v a="$calc_us" -v b="$bare_us" -v e="$calc_best" -v f="$bare_best" -v c="$calc_kb" \
    -v d="$bare_kb" -v p="$pairs" 'BEGIN {
    printf "time ratio:   %.2f (medians), %.2f (quickest), %.2f (median of pairs)\n", a / b, e / f, p
    printf "memory ratio: %.2f\n", c / d}'
