#include "framework/KWGdiPlusMake.h"

#include <windows.h>
#include <gdiplus.h>

#include <vector>

#include "framework/KWBrush.h"
#include "framework/KWPen.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

const uint32_t kHatchIndexCount = 12;
// Brush hatch index i is GDI+ hatch style i + 6; any other index this one.
const int kHatchStyleOffset = 6;
const int kHatchStyleOther = 12;

DashStyle ToDashStyle(uint32_t style)
{
    switch (style) {
    case KWPEN_DASH: return DashStyleDash;
    case KWPEN_DOT: return DashStyleDot;
    case KWPEN_DASHDOT: return DashStyleDashDot;
    case KWPEN_DASHDOTDOT: return DashStyleDashDotDot;
    case KWPEN_CUSTOM: return DashStyleCustom;
    default: return DashStyleSolid;
    }
}

}  // namespace

GpPen* KWMakeGdiPlusPen(const CKWPen& pen)
{
    GpPen* made = nullptr;
    if (GdipCreatePen1(pen.m_color.ToArgb(), 1.0f, UnitWorld, &made) != Ok || !made)
        return nullptr;
    GdipSetPenWidth(made, static_cast<REAL>(pen.m_width));
    GdipSetPenDashStyle(made, ToDashStyle(pen.m_dashStyle));
    if (pen.m_dashStyle == KWPEN_CUSTOM && !pen.m_dashPattern.empty()) {
        std::vector<REAL> pattern(pen.m_dashPattern.begin(), pen.m_dashPattern.end());
        GdipSetPenDashArray(made, pattern.data(), static_cast<INT>(pattern.size()));
    }
    return made;
}

GpBrush* KWMakeGdiPlusBrush(const CKWBrush& brush)
{
    const ARGB first = brush.m_color1.ToArgb();
    const ARGB second = brush.m_color2.ToArgb();
    switch (brush.m_style) {
    case CKWBrush::StyleSolid: {
        GpSolidFill* solid = nullptr;
        if (GdipCreateSolidFill(first, &solid) != Ok)
            return nullptr;
        return solid;
    }
    case CKWBrush::StyleHatch: {
        const int style = brush.m_hatch < kHatchIndexCount
                              ? static_cast<int>(brush.m_hatch) + kHatchStyleOffset
                              : kHatchStyleOther;
        GpHatch* hatch = nullptr;
        if (GdipCreateHatchBrush(static_cast<HatchStyle>(style), first, second, &hatch) != Ok)
            return nullptr;
        return hatch;
    }
    case CKWBrush::StyleLinearGradient: {
        const PointF from(static_cast<REAL>(brush.m_x1), static_cast<REAL>(brush.m_y1));
        const PointF to(static_cast<REAL>(brush.m_x2), static_cast<REAL>(brush.m_y2));
        GpLineGradient* gradient = nullptr;
        if (GdipCreateLineBrush(&from, &to, first, second, WrapModeTile, &gradient) != Ok)
            return nullptr;
        return gradient;
    }
    default:
        return nullptr;
    }
}
