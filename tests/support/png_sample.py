#!/usr/bin/env python3
# Reads a screenshot the game saved (8-bit RGB or RGBA PNG) with nothing but
# the standard library, so the out-of-process tests can tell a drawn screen
# from a blank one: its size and how many colours a 16-pixel grid finds
# (other tests read its pixels through read_png).
#   png_sample.py FILE  ->  prints "width height colours"
import struct
import sys
import zlib


def read_png(path):
    """(width, height, bytes per pixel, rows) of an 8-bit RGB or RGBA PNG,
    each row a bytearray of its pixels; None for no PNG."""
    data = open(path, 'rb').read()
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        return None
    pos, idat, w, h, ctype = 8, b'', 0, 0, 0
    while pos < len(data):
        n, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + n]
        if kind == b'IHDR':
            w, h, _, ctype = struct.unpack('>IIBB', body[:10])
        elif kind == b'IDAT':
            idat += body
        pos += 12 + n
    raw = zlib.decompress(idat)
    bpp = {6: 4, 2: 3}[ctype]
    stride = w * bpp
    prev = bytearray(stride)
    rows = []
    for y in range(h):
        f = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if f == 1:
                line[i] = (line[i] + a) & 255
            elif f == 2:
                line[i] = (line[i] + b) & 255
            elif f == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        prev = line
    return w, h, bpp, rows


def sample_colours(path):
    """(width, height, colours on a 16-pixel grid), or None for no PNG."""
    png = read_png(path)
    if png is None:
        return None
    w, h, bpp, rows = png
    seen = set()
    for y in range(0, h, 16):
        for x in range(0, w, 16):
            seen.add(bytes(rows[y][x * bpp:x * bpp + 3]))
    return w, h, len(seen)


if __name__ == '__main__':
    result = sample_colours(sys.argv[1])
    if result is None:
        sys.exit('%s is no PNG file' % sys.argv[1])
    print(*result)
