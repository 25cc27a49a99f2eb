#pragma once
// The RTF reader's keyword table: each control word has a class and an index.
#include <cstdint>

// Keyword classes.
enum KWRtfClass : uint8_t {
    KWRTF_CLASS_DEFAULT_FONT = 1,  // "deff"
    KWRTF_CLASS_DESTINATION = 3,
    KWRTF_CLASS_FONT_FAMILY = 4,
    KWRTF_CLASS_COLOR_NAME = 5,
    KWRTF_CLASS_SPECIAL = 6,
    KWRTF_CLASS_STYLE_ATTR = 7,
    KWRTF_CLASS_DOCUMENT_ATTR = 8,
    KWRTF_CLASS_SECTION_ATTR = 9,
    KWRTF_CLASS_PARAGRAPH_ATTR = 11,
    KWRTF_CLASS_CHAR_ATTR = 12,
    KWRTF_CLASS_PICTURE_ATTR = 13,
    KWRTF_CLASS_PICTURE_SIZE = 14,
    KWRTF_CLASS_TOC_ATTR = 16,
    KWRTF_CLASS_CHARSET = 17,  // "fcharset"
};

// Indexes of the words the reader acts on.
enum : uint8_t {
    // Destinations.
    KWRTF_DEST_PICT = 0,
    KWRTF_DEST_INFO = 14,
    KWRTF_DEST_STYLESHEET = 15,
    KWRTF_DEST_FONTTBL = 16,
    KWRTF_DEST_COLORTBL = 17,  // "annotation" shares it
    // Special characters.
    KWRTF_SPECIAL_PAR = 11,
    KWRTF_SPECIAL_TAB = 13,
    KWRTF_SPECIAL_OPTIONAL = 23,  // "*"
    KWRTF_SPECIAL_UC = 39,
    KWRTF_SPECIAL_U = 40,
    KWRTF_SPECIAL_RQUOTE = 41,
    KWRTF_SPECIAL_RDBLQUOTE = 42,
    KWRTF_SPECIAL_LQUOTE = 43,
    KWRTF_SPECIAL_LDBLQUOTE = 44,
    // Character attributes.
    KWRTF_CHAR_PLAIN = 0,
    KWRTF_CHAR_B = 1,
    KWRTF_CHAR_I = 2,
    KWRTF_CHAR_STRIKE = 3,
    KWRTF_CHAR_OUTL = 4,
    KWRTF_CHAR_SHAD = 5,
    KWRTF_CHAR_SCAPS = 6,
    KWRTF_CHAR_CAPS = 7,
    KWRTF_CHAR_V = 8,
    KWRTF_CHAR_F = 9,
    KWRTF_CHAR_FS = 10,
    KWRTF_CHAR_UL = 12,
    KWRTF_CHAR_ULW = 13,
    KWRTF_CHAR_ULNONE = 16,
    KWRTF_CHAR_UP = 17,
    KWRTF_CHAR_DN = 18,
    KWRTF_CHAR_SUPER = 19,
    KWRTF_CHAR_SUB = 20,
    KWRTF_CHAR_NOSUPERSUB = 21,
    KWRTF_CHAR_CF = 23,
    // Colour names.
    KWRTF_COLOR_RED = 0,
    KWRTF_COLOR_GREEN = 1,
    KWRTF_COLOR_BLUE = 2,
};

// The class and index of a control word or symbol; false when it is not in
// the table.
bool KWRtfLookupKeyword(const char* word, uint8_t& keywordClass, uint8_t& index);
