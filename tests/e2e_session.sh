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
  # The click points, listed at build time from the windows' layouts (tools/clickpoints).
  cp "${E2E_POINTS:-$dir/../clickpoints.txt}" "$work/points"
  for file in orrindale PM91B.dat HPfncd.dat "$@"; do cp "$dir/$file" "$work/"; done
}

# Root writes anywhere, so a test of folders the program may not write runs it as "nobody"
# when run as root: sets $runner to the command that does (empty otherwise) and hands the home
# folder $work/home to that user.
as_user() {
  runner=
  [ "$(id -u)" = 0 ] || return 0
  chmod 755 "$work"
  chown nobody "$work/home"
  runner="setpriv --reuid=nobody --regid=nogroup --clear-groups"
}

# X and Y after 1 2 ↑ 3 + (X 3, and Y 15: + leaves the sum in Y), as the engine alone computes
# them, in the words the machine state file keeps them in.
keyed_sum() { # KEYRUN
  local regs
  regs=$("$1" 1 2 SHUP 3 Add regs)
  printf 'X %s Y %s' "$(state_words "$regs" X)" "$(state_words "$regs" Y)"
}
state_words() { printf '%s\n' "$1" | awk -v r="$2" '$1 == r { for (i = 2; i <= NF; ++i) printf "%s~", $i }'; }
# X and Y as the machine state file STATE holds them.
saved_sum() { # READLIST STATE
  local saved
  saved=$("$1" "$2")
  printf 'X %s Y %s' "$(grep '^100' <<< "$saved" | cut -c4-)" "$(grep '^101' <<< "$saved" | cut -c4-)"
}

# Starts an Xvfb of its own: its process in $xvfb and, once the server answers there, its
# display in $display; false when it does not. The server picks a free display and names it
# (-displayfd), so sessions started side by side never race for one.
start_xvfb() {
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
  xvfb=$!
  poll 10 grep -qx '[0-9][0-9]*' "$work/display" || return 1
  display=:$(head -n 1 "$work/display")
  poll 10 xvfb_answers
}
xvfb_answers() { kill -0 "$xvfb" 2> /dev/null && xdpyinfo -display "$display" > /dev/null 2>&1; }

# Runs "$work/session.sh" with the arguments under an Xvfb of its own; its errors show if it
# fails. A server that does not answer is given up for another (a loaded run once found no
# server at the display it was named).
e2e_run_session() {
  local xvfb display rc=0
  for attempt in 1 2 3; do
    start_xvfb && break
    kill "$xvfb" 2> /dev/null
    wait "$xvfb" 2> /dev/null
    [ "$attempt" -lt 3 ] || { cat "$work/xvfb.log"; echo "Xvfb did not start"; exit 1; }
  done
  QT_QPA_PLATFORM=xcb DISPLAY=$display bash "$work/session.sh" "$@" 2> "$work/stderr.log" || rc=$?
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -f "$work/display"
  [ "$rc" -eq 0 ] || { cat "$work/stderr.log"; exit 1; }
}

# ---- The session ----------------------------------------------------------------------------------
# The click points (see e2e_work), wherever the session goes after sourcing this in its folder.
points=$PWD/points
# Ends the session with a message (prefixed by $E2E_PHASE when set), closing the program; with
# E2E_DEBUG_SHOT set, the screen is saved there first.
fail() {
  echo "${E2E_PHASE:+$E2E_PHASE: }$1"
  [ -z "${E2E_DEBUG_SHOT:-}" ] || import -window root "$E2E_DEBUG_SHOT"
  [ -z "${app:-}" ] || kill "$app" 2>/dev/null
  exit 1
}

# xdotool, tried again when the X server refused it the connection (see launch): it did nothing
# then.
xdotool() {
  local attempt err rc=1
  for attempt in 1 2 3; do
    { err=$(command xdotool "$@" 2>&1 >&3 3>&-); } 3>&1
    rc=$?
    case $err in *"open display"*) continue ;; esac
    [ -z "$err" ] || printf '%s\n' "$err" >&2
    return "$rc"
  done
  return "$rc"
}

# ---- Waiting -------------------------------------------------------------------------------------
# The one poller: true as soon as COMMAND succeeds, tried every tenth of a second for at most
# LIMIT seconds. Every wait of the sessions is on a condition through here, never on the clock
# alone, so a loaded machine only makes them slower.
poll() { # LIMIT COMMAND...
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.1
  done
}

# Fails the session with WHAT unless COMMAND comes true within E2E_LIMIT seconds (30).
wait_for() { # WHAT COMMAND...
  local what=$1
  shift
  poll "${E2E_LIMIT:-30}" "$@" || fail "$what"
}

