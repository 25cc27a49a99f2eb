#pragma once
// The drawing of the report-properties previews: a filled rectangle, the
// page fitted into a preview area, and a watermark placed on that page as
// the generated report would show it, scaled down.
#include "platform/classlib/Rect.h"

#include <windows.h>

struct CKWDoubleRect;
class CKWIndexDecoder;
class CTalWatermark;
class IKWGraphics;

// The preview's light grey background and the page's white.
constexpr COLORREF kTalPreviewBackground = RGB(220, 220, 220);
constexpr COLORREF kTalPreviewPage = RGB(255, 255, 255);

// Where an item fits into an area: its box in the area's pixels.
struct TalFittedBox {
    double left;
    double top;
    double width;
    double height;
};

// An item whose aspect (width / height) is `ratio` times the area's, fitted
// into an area of that size: its extents scaled by the ratio less `shrink`,
// centred and moved by `offset`; on a side where it would reach the area's
// edge it starts at `edge` and spans the area less `edgeShrink`.
TalFittedBox TalFitBox(double ratio, double areaWidth, double areaHeight, double shrink, double offset, double edge,
                       double edgeShrink);

// Fills and outlines the rectangle in one colour.
void TalDrawRectangle(IKWGraphics& graphics, double x, double y, double width, double height, COLORREF colour);

// The page (its size in millimetres) fitted into the area, measured from the
// control's corner and kept 3 pixels inside it, drawn in the page colour;
// its rectangle in whole pixels.
CRect TalDrawPageRect(IKWGraphics& graphics, const CKWDoubleRect& area, double pageWidthMm, double pageHeightMm);

// The watermark on the page rectangle of a page of that size in millimetres;
// a text watermark takes its face from the font table by its font index.
void TalDrawWatermark(IKWGraphics& graphics, const CRect& page, const CTalWatermark& watermark, double pageWidthMm,
                      double pageHeightMm, const CKWIndexDecoder& fonts);

// A preview control's whole content: the grey background inside a 1-pixel
// margin and the page fitted 2 pixels in; the page rectangle.
CRect TalDrawPreviewPage(IKWGraphics& graphics, const CRect& client, double pageWidthMm, double pageHeightMm);

// A length of an image watermark in the unit code, in millimetres: code 8
// is millimetres, every other code inches.
double TalWatermarkLengthToMm(double value, int unit);
