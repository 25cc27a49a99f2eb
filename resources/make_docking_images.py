#!/usr/bin/env python3
"""Draws the docking library's pictures: the menu glyph strip (QMXMenuGlyphs.bmp,
25 glyphs of 9 x 9, black on the transparent magenta), the print preview's tool-bar images
(QMXPrintPreview.bmp), the two splitter cursors (QMXStretchHorz.cur, QMXStretchVert.cur),
the hand cursor (QMXHand.cur), the button-drag cursors (QMXDragMove.cur, QMXDragCopy.cur,
QMXDragRemove.cur), the user-tool icon (QMXTool.ico), the editable list's four
button pictures (QMXEditList*.bmp), the image editor's nine tools (QMXEditTools.bmp) and
its six cursors (QMXEdit*.cur), and the strip the docking tests load
(tests/data/docking/strip24.bmp). Run from the source root:
python3 resources/make_docking_images.py"""
import struct

import icon_file as icon_writer

# Each glyph is 9 rows of 9 characters; "#" is black, anything else transparent.
GLYPHS = [
    # 0 down arrow
    [".........", ".........", ".........", ".#######.", "..#####..", "...###...", "....#....", ".........", "........."],
    # 1 right arrow
    [".........", "...#.....", "...##....", "...###...", "...####..", "...###...", "...##....", "...#.....", "........."],
    # 2 check mark
    [".........", ".......#.", "......##.", ".#...###.", ".##.###..", ".#####...", "..###....", "...#.....", "........."],
    # 3 minimise
    [".........", ".........", ".........", ".........", ".........", ".........", ".######..", ".######..", "........."],
    # 4 restore
    ["...######", "...######", "...#....#", ".######.#", ".######.#", ".#....###", ".#....#..", ".######..", "........."],
    # 5 close
    [".........", ".##...##.", "..##.##..", "...###...", "...###...", "..##.##..", ".##...##.", ".........", "........."],
    # 6 maximise
    [".#######.", ".#######.", ".#.....#.", ".#.....#.", ".#.....#.", ".#.....#.", ".#.....#.", ".#######.", "........."],
    # 7 up arrow
    [".........", ".........", "....#....", "...###...", "..#####..", ".#######.", ".........", ".........", "........."],
    # 8 show all (double down arrow)
    [".........", ".#.....#.", "..#...#..", "...#.#...", "....#....", ".#.....#.", "..#...#..", "...#.#...", "....#...."],
    # 9 left arrow
    [".........", ".....#...", "....##...", "...###...", "..####...", "...###...", "....##...", ".....#...", "........."],
    # 10 first (double left)
    [".........", "....#...#", "...#...#.", "..#...#..", ".#...#...", "..#...#..", "...#...#.", "....#...#", "........."],
    # 11 more buttons (double right)
    [".........", "#...#....", ".#...#...", "..#...#..", "...#...#.", "..#...#..", ".#...#...", "#...#....", "........."],
    # 12 radio dot
    [".........", ".........", "...###...", "..#####..", "..#####..", "..#####..", "...###...", ".........", "........."],
    # 13 down arrow, large
    [".........", ".........", "#########", ".#######.", "..#####..", "...###...", "....#....", ".........", "........."],
    # 14 right arrow of flat tabs
    [".........", "..#......", "..##.....", "..###....", "..####...", "..###....", "..##.....", "..#......", "........."],
    # 15 maximised state
    [".........", ".........", "..#####..", "..#####..", "..#...#..", "..#...#..", "..#####..", ".........", "........."],
    # 16 maximise all
    [".........", "#########", "#########", "#.......#", "#.......#", "#.......#", "#.......#", "#########", "........."],
    # 17 left arrow of flat tabs
    [".........", "......#..", ".....##..", "....###..", "...####..", "....###..", ".....##..", "......#..", "........."],
    # 18 first tab
    [".........", ".#....#..", ".#...##..", ".#..###..", ".#.####..", ".#..###..", ".#...##..", ".#....#..", "........."],
    # 19 last tab
    [".........", "..#....#.", "..##...#.", "..###..#.", "..####.#.", "..###..#.", "..##...#.", "..#....#.", "........."],
    # 20 right arrow of 3D tabs
    [".........", "...#.....", "...##....", "...###...", "...####..", "...###...", "...##....", "...#.....", "........."],
    # 21 left arrow of 3D tabs
    [".........", ".....#...", "....##...", "...###...", "..####...", "...###...", "....##...", ".....#...", "........."],
    # 22 pin, upright
    ["...###...", "...#.#...", "...#.#...", "...#.#...", "..#####..", "....#....", "....#....", "....#....", "........."],
    # 23 pin, lying
    [".........", ".........", "....#....", "....#####", "#####...#", "....#####", "....#....", ".........", "........."],
    # 24 up arrow, large
    [".........", ".........", "....#....", "...###...", "..#####..", ".#######.", "#########", ".........", "........."],
]

