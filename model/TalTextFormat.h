#pragma once
// CTalTextFormat: the plain record of one text format of the generated report
// (the document's title-page, caption, heading and contents texts, and each
// text or page-number watermark). Copied field by field.
#include <cstdint>

class CTalTextFormat {
public:
    // Style flags.
    enum : uint8_t { kBold = 0x01, kItalic = 0x02, kUnderline = 0x04 };
    enum : uint8_t { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };
    static constexpr int16_t kDefaultSize = 10;

    uint8_t m_style = 0;
    uint8_t m_charSet = 0;
    int16_t m_size = kDefaultSize;  // points
    uint32_t m_font = 0;            // index in the document's font table
    uint32_t m_color = 0;           // COLORREF, red in the low byte
    uint8_t m_position = 0;         // vertical position, as in the character runs
    uint32_t m_count = 0;           // carried with the format, read by nothing
    float m_spacing = 0.0f;         // character spacing (a real in the files)
    uint32_t m_hyperlink = 0;       // carried with the format, read by nothing
    uint8_t m_align = kAlignCenter;
};

// Equality of every field (the copies of the properties sheet are compared this way).
bool operator==(const CTalTextFormat& a, const CTalTextFormat& b);
inline bool operator!=(const CTalTextFormat& a, const CTalTextFormat& b) { return !(a == b); }
