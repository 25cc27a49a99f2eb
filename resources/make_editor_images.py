#!/usr/bin/env python3
"""Draws the program's icons: the main window's (OstraTallier.ico, a report
page with a picture and a tally mark), the report document's
(OstraTallierDocument.ico, a page with a picture and text lines) and the report
template's (OstraTallierTemplate.ico, a page with dashed frames), each 16 x 16
and 32 x 32, 32-bit with alpha. Run from the source root:
python3 resources/make_editor_images.py"""
import icon_file as icon_writer

PAPER = (0xFF, 0xFF, 0xFF, 0xFF)
EDGE = (0x40, 0x48, 0x60, 0xFF)
SKY = (0x5A, 0x9A, 0xE0, 0xFF)
HILL = (0x3C, 0x9A, 0x50, 0xFF)
INK = (0x70, 0x78, 0x88, 0xFF)
MARK = (0xD0, 0x50, 0x30, 0xFF)
NONE = (0, 0, 0, 0)


def page(u, v):
    """The sheet common to all three, in a 16-unit square; None outside it."""
    if not (2.5 <= u < 13.5 and 0.5 <= v < 15.5):
        return None
    if u < 3.5 or u >= 12.5 or v < 1.5 or v >= 14.5:
        return EDGE
    return PAPER


def picture(u, v):
    if 4.5 <= u < 11.5 and 2.5 <= v < 7.5:
        return HILL if v > 9.5 - (u - 4.5) * 0.6 and v > 5.0 else SKY
    return None


def application(u, v):
    colour = page(u, v)
    if colour is PAPER:
        colour = picture(u, v) or colour
        # Four upright tally strokes crossed by a fifth.
        if 9.0 <= v < 13.5 and any(abs(u - x) < 0.45 for x in (5.0, 6.5, 8.0, 9.5)):
            colour = MARK
        if 9.0 <= v < 13.5 and abs((v - 9.0) - (u - 4.5) * 0.75) < 0.5 and 4.5 <= u <= 10.5:
            colour = MARK
    return colour


def document(u, v):
    colour = page(u, v)
    if colour is PAPER:
        colour = picture(u, v) or colour
        if any(abs(v - y) < 0.4 for y in (9.0, 10.5, 12.0, 13.5)) and 4.5 <= u < 11.5:
            colour = INK
    return colour


def template(u, v):
    colour = page(u, v)
    if colour is PAPER:
        for left, top, right, bottom in ((4.5, 2.5, 11.5, 7.5), (4.5, 9.0, 11.5, 13.5)):
            on_edge = (abs(u - left) < 0.5 or abs(u - right) < 0.5) and top <= v <= bottom or \
                      (abs(v - top) < 0.5 or abs(v - bottom) < 0.5) and left <= u <= right
            if on_edge and int(u + v) % 2 == 0:
                colour = INK
    return colour


def icon(paint):
    def image(size):
        scale = size / 16.0
        return [paint((x + 0.5) / scale, (y + 0.5) / scale) or NONE
                for y in range(size - 1, -1, -1) for x in range(size)]
    return icon_writer.icon_file([(16, image(16)), (32, image(32))])

def main():
    for name, paint in (("OstraTallier.ico", application), ("OstraTallierDocument.ico", document),
                        ("OstraTallierTemplate.ico", template)):
        with open("resources/" + name, "wb") as f:
            f.write(icon(paint))


if __name__ == "__main__":
    main()
