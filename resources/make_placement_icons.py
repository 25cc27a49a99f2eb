#!/usr/bin/env python3
"""Draws the icons of the watermark dialog's nine place buttons: a page with
a mark at one of the nine places (top left first, row by row), 16 x 16. The
styled set (place_xp_N.ico) is soft-edged with alpha; the plain set
(place_plain_N.ico) keeps to hard edges and the basic colours. Run from the
source root: python3 resources/make_placement_icons.py"""
import os

import icon_file as icon_writer

NONE = (0, 0, 0, 0)
STYLES = {
    "xp": {"edge": (0x50, 0x60, 0x80, 0xFF), "paper": (0xFF, 0xFF, 0xFF, 0xFF),
           "lines": (0xC8, 0xD0, 0xDC, 0xFF), "mark": (0x2A, 0x6A, 0xD0, 0xFF)},
    "plain": {"edge": (0x00, 0x00, 0x00, 0xFF), "paper": (0xFF, 0xFF, 0xFF, 0xFF),
              "lines": (0xC0, 0xC0, 0xC0, 0xFF), "mark": (0x00, 0x00, 0x80, 0xFF)},
}


def painter(style, place):
    colours = STYLES[style]
    column, row = place % 3, place // 3
    mark_left = 4 + column * 3
    mark_top = 2 + row * 4

    def paint(x, y):
        if not (2 <= x <= 13 and 0 <= y <= 15):
            return NONE
        if x in (2, 13) or y in (0, 15):
            return colours["edge"]
        if mark_left <= x < mark_left + 3 and mark_top <= y < mark_top + 3:
            return colours["mark"]
        if y % 2 == 1 and 4 <= x <= 11:
            return colours["lines"]
        return colours["paper"]
    return paint


def main():
    os.makedirs("resources/placement", exist_ok=True)
    for style in STYLES:
        for place in range(9):
            paint = painter(style, place)
            pixels = [paint(x, y) for y in range(15, -1, -1) for x in range(16)]
            with open("resources/placement/place_%s_%d.ico" % (style, place), "wb") as f:
                f.write(icon_writer.icon_file([(16, pixels)]))


if __name__ == "__main__":
    main()
