#!/bin/bash
# The game started where there is no display at all (no X server, no
# Wayland): it must not run unseen on a driver that shows nothing, but end
# at once as for a missing sprite system: its log line, the message on
# standard error, exit code 0, no settings written.
# Usage: no_display_test.sh <folder with the game and its packs> <scratch folder>
set -u
bin=$1
work=$2
rm -rf "$work"
mkdir -p "$work/prog" "$work/home" || exit 1
cp "$bin/duskmatch" "$bin/DuskmatchData.pack" "$bin/DuskmatchLanguages.pack" "$bin/DuskmatchCursor.pack" \
  "$work/prog/" || exit 1
cd "$work/prog" || exit 1
# A device node of a graphics card would let SDL draw on the console.
if [ -e /dev/dri/card0 ]; then
  echo "this machine has a graphics device SDL may use without a display: skipped"
  exit 77
fi
start=$(date +%s)
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER HOME="$work/home" XDG_DATA_HOME="$work/home" \
  SDL_AUDIODRIVER=dummy timeout 30 ./duskmatch /LOG > "$work/stdout.txt" 2> "$work/stderr.txt"
status=$?
took=$(($(date +%s) - start))
fail=0
[ $status -eq 0 ] || { echo "exit code $status, expected 0"; fail=1; }
[ $took -le 5 ] || { echo "it took $took s to end"; fail=1; }
log=("$work/home/owlreach game studio/Duskmatch/Log "*.log)
if ! grep -q $'^InitSprite:\t\tFAILED\r$' "${log[0]}" 2> /dev/null; then
  echo "the log does not end with the sprite system's failure:"
  cat "${log[0]}" 2> /dev/null | tail -n 3
  fail=1
fi
if ! grep -q ": Sprite$" "$work/stderr.txt"; then
  echo "standard error does not name the sprite system:"
  cat "$work/stderr.txt"
  fail=1
fi
if [ -n "$(find "$work" -name Duskmatch.prefs)" ]; then
  echo "settings were written after the failure"
  fail=1
fi
[ $fail -eq 0 ] && echo "no-display test passed"
exit $fail
