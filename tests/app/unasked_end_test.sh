#!/bin/bash
# Ends nobody asked for in the game, from outside the process on a virtual X
# display of its own, each from a fresh program folder with /LOG and a
# temporary folder (TMPDIR) of its own:
#  1. the X server ends under the game (windowed): the game says so on
#     standard error and ends in order, exit code 0, its settings saved and
#     its private temporary folder removed;
#  2. a hang-up (SIGHUP, what closing the terminal sends) in full screen:
#     exit code 0 and the settings saved, as for the end of a session;
#  3. SIGKILL leaves the private temporary folder behind; the next start
#     removes it, and leaves alone what is not a dead run's leftover.
# Usage: unasked_end_test.sh <folder with the game and its packs> <scratch folder>
# Exit code 77 (skipped) when Xvfb is missing.
set -u
here=$(cd "$(dirname "$0")" && pwd)

# The settings file the orderly end writes for window mode $1.
expected_settings() {
  printf '\xef\xbb\xbf\r\n; Duskmatch 1.0 Preferences\r\n[Settings]\r\nLanguage = en_GB\r\nMusic = 1\r\nGameScreen = %s\r\nScreenMode = 1280x720\r\n' "$1"
}

# Checks the settings file of the work folder $1 against window mode $2.
check_settings() {
  if [ "$(cat "$1/prog/Duskmatch.prefs")" != "$(expected_settings "$2")" ]; then
    echo "the settings were not saved:"
    cat -A "$1/prog/Duskmatch.prefs"
    return 1
  fi
}

# The game's private temporary folders in the work folder $1's TMPDIR.
private_folders() {
  ls "$1/tmp" | grep '^duskmatch-'
}

# Prepares a game in the work folder $2 for window mode $3 (from $1), with
# a temporary folder of its own.
prepare() {
  prepare_game "$1" "$2" "$3"
  mkdir -p "$2/tmp"
  export TMPDIR="$2/tmp"
}

bin=$(cd "$1" && pwd) || exit 1
root=$2
. "$here/x11_session.sh"
require_tools xdotool python3
rm -rf "$root"
mkdir -p "$root" && root=$(cd "$root" && pwd) || exit 1
failed=0

echo "=== 1. The X server ends under the game"
work="$root/display-lost"
prepare "$bin" "$work" 1
if start_virtual_display "$work" 1280x720; then
  if start_game "$work"; then
    stop_virtual_display
    wait_for_end "$pid"
    status=$?
    echo "exit code $status"
    [ $status -eq 0 ] || failed=1
    if ! grep -q "the connection to the display was lost" "$work/stderr.txt"; then
      echo "standard error does not say what happened:"
      cat "$work/stderr.txt"
      failed=1
    fi
    check_settings "$work" 1 || failed=1
    if [ -n "$(private_folders "$work")" ]; then
      echo "the private temporary folder was left: $(private_folders "$work")"
      failed=1
    fi
  else
    stop_virtual_display
    failed=1
  fi
else
  failed=1
fi

echo "=== 2. A hang-up in full screen"
work="$root/hangup"
prepare "$bin" "$work" 0
if start_virtual_display "$work" 1280x720; then
  if start_game "$work"; then
    kill -HUP "$pid"
    wait_for_end "$pid"
    status=$?
    echo "exit code $status"
    [ $status -eq 0 ] || failed=1
    check_settings "$work" 0 || failed=1
  else
    failed=1
  fi

  echo "=== 3. A killed game's temporary folder goes at the next start"
  work="$root/killed"
  prepare "$bin" "$work" 1
  # Beside it: a folder of a run that is gone but holding a file that is no
  # language file, and one of a run still going (this script).
  mkdir -p "$work/tmp/duskmatch-99999999-notes" "$work/tmp/duskmatch-$$-running"
  echo "mine" > "$work/tmp/duskmatch-99999999-notes/notes.txt"
  if start_game "$work"; then
    killed=$pid
    left=$(private_folders "$work" | grep "^duskmatch-$killed-")
    kill -KILL "$killed"
    wait "$killed" 2> /dev/null
    if [ -z "$left" ] || [ ! -d "$work/tmp/$left" ]; then
      echo "the killed game had no private temporary folder to leave"
      failed=1
    fi
    echo "left by the killed game: $left"
    mv "$work/prog/Log "*.log "$work/" 2> /dev/null
    if start_game "$work"; then
      if [ -d "$work/tmp/$left" ]; then
        echo "the next start did not remove $left"
        failed=1
      fi
      for kept in duskmatch-99999999-notes duskmatch-$$-running; do
        if [ ! -d "$work/tmp/$kept" ]; then
          echo "the start removed $kept, which was not a dead run's leftover"
          failed=1
        fi
      done
      kill -HUP "$pid"
      wait_for_end "$pid" || failed=1
      echo "the private folders after the second run: $(private_folders "$work" | tr '\n' ' ')"
    else
      failed=1
    fi
  else
    failed=1
  fi
  stop_virtual_display
else
  failed=1
fi

if [ $failed -ne 0 ]; then
  echo "unasked end test FAILED; the work folders are in $root"
  exit 1
fi
echo "unasked end test passed"
exit 0
