#!/usr/bin/env python3
"""Draws the button images of the program's three tool bars as 24-bit strips of
16 x 15 images on the button-face grey (silver), which the tool bars map to the
system's colours with black, grey and white: resources/toolbar_main.bmp (tool
bar 128, "Main Toolbar"), toolbar_edit_tree.bmp (129, "Edit Tree Toolbar") and
toolbar_format_text.bmp (130, "Format Text Toolbar"), one image per command in
the order of the tool-bar resources. Run from the source root:
python3 resources/make_toolbar_images.py"""
import struct

COLORS = {
    ".": (192, 192, 192),  # button face
    "k": (0, 0, 0),
    "g": (128, 128, 128),
    "w": (255, 255, 255),
    "y": (255, 255, 0),
    "o": (128, 128, 0),
    "b": (0, 0, 128),
    "B": (0, 0, 255),
    "r": (192, 0, 0),
    "G": (0, 128, 0),
    "c": (0, 128, 128),
}

MAIN = [
    # New: a page with its corner folded.
    ["................", "...kkkkkkk......", "...kwwwwwkk.....", "...kwwwwwkwk....", "...kwwwwwkkkk...",
     "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...",
     "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kkkkkkkkkk...", "................"],
    # Open: a folder, open.
    ["................", "................", ".........kkk....", "........k...k.k.", "..............kk",
     ".kkk.........kkk", "kyyykkkkkkk.....", "kyyyyyyyyyk.....", "kyyyykkkkkkkkkkk", "kyyykooooooooook",
     "kyykooooooooook.", "kykooooooooook..", "kkooooooooook...", "kkkkkkkkkkkk....", "................"],
    # Save: a disk.
    ["................", ".kkkkkkkkkkkkkk.", ".kcckwwwwwwkckk.", ".kcckwwwwwwkcck.", ".kcckwwwwwwkcck.",
     ".kcckwwwwwwkcck.", ".kccckkkkkkccck.", ".kcccccccccccck.", ".kcckkkkkkkkcck.", ".kcckkkkkkwkcck.",
     ".kcckkkkkkwkcck.", ".kcckkkkkkwkcck.", "..kkkkkkkkkkkkk.", "................", "................"],
    # Print: a printer with a page.
    ["................", "....kkkkkkkkk...", "...kwwwwwwwwk...", "...kwkkkkkwwk...", "...kwwwwwwwwk...",
     ".kkkkkkkkkkkkkk.", "k..............k", "k..........yy.k.", "kkkkkkkkkkkkkkk.", "k.............k.",
     ".kkkkkkkkkkkkk.k", "..kwwwwwwwwwk.k.", "...kkkkkkkkkk...", "................", "................"],
    # Print preview: a page under a magnifier.
    ["................", ".kkkkkkkk.......", ".kwwwwwwkk......", ".kwwkkkkwwk.....", ".kwkgggggkk.....",
     ".kwkgwwwwgk.....", ".kkgwwBwwwgk....", ".kkgwwBBwwgk....", ".kkgwwwwwwgk....", ".kwkgwwwwgk.....",
     ".kwwkgggggkk....", ".kwwwkkkkwkkk...", ".kkkkkkkkkk.kk..", "............kk..", ".............kk."],
    # Cut: scissors.
    ["................", "...k.....k......", "...k.....k......", "...kk...kk......", "....k...k.......",
     "....kk.kk.......", ".....kkk........", "......k.........", ".....bkb........", "....b.b.bbb.....",
     "..bbb.b.b..b....", ".b..b.b.b..b....", ".b..b..bb..b....", ".b..b...bbb.....", "..bb............"],
    # Copy: two pages.
    ["................", "kkkkkk..........", "kwwwwkk.........", "kwkkwkwk........", "kwwwwkkkkkkk....",
     "kwkkkkwwwwwkk...", "kwwwwkwkkkwkwk..", "kwkkkkwwwwwkkkk.", "kwwwwkwkkkkkwwk.", "kkkkkkwwwwwwwwk.",
     ".....kwkkkkkkwk.", ".....kwwwwwwwwk.", ".....kwkkkkkkwk.", ".....kwwwwwwwwk.", ".....kkkkkkkkkk."],
    # Paste: a clipboard with a page.
    ["................", ".....kkkk.......", ".kkkkyyyykkkk...", "koookkkkkkoook..", "koookwwwwkoook..",
     "kookkkkkkkkook..", "kookwwwwwkkkok..", "kookwkkkwkwkkk..", "kookwwwwwkkkkk..", "kookwkkkkkwwk...",
     "kookwwwwwwwwk...", "kookwkkkkkkwk...", ".kkkwwwwwwwwk...", "....kkkkkkkkk...", "................"],
    # Undo: an arrow turning back to the left.
    ["................", "................", "................", "......BBBB......", "....BBBBBBBB....",
     "..BBBB....BBB...", ".BBB........BB..", "BBBBBB......BB..", ".BBBB.......BB..", "..BB........BB..",
     "...........BB...", "..........BB....", "........BBB.....", "................", "................"],
    # Redo: an arrow turning on to the right.
    ["................", "................", "................", "......BBBB......", "....BBBBBBBB....",
     "...BBB....BBBB..", "..BB........BBB.", "..BB......BBBBBB", "..BB.......BBBB.", "..BB........BB..",
     "...BB...........", "....BB..........", ".....BBB........", "................", "................"],
    # Add an image folder to the gallery: a folder with a picture.
    ["................", "................", ".kkkk...........", "kyyyykkkkkkk....", "kyyyyyyyyyyk....",
     "kyykkkkkkkkkkk..", "kyykwwwwwwwwwk..", "kyykwBBBBBBBwk..", "kyykwBBByBBBwk..", "kyykwBGBBBGBwk..",
     "kyykwGGGBGGGwk..", "kyykwGGGGGGGwk..", "kyykwwwwwwwwwk..", ".kkkkkkkkkkkkk..", "................"],
]

