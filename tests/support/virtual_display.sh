#!/bin/bash
# A virtual X server of a test's own. Xvfb picks a display number nobody
# uses and tells it back (-displayfd), so tests running at the same time,
# from this checkout or another, never share a display (xvfb-run -a picks
# its number before the server takes it, and two runs can pick the same).
#
# Sourced, it gives start_virtual_display and stop_virtual_display. Run, it
# runs a command on a display of its own and gives its exit code:
#   virtual_display.sh WIDTHxHEIGHT COMMAND [ARGUMENTS...]
# Exit code 77 (skipped) when Xvfb is missing.

# Starts the server with one screen of size $2 (as "1280x720"); its output
# goes to $1/xvfb.txt. Exports DISPLAY and sets xvfb to the server's process
# id; returns 1 (saying why) when no server is up within 60 seconds.
start_virtual_display() {
  local work=$1 size=$2
  mkdir -p "$work" || return 1
  rm -f "$work/display.txt"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3> "$work/display.txt" 2> "$work/xvfb.txt" &
  xvfb=$!
  # The number is written once the server takes connections.
  for _ in $(seq 1 600); do
    grep -qs '^[0-9][0-9]*$' "$work/display.txt" && break
    kill -0 "$xvfb" 2> /dev/null || break
    sleep 0.1
  done
  if ! grep -qs '^[0-9][0-9]*$' "$work/display.txt"; then
    echo "the virtual X server did not start:"
    cat "$work/xvfb.txt"
    stop_virtual_display
    return 1
  fi
  DISPLAY=":$(head -n 1 "$work/display.txt")"
  export DISPLAY
}

# Ends the server started last, and waits until it is gone.
stop_virtual_display() {
  kill "$xvfb" 2> /dev/null
  wait "$xvfb" 2> /dev/null
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  if ! command -v Xvfb > /dev/null; then
    echo "Xvfb is not installed: skipped"
    exit 77
  fi
  size=$1
  shift
  scratch=$(mktemp -d) || exit 1
  start_virtual_display "$scratch" "$size" || exit 1
  "$@"
  status=$?
  stop_virtual_display
  rm -rf "$scratch"
  exit $status
fi
