#!/bin/bash
# The fonts are sized by the dots per inch of the X display the program
# starts on: its "Xft.dpi" resource, which desktops set when the player
# scales text; 96 where the display names none, whatever its physical size.
# Runs the DisplayDpi tests of the text test program on a virtual display of
# 200 physical dots per inch, first without the resource, then with it.
# Usage: display_dpi_test.sh <text_tests program>
# Exit code 77 (skipped) when xvfb-run is missing.
set -u

if [ "${1:-}" = "--inside" ]; then
  tests=$2
  status=0
  DUSK_EXPECT_DPI=96 "$tests" --gtest_filter='DisplayDpi.*' || status=1
  xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.antialias:\t1\nXft.dpi:\t120\n')" || exit 1
  DUSK_EXPECT_DPI=120 "$tests" --gtest_filter='DisplayDpi.*' || status=1
  exit $status
fi

if ! command -v xvfb-run > /dev/null; then
  echo "xvfb-run is not installed: skipped"
  exit 77
fi
if ! command -v xprop > /dev/null; then
  echo "xprop is not installed"
  exit 1
fi
# -noreset: the resource must outlive xprop, the display's only client.
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 200 -noreset" bash "$0" --inside "$1"
