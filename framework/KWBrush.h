#pragma once
// CKWBrush: a fill description handed to the drawing interface.
#include "framework/KWColor.h"

#include <cstdint>

class CKWBrush {
public:
    enum Style : uint32_t {
        StyleSolid = 1,
        StyleHatch = 2,           // hatch index 0..11
        StyleLinearGradient = 3,  // from (x1, y1) to (x2, y2)
    };

    // Solid opaque black, second colour opaque white.
    CKWBrush();
    explicit CKWBrush(const CKWColor& color);
    virtual ~CKWBrush();

    CKWColor m_color1;
    CKWColor m_color2;
    uint32_t m_style;
    uint32_t m_hatch;
    double m_x1;
    double m_y1;
    double m_x2;
    double m_y2;
};
