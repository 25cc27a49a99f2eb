#!/usr/bin/python3
# Writes a copy of a TrueType font whose glyphs Wine draws where it measures
# them: the text drawing of menus and dialog labels places each glyph by its
# drawn advance, while the measures and the line under a marked letter take
# the measured one.
#   font-drawn-as-measured.py source.ttf copy.ttf
# Two roads part under Wine 8 with Wine's Tahoma at menu size: its bitmap
# strikes (EBDT/EBLC) give the drawn advances ("n" 6 pixels) while the
# measures come from the outlines (7 pixels); and a font without any hinting
# program is hinted by FreeType's auto-hinter, whose one-bit drawing and
# whose measuring round the advances differently. The copy has no strikes
# and a control program, so that FreeType's own TrueType hinter takes it and
# both roads round the outline's advances alike. The program turns on the
# rasterizer's dropout control, which keeps the pixels of strokes thinner
# than a pixel (the hook of "f") in one-bit drawing; it moves no point.
import sys

from fontTools.ttLib import TTFont, newTable
from fontTools.ttLib.tables import ttProgram

STRIKE_TABLES = ("EBDT", "EBLC", "EBSC")


def main(source, copy):
    font = TTFont(source, recalcTimestamp=False)
    for tag in STRIKE_TABLES:
        if tag in font:
            del font[tag]
    hinted = font["maxp"].maxSizeOfInstructions or "fpgm" in font or "prep" in font
    if not hinted:
        prep = newTable("prep")
        prep.program = ttProgram.Program()
        # SCANCTRL 511: dropout control at every size; SCANTYPE 4: its smart
        # rules, stubs included.
        prep.program.fromAssembly(["PUSHW[ ]", "511", "SCANCTRL[ ]", "PUSHB[ ]", "4", "SCANTYPE[ ]"])
        font["prep"] = prep
    font.save(copy)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: font-drawn-as-measured.py source.ttf copy.ttf")
    main(sys.argv[1], sys.argv[2])
