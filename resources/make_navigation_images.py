#!/usr/bin/env python3
"""Draws the navigation images of the HTML export: back.png and next.png
(48 x 48, a white arrow on a blue disc, transparent around it) and blank.gif
(1 x 1, transparent). Run from the source root: python3 resources/make_navigation_images.py"""
import os
import struct
import zlib

SIZE = 48
SAMPLES = 4  # supersampling per axis, for smooth edges
DISC = (0x2F, 0x5F, 0x9F)
RIM = (0x1C, 0x3A, 0x66)
ARROW = (0xFF, 0xFF, 0xFF)


def inside_arrow(x, y):
    """A right-pointing arrow in the unit square: a stem and a head."""
    if 0.22 <= x <= 0.52 and 0.40 <= y <= 0.60:
        return True
    if 0.50 <= x <= 0.80:
        half = (0.80 - x) / 0.30 * 0.26
        return abs(y - 0.5) <= half
    return False


def shade(x, y, mirrored):
    """The colour and coverage of one sample point (x, y in 0..1)."""
    dx, dy = x - 0.5, y - 0.5
    r = (dx * dx + dy * dy) ** 0.5
    if r > 0.48:
        return None
    ax = 1.0 - x if mirrored else x
    if inside_arrow(ax, y):
        return ARROW
    if r > 0.44:
        return RIM
    return DISC


def draw(mirrored):
    rows = []
    for py in range(SIZE):
        row = bytearray([0])  # filter type None
        for px in range(SIZE):
            acc = [0, 0, 0]
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / SIZE
                    y = (py + (sy + 0.5) / SAMPLES) / SIZE
                    colour = shade(x, y, mirrored)
                    if colour:
                        covered += 1
                        for i in range(3):
                            acc[i] += colour[i]
            if covered:
                row += bytes(round(acc[i] / covered) for i in range(3))
                row.append(round(255 * covered / (SAMPLES * SAMPLES)))
            else:
                row += b"\0\0\0\0"
        rows.append(bytes(row))
    return png(SIZE, SIZE, b"".join(rows))


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(width, height, raw):
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def blank_gif():
    return (b"GIF89a" + struct.pack("<HHBBB", 1, 1, 0x80, 0, 0) +  # screen with a 2-entry colour table
            b"\0\0\0\xff\xff\xff" +
            b"\x21\xf9\x04\x01\0\0\0\0" +  # graphic control: colour 0 is transparent
            b"\x2c" + struct.pack("<HHHHB", 0, 0, 1, 1, 0) +
            b"\x02\x02\x44\x01\0" +  # LZW minimum code size 2, one block: clear, 0, end
            b"\x3b")


def main():
    folder = os.path.dirname(os.path.abspath(__file__))
    outputs = {"back.png": draw(True), "next.png": draw(False), "blank.gif": blank_gif()}
    for name, data in outputs.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
