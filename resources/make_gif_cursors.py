#!/usr/bin/env python3
"""Writes the GIF export dialog's cursors and icon from the pixel art below:
gif_drag.cur (a grabbing hand), gif_eyedropper.cur and gif_eyedropper.ico.
Cursors are 32 x 32 with the art at the top-left corner; the icon holds a
32 x 32 image (the art doubled) and a 16 x 16 one. Run from anywhere:
    python3 resources/make_gif_cursors.py
"""
import os
import struct

COLOURS = {  # BGRA
    '.': (0, 0, 0, 0),
    'K': (0, 0, 0, 255),
    'W': (255, 255, 255, 255),
    'S': (200, 200, 200, 255),
    'D': (140, 90, 60, 255),
}

EYEDROPPER = """
...........KKK..
..........KDDDK.
.........KDDDDDK
.........KDDDDDK
.......KKKDDDDDK
.......KSKKDDDK.
.......KKSKKKK..
......KWSKSK....
.....KWSSKKK....
....KWSSK.......
...KWSSK........
..KWSSK.........
.KWSSK..........
.KSSK...........
KSKK............
KK..............
"""

GRABBING_HAND = """
................
................
................
................
.....KK.KK.KK...
....KWWKWWKWWKK.
....KWWKWWKWWKWK
.....KWWWWWWWKWK
..KKKKWWWWWWWWWK
.KWWKWWWWWWWWWWK
.KWWWWWWWWWWWWK.
..KWWWWWWWWWWWK.
...KWWWWWWWWWK..
....KWWWWWWWWK..
.....KWWWWWWK...
.....KWWWWWWK...
"""


def grid(art):
    rows = [row for row in art.strip().splitlines()]
    assert all(len(row) == len(rows[0]) for row in rows), 'ragged art'
    return rows


def place(rows, size, scale=1):
    """The art scaled by scale at the top-left of a size x size canvas."""
    canvas = [['.'] * size for _ in range(size)]
    for y, row in enumerate(rows):
        for x, key in enumerate(row):
            for dy in range(scale):
                for dx in range(scale):
                    canvas[y * scale + dy][x * scale + dx] = key
    return canvas


def dib(canvas):
    """BITMAPINFOHEADER, 32-bit colour rows and the AND mask, bottom-up."""
    size = len(canvas)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b''.join(bytes(COLOURS[key]) for row in reversed(canvas) for key in row)
    stride = (size + 31) // 32 * 4
    mask = b''
    for row in reversed(canvas):
        bits = 0
        for x, key in enumerate(row):
            if COLOURS[key][3] == 0:
                bits |= 1 << (stride * 8 - 1 - x)
        mask += bits.to_bytes(stride, 'big')
    return header + colour + mask


def resource_file(kind, images):
    """kind 1: icon, 2: cursor. images: (canvas, hotspot or None)."""
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for canvas, hotspot in images:
        data = dib(canvas)
        size = len(canvas)
        planes, bits = hotspot if kind == 2 else (1, 32)
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, planes, bits, len(data), offset)
        offset += len(data)
        blobs.append(data)
    return out + b''.join(blobs)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    eyedropper, hand = grid(EYEDROPPER), grid(GRABBING_HAND)
    files = {
        'gif_eyedropper.cur': resource_file(2, [(place(eyedropper, 32), (0, 15))]),
        'gif_drag.cur': resource_file(2, [(place(hand, 32), (8, 9))]),
        'gif_eyedropper.ico': resource_file(1, [(place(eyedropper, 32, 2), None), (place(eyedropper, 16), None)]),
    }
    for name, data in files.items():
        with open(os.path.join(here, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