has_window() { xdotool search "${@:1:$#-1}" --name "${!#}" > /dev/null 2>&1; } # [--onlyvisible] TITLE
no_window() { ! has_window "$@"; }
has_ended() { ! kill -0 "$1" 2> /dev/null; }
has_file() { [ -s "$1" ]; }

# Prints the id of the first window whose title matches once one appears; nothing when none does.
find_window() {
  poll "${E2E_LIMIT:-30}" has_window "$1" && xdotool search --name "$1" 2> /dev/null | head -n 1
}

# What a window (the whole screen by default) shows, as pixels.
picture() { import -silent -window "${1:-root}" -depth 8 rgb:-; }
# The digest of what COMMAND, a look at the screen, prints; false when the X server refused the
# look (see launch), which then shows neither a change nor its absence.
digest() { "$@" 2> /dev/null | md5sum; return "${PIPESTATUS[0]}"; } # COMMAND...
# Sets $before to the digest of what COMMAND prints, once it does.
take_before() { wait_for "what was there before could not be seen" take "$@"; } # COMMAND...
take() { before=$(digest "$@"); }
# True once WINDOW shows something else than the digest in $before.
shows_change() { local now; now=$(digest picture "$1") && [ "$now" != "$before" ]; }

# The click point NAME ("PRGM", "End", "plotter-ON"; see tools/clickpoints) in its window as
# "X Y".
at() { awk -v name="$1" '$1 == name { print $2, $3 }' "$points"; }

# A part of the calculator window listed with the click points ("display", blank while a
# program runs or a card moves; "paper", the printer's strip), which no other window may cover.
area_shot() { # NAME FORMAT: an output format of import, "rgb:-" for the pixels
  local name=$1 left top width height
  shift
  read -r _ left top width height < <(grep "^$name " "$points")
  import -silent -window "$wid" -crop "${width}x$height+$left+$top" +repage -depth 8 "$@" 2> /dev/null
}
display_shot() { area_shot display "$@"; }
paper_changed() { local now; now=$(digest area_shot paper rgb:-) && [ "$now" != "$before" ]; }
# The display shows one colour (dark), or more (lit); neither when the look was refused.
display_colours() { local k; k=$(display_shot -format %k info:) && [ "$k" "$1" 1 ]; }
display_dark() { display_colours -eq; }
display_lit() { display_colours -gt; }
# Runs ACTION, which sets a card moving, and waits for the card to have passed: the panel hides
# the display while a card moves and shows it again the moment the card's codes are in.
pass_see() { # WHAT ACTION...
  local what=$1
  shift
  "$@"
  wait_for "$what (the card did not move)" display_dark
  wait_for "$what (the card did not pass)" display_lit
}
# A pass through the magnetic card slot, started by a click on its NAME area ("card-record",
# "card-enter").
card_see() { pass_see "$2" xdotool mousemove --window "$wid" $(at "$1") click 1; } # NAME WHAT
# True once the program started has stopped: the display, blank while a program runs, was seen
# blank and is lit again. A look before the program took the key finds it lit as well, so the
# blank must come first.
has_stopped() {
  if display_dark; then
    went_dark=1
    return 1
  fi
  [ -n "$went_dark" ] && display_lit
}
# True once a program too short to be seen blank between two looks has stopped: the display
# is lit with other figures than before. It shows nothing between the figures it had and the
# program's last ones.
has_shown_result() {
  local now
  display_lit && now=$(digest display_shot rgb:-) && [ "$now" != "$display_before" ]
}
# Runs ACTION (a click on CONT, say) and waits for the program it starts to stop. "short" takes
# a program that may run between two looks.
run_see() { # WHAT [short] ACTION...
  local what=$1 stopped=has_stopped
  shift
  [ "$1" != short ] || { stopped=has_shown_result && shift; }
  # What the display showed before, once the last key's computing time is over.
  wait_for "$what: the display was dark before the start" display_lit
  take_before display_shot rgb:-
  display_before=$before went_dark=
  "$@"
  wait_for "$what: the program did not stop" "$stopped"
}

# Runs ACTION and waits until WINDOW shows its effect: a key on the display, a switch or button
# set, a menu opening or its highlight moving (on the whole screen, "root").
see() { # WINDOW WHAT ACTION...
  local window=$1 what=$2
  shift 2
  take_before picture "$window"
  "$@"
  wait_for "$what" shows_change "$window"
}

# Clicks at X Y in WINDOW and waits for WATCHED (the same window by default) to show it.
click_see() { # WINDOW X Y WHAT [WATCHED]
  see "${5:-$1}" "$4" xdotool mousemove --window "$1" "$2" "$3" click 1
}

