#!/bin/bash
# A whole game played from outside the process, as a newcomer would, in each
# window mode: full screen, window and borderless window (under twm), each on
# a virtual X display of its own, from a fresh program folder with /LOG.
# external_player.py beside this script gets past the opening screens with
# Space, clicks Start with the real mouse, finds every pair by looking at
# the screen and clicking the cards, and sees the well-done screen. Then S
# for a screenshot and Escape twice (well done, menu): the game must end with
# exit code 0, its log must hold the start-up lines and no FAILED, its
# settings file must record the mode played, and the screenshot must lie in
# the folder the log names and show the screen.
# Usage: external_play_test.sh <folder with the game and its packs>
#        <scratch folder> <folder of the game's source pictures> [modes]
# modes: the window modes to play, as "0 1 2" (the default).
# Exit code 77 (skipped) when Xvfb is missing.
set -u

here=$(cd "$(dirname "$0")" && pwd)

if [ "${1:-}" = "--inside" ]; then
  work=$2
  mode=$3
  pictures=$4
  . "$here/x11_session.sh"
  wm=
  finish() {
    [ -n "$wm" ] && kill "$wm" 2>/dev/null
    exit "$1"
  }
  # The borderless window needs a window manager: it goes to the task bar
  # when it loses the focus, which only a window manager gives and takes.
  if [ "$mode" = 2 ] && ! start_window_manager "$work"; then
    finish 1
  fi
  echo "step start: the game (GameScreen $mode)"
  start_game "$work" || finish 1
  log=("$work/prog/Log "*.log)
  if ! python3 "$here/external_player.py" play "${log[0]}" "$wid" "$pictures" "$work/captures"; then
    echo "step play failed (GameScreen $mode); captures in $work/captures"
    stop_game "$pid"
    finish 1
  fi
  echo "step screenshot: S on the well-done screen"
  if ! press_until_log_line s "$work/prog" "^Saving screenshot:"; then
    echo "step screenshot failed: the log has no \"Saving screenshot:\" line after S"
    stop_game "$pid"
    finish 1
  fi
  saveto=$(sed -n 's/^SaveTo:\t\t\(.*\)\r$/\1/p' "${log[0]}")
  shots=("$saveto"Duskmatch\ [0-9][0-9]-[0-9][0-9]-[0-9][0-9][0-9][0-9]\ [0-9][0-9]-[0-9][0-9]-[0-9][0-9].png)
  if [ ! -f "${shots[0]}" ]; then
    echo "step screenshot failed: no \"Duskmatch DD-MM-YYYY hh-mm-ss.png\" in the SaveTo folder of the log ($saveto)"
    ls -la "$saveto"
    stop_game "$pid"
    finish 1
  fi
  echo "step screenshot: ${shots[0]#"$work/"}"
  shot_ok=0
  python3 "$here/external_player.py" compare-shot "${shots[0]}" "$wid" "$work/captures" || shot_ok=1
  echo "step leave: Escape (well done to menu), Escape (menu: quit)"
  if ! press_until_changed Escape; then
    echo "step leave failed: Escape on the well-done screen changed nothing"
    stop_game "$pid"
    finish 1
  fi
  press_until_end Escape "$pid"
  status=$?
  echo "step leave: exit code $status"
  [ $status -ne 0 ] && finish "$status"
  finish $shot_ok
fi

