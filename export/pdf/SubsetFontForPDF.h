#pragma once
// The TrueType work for one PDF font: glyph of every 16-bit code, advance of
// every code the pages show, and the subset font file to embed.
#include <cstdint>
#include <vector>

#include "export/pdf/PDFRecords.h"

class TrueTypeFont;

// The face that stands in for a face without TrueType outlines (a CFF or
// Type 1 face, or one GDI cannot give the tables of).
extern const wchar_t kPDFFallbackFace[];

// map holds 65536 entries, entry c holding c on entry and the glyph of code
// c on return. The record's advances and font file are filled. The face is
// replaced by kPDFFallbackFace (same style) when it has no TrueType outlines;
// when that has none either, the font file stays empty and every code maps
// to glyph 0. Returns whether a font file was made.
bool SubsetFontForPDF(std::vector<uint16_t>& map, PDFFontRecord& record);

// The same on a font that is loaded already (the advances are not touched).
bool SubsetLoadedFont(TrueTypeFont& font, std::vector<uint16_t>& map, PDFFontRecord& record);