# Types KEYs into the calculator WINDOW, each held until the panel shows it pressed and let go
# once it shows it released: the calculator has then taken it, whether or not the display
# shows it. Then waits for the computing time the keys began, and with it for the keys queued
# behind it, to be over.
keys_see() { # WINDOW KEY...
  local window=$1 key
  shift
  for key in "$@"; do
    see "$window" "key $key did not go down" xdotool keydown --window "$window" "$key"
    see "$window" "key $key did not come up" xdotool keyup --window "$window" "$key"
  done
  wait_for "the computing time of the keys did not end" display_lit
}

# Opens the pop-up menu of WINDOW at X Y and walks it with KEYS, which end with Return or Escape.
# The menu, a window of its own, takes them in order (a sub-menu opens on Right at once); the
# walk is over when the menu has gone. MENU_BUTTON=1 opens a menu bar's menu instead.
menu_see() { # WINDOW X Y KEY...
  local window=$1 x=$2 y=$3 before_ids menu
  shift 3
  before_ids=$(xdotool search --onlyvisible --class '' 2> /dev/null | sort)
  # A click that comes while the toolkit still lets go of the menu before gets lost: one more.
  for _ in 1 2 3; do
    xdotool mousemove --window "$window" "$x" "$y" click "${MENU_BUTTON:-3}"
    poll 3 new_window "$before_ids" > /dev/null && break
  done
  wait_for "the menu did not open" new_window "$before_ids"
  menu=$(new_window "$before_ids")
  xdotool key --delay 50 "$@"
  wait_for "the menu did not close" not_drawn "$menu"
}
# Prints the first shown window that is not among the ids given, false when there is none.
new_window() { comm -13 <(echo "$1") <(xdotool search --onlyvisible --class '' 2> /dev/null | sort) | grep -m 1 .; }
not_drawn() { ! is_drawn "$1"; }

# Answers the program's message box with KEY once it is up and has the keyboard, as a user's
# key comes: after a Return sent to the box alone (xdotool key --window), which bears no time,
# the next Return sent to the calculator was lost.
answer() { # KEY WHAT
  local box
  wait_for "$2: no question" has_window --onlyvisible '^Orrindale$'
  box=$(xdotool search --onlyvisible --name '^Orrindale$' | head -n 1)
  xdotool windowfocus "$box" 2> /dev/null
  wait_for "$2: the question did not take the keyboard" has_focus "$box"
  xdotool key "$1"
  wait_for "$2: the question stayed" no_window --onlyvisible '^Orrindale$'
}
has_focus() { is_drawn "$1" && [ "$(xdotool getwindowfocus 2> /dev/null)" = "$1" ]; }

# In a session run with a RUNNER from as_user: a copy of the X authority that user may read.
share_display() { # RUNNER
  [ -n "$1" ] && [ -n "${XAUTHORITY:-}" ] || return 0
  cp "$XAUTHORITY" home/xauth && chown nobody home/xauth && export XAUTHORITY=$PWD/home/xauth
}

# Starts the calculator in the current folder: its process in $app, its window in $wid, drawn.
start_calculator() { launch '^HP9100B$' ./orrindale; }
# Starts COMMAND, the calculator, in the background: its process in $app, its window (named
# TITLE) in $wid, drawn. Now and then a connection to the X server is refused at once, on a
# server that takes the next one ("could not connect to display"); a calculator that ended so,
# before its window appeared, is started again, twice at most.
launch() { # TITLE COMMAND...
  local title=$1 attempt
  shift
  for attempt in 1 2 3; do
    "$@" &
    app=$!
    poll "${E2E_LIMIT:-30}" window_or_end "$title"
    has_window "$title" && break
    has_ended "$app" && [ "$attempt" -lt 3 ] || fail "the calculator window did not appear"
  done
  wid=$(xdotool search --name "$title" 2> /dev/null | head -n 1)
  wait_for "the calculator window was not drawn" is_drawn "$wid"
}
window_or_end() { has_window "$1" || has_ended "$app"; }
is_drawn() { xwininfo -id "$1" 2> /dev/null | grep -q IsViewable; }

# Switches the calculator on with a click on the ON label beside the power switch.
power_on() { click_see "$wid" $(at ON) "the calculator did not switch on"; }

# Closes the calculator with Escape (the pointer parked off the keys) and ends the session.
close_calculator() {
  xdotool mousemove --window "$wid" 20 20 key --window "$wid" Escape
  poll "${E2E_LIMIT:-30}" has_ended "$app" && exit 0
  fail "the calculator did not close on Escape"
}
