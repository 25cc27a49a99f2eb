#pragma once
// CKWFontMetrics: the vertical metrics of one font at one size in layout units
// (tenths of a millimetre), kept in a global cache sorted by size.
#include <cstdint>
#include <string>

class CKWCharFormat;
class CKWIndexDecoder;

struct CKWFontMetrics {
    int16_t size = 10;     // points
    int pixelSize = 0;     // at the screen's resolution, rounded
    double lineHeight = 0; // ascent + descent + line gap
    double ascent = 0;
    double descent = 0;
    double lineGap = 0;
    double underlineOffset = 0;  // ascent - underline position
    double underlineSize = 0;
    double strikeoutOffset = 0;  // ascent - strikeout position
    double strikeoutSize = 0;
    std::wstring face;
    uint8_t style = 0;
};

// The entry of the run's size, face (through the table) and style, measured
// and inserted when missing. The reference stays valid for the whole run.
const CKWFontMetrics& KWGetFontMetrics(const CKWCharFormat& run, const CKWIndexDecoder* table);

// The layout units of a font-design value for an em of 2048 at a size in points.
inline double KWDesignToLayout(double value, double points)
{
    return value * points / 72.0 * 254.0 / 2048.0;
}
