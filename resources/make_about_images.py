#!/usr/bin/env python3
"""Draws the pictures of the start-up and the About box as 8-bit BMP files:
the splash screen (about_splash.bmp, 400 x 240), the About box's background
(about_background.bmp, 413 x 492) and its scrolling credits
(about_credits.bmp, 139 x 655, white text on the credits green). Text is set
in a 5 x 7 pixel font of our own. Run from the source root:
python3 resources/make_about_images.py"""
import struct

FONT = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "G": ["01110", "10001", "10000", "10111", "10001", "10001", "01111"],
    "H": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "J": ["00111", "00010", "00010", "00010", "00010", "10010", "01100"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "N": ["10001", "10001", "11001", "10101", "10011", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "W": ["10001", "10001", "10001", "10101", "10101", "10101", "01010"],
    "X": ["10001", "10001", "01010", "00100", "01010", "10001", "10001"],
    "Y": ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
    "Z": ["11111", "00001", "00010", "00100", "01000", "10000", "11111"],
    "0": ["01110", "10001", "10011", "10101", "11001", "10001", "01110"],
    "1": ["00100", "01100", "00100", "00100", "00100", "00100", "01110"],
    "2": ["01110", "10001", "00001", "00010", "00100", "01000", "11111"],
    "3": ["11111", "00010", "00100", "00010", "00001", "10001", "01110"],
    "4": ["00010", "00110", "01010", "10010", "11111", "00010", "00010"],
    "5": ["11111", "10000", "11110", "00001", "00001", "10001", "01110"],
    "6": ["00110", "01000", "10000", "11110", "10001", "10001", "01110"],
    "7": ["11111", "00001", "00010", "00100", "01000", "01000", "01000"],
    "8": ["01110", "10001", "10001", "01110", "10001", "10001", "01110"],
    "9": ["01110", "10001", "10001", "01111", "00001", "00010", "01100"],
    " ": ["00000"] * 7,
    ".": ["00000", "00000", "00000", "00000", "00000", "01100", "01100"],
    ",": ["00000", "00000", "00000", "00000", "01100", "00100", "01000"],
    "-": ["00000", "00000", "00000", "11111", "00000", "00000", "00000"],
    "&": ["01100", "10010", "10100", "01000", "10101", "10010", "01101"],
}

# Palette: indexes 0-199 a ramp between the two ends of each picture, then fixed colours.
WHITE, BLACK, GREEN, PAPER, SHADOW, ACCENT, GOLD, DARK = range(200, 208)
FIXED = {WHITE: (255, 255, 255), BLACK: (0, 0, 0), GREEN: (0x85, 0xB0, 0x8C), PAPER: (250, 248, 240),
         SHADOW: (60, 60, 70), ACCENT: (0xC8, 0x5A, 0x28), GOLD: (0xE8, 0xC0, 0x50), DARK: (0x1B, 0x2A, 0x3A)}
RAMP = 200


class Picture:
    def __init__(self, width, height, top, bottom):
        self.width, self.height = width, height
        self.palette = []
        for i in range(RAMP):
            t = i / (RAMP - 1)
            self.palette.append(tuple(round(top[c] + (bottom[c] - top[c]) * t) for c in range(3)))
        for index in range(RAMP, 256):
            self.palette.append(FIXED.get(index, (0, 0, 0)))
        # A vertical gradient over the whole picture.
        self.pixels = [[min(RAMP - 1, y * RAMP // height)] * width for y in range(height)]

    def fill(self, x0, y0, x1, y1, index):
        for y in range(max(0, y0), min(self.height, y1)):
            row = self.pixels[y]
            for x in range(max(0, x0), min(self.width, x1)):
                row[x] = index

    def text(self, x, y, text, index, scale=1):
        for ch in text:
            glyph = FONT[ch]
            for gy, line in enumerate(glyph):
                for gx, bit in enumerate(line):
                    if bit == "1":
                        self.fill(x + gx * scale, y + gy * scale, x + (gx + 1) * scale, y + (gy + 1) * scale, index)
            x += 6 * scale

    def centred(self, y, text, index, scale=1):
        self.text((self.width - (len(text) * 6 - 1) * scale) // 2, y, text, index, scale)

    def report_pages(self, x, y, size):
        """A small stack of report pages with pictures on them: the program's sign."""
        for step in (2, 1, 0):
            ox, oy = x + step * size // 8, y + step * size // 8
            self.fill(ox + 3, oy + 3, ox + size + 3, oy + size * 4 // 3 + 3, SHADOW)
            self.fill(ox, oy, ox + size, oy + size * 4 // 3, PAPER)
        pad = size // 8
        self.fill(x + pad, y + pad, x + size - pad, y + size // 2, ACCENT)
        self.fill(x + pad, y + size // 2 + pad, x + size // 2, y + size - pad // 2, GOLD)
        for line in range(3):
            ly = y + size + line * (size // 10 + 2)
            self.fill(x + pad, ly, x + size - pad, ly + size // 16 + 1, SHADOW)

    def save(self, path):
        stride = (self.width + 3) & ~3
        image = bytearray()
        for row in reversed(self.pixels):
            image += bytes(row) + b"\0" * (stride - self.width)
        palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in self.palette)
        offset = 14 + 40 + len(palette)
        header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 8, 0, len(image), 2835, 2835, 256, 0)
        with open(path, "wb") as f:
            f.write(header + info + palette + image)


def splash():
    p = Picture(400, 240, (0x24, 0x4A, 0x6E), (0x0F, 0x1F, 0x33))
    p.fill(0, 0, 400, 4, GOLD)
    p.fill(0, 236, 400, 240, GOLD)
    p.report_pages(34, 52, 72)
    p.text(150, 70, "OSTRATALLIER", WHITE, 3)
    p.text(152, 108, "ILLUSTRATED REPORTS", GOLD, 2)
    p.text(152, 150, "KESTREL WORKS", WHITE, 2)
    p.text(152, 200, "STARTING...", PAPER, 1)
    p.save("resources/about_splash.bmp")


def background():
    p = Picture(413, 492, (0x2E, 0x5C, 0x82), (0x10, 0x22, 0x38))
    p.fill(0, 0, 413, 150, DARK)
    p.fill(0, 150, 413, 154, GOLD)
    p.report_pages(24, 26, 60)
    p.text(112, 40, "OSTRATALLIER", WHITE, 3)
    p.text(114, 80, "ILLUSTRATED REPORTS", GOLD, 2)
    p.text(114, 112, "FROM YOUR PICTURES", PAPER, 1)
    # The credits scroll in the framed place on the left.
    p.fill(4, 182, 140, 434, GREEN)
    p.text(164, 200, "VISIT US", GOLD, 2)
    p.text(164, 380, "COPYRIGHT KESTREL WORKS", PAPER, 1)
    p.text(164, 392, "ALL RIGHTS RESERVED.", PAPER, 1)
    p.fill(0, 488, 413, 492, GOLD)
    p.save("resources/about_background.bmp")


def credits():
    p = Picture(139, 655, (0x85, 0xB0, 0x8C), (0x85, 0xB0, 0x8C))
    lines = [("OSTRA", 2), ("TALLIER", 2), ("", 1), ("A PROGRAM BY", 1), ("KESTREL WORKS", 1), ("", 1),
             ("DESIGN", 2), ("THE REPORT TEAM", 1), ("", 1), ("PROGRAMMING", 2), ("THE FRAMEWORK TEAM", 1),
             ("THE DOCKING TEAM", 1), ("THE EXPORT TEAM", 1), ("", 1), ("PICTURES", 2), ("THE ART DESK", 1),
             ("", 1), ("TESTING", 2), ("EVERY ONE OF US", 1), ("", 1), ("THANKS TO", 2), ("OUR USERS", 1),
             ("AND THEIR REPORTS", 1), ("", 1), ("", 1), ("THANK YOU", 2), ("FOR READING", 1)]
    y = 40
    for text, scale in lines:
        if text:
            p.centred(y, text, WHITE, scale)
        y += 10 * scale + 6
    p.report_pages(47, y + 10, 40)
    p.save("resources/about_credits.bmp")


if __name__ == "__main__":
    splash()
    background()
    credits()
