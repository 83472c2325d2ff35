# Shared by the end-to-end tests, which drive the real program under Xvfb. Sourced by each test
# script (the work folder, the session under Xvfb) and, copied into the work folder, by the
# session itself (starting the calculator, finding windows, failing, closing).

# ---- The test script ----------------------------------------------------------------------------
# A work folder of its own in $work (removed at exit) with the calculator and the named files of
# the program folder PROGRAM_DIR, so the build's own files stay untouched.
e2e_work() { # PROGRAM_DIR [FILE...]
  local dir=$1
  shift
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cp "${BASH_SOURCE[0]}" "$work/e2e_session.sh"
  for file in orrindale PM91B.dat HPfncd.dat "$@"; do cp "$dir/$file" "$work/"; done
}

# Runs "$work/session.sh" with the arguments under an Xvfb of its own; its errors show if it
# fails. The server picks a free display and names it (-displayfd), so sessions started side by
# side never race for one.
e2e_run_session() {
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
  local xvfb=$! rc=0
  for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    sleep 0.05
  done
  [ -s "$work/display" ] || { cat "$work/xvfb.log"; kill "$xvfb"; echo "Xvfb did not start"; exit 1; }
  QT_QPA_PLATFORM=xcb DISPLAY=":$(head -n 1 "$work/display")" bash "$work/session.sh" "$@" \
    2> "$work/stderr.log" || rc=$?
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -f "$work/display"
  [ "$rc" -eq 0 ] || { cat "$work/stderr.log"; exit 1; }
}

# ---- The session ----------------------------------------------------------------------------------
# Ends the session with a message (prefixed by $E2E_PHASE when set), closing the program; with
# E2E_DEBUG_SHOT set, the screen is saved there first.
fail() {
  echo "${E2E_PHASE:+$E2E_PHASE: }$1"
  [ -z "${E2E_DEBUG_SHOT:-}" ] || import -window root "$E2E_DEBUG_SHOT"
  [ -z "${app:-}" ] || kill "$app" 2>/dev/null
  exit 1
}

# Prints the id of the first window whose title matches, waiting up to ten seconds; nothing
# when none appears.
find_window() {
  for _ in $(seq 50); do
    id=$(xdotool search --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.2
  done
}

# Starts the calculator in the current folder: its process in $app, its window in $wid.
start_calculator() {
  ./orrindale &
  app=$!
  wid=$(find_window '^HP9100B$')
  [ -n "$wid" ] || fail "the calculator window did not appear"
  sleep 0.5
}

# Switches the calculator on with a click on the ON label beside the power switch.
power_on() {
  xdotool mousemove --window "$wid" 465 361 click 1
  sleep 1
}

# Closes the calculator with Escape (the pointer parked off the keys) and ends the session.
close_calculator() {
  xdotool mousemove --window "$wid" 20 20
  sleep 0.3
  xdotool key --window "$wid" Escape
  for _ in $(seq 50); do
    kill -0 "$app" 2>/dev/null || exit 0
    sleep 0.2
  done
  fail "the calculator did not close on Escape"
}
