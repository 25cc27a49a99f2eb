#!/usr/bin/env python3
"""Draws the frame on which a drag of several images shows its first image
(bitmap 198, 152 x 152, 24-bit): a grey mount with a white field and a thin
line inside the mount. Run from the source root:
python3 resources/make_thumbnail_frame.py"""
import struct

SIZE = 152
MOUNT = 8
GREY = (0x80, 0x80, 0x80)
LINE = (0xC8, 0xC8, 0xC8)
WHITE = (0xFF, 0xFF, 0xFF)


def colour(x, y):
    edge = min(x, y, SIZE - 1 - x, SIZE - 1 - y)
    if edge < MOUNT:
        return GREY
    if edge == MOUNT + 2:
        return LINE
    return WHITE


def main():
    stride = (SIZE * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(SIZE - 1, -1, -1):
        row = bytearray()
        for x in range(SIZE):
            r, g, b = colour(x, y)
            row += bytes((b, g, r))
        pixels += row + bytes(stride - len(row))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open('resources/thumbnail_frame.bmp', 'wb') as out:
        out.write(header + info + pixels)


if __name__ == '__main__':
    main()
