#!/bin/bash
# Makes cursor files with independent tools (ImageMagick draws the pictures,
# icotool from icoutils writes the cursors) and runs the reader on them.
#   make_cursor_samples.sh SAMPLE_TEST_BINARY OUTPUT_FOLDER
set -euo pipefail
test_binary=$1
out=$2
mkdir -p "$out"
cd "$out"
# Red top-left quarter, blue bottom-right quarter, the rest transparent.
convert -size 32x32 xc:none -fill 'rgb(255,0,0)' -draw 'rectangle 0,0 15,15' \
  -fill 'rgb(0,0,255)' -draw 'rectangle 16,16 31,31' PNG32:colour.png
# White top-left, black bottom-right: two colours for the 1-bit cursor.
convert -size 32x32 xc:none -fill white -draw 'rectangle 0,0 15,15' \
  -fill black -draw 'rectangle 16,16 31,31' PNG32:mono.png
for bits in 32 24 8 4; do
  icotool -c --cursor -X 7 -Y 3 -b "$bits" -o "colour$bits.cur" colour.png
done
icotool -c --cursor -X 7 -Y 3 -r colour.png -o colourpng.cur
icotool -c --cursor -X 31 -Y 0 -b 1 -o mono1.cur mono.png
# Two sizes in one file: the 32 x 32 one is the pointer.
convert colour.png -resize 16x16 PNG32:small.png
icotool -c --cursor -X 1 -Y 1 -o small.cur small.png
icotool -c --cursor -X 7 -Y 3 -o sizes.cur small.png colour.png
DUSK_CURSOR_SAMPLES="$out" "$test_binary"
