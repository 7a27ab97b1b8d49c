#!/bin/bash
# The game in full screen on a virtual X display with a window manager
# (twm): when another program takes the focus the game is in the background
# even though its full screen is not minimised. Its opening screens stand
# still until the focus comes back, then go on; three Escapes end it with
# exit code 0.
# Usage: fullscreen_focus_test.sh <folder with the game and its packs> <scratch folder>
# Exit code 77 (skipped) when xvfb-run is missing.
set -u

if [ "${1:-}" = "--inside" ]; then
  work=$2
  . "$(dirname "$0")/x11_session.sh"
  start_window_manager "$work"
  other=
  finish() {
    [ -n "$other" ] && kill "$other" 2>/dev/null
    kill "$wm" 2>/dev/null
    exit "$1"
  }
  shot() { import -window root "$work/$1.png" 2>/dev/null; }
  same() { [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1)" = 0 ]; }

  # Another program is started first, so that taking the focus away is
  # quick once the game's logo is up.
  start_other_program || { echo "the other program's window did not appear"; finish 1; }
  key_gap=0
  start_game "$work" || finish 1
  xdotool windowfocus --sync "$oid" 2>/dev/null
  sleep 0.3
  shot away
  # The logo shows for 101 frames, under two seconds: in the background it
  # must still be there after three.
  sleep 3
  shot later
  if ! same away later; then
    echo "the game went on while another program had the focus"
    stop_game "$pid"
    finish 1
  fi
  # Back to the game: its opening screens go on.
  xdotool windowfocus --sync "$wid" 2>/dev/null || true
  moved=0
  for _ in $(seq 1 30); do
    sleep 0.5
    shot back
    if ! same away back; then
      moved=1
      break
    fi
  done
  if [ $moved -eq 0 ]; then
    echo "the game did not go on when the focus came back"
    stop_game "$pid"
    finish 1
  fi
  key_gap=0.4
  press_until_end Escape "$pid"
  finish $?
fi

bin=$1
work=$2
. "$(dirname "$0")/x11_session.sh"
require_tools xdotool twm xmessage import compare
prepare_game "$bin" "$work" 0
run_inside_virtual_display "$0" "$work" 1280x720
[ $fail -eq 0 ] && echo "full-screen focus test passed"
exit $fail
