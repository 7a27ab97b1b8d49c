#!/bin/bash
# The way the game draws on a display without a graphics processor, seen
# from outside the process: on a virtual X display it draws in software and
# maps no OpenGL library, no software rasteriser and no direct-rendering
# driver; with DUSK_RENDERER=accelerated it takes OpenGL (Mesa's software
# rasteriser there) instead. Both ways show the same main menu: the two
# screenshots agree on all but a few pixels (a rasteriser rounds blends
# and filters cards its own way).
# Usage: renderer_choice_test.sh <folder with the game and its packs> <scratch folder>
# Exit code 77 (skipped) when xvfb-run is missing.
set -u

opengl_libraries() { grep -oE '[^/ ]*(libGL|libEGL|libLLVM|_dri)[^/ ]*\.so[.0-9]*$' "/proc/$1/maps" | sort -u; }

if [ "${1:-}" = "--inside" ]; then
  work=$2
  . "$(dirname "$0")/x11_session.sh"
  status=0
  for way in software accelerated; do
    if [ "$way" = accelerated ]; then export DUSK_RENDERER=accelerated; else unset DUSK_RENDERER; fi
    rm -f "$work/prog/"Log*.log "$work/prog/Duskmatch "*.png
    start_game "$work" || exit 1
    libraries=$(opengl_libraries "$pid")
    if [ "$way" = software ] && [ -n "$libraries" ]; then
      echo "drawing in software, the game has mapped: $libraries"
      status=1
    fi
    if [ "$way" = accelerated ] && [ -z "$libraries" ]; then
      echo "DUSK_RENDERER=accelerated, yet no OpenGL library is mapped"
      status=1
    fi
    # Past the two opening screens to the menu, which stays; its picture.
    # Space, not Escape: a slow game may take a repeated press or its own
    # timer past the title, and Space on the menu does nothing where Escape
    # would end the game. The second wait ends without a change when the
    # menu came already.
    press_until_changed space > /dev/null
    press_until_changed space 20 > /dev/null
    press_until_log_line s "$work/prog" "^Saving screenshot:" || { echo "$way: no screenshot"; status=1; }
    press_until_end Escape "$pid" || status=1
    shot=("$work/prog/Duskmatch "*.png)
    mv "${shot[0]}" "$work/menu-$way.png" 2> /dev/null
  done
  exit $status
fi

bin=$1
work=$2
. "$(dirname "$0")/x11_session.sh"
require_tools xdotool compare
prepare_game "$bin" "$work" 2
run_inside_virtual_display "$0" "$work" 1280x720

if [ $fail -eq 0 ]; then
  # Pixels whose colour differs by more than 3 % between the two ways.
  differ=$(compare -metric AE -fuzz 3% "$work/menu-software.png" "$work/menu-accelerated.png" null: 2>&1)
  echo "pixels that differ between the two ways: $differ of $((1280 * 720))"
  if ! [ "${differ%%.*}" -lt $((1280 * 720 / 100)) ] 2> /dev/null; then
    echo "the two ways draw different menus"
    fail=1
  fi
fi
[ $fail -eq 0 ] && echo "renderer choice test passed"
exit $fail
