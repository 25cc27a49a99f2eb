#pragma once
// CKWCharFormat: one run of characters that share a format. A format request
// is a CKWCharFormat whose count field holds a mask of the fields to apply.
#include <cstdint>
#include <string>

#include "framework/KWColor.h"

class CKWArchive;
class CKWIndexDecoder;
struct CKWIndexEntry;

class CKWCharFormat {
public:
    // Style flags.
    enum : uint8_t {
        kBold = 0x01,
        kItalic = 0x02,
        kUnderline = 0x04,
        kStrikeout = 0x08,
        kOutline = 0x10,
        kShadow = 0x20,
    };
    // Vertical positions.
    enum : uint8_t { kNormal = 0, kSuperscript = 1, kSubscript = 2 };
    // Mask bits of a request; the style bits are the style flags themselves.
    enum : uint32_t {
        kMaskStyle = 0x000000FF,
        kMaskSize = 0x00010000,
        kMaskColor = 0x00020000,
        kMaskFont = 0x00040000,
        kMaskCharSet = 0x00080000,
        kMaskVertical = 0x00100000,
        kMaskSpacing = 0x00400000,
        kMaskAll = 0x007F00FF,         // every field uniform
        kMaskWholeStyle = 0x10000000,  // request only: set the whole style byte
        kMaskStepSize = 0x20000000,    // request only: next larger/smaller size
    };
    // The font index of a run made without a font table.
    static constexpr uint32_t kNoFont = 0xFFFFFFFFu;
    // Bytes of the smallest stored run (a colour of an unknown kind).
    static constexpr uint32_t kMinStoredSize = 24;

    CKWCharFormat() = default;

    // Same size, step direction, style, charset, font, spacing, vertical
    // position and colour; the count too when asked.
    bool IsSameFormat(const CKWCharFormat& other, bool compareCount = false) const;
    // The font entry of the run's index in the table; the default "Arial"
    // entry without a table or for an index the table does not hold.
    const CKWIndexEntry& GetFont(const CKWIndexDecoder* table) const;
    // The face name to create the run's font with ("Arial" when unknown).
    std::wstring GetFaceName(const CKWIndexDecoder* table) const;
    // The colour as a Windows COLORREF (red in the low byte); 0 for a kind
    // that has no red, green and blue.
    uint32_t GetColorRef() const;
    // The run's size in pixels at a resolution (points x dpi / 72).
    double GetPixelSize(double dpi) const { return m_size * dpi / 72.0; }

    void Serialize(CKWArchive& ar);

    // The record that look-ups on an empty run vector give.
    static const CKWCharFormat& GetDefault();
    // Colour equality of styled text: same kind and, for kinds 0 to 3, the same
    // value; colours of any other kind never compare equal.
    static bool IsSameColor(const CKWColor& a, const CKWColor& b);

    uint32_t m_count = 0;  // characters of the run, or the mask of a request
    uint8_t m_style = 0;
    uint8_t m_charSet = 0;
    int16_t m_size = 10;  // points
    uint32_t m_fontIndex = 0;
    CKWColor m_color;
    float m_spacing = 0.0f;
    uint8_t m_vertical = kNormal;
    uint8_t m_sizeStepUp = 0;  // request: non-zero steps up, 0 steps down
};
