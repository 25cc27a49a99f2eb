#!/usr/bin/env python3
"""Draws the report wizard's pictures: the side pictures of its three pages
(wizard_page1.bmp to wizard_page3.bmp, 158 x 430, 24-bit: a page growing a
tree of sections and then pictures) and the icons of its buttons, 16 x 16 and
32 x 32 with alpha: the eight section commands (wizard_add_section.ico ...
wizard_edit_name.ico); the image commands' icons 201, 202, 253 and 254 are
the image panel's. Run from the source root:
python3 resources/make_wizard_images.py"""
import struct

from make_editor_images import icon

PAPER = (0xFF, 0xFF, 0xFF, 0xFF)
EDGE = (0x40, 0x48, 0x60, 0xFF)
BLUE = (0x2F, 0x6F, 0xC8, 0xFF)
GREEN = (0x2E, 0x9A, 0x3C, 0xFF)
RED = (0xC8, 0x32, 0x28, 0xFF)
PEN = (0xD0, 0x90, 0x20, 0xFF)


def sheet(u, v, left=2.5, top=1.5, right=11.5, bottom=14.5):
    if not (left <= u < right and top <= v < bottom):
        return None
    if u < left + 1 or u >= right - 1 or v < top + 1 or v >= bottom - 1:
        return EDGE
    return PAPER


def lines(u, v, left, rows):
    if any(abs(v - y) < 0.45 for y in rows) and left <= u < 10.5:
        return EDGE
    return None


def plus(u, v, cu=12.0, cv=12.0, colour=GREEN):
    if (abs(u - cu) < 1.0 and abs(v - cv) < 3.5) or (abs(v - cv) < 1.0 and abs(u - cu) < 3.5):
        return colour
    return None


def arrow(u, v, direction):
    # Rotate the point so that every arrow is drawn pointing up.
    x, y = u - 8.0, v - 8.0
    x, y = {"up": (x, y), "down": (-x, -y), "left": (-y, x), "right": (y, -x)}[direction]
    if y < 0 and abs(x) <= 6.5 + y and y >= -6.5:
        return BLUE
    if 0 <= y <= 6.5 and abs(x) < 2.0:
        return BLUE
    return None


def add_section(u, v):
    return plus(u, v) or sheet(u, v) and (lines(u, v, 4.5, (4.0, 6.5, 9.0)) or sheet(u, v))


def add_subsection(u, v):
    return plus(u, v) or sheet(u, v) and (lines(u, v, 4.5, (4.0,)) or lines(u, v, 6.5, (6.5, 9.0)) or sheet(u, v))


def remove_section(u, v):
    cross = abs(abs(u - 11.5) - abs(v - 11.5)) < 1.0 and abs(u - 11.5) < 3.5
    return RED if cross else sheet(u, v) and (lines(u, v, 4.5, (4.0, 6.5, 9.0)) or sheet(u, v))


def edit_name(u, v):
    on_pen = abs((u - 3.0) - (13.0 - v)) < 1.3 and 3.0 <= u <= 13.0
    if on_pen:
        return PEN if u < 11.5 else EDGE
    return lines(u, v, 2.5, (13.5,)) if v > 12.5 else None


def side_picture(page):
    """A tall picture: a sky gradient and a page that holds more at each step."""
    width, height = 158, 430
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            t = y / height
            r, g, b = int(40 + 60 * t), int(80 + 90 * t), int(160 + 80 * t)
            inside = 24 <= x < 134 and 120 <= y < 290
            if inside:
                r, g, b = 250, 250, 250
                if 24 <= x < 27 or 131 <= x < 134 or 120 <= y < 123 or 287 <= y < 290:
                    r, g, b = 60, 70, 100
                elif page >= 1 and 40 <= x < 118 and y % 22 in (0, 1) and 140 <= y < 200:
                    r, g, b = 90, 100, 120
                elif page >= 2 and 50 + (y // 22 % 2) * 12 <= x < 118 and y % 22 in (10, 11) and 140 <= y < 200:
                    r, g, b = 90, 100, 120
                elif page >= 3 and 40 <= x < 118 and 210 <= y < 275:
                    r, g, b = (60, 150, 80) if y > 250 - (x - 40) * 0.3 else (90, 154, 224)
            row += bytes((b, g, r))
        row += bytes((4 - len(row) % 4) % 4)
        rows.append(bytes(row))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def main():
    icons = (
        ("wizard_add_section.ico", add_section), ("wizard_add_subsection.ico", add_subsection),
        ("wizard_remove_section.ico", remove_section),
        ("wizard_move_up.ico", lambda u, v: arrow(u, v, "up")),
        ("wizard_move_down.ico", lambda u, v: arrow(u, v, "down")),
        ("wizard_move_left.ico", lambda u, v: arrow(u, v, "left")),
        ("wizard_move_right.ico", lambda u, v: arrow(u, v, "right")),
        ("wizard_edit_name.ico", edit_name),
    )
    for name, paint in icons:
        with open("resources/" + name, "wb") as f:
            f.write(icon(paint))
    for page in (1, 2, 3):
        with open("resources/wizard_page%d.bmp" % page, "wb") as f:
            f.write(side_picture(page))


if __name__ == "__main__":
    main()
