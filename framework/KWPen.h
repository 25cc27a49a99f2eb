#pragma once
// CKWPen: the description of a pen for IKWGraphics::StrokePath.
#include <cstdint>
#include <vector>

#include "framework/KWColor.h"

enum : uint32_t {
    KWPEN_SOLID = 0,  // and any value not listed
    KWPEN_DASH = 1,
    KWPEN_DOT = 2,
    KWPEN_DASHDOT = 3,
    KWPEN_DASHDOTDOT = 4,
    KWPEN_CUSTOM = 5,  // dash pattern below
};

class CKWPen {
public:
    CKWPen() : m_dashStyle(KWPEN_SOLID), m_width(1.0) {}
    CKWPen(const CKWColor& color, double width, uint32_t dashStyle = KWPEN_SOLID)
        : m_dashStyle(dashStyle), m_width(width), m_color(color) {}

    uint32_t m_dashStyle;
    double m_width;
    CKWColor m_color;
    // Dash and gap lengths in multiples of the width; used by KWPEN_CUSTOM.
    std::vector<double> m_dashPattern;
};
