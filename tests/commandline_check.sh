#!/usr/bin/env bash
# The real program's command line where no display can be reached: --help and --version answer
# on standard output with status 0, a wrong option is refused on standard error with status 2
# before anything starts, a failed write of the answer is a failure, and a start without a
# display ends with one line and status 1 (after "--", "--help" is a file like any other).
#   commandline_check.sh ORRINDALE
set -uo pipefail
program=$1
failed=0

# FILE holds a line matching PATTERN; an empty PATTERN: FILE is empty.
holds() { if [ -z "$2" ]; then [ ! -s "$1" ]; else grep -Eq "$2" "$1"; fi; }

check() { # WHAT STATUS OUT_PATTERN ERR_PATTERN ARGUMENT...
  local what=$1 want=$2 out_pattern=$3 err_pattern=$4 status
  shift 4
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" "$@" > out.txt 2> err.txt
  status=$?
  if [ "$status" -ne "$want" ] || ! holds out.txt "$out_pattern" || ! holds err.txt "$err_pattern"; then
    echo "FAIL $what: status $status (want $want)"
    sed 's/^/  out: /' out.txt | head -n 3
    sed 's/^/  err: /' err.txt | head -n 3
    failed=1
  else
    echo "ok   $what"
  fi
}
cd "$(mktemp -d)" || exit 1
trap 'rm -rf "$PWD"' EXIT

nothing=
check "--help"            0 '^Usage: orrindale \[OPTION\]\.\.\. \[FILE\]\.\.\.$' "$nothing" --help
check "-h after a file"   0 '^  -v, --version'                               "$nothing" card.mcf -h
check "--version"         0 '^orrindale [0-9]+\.[0-9]+'                       "$nothing" --version
check "an unknown option" 2 "$nothing" "^orrindale: unknown option '--bogus'$"  --bogus
check "-platform alone"   2 "$nothing" "needs a value"                          -platform
check "no display"        1 "$nothing" '^orrindale: cannot open the display'
check "--help as a file"  1 "$nothing" '^orrindale: cannot open the display'    -- --help
[ "$(wc -l < err.txt)" -eq 1 ] || { echo "FAIL no display: more than one line"; failed=1; }
if [ -e /dev/full ]; then
  "$program" --version > /dev/full 2> /dev/null && { echo "FAIL --version > /dev/full succeeded"; failed=1; }
fi
exit "$failed"