MAGENTA = (0xFF, 0x00, 0xFF)
BLACK = (0, 0, 0)


def bmp24(width, height, pixel):
    """A 24-bit bottom-up BMP; pixel(x, y) gives (r, g, b) with y from the top."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return header + info + data


def glyph_strip():
    def pixel(x, y):
        glyph = GLYPHS[x // 9]
        return BLACK if glyph[y][x % 9] == "#" else MAGENTA
    return bmp24(9 * len(GLYPHS), 9, pixel)


def test_strip():
    """Ten 16 x 15 images: the four button greys, a red band and a dark green border."""
    colours = [(0, 0, 0), (0x80, 0x80, 0x80), (0xC0, 0xC0, 0xC0), (0xFF, 0xFF, 0xFF)]

    def pixel(x, y):
        if y == 14:
            return (0x20, 0x60, 0x20)
        if y >= 12:
            return (0xFF, 0, 0)
        return colours[(x % 16) // 4]
    return bmp24(160, 15, pixel)


def mono_image(size, rows, hot):
    """A monochrome 32 x 32 cursor image: "#" black, "o" white, others transparent."""
    xor_rows = []
    and_rows = []
    for y in range(size - 1, -1, -1):
        line = rows[y] if y < len(rows) else ""
        line = line.ljust(size, ".")
        xor_bits = 0
        and_bits = 0
        for x in range(size):
            ch = line[x]
            bit = 1 << (size - 1 - x)
            if ch == "o":
                xor_bits |= bit
            elif ch != "#":
                and_bits |= bit
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    return info + palette + b"".join(xor_rows) + b"".join(and_rows)


def cursor_file(rows, hot):
    image = mono_image(32, rows, hot)
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, hot[0], hot[1], len(image), 6 + 16)
    return header + entry + image


STRETCH_HORZ = [
    "", "", "", "", "", "", "",
    "             ##  ##",
    "             #o##o#",
    "             #o##o#",
    "             #o##o#",
    "        #    #o##o#    #",
    "       ##    #o##o#    ##",
    "      #o######o##o######o#",
    "     #ooooooooo##ooooooooo#",
    "    #oooooooooo##oooooooooo#",
    "     #ooooooooo##ooooooooo#",
    "      #o######o##o######o#",
    "       ##    #o##o#    ##",
    "        #    #o##o#    #",
    "             #o##o#",
    "             #o##o#",
    "             #o##o#",
    "             ##  ##",
]


def transpose(rows, size=32):
    grid = [r.ljust(size, " ") for r in rows] + [" " * size] * (size - len(rows))
    return ["".join(grid[x][y] for x in range(size)).rstrip() for y in range(size)]


HAND = [
    "     ##",
    "    #oo#",
    "    #oo#",
    "    #oo#",
    "    #oo#",
    "    #oo###",
    "    #oo#oo###",
    "    #oo#oo#oo##",
    " ## #oo#oo#oo#o#",
    "#oo##oooooooo#o#",
    "#ooo#oooooooooo#",
    " #oo#oooooooooo#",
    "  #oooooooooooo#",
    "  #ooooooooooo#",
    "   #oooooooooo#",
    "   #ooooooooo#",
    "    #oooooooo#",
    "    #oooooooo#",
    "    ##########",
]


# The button-drag cursors: an arrow whose tip is the hot spot (6, 3) with a
# button under it; the copy cursor adds a plus, the remove cursor a cross.
DRAG_ARROW = [
    "", "", "",
    "      #",
    "      ##",
    "      #o#",
    "      #oo#",
    "      #ooo#",
    "      #oooo#",
    "      #ooooo#",
    "      #oooooo#",
    "      #ooooooo#",
    "      #oooo#####",
    "      #oo#oo#",
    "      #o# #oo#",
    "      ##  #oo#",
    "           #oo#",
    "           ####",
]
DRAG_BUTTON = ["        ###########", "        #ooooooooo#", "        #ooooooooo#", "        #ooooooooo#",
               "        #ooooooooo#", "        ###########"]
DRAG_PLUS = ["                    ###", "                   ##o##", "                   #ooo#", "                   ##o##",
             "                    ###"]
DRAG_CROSS = ["                   #   #", "                   ## ##", "                    ###", "                   ## ##",
              "                   #   #"]


def overlay(*layers):
    rows = []
    for layer in layers:
        for y, line in layer:
            while len(rows) <= y:
                rows.append("")
            base = rows[y].ljust(len(line))
            rows[y] = "".join(c if c != " " else b for b, c in zip(base, line.ljust(len(base))))
    return rows


def drag_cursor(mark):
    layers = [list(enumerate(DRAG_ARROW)), [(19 + i, r) for i, r in enumerate(DRAG_BUTTON)]]
    if mark is not None:
        layers.append([(24 + i, r) for i, r in enumerate(mark)])
    return cursor_file(overlay(*layers), (6, 3))


def icon_file():
    """A spanner, 16 x 16 and 32 x 32, 32-bit with alpha: a steel handle and an
    open ring head, outlined in dark grey."""
    import math

    def in_spanner(u, v):
        # The handle: a thick segment from the lower left towards the head.
        ax, ay, bx, by = 3.0, 13.0, 9.0, 7.0
        t = max(0.0, min(1.0, ((u - ax) * (bx - ax) + (v - ay) * (by - ay)) / ((bx - ax) ** 2 + (by - ay) ** 2)))
        if math.hypot(u - (ax + t * (bx - ax)), v - (ay + t * (by - ay))) < 1.4:
            return True
        # The head: a ring with its jaw open to the upper right.
        r = math.hypot(u - 10.5, v - 5.5)
        angle = math.degrees(math.atan2(5.5 - v, u - 10.5))
        return 1.6 < r < 4.0 and abs(angle - 45.0) > 28.0

    def image(size):
        scale = size / 16.0
        inside = [[in_spanner((x + 0.5) / scale, (y + 0.5) / scale) for x in range(size)] for y in range(size)]
        pixels = []
        for y in range(size - 1, -1, -1):
            for x in range(size):
                if inside[y][x]:
                    light = (x + y) % 4 < 2
                    pixels.append((0xC8, 0xC8, 0xD2, 0xFF) if light else (0x9A, 0x9A, 0xA8, 0xFF))
                elif any(0 <= y + dy < size and 0 <= x + dx < size and inside[y + dy][x + dx]
                         for dy in (-1, 0, 1) for dx in (-1, 0, 1)):
                    pixels.append((0x30, 0x30, 0x40, 0xFF))
                else:
                    pixels.append((0, 0, 0, 0))
        return pixels
    return icon_writer.icon_file([(16, image(16)), (32, image(32))])

# The image editor's tools, 16 x 15 each, in command order: fill, pencil,
# pick colour, line, rectangle, ellipse, copy, paste, clear. "#" black,
# "r" red, "b" blue, "y" yellow, "w" white, others the transparent grey.
EDIT_TOOLS = [
    ["", "     ##", "    #ww#", "   #wwww#", "  #wwwwww#", " #wwwwwwww#", "#wwwwwwww#b", " #wwwwww#bb", "  #wwww# bb",
     "   #ww#  bb", "    ##   b", "", "", "", ""],
    ["", "           ##", "          #yy#", "         #yy#", "        #yy#", "       #yy#", "      #yy#", "     #yy#",
     "    #yy#", "   ###", "   ##", "  #", "", "", ""],
    ["", "           ###", "          #####", "         #####", "        ####", "       #w#", "      #w#", "     #w#",
     "    #w#", "   #w#", "  ##", "  #", "", "", ""],
    ["", " #", "  #", "   #", "    #", "     #", "      #", "       #", "        #", "         #", "          #",
     "           #", "            #", "", ""],
    ["", "", " ############", " #          #", " #          #", " #          #", " #          #", " #          #",
     " #          #", " #          #", " ############", "", "", "", ""],
    ["", "", "    ######", "  ##      ##", " #          #", " #          #", " #          #", " #          #",
     "  ##      ##", "    ######", "", "", "", "", ""],
    ["", " ######", " #wwww#", " #w##w######", " #wwww#wwww#", " #w##w#w##w#", " #wwww#wwww#", " ######w##w#",
     "      #wwww#", "      #w##w#", "      #wwww#", "      ######", "", "", ""],
    ["", "    ####", " ###ww###", " #bbbbbb#", " #bbb######", " #bbb#wwww#", " #bbb#w##w#", " #bbb#wwww#",
     " #bbb#w##w#", " #bbb#wwww#", " #####wwww#", "     ######", "", "", ""],
    ["", " ##      ##", "  ##    ##", "   ##  ##", "    ####", "     ##", "    ####", "   ##  ##", "  ##    ##",
     " ##      ##", "", "", "", "", ""],
]

TOOL_COLOURS = {"#": (0, 0, 0), "r": (0xFF, 0, 0), "b": (0, 0, 0xFF), "y": (0xFF, 0xFF, 0), "w": (0xFF, 0xFF, 0xFF)}


def tools_strip():
    def pixel(x, y):
        rows = EDIT_TOOLS[x // 16]
        line = rows[y] if y < len(rows) else ""
        ch = line[x % 16] if x % 16 < len(line) else " "
        return TOOL_COLOURS.get(ch, GREY)
    return bmp24(16 * len(EDIT_TOOLS), 15, pixel)


# The image editor's cursors: an arrow with the tool's sign beside it.
ARROW = ["#", "##", "#o#", "#oo#", "#ooo#", "#oooo#", "#ooooo#", "#oooooo#", "#ooooooo#", "#oooo#####",
         "#oo#o#", "#o# #o#", "##  #o#", "     #o#", "     ###"]


def tool_cursor(sign):
    rows = [r.ljust(12) + (sign[i] if i < len(sign) else "") for i, r in enumerate(ARROW)]
    rows += ["            " + line for line in sign[len(ARROW):]]
    return cursor_file(rows, (0, 0))


EDIT_CURSORS = {
    16140: ["", "", "", "", "", "", "########", "#      #", "#      #", "#      #", "########"],
    16141: ["", "", "", "", "", "", "  ####", " #    #", "#      #", " #    #", "  ####"],
    16142: ["", "", "", "", "", "", "   ##", "  #oo#", " #oooo#", "#oooooo#", " #oooo#", "  #oo# #", "   ##  #"],
    16143: ["", "", "", "", "", "", "#", " #", "  #", "   #", "    #", "     #"],
    16144: ["", "", "", "", "", "", "     ##", "    #oo#", "   #oo#", "  #oo#", " ###", " ##"],
    16145: ["", "", "", "", "", "", "     ###", "    ####", "   #o#", "  #o#", " #o#", " ##"],
}

# The print preview's tool bar: 16 x 16 images of print, previous page,
# next page, one page, zoom in, zoom out, close and two pages, on grey.
PREVIEW_IMAGES = [
    # print: a printer with a sheet
    ["................", "....########....", "....#......#....", "....#.####.#....", "....#......#....",
     "..############..", ".#............#.", ".#..........###.", ".#............#.", ".##############.",
     ".#............#.", ".##############.", "...#........#...", "...##########...", "................",
     "................"],
    # previous page
    ["................", "................", "................", "........#.......", ".......##.......",
     "......###.......", ".....#########..", "....##########..", ".....#########..", "......###.......",
     ".......##.......", "........#.......", "................", "................", "................",
     "................"],
    # next page
    ["................", "................", "................", ".......#........", ".......##.......",
     ".......###......", "..#########.....", "..##########....", "..#########.....", ".......###......",
     ".......##.......", ".......#........", "................", "................", "................",
     "................"],
    # one page
    ["................", "....#######.....", "....#.....##....", "....#.....###...", "....#.......#...",
     "....#.####..#...", "....#.......#...", "....#.####..#...", "....#.......#...", "....#.####..#...",
     "....#.......#...", "....#.####..#...", "....#.......#...", "....#########...", "................",
     "................"],
    # zoom in
    ["................", "....#####.......", "...#.....#......", "..#...#...#.....", "..#...#...#.....",
     "..#.#####.#.....", "..#...#...#.....", "..#...#...#.....", "...#.....#......", "....######......",
     "..........##....", "...........##...", "............##..", ".............#..", "................",
     "................"],
    # zoom out
    ["................", "....#####.......", "...#.....#......", "..#.......#.....", "..#.......#.....",
     "..#.#####.#.....", "..#.......#.....", "..#.......#.....", "...#.....#......", "....######......",
     "..........##....", "...........##...", "............##..", ".............#..", "................",
     "................"],
    # close
    ["................", "................", "...##......##...", "....##....##....", ".....##..##.....",
     "......####......", ".......##.......", "......####......", ".....##..##.....", "....##....##....",
     "...##......##...", "................", "................", "................", "................",
     "................"],
    # two pages
    ["................", "................", ".######.######..", ".#....#.#....#..", ".#.##.#.#.##.#..",
     ".#....#.#....#..", ".#.##.#.#.##.#..", ".#....#.#....#..", ".#.##.#.#.##.#..", ".#....#.#....#..",
     ".#.##.#.#.##.#..", ".#....#.#....#..", ".######.######..", "................", "................",
     "................"],
]
GREY = (0xC0, 0xC0, 0xC0)


def preview_strip():
    def pixel(x, y):
        return BLACK if PREVIEW_IMAGES[x // 16][y][x % 16] == "#" else GREY
    return bmp24(16 * len(PREVIEW_IMAGES), 16, pixel)


# The editable list's caption buttons, 16 x 16 on the light grey that
# becomes the button face: new (a page with a star), delete (a red cross),
# move up and move down (arrows). "#" black, "w" white, "r" red, "y" yellow.
EDIT_LIST_BUTTONS = {
    "new": ["................", ".....#######....", ".....#wwwww##...", ".....#wwwww#w#..",
            "..y..#wwwww####.", "y.y.y#wwwwwwww#.", ".yyy.#wwwwwwww#.", "yyyyy#wwwwwwww#.",
            ".yyy.#wwwwwwww#.", "y.y.y#wwwwwwww#.", "..y..#wwwwwwww#.", ".....#wwwwwwww#.",
            ".....#wwwwwwww#.", ".....##########.", "................", "................"],
    "delete": ["................", "................", "...rr......rr...", "...rrr....rrr...",
               "....rrr..rrr....", ".....rrrrrr.....", "......rrrr......", "......rrrr......",
               ".....rrrrrr.....", "....rrr..rrr....", "...rrr....rrr...", "...rr......rr...",
               "................", "................", "................", "................"],
    "up": ["................", "................", ".......##.......", "......####......",
           ".....######.....", "....########....", "...##########...", "......####......",
           "......####......", "......####......", "......####......", "......####......",
           "................", "................", "................", "................"],
}
EDIT_LIST_BUTTONS["down"] = EDIT_LIST_BUTTONS["up"][11::-1] + ["................"] * 4
EDIT_LIST_COLOURS = {"#": BLACK, "w": (0xFF, 0xFF, 0xFF), "r": (0xC0, 0, 0), "y": (0xE0, 0xC0, 0)}


def edit_list_button(name):
    rows = EDIT_LIST_BUTTONS[name]
    return bmp24(16, 16, lambda x, y: EDIT_LIST_COLOURS.get(rows[y][x], GREY))


def main():
    files = {
        "resources/QMXMenuGlyphs.bmp": glyph_strip(),
        "resources/QMXPrintPreview.bmp": preview_strip(),
        "resources/QMXStretchHorz.cur": cursor_file(STRETCH_HORZ, (15, 15)),
        "resources/QMXStretchVert.cur": cursor_file(transpose(STRETCH_HORZ), (15, 15)),
        "resources/QMXHand.cur": cursor_file(HAND, (5, 0)),
        "resources/QMXTool.ico": icon_file(),
        "resources/QMXDragMove.cur": drag_cursor(None),
        "resources/QMXDragCopy.cur": drag_cursor(DRAG_PLUS),
        "resources/QMXDragRemove.cur": drag_cursor(DRAG_CROSS),
        "tests/data/docking/strip24.bmp": test_strip(),
        "resources/QMXEditTools.bmp": tools_strip(),
        "resources/QMXEditListNew.bmp": edit_list_button("new"),
        "resources/QMXEditListDelete.bmp": edit_list_button("delete"),
        "resources/QMXEditListUp.bmp": edit_list_button("up"),
        "resources/QMXEditListDown.bmp": edit_list_button("down"),
    }
    for cursor_id, sign in EDIT_CURSORS.items():
        files["resources/QMXEdit%d.cur" % cursor_id] = tool_cursor(sign)
    for path, data in files.items():
        with open(path, "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
