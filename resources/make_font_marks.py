#!/usr/bin/env python3
"""Draws the three type marks of the font-name boxes as one 48 x 15 24-bit
strip on white (the boxes copy them with AND, so white lets the item show
through): x 0 a device font (a printer), x 16 a TrueType font (two Ts), x 32
any other font, also one the system lacks (a grey square). Run from the
source root: python3 resources/make_font_marks.py"""
import struct

COLORS = {".": (255, 255, 255), "k": (0, 0, 0), "g": (128, 128, 128), "b": (0, 0, 128), "c": (0, 128, 128)}

DEVICE = ["................", "................", "....kkkkkkk.....", "....k.....k.....", "...kkkkkkkkk....",
          "..kgggggggggk...", "..kgggggggggk...", "..kgggggg.ggk...", "..kkkkkkkkkkk...", "....k.....k.....",
          "....kkkkkkk.....", "................", "................", "................", "................"]
TRUETYPE = ["................", "................", "bbbbbbb.........", "b..b..b.........", "...b............",
            "...b..ccccccc...", "...b..c..c..c...", "...b.....c......", "..bbb....c......", ".........c......",
            ".........c......", "........ccc.....", "................", "................", "................"]
OTHER = ["................", "................", "................", "...ggggggggg....", "...g.......g....",
         "...g.......g....", "...g.......g....", "...g.......g....", "...g.......g....", "...g.......g....",
         "...g.......g....", "...ggggggggg....", "................", "................", "................"]


def write(path, images):
    width, height = 16 * len(images), 15
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for image in images:
            for ch in image[y]:
                r, g, b = COLORS[ch]
                row += bytes((b, g, r))
        rows.append(bytes(row) + b"\0" * (stride - len(row)))
    pixels = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(header) + len(pixels), 0, 0, 14 + len(header)))
        f.write(header + pixels)


write("resources/font_marks.bmp", [DEVICE, TRUETYPE, OTHER])
