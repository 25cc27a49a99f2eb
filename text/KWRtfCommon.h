#pragma once
// What the RTF writer and reader share: the style bits of their pieces and
// the font-family words of a font table.
#include <cstdint>

// Style bits of an RTF piece (a 32-bit word).
enum : uint32_t {
    KWRTF_BOLD = 0x1,
    KWRTF_ITALIC = 0x2,
    KWRTF_STRIKEOUT = 0x4,
    KWRTF_OUTLINE = 0x8,
    KWRTF_SHADOW = 0x10,
    KWRTF_SMALLCAPS = 0x20,
    KWRTF_CAPS = 0x40,
    KWRTF_HIDDEN = 0x80,
    KWRTF_UNDERLINE = 0x100,
    KWRTF_WORDUNDERLINE = 0x200,
    KWRTF_SUPERSCRIPT = 0x400,
    KWRTF_SUBSCRIPT = 0x800,
};

// The font-family words "fnil" ... "fbidi"; a family index is a position here.
constexpr int KWRTF_FAMILY_COUNT = 8;
extern const char* const g_kwRtfFontFamilies[KWRTF_FAMILY_COUNT];

// The code page RTF text of a character set is read and written in: the
// character set's own, 1252 when it has none.
int KWRtfCodePageOfCharset(int charset);
