#!/usr/bin/env python3
# Compares the icon the game's window carries on the X server (its
# _NET_WM_ICON property as xprop prints it in decimal) with the icon picture
# of the data pack, pixel by pixel, and checks the window's class, by which
# desktops match the window to the menu entry.
#   window_icon_check.py PROPERTIES.txt ICON.png WM_CLASS
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), '..', 'support'))
from png_sample import read_png  # noqa: E402


def main(properties, icon_path, wm_class):
    text = open(properties).read()
    found = re.search(r'_NET_WM_ICON=([0-9, ]+)', text)
    if not found:
        return 'the window has no icon:\n' + text
    numbers = [int(n) for n in found.group(1).replace(' ', '').split(',') if n]
    w, h, bpp, rows = read_png(icon_path)
    if numbers[:2] != [w, h]:
        return 'the window icon is %s, the icon picture %dx%d' % ('x'.join(map(str, numbers[:2])), w, h)
    pixels = numbers[2:2 + w * h]
    if len(pixels) != w * h:
        return 'the window icon holds %d pixels, not %d' % (len(pixels), w * h)
    differ = 0
    for y in range(h):
        for x in range(w):
            r, g, b = rows[y][x * bpp:x * bpp + 3]
            a = rows[y][x * bpp + 3] if bpp == 4 else 255
            if pixels[y * w + x] != (a << 24) | (r << 16) | (g << 8) | b:
                differ += 1
    if differ:
        return '%d of the window icon\'s %d pixels differ from the icon picture' % (differ, w * h)
    class_line = 'WM_CLASS' + text.split('WM_CLASS', 1)[-1].split('\n', 1)[0]
    if ('"%s"' % wm_class) not in class_line:
        return 'the window class is not %s: %s' % (wm_class, class_line)
    return None


if __name__ == '__main__':
    problem = main(*sys.argv[1:4])
    if problem:
        sys.exit(problem)
    print('window icon and class as expected')
