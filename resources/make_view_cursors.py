#!/usr/bin/env python3
"""Draws the cursors and the direction bitmap of the framework's views: the
split bars' cursors (splitter_we.cur, splitter_ns.cur), the auto-scroll
cursors of the eight directions and the three neutral ones (autoscroll_*.cur,
32 x 32, black outline around white), and autoscroll.bmp (78 x 26, the three
neutral images side by side: both directions, horizontal only, vertical only).
Run from the source root: python3 resources/make_view_cursors.py"""
import math
import os
import struct

SIZE = 32
HERE = os.path.dirname(os.path.abspath(__file__))


def arrow_up(x, y):
    """An arrow head pointing up with a short shaft, its tip at (0, -0.9);
    coordinates in -1..1 around the centre."""
    if -0.9 <= y <= -0.4 and abs(x) <= (y + 0.9) * 0.8:
        return True
    return -0.42 <= y <= -0.2 and abs(x) <= 0.12


def rotated(shape, degrees):
    a = math.radians(degrees)
    c, s = math.cos(a), math.sin(a)
    return lambda x, y: shape(x * c + y * s, -x * s + y * c)


def dot(x, y):
    return x * x + y * y <= 0.14 * 0.14


def union(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


def bar_pair(x, y):
    """Two parallel vertical bars through the middle."""
    return 0.06 <= abs(x) <= 0.16 and abs(y) <= 0.8


def split_arrows(x, y):
    """A left and a right arrow head beside the bars."""
    ax = abs(x)
    return 0.22 <= ax <= 0.72 and abs(y) <= (0.72 - ax) * 0.8 and ax >= 0.22


def fill(shape):
    """The shape's pixels, sampled at the pixel centres."""
    grid = [[False] * SIZE for _ in range(SIZE)]
    for py in range(SIZE):
        for px in range(SIZE):
            x = (px + 0.5) / SIZE * 2 - 1
            y = (py + 0.5) / SIZE * 2 - 1
            grid[py][px] = shape(x, y)
    return grid


def outline(grid):
    """Black: pixels next to the shape but outside it."""
    edge = [[False] * SIZE for _ in range(SIZE)]
    for py in range(SIZE):
        for px in range(SIZE):
            if grid[py][px]:
                continue
            for dy in (-1, 0, 1):
                for dx in (-1, 0, 1):
                    qx, qy = px + dx, py + dy
                    if 0 <= qx < SIZE and 0 <= qy < SIZE and grid[qy][qx]:
                        edge[py][px] = True
    return edge


def write_cursor(name, shape):
    white = fill(shape)
    black = outline(white)
    xor_rows, and_rows = [], []
    for py in reversed(range(SIZE)):  # bottom-up
        xor_bits = and_bits = 0
        for px in range(SIZE):
            bit = 1 << (31 - px)
            if white[py][px]:
                xor_bits |= bit
            elif not black[py][px]:
                and_bits |= bit
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    hot = SIZE // 2
    data = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, hot, hot, len(image), 22)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data + image)


def write_direction_bitmap(name, shapes, side=26):
    width = side * len(shapes)
    stride = (width * 3 + 3) & ~3
    rows = []
    for py in reversed(range(side)):
        row = bytearray()
        for index, shape in enumerate(shapes):
            for px in range(side):
                x = (px + 0.5) / side * 2 - 1
                y = (py + 0.5) / side * 2 - 1
                r = math.hypot(x, y)
                if shape(x * 1.15, y * 1.15):
                    colour = (0x30, 0x30, 0x30)
                elif r <= 0.97:
                    colour = (0xF4, 0xF4, 0xF4)
                else:
                    colour = (0x90, 0x90, 0x90)
                row += bytes(reversed(colour))  # blue, green, red
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, side, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(header + info + pixels)


def main():
    up, down = arrow_up, rotated(arrow_up, 180)
    left, right = rotated(arrow_up, -90), rotated(arrow_up, 90)
    write_cursor("splitter_we.cur", union(bar_pair, split_arrows))
    write_cursor("splitter_ns.cur", rotated(union(bar_pair, split_arrows), 90))
    # The step's direction, clockwise from up: 906 ... 913.
    for index, degrees in enumerate(range(0, 360, 45)):
        write_cursor("autoscroll_%d.cur" % (906 + index), union(dot, rotated(arrow_up, degrees)))
    both = union(dot, up, down, left, right)
    horizontal = union(dot, left, right)
    vertical = union(dot, up, down)
    write_cursor("autoscroll_925.cur", both)
    write_cursor("autoscroll_916.cur", horizontal)
    write_cursor("autoscroll_924.cur", vertical)
    write_direction_bitmap("autoscroll.bmp", [both, horizontal, vertical])


if __name__ == "__main__":
    main()
