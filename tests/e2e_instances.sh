#!/usr/bin/env bash
# End to end: twenty starts of the real calculator at the same moment on one program folder,
# each with a card of its own, as a quick click on many files makes them. One calculator
# remains; the nineteen others handed their card to it and ended with status 0, and a start
# after them does the same. Headless, on the offscreen platform. That every card reaches the
# calculator is checked by the InstanceLink tests, which see what it is handed.
#   e2e_instances.sh PROGRAM_DIR KEYRUN
set -euo pipefail
program_dir=$1 keyrun=$2
starts=20
work=$(mktemp -d)
pids=()
finish() {
  local pid
  for pid in "${pids[@]}"; do kill -9 "$pid" 2> /dev/null || true; done
  wait 2> /dev/null || true
  rm -rf "$work"
}
trap finish EXIT
cp "$program_dir/orrindale" "$program_dir/PM91B.dat" "$program_dir/HPfncd.dat" "$work/"
mkdir -m 700 "$work/runtime"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work/runtime
"$keyrun" prgm 4 SHUP 5 Add End card-new record card-save="$work/card.mcf" > /dev/null
for i in $(seq "$starts"); do cp "$work/card.mcf" "$work/card$i.mcf"; done

for i in $(seq "$starts"); do
  "$work/orrindale" "$work/card$i.mcf" > "$work/start$i.log" 2>&1 &
  pids+=("$!")
done
running() {
  local pid
  for pid in "${pids[@]}"; do ! kill -0 "$pid" 2> /dev/null || echo "$pid"; done
}
end=$((SECONDS + 60))
while [ "$(running | wc -l)" -gt 1 ] && [ "$SECONDS" -lt "$end" ]; do sleep 0.1; done

holder=$(running)
[ "$(printf '%s' "$holder" | grep -c .)" = 1 ] \
  || { echo "calculators running: ${holder//$'\n'/ }"; exit 1; }
for i in "${!pids[@]}"; do
  [ "${pids[$i]}" != "$holder" ] || continue
  rc=0
  wait "${pids[$i]}" || rc=$?
  [ "$rc" = 0 ] || { echo "start $((i + 1)) ended with $rc:"; cat "$work/start$((i + 1)).log"; exit 1; }
done
timeout 30 "$work/orrindale" "$work/card1.mcf" \
  || { echo "a start after them did not hand its card over"; exit 1; }
kill -0 "$holder" || { echo "the calculator ended"; exit 1; }
echo "one calculator; the $((starts - 1)) other starts and one after them handed their card to it and ended with 0"
