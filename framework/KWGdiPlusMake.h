#pragma once
// Making GDI+ pens and brushes from the framework's descriptions. The caller
// deletes what it gets (GdipDeletePen, GdipDeleteBrush); null when the
// description gives none or GDI+ fails.
namespace Gdiplus {
class GpPen;
class GpBrush;
}

class CKWPen;
class CKWBrush;

// A pen of the colour and width with the dash style (and custom pattern).
Gdiplus::GpPen* KWMakeGdiPlusPen(const CKWPen& pen);
// Solid, hatch or linear-gradient (tiled) brush; null for any other style.
Gdiplus::GpBrush* KWMakeGdiPlusBrush(const CKWBrush& brush);