EDIT_TREE = [
    # Add section: a tree line with a new node beside it.
    ["................", ".kkkk...........", ".kwwk...........", ".kkkk...........", "..k.............",
     "..k...kkkk......", "..kkkkkwwk......", "..k...kkkk......", "..k.............", "..k...kkkk..GG..",
     "..kkkkkyyk..GG..", "......kkkk.GGGGG", "...........GGGGG", "............GG..", "............GG.."],
    # Add subsection: a new node one level deeper.
    ["................", ".kkkk...........", ".kwwk...........", ".kkkk...........", "..k.............",
     "..k...kkkk......", "..kkkkkwwk......", "......kkkk......", ".......k........", ".......k..kkkk..",
     ".......kkkkyyk..", "..........kkkk..", "............GG..", "...........GGGGG", "............GG.."],
    # Remove section: a node crossed out.
    ["................", ".kkkk...........", ".kwwk...........", ".kkkk...........", "..k.............",
     "..k...kkkk......", "..kkkkkwwk......", "..k...kkkk......", "..k.......r...r.", "..k...kkkkrr.rr.",
     "..kkkkkwwk.rrr..", "......kkkkrr.rr.", "..........r...r.", "................", "................"],
    # Move section up.
    ["................", ".......BB.......", "......BBBB......", ".....BBBBBB.....", "....BBBBBBBB....",
     "...BBBBBBBBBB...", "......BBBB......", "......BBBB......", "......BBBB......", "......BBBB......",
     "......BBBB......", "................", "...kkkkkkkkkk...", "...kwwwwwwwwk...", "...kkkkkkkkkk..."],
    # Move section down.
    ["...kkkkkkkkkk...", "...kwwwwwwwwk...", "...kkkkkkkkkk...", "................", "......BBBB......",
     "......BBBB......", "......BBBB......", "......BBBB......", "......BBBB......", "...BBBBBBBBBB...",
     "....BBBBBBBB....", ".....BBBBBB.....", "......BBBB......", ".......BB.......", "................"],
    # Move section left (one level up the tree).
    ["................", "................", "................", "....B...........", "...BB.......kkk.",
     "..BBB.......kwk.", ".BBBBBBBBBB.kwk.", "BBBBBBBBBBB.kwk.", ".BBBBBBBBBB.kwk.", "..BBB.......kwk.",
     "...BB.......kwk.", "....B.......kkk.", "................", "................", "................"],
    # Move section right (one level down the tree).
    ["................", "................", "................", "...........B....", ".kkk.......BB...",
     ".kwk.......BBB..", ".kwk.BBBBBBBBBB.", ".kwk.BBBBBBBBBBB", ".kwk.BBBBBBBBBB.", ".kwk.......BBB..",
     ".kwk.......BB...", ".kkk.......B....", "................", "................", "................"],
    # Rename the title: a letter with a text cursor.
    ["................", "................", "..kkkkkkkkk..kkk", "..k...k...k...k.", "......k.......k.",
     "......k.......k.", "......k.......k.", "......k.......k.", "......k.......k.", "......k.......k.",
     "......k.......k.", ".....kkk.....kkk", "................", "bbbbbbbbbbbbbbbb", "................"],
]

