#!/usr/bin/env python3
"""Draws the frame on which a drag of several images shows its first image
(bitmap 198, 152 x 152, 24-bit): a grey mount with a white field and a thin
line inside the mount. Run from the source root:
python3 resources/make_thumbnail_frame.py"""
from make_image_panel_images import write_bitmap

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


if __name__ == '__main__':
    write_bitmap('thumbnail_frame.bmp', SIZE, SIZE, colour)
