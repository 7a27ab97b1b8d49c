#!/bin/bash
# The game in its borderless window on a virtual X display with a window
# manager (twm): when the player switches to another program the game's
# window goes to the task bar (iconified); brought back, the game goes on and
# Escape (on the logo, the title, the menu) ends it with exit code 0, its
# settings saved.
# Usage: borderless_window_test.sh <folder with the game and its packs> <scratch folder>
# Exit code 77 (skipped) when Xvfb is missing.
set -u

if [ "${1:-}" = "--inside" ]; then
  work=$2
  . "$(dirname "$0")/x11_session.sh"
  other=
  wm=
  finish() {
    [ -n "$other" ] && kill "$other" 2>/dev/null
    [ -n "$wm" ] && kill "$wm" 2>/dev/null
    exit "$1"
  }
  start_window_manager "$work" || finish 1
  start_game "$work" || finish 1
  if ! wait_for_window_state "$wid" Normal; then
    echo "the game window is not shown normally before the switch:"
    xprop -id "$wid" WM_STATE
    stop_game "$pid"
    finish 1
  fi

  # Another program takes the focus.
  start_other_program
  [ -n "$oid" ] && xdotool windowfocus --sync "$oid" 2>/dev/null
  if ! wait_for_window_state "$wid" Iconic; then
    echo "the borderless window was not minimised when another program took the focus:"
    xprop -id "$wid" WM_STATE
    stop_game "$pid"
    finish 1
  fi

  # Back to the game: it runs on and takes its keys again.
  xdotool windowmap --sync "$wid"
  wait_for_window_state "$wid" Normal
  xdotool windowfocus --sync "$wid" 2>/dev/null || true
  press_until_end Escape "$pid"
  finish $?
fi

bin=$1
work=$2
. "$(dirname "$0")/x11_session.sh"
require_tools xdotool twm xmessage xprop
prepare_game "$bin" "$work" 2
run_inside_virtual_display "$0" "$work" 1280x720
log=("$work/prog/Log "*.log)
if ! grep -q $'^Opening screen (Borderless):\t\tOK\r$' "${log[0]}" 2> /dev/null; then
  echo "the log does not show the borderless screen opened"
  fail=1
fi
if ! grep -q $'^GameScreen = 2\r$' "$work/prog/Duskmatch.prefs"; then
  echo "the settings were not saved in borderless mode:"
  cat -A "$work/prog/Duskmatch.prefs"
  fail=1
fi
[ $fail -eq 0 ] && echo "borderless window test passed"
exit $fail
