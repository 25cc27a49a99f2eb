#!/usr/bin/env python3
"""Draws the section image panel's pictures: the button icons (16 x 16,
32-bit with alpha; the newer system's set 199-216 and 246, the older
system's 251-268 in flat colours, the navigation buttons' disabled icons
217-220) and the bitmaps: the thumbnail placeholder (100), the list's default
picture shown until a thumbnail arrives (250) and the background of an empty
list and preview (2529). Run from the source root:
python3 resources/make_image_panel_images.py"""
import struct

import icon_file as icon_writer

NONE = (0, 0, 0, 0)
INK = (0x30, 0x40, 0x60, 0xFF)
BLUE = (0x3A, 0x7A, 0xD0, 0xFF)
GREEN = (0x30, 0x9A, 0x40, 0xFF)
RED = (0xC8, 0x38, 0x30, 0xFF)
GREY = (0x90, 0x90, 0x90, 0xFF)
LIGHT = (0xC8, 0xC8, 0xC8, 0xFF)
PAPER = (0xFF, 0xFF, 0xFF, 0xFF)


def frame(x, y):
    """A small picture frame: sky over a hill."""
    if 2 <= x <= 13 and 3 <= y <= 12:
        if x in (2, 13) or y in (3, 12):
            return INK
        return GREEN if y > 12 - (x - 2) * 0.5 and y > 8 else BLUE
    return None


def glyph(kind, x, y):
    if kind == "add":
        if (6 <= x <= 9 and 2 <= y <= 13) or (2 <= x <= 13 and 6 <= y <= 9):
            return GREEN
    elif kind == "remove":
        if abs(x - y) <= 1 and 2 <= x <= 13 or abs(x + y - 15) <= 1 and 2 <= x <= 13:
            return RED
    elif kind == "preview":
        return frame(x, y)
    elif kind == "thumbnails":
        if (x % 7) in (1, 2, 3, 4, 5) and (y % 7) in (1, 2, 3, 4, 5):
            return BLUE if (x % 7) not in (1, 5) and (y % 7) not in (1, 5) else INK
    elif kind in ("rotate_left", "rotate_right"):
        dx, dy = x - 7.5, y - 7.5
        ring = 4.0 <= (dx * dx + dy * dy) ** 0.5 <= 6.0 and not (dy < 0 and abs(dx) < 2)
        head = (x <= 5 if kind == "rotate_left" else x >= 10) and 1 <= y <= 5 and abs(y - 3) <= (
            5 - x if kind == "rotate_left" else x - 10)
        if ring or head:
            return BLUE
    elif kind == "grayscale":
        colour = frame(x, y)
        if colour is not None and x > 7 and colour != INK:
            v = sum(colour[:3]) // 3
            return (v, v, v, 0xFF)
        return colour
    elif kind == "description":
        if 2 <= x <= 13 and y in (3, 6, 9, 12):
            return INK if x < 13 - (y // 4) else None
    elif kind == "show":
        if 2 <= x <= 13 and 4 <= y <= 11 and ((x - 7.5) ** 2 / 36 + (y - 7.5) ** 2 / 12) <= 1:
            return INK if (x - 7.5) ** 2 + (y - 7.5) ** 2 <= 5 else PAPER if (
                (x - 7.5) ** 2 / 36 + (y - 7.5) ** 2 / 12) <= 0.7 else INK
    elif kind == "new_page":
        if 3 <= x <= 12 and 1 <= y <= 14:
            if x in (3, 12) or y in (1, 14):
                return INK
            return PAPER if y != 7 else RED
    elif kind == "generate":
        if 2 <= x <= 11 and 1 <= y <= 14:
            return INK if x in (2, 11) or y in (1, 14) else (LIGHT if y % 3 == 0 else PAPER)
        if 11 < x <= 14 and abs(y - 8) <= 14 - x:
            return RED
    elif kind in ("first", "previous", "next", "last"):
        left = kind in ("first", "previous")
        u = 15 - x if left else x
        if 4 <= u <= 10 and abs(y - 7.5) <= (10 - u) * 0.8 + 0.5:
            return BLUE
        if kind in ("first", "last") and u in (11, 12) and 3 <= y <= 12:
            return BLUE
    return None


KINDS = {
    199: "preview", 200: "thumbnails", 201: "add", 202: "remove", 203: "rotate_left", 204: "rotate_right",
    205: "grayscale", 206: "description", 207: "show", 208: "new_page", 246: "generate",
    213: "first", 214: "previous", 215: "next", 216: "last",
}


def pixels(kind, style):
    rows = []
    for y in range(15, -1, -1):
        for x in range(16):
            colour = glyph(kind, x, y)
            if colour is None:
                rows.append(NONE)
            elif style == "disabled":
                v = 0x60 + sum(colour[:3]) // 6
                rows.append((v, v, v, 0xFF))
            elif style == "old":
                rows.append(tuple(0x80 if c >= 0x80 else 0 for c in colour[:3]) + (0xFF,))
            else:
                rows.append(colour)
    return rows


def write_icon(number, kind, style):
    with open("resources/panel_icon_%d.ico" % number, "wb") as out:
        out.write(icon_writer.icon_file([(16, pixels(kind, style))]))


def write_bitmap(name, width, height, colour_at):
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = colour_at(x, y)
            row += bytes((b, g, r))
        body += row + bytes(stride - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open("resources/" + name, "wb") as out:
        out.write(header + info + body)


def placeholder(x, y):
    """A light frame with a picture sign in the middle of a 124 x 124 slot."""
    if x < 2 or y < 2 or x > 121 or y > 121:
        return (0xB0, 0xB0, 0xB0)
    colour = frame((x - 38) // 3, (y - 38) // 3) if 38 <= x < 86 and 38 <= y < 86 else None
    if colour is None:
        return (0xF4, 0xF4, 0xF4)
    return tuple(0xA0 + c // 3 for c in colour[:3])


def no_picture(x, y):
    if x < 2 or y < 2 or x > 121 or y > 121 or abs(x - y) <= 1 or abs(x + y - 123) <= 1:
        return (0xC0, 0x50, 0x50)
    return (0xFF, 0xFF, 0xFF)


def background(x, y):
    """A pale sheet with a large faint picture sign: the empty list's backdrop."""
    colour = frame((x - 70) // 10, (y - 20) // 10) if 70 <= x < 230 and 20 <= y < 180 else None
    if colour is None:
        return (0xF8, 0xF8, 0xF8)
    return tuple(0xE0 + c // 10 for c in colour[:3])


if __name__ == "__main__":
    for number, kind in KINDS.items():
        write_icon(number, kind, "new")
        if number != 246:
            write_icon(number + 52, kind, "old")
    for number, kind in ((217, "first"), (218, "previous"), (219, "next"), (220, "last")):
        write_icon(number, kind, "disabled")
    for number in (209, 210, 211, 212):
        # Spare slots of the set, kept so that the ids run without gaps.
        write_icon(number, "thumbnails", "disabled")
    write_bitmap("panel_no_picture.bmp", 124, 124, no_picture)
    write_bitmap("panel_default_picture.bmp", 124, 124, placeholder)
    write_bitmap("panel_background.bmp", 300, 200, background)