FORMAT_TEXT = [
    # Font name.
    ["................", "................", ".kkkkkk.........", ".k...kk.........", ".....kk.........",
     ".....kk..kkkkk..", ".....kk..kk.....", ".....kk..kk.....", ".....kk..kkkk...", ".....kk..kk.....",
     ".....kk..kk.....", "....kkkk.kk.....", "................", "................", "................"],
    # Font size.
    ["................", "..kk............", "..kk............", ".kkkk...........", ".k..k...........",
     ".k..k...........", "kkkkkk......k...", "k....k.....kkk..", "k....k.....k.k..", "k....k....kkkkk.",
     "................", "..bbbbbbbbbbbb..", "................", "................", "................"],
    # Increase font size: a letter and an arrow up.
    ["................", "...kk........B..", "...kk.......BBB.", "..kkkk.....BBBBB", "..k..k.......B..",
     "..k..k.......B..", ".kkkkkk......B..", ".k....k.........", ".k....k.........", "kkk..kkk........",
     "................", "................", "................", "................", "................"],
    # Decrease font size: a smaller letter and an arrow down.
    ["................", ".............B..", ".............B..", "....k........B..", "...kkk.....BBBBB",
     "...k.k......BBB.", "..kkkkk......B..", "..k...k.........", ".kkk.kkk........", "................",
     "................", "................", "................", "................", "................"],
    # Text colour: a letter over a red bar.
    ["................", "......kk........", "......kk........", ".....kkkk.......", ".....k..k.......",
     "....kk..kk......", "....kkkkkk......", "...kk....kk.....", "...kk....kk.....", "..kkkk..kkkk....",
     "................", "..rrrrrrrrrrrr..", "..rrrrrrrrrrrr..", "..rrrrrrrrrrrr..", "................"],
    # Bold.
    ["................", "................", "...kkkkkkkk.....", "....kkk..kkk....", "....kkk..kkk....",
     "....kkk..kkk....", "....kkkkkkk.....", "....kkk..kkk....", "....kkk...kkk...", "....kkk...kkk...",
     "....kkk..kkk....", "...kkkkkkkk.....", "................", "................", "................"],
    # Italic.
    ["................", "................", ".......kkkkk....", "........kk......", "........kk......",
     ".......kk.......", ".......kk.......", "......kk........", "......kk........", ".....kk.........",
     ".....kk.........", "...kkkkk........", "................", "................", "................"],
    # Underline.
    ["................", "................", "...kkk...kkk....", "....k.....k.....", "....k.....k.....",
     "....k.....k.....", "....k.....k.....", "....k.....k.....", "....k.....k.....", ".....k...k......",
     "......kkk.......", "................", "...kkkkkkkkk....", "................", "................"],
    # Align left.
    ["................", "................", "..kkkkkkkkkkkk..", "................", "..kkkkkkkk......",
     "................", "..kkkkkkkkkkkk..", "................", "..kkkkkkkk......", "................",
     "..kkkkkkkkkkkk..", "................", "..kkkkkkkk......", "................", "................"],
    # Align centre.
    ["................", "................", "..kkkkkkkkkkkk..", "................", "....kkkkkkkk....",
     "................", "..kkkkkkkkkkkk..", "................", "....kkkkkkkk....", "................",
     "..kkkkkkkkkkkk..", "................", "....kkkkkkkk....", "................", "................"],
    # Align right.
    ["................", "................", "..kkkkkkkkkkkk..", "................", "......kkkkkkkk..",
     "................", "..kkkkkkkkkkkk..", "................", "......kkkkkkkk..", "................",
     "..kkkkkkkkkkkk..", "................", "......kkkkkkkk..", "................", "................"],
]

WIDTH, HEIGHT = 16, 15


def strip(images):
    for index, rows in enumerate(images):
        assert len(rows) == HEIGHT, (index, len(rows))
        for row in rows:
            assert len(row) == WIDTH, (index, row)
    width = WIDTH * len(images)
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(HEIGHT - 1, -1, -1):
        line = bytearray()
        for image in images:
            for ch in image[y]:
                r, g, b = COLORS[ch]
                line += bytes((b, g, r))
        data += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, HEIGHT, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return header + info + bytes(data)


for name, images in (("toolbar_main", MAIN), ("toolbar_edit_tree", EDIT_TREE), ("toolbar_format_text", FORMAT_TEXT)):
    with open("resources/%s.bmp" % name, "wb") as f:
        f.write(strip(images))
