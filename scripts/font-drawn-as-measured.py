#!/usr/bin/python3
# Writes a copy of a TrueType font whose glyphs Wine draws where it measures
# them: the text drawing of menus and dialog labels places each glyph by its
# drawn advance, while the measures and the line under a marked letter take
# the measured one.
#   font-drawn-as-measured.py source.ttf copy.ttf
# Under Wine 8 the system's text up to 16 pixels is drawn in one bit (as the
# face's gasp table asks), from the face's bitmap strikes (EBDT/EBLC) where
# it has them, each glyph placed at its strike's advance ("n" 6 pixels at the
# menu size), while every measure comes from the outline hinted for gray
# drawing (7 pixels). The strikes are what draw Wine's Tahoma cleanly at
# those sizes: its outlines draw a "0" with stubs beside its counter, and
# Tahoma Bold's outlines are the regular ones, so that a bold caption drawn
# from them is no heavier than regular text. The strikes stay, and the copy
# gets an hdmx table that gives every glyph at every strike's size the
# advance it is drawn with (its strike's, else the outline's rounded), with
# a control program that makes FreeType's TrueType hinter take those
# advances on both roads: its native mode (INSTCTRL 3), without which the
# gray road keeps backward compatibility and passes hdmx by. A font without
# any program would be hinted by FreeType's auto-hinter instead, whose
# one-bit drawing and measuring round advances otherwise. The program also
# turns on the rasterizer's dropout control, which keeps the pixels of
# strokes thinner than a pixel (the hook of "f", a small "0") at the sizes
# drawn from the outlines; it moves no point.
import sys

from fontTools.ttLib import TTFont, newTable
from fontTools.ttLib.tables import ttProgram

# INSTCTRL 3 to 4: native mode; SCANCTRL 511: dropout control at every size;
# SCANTYPE 4: its smart rules, stubs included.
PROGRAM = ["PUSHB[ ]", "4", "3", "INSTCTRL[ ]",
           "PUSHW[ ]", "511", "SCANCTRL[ ]", "PUSHB[ ]", "4", "SCANTYPE[ ]"]


def strike_advances(font):
    """{ppem: {glyph name: advance}} of the font's bitmap strikes."""
    if "EBLC" not in font:
        return {}
    strikes = {}
    for strike, images in zip(font["EBLC"].strikes, font["EBDT"].strikeData):
        advances = strikes.setdefault(strike.bitmapSizeTable.ppemX, {})
        for index in strike.indexSubTables:
            for name in index.names:
                # Metrics shared by a range of glyphs, else each glyph's own.
                metrics = getattr(index, "metrics", None) or images[name].metrics
                advances[name] = getattr(metrics, "horiAdvance", None) or metrics.Advance
    return strikes


def main(source, copy):
    font = TTFont(source, recalcTimestamp=False)
    units = font["head"].unitsPerEm
    strikes = strike_advances(font)
    if strikes:
        hdmx = newTable("hdmx")
        hdmx.hdmx = {}
        for ppem, advances in strikes.items():
            hdmx.hdmx[ppem] = {name: advances.get(name, (width * ppem + units // 2) // units)
                               for name, (width, _) in font["hmtx"].metrics.items()}
        font["hdmx"] = hdmx
        # Instructions may alter advance widths.
        font["head"].flags |= 1 << 4
    program = ttProgram.Program()
    program.fromAssembly(PROGRAM + (font["prep"].program.getAssembly() if "prep" in font else []))
    prep = newTable("prep")
    prep.program = program
    font["prep"] = prep
    font.save(copy)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: font-drawn-as-measured.py source.ttf copy.ttf")
    main(sys.argv[1], sys.argv[2])
