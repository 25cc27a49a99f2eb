#!/usr/bin/env python3
"""Draws the About box's team picture (team.jpg): five figures of the team
in front of an evening sky, 241 x 161 pixels (an odd width on purpose: the
dialog must draw rows of any length). Writes team.ppm, then compresses it
with the cross-built libjpeg's cjpeg under Wine (which needs the MinGW
run-time DLLs on its path). Run from the source root:
python3 resources/make_team_picture.py &&
WINEPATH='Z:\\usr\\i686-w64-mingw32\\lib;Z:\\usr\\lib\\gcc\\i686-w64-mingw32\\12-posix'
wine build/deps/prefix/bin/cjpeg.exe -quality 90 -outfile resources/team.jpg resources/team.ppm &&
rm resources/team.ppm"""
import math

WIDTH, HEIGHT = 241, 161
FIGURES = [  # centre x, head y, radius, shirt colour
    (40, 62, 13, (0xD0, 0x50, 0x30)),
    (82, 55, 14, (0x3C, 0x9A, 0x50)),
    (121, 50, 15, (0x40, 0x48, 0x60)),
    (160, 56, 14, (0x5A, 0x9A, 0xE0)),
    (201, 63, 13, (0xE0, 0xB0, 0x30)),
]


def pixel(x, y):
    t = y / HEIGHT
    colour = (int(250 - 90 * t), int(190 - 60 * t), int(120 + 80 * t))
    if y > 128:
        colour = (0x6A, 0x8A, 0x4A)
    for cx, hy, r, shirt in FIGURES:
        if math.hypot(x - cx, y - hy) <= r:
            colour = (0xF0, 0xC8, 0xA0)
        elif hy + r <= y <= 150 and abs(x - cx) <= r * 1.4 - max(0, hy + r + 8 - y):
            colour = shirt
    return colour


def main():
    with open("resources/team.ppm", "wb") as f:
        f.write(b"P6 %d %d 255\n" % (WIDTH, HEIGHT))
        f.write(bytes(c for y in range(HEIGHT) for x in range(WIDTH) for c in pixel(x, y)))


if __name__ == "__main__":
    main()