bin=$1
root=$2
pictures=$(cd "$3" && pwd) || exit 1
modes=${4:-0 1 2}
. "$here/x11_session.sh"
require_tools xdotool twm identify convert python3
rm -rf "$root"
names=(Fullscreen Windowed Borderless)
# The displays differ in size so that three board geometries are played; in
# a window the game opens 1280x720, centred on the larger display.
displays=(1920x1080 1920x1080 1600x900)
sizes=(1920x1080 1280x720 1600x900)
failed=
for mode in $modes; do
  began=$(date +%s)
  work="$root/mode$mode"
  echo "=== GameScreen $mode (${names[$mode]}) on a ${displays[$mode]} display"
  prepare_game "$bin" "$work" "$mode"
  run_inside_virtual_display "$0" "$work" "${displays[$mode]}" "$mode" "$pictures"
  log=("$work/prog/Log "*.log)

  # The log: its start-up lines, the mode and size opened, and no FAILED.
  if [ ! -f "${log[0]}" ]; then
    echo "check log: no Log*.log in the program folder"
    fail=1
  else
    w=${sizes[$mode]%x*}
    h=${sizes[$mode]#*x}
    missing=0
    for line in "[SYSTEM DETAILS]" "[GAME DETAILS]" "[PATHS]" "SaveTo:"$'\t\t'"$work/prog/" "[INITIAL SETTINGS]" \
      "GameScreen:"$'\t\t'"${names[$mode]}" "[STARTING GAME]" "InitSprite:"$'\t\t'OK "InitKeyboard:"$'\t\t'OK \
      "InitMouse:"$'\t\t'OK "InitSound:"$'\t\t'OK "ScreenWidth:"$'\t\t'"${displays[$mode]%x*}" \
      "ScreenHeight:"$'\t\t'"${displays[$mode]#*x}" "Opening screen (${names[$mode]}):"$'\t\t'OK \
      "Screenwidth:"$'\t\t'"$w" "Screenheight:"$'\t\t'"$h" "Load asset (ogs.png):"$'\t\t'OK \
      "Saving screenshot:"$'\t\t'OK; do
      if ! grep -qxF "$line"$'\r' "${log[0]}"; then
        echo "check log: no line \"$line\"" | cat -A | sed 's/\$$//'
        missing=1
      fi
    done
    if grep -n FAILED "${log[0]}"; then
      echo "check log: a step FAILED (above)"
      missing=1
    fi
    [ $missing -eq 0 ] && echo "check log: start-up lines present, ${sizes[$mode]} opened, no FAILED"
    [ $missing -ne 0 ] && fail=1
  fi

  # The settings, written at the end with the mode played.
  prefs="$work/prog/Duskmatch.prefs"
  expected=$(printf '\xef\xbb\xbf\r\n; Duskmatch 1.0 Preferences\r\n[Settings]\r\nLanguage = en_GB\r\nMusic = 1\r\nGameScreen = %s\r\nScreenMode = 1280x720\r\n' "$mode")
  if [ "$(cat "$prefs" 2> /dev/null)" != "$expected" ]; then
    echo "check settings: Duskmatch.prefs differs from the expected file:"
    cat -A "$prefs"
    fail=1
  else
    echo "check settings: Duskmatch.prefs written with GameScreen = $mode"
  fi

  # The screenshot: a PNG of the screen's size that is not one flat colour.
  shots=("$work/prog/Duskmatch "*.png)
  if [ -f "${shots[0]}" ]; then
    read -r sw sh count <<< "$(python3 "$here/../support/png_sample.py" "${shots[0]}")"
    if [ "${sw:-0}x${sh:-0}" != "${sizes[$mode]}" ] || [ "${count:-0}" -lt 2 ]; then
      echo "check screenshot: ${sw:-?}x${sh:-?} with ${count:-0} colours, expected ${sizes[$mode]} and a drawn screen"
      fail=1
    else
      echo "check screenshot: a ${sw}x${sh} PNG with $count colours on its 16-pixel grid"
    fi
  else
    echo "check screenshot: no screenshot in the program folder"
    fail=1
  fi
  echo "=== GameScreen $mode: $([ $fail -eq 0 ] && echo passed || echo FAILED) in $(($(date +%s) - began)) s"
  [ $fail -ne 0 ] && failed="$failed $mode"
done
if [ -n "$failed" ]; then
  echo "external play test FAILED in GameScreen$failed; the work folders are in $root"
  exit 1
fi
echo "external play test passed"
exit 0
