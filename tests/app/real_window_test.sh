#!/bin/bash
# The game in a real window on a virtual X display, driven from outside the
# process as a player would: started windowed from a copy of the program
# folder, S for a screenshot, then Escape until it ends (logo, title, menu).
# It must end with exit code 0, leave a screenshot that is not one flat
# colour, and write its settings file. Its window must carry the game's icon
# (the X server's copy equal to the icon picture given) and the window class
# the menu entry names.
# Usage: real_window_test.sh <folder with the game and its packs> <scratch folder> <icon picture>
# Exit code 77 (skipped) when Xvfb is missing.
set -u

if [ "${1:-}" = "--inside" ]; then
  work=$2
  . "$(dirname "$0")/x11_session.sh"
  start_game "$work" || exit 1
  xprop -id "$wid" -notype -f _NET_WM_ICON 32c '=$0+\n' _NET_WM_ICON WM_CLASS > "$work/window.txt"
  # The screenshot's log line shows that the keys reach the running loop.
  if ! press_until_log_line s "$work/prog" "^Saving screenshot:"; then
    echo "S brought no \"Saving screenshot:\" line to the log"
    stop_game "$pid"
    exit 1
  fi
  press_until_end Escape "$pid"
  exit $?
fi

bin=$1
work=$2
icon=$3
. "$(dirname "$0")/x11_session.sh"
require_tools xdotool xprop
prepare_game "$bin" "$work" 1
run_inside_virtual_display "$0" "$work" 1920x1080

shots=("$work/prog/Duskmatch "*.png)
if [ ! -f "${shots[0]}" ]; then
  echo "no screenshot in the program folder"
  fail=1
else
  colours=$(python3 "$(dirname "$0")/../support/png_sample.py" "${shots[0]}")
  read -r sw sh count <<< "$colours"
  if [ "${sw:-0}" != 1280 ] || [ "${sh:-0}" != 720 ]; then
    echo "screenshot is ${sw:-?}x${sh:-?}, expected 1280x720"
    fail=1
  fi
  if [ "${count:-0}" -lt 2 ]; then
    echo "the screenshot is one flat colour"
    fail=1
  fi
fi

prefs="$work/prog/Duskmatch.prefs"
expected=$(printf '\xef\xbb\xbf\r\n; Duskmatch 1.0 Preferences\r\n[Settings]\r\nLanguage = en_GB\r\nMusic = 1\r\nGameScreen = 1\r\nScreenMode = 1280x720\r\n')
if [ "$(cat "$prefs")" != "$expected" ]; then
  echo "settings file differs:"
  cat -A "$prefs"
  fail=1
fi
if [ -e "$work/home/owlreach game studio" ]; then
  echo "the user folder was made although the settings lie beside the program"
  fail=1
fi
log=("$work/prog/Log "*.log)
if ! grep -q $'^Saving screenshot:\t\tOK\r$' "${log[0]}" 2> /dev/null; then
  echo "the log does not record the screenshot"
  fail=1
fi
python3 "$(dirname "$0")/window_icon_check.py" "$work/window.txt" "$icon" duskmatch || fail=1
[ $fail -eq 0 ] && echo "real window test passed"
exit $fail
