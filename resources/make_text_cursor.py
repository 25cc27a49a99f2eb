#!/usr/bin/env python3
"""Draws text_cursor.cur, the text panel's pointer: a 32 x 32 monochrome
I-beam that inverts what lies under it, its hot spot on the beam's middle.
Run from the source root: python3 resources/make_text_cursor.py"""
import os
import struct

SIZE = 32
HOT_X, HOT_Y = 15, 15


def on_beam(x, y):
    """The beam from row 6 to 25 with serifs of three pixels each side."""
    if x == HOT_X and 6 <= y <= 25:
        return True
    return y in (5, 26) and 12 <= x <= 18 and x != HOT_X


def mask_rows(bit_of):
    """1-bit rows, bottom row first, each 4 bytes."""
    data = b""
    for y in reversed(range(SIZE)):
        row = 0
        for x in range(SIZE):
            row = (row << 1) | bit_of(x, y)
        data += struct.pack(">I", row)
    return data


def main():
    # AND 1 and XOR 1 invert the screen; AND 1 and XOR 0 leave it.
    xor = mask_rows(lambda x, y: 1 if on_beam(x, y) else 0)
    and_mask = mask_rows(lambda x, y: 1)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(and_mask), 0, 0, 2, 0)
    palette = struct.pack("<II", 0x00000000, 0x00FFFFFF)
    image = header + palette + xor + and_mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, HOT_X, HOT_Y, len(image), 6 + 16)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "text_cursor.cur")
    with open(path, "wb") as out:
        out.write(directory + entry + image)


if __name__ == "__main__":
    main()
