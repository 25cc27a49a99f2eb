#pragma once
// IKWGraphics: the drawing interface of report pages, previews, thumbnails and
// styled text. Coordinates are doubles (the GDI+ implementation converts them to
// single precision); arc angles are in radians, rotations in degrees.
//
// Drawing is path based: BeginPath, Add... figures, then StrokePath, FillPath
// or FillAndStrokePath. The world transform has a save/restore stack, the clip
// a push/pop stack. Operations that reach the drawing surface return its status
// (0 success); a failure draws nothing further and is not shown to the user.
//
// CKWGraphics is the platform-neutral base of the implementations; it adds
// nothing yet. The pens, brushes and fonts passed in are declared in
// KWPen.h, KWBrush.h and KWFont.h; the images in KWGdipBitmap.h.
#include <cstdint>

#include "framework/KWDoubleRect.h"

class CKWPen;
class CKWBrush;
class CKWFont;
class CKWGdipBitmap;

// A point given to the path operations.
struct CKWDoublePoint {
    double x;
    double y;
};

// Flags word of IKWGraphics::DrawString. The low 16 bits are string format
// flags of GDI+ (StringFormatFlags...), or-ed into the typographic format's own.
enum : uint32_t {
    KWDRAWSTRING_FORMAT_FLAGS_MASK = 0x0000FFFF,
    KWDRAWSTRING_HALIGN_SHIFT = 16,  // bits 16-17: 0 near, 1 centre, 2 far
    KWDRAWSTRING_VALIGN_SHIFT = 18,  // bits 18-19: the same for the line alignment
    KWDRAWSTRING_ALIGN_MASK = 3,
    KWDRAWSTRING_HCENTER = 0x00010000,
    KWDRAWSTRING_HFAR = 0x00020000,
    KWDRAWSTRING_VCENTER = 0x00040000,
    KWDRAWSTRING_VFAR = 0x00080000,
    // The layout height grows to hold the text wrapped at the layout width.
    KWDRAWSTRING_GROW_TO_FIT = 0x10000000,
};

// Indices into the seven values of IKWGraphics::GetFontMetrics.
enum {
    KWFONTMETRIC_ASCENT = 0,
    KWFONTMETRIC_DESCENT = 1,
    KWFONTMETRIC_LINEGAP = 2,             // external leading
    KWFONTMETRIC_UNDERLINE_OFFSET = 3,    // ascent - underline position
    KWFONTMETRIC_UNDERLINE_SIZE = 4,
    KWFONTMETRIC_STRIKEOUT_OFFSET = 5,    // ascent - strikeout position
    KWFONTMETRIC_STRIKEOUT_SIZE = 6,
    KWFONTMETRIC_COUNT = 7,
};

class IKWGraphics {
public:
    virtual ~IKWGraphics() {}

    // true: anti-aliased lines and fills; false: none.
    virtual int SetSmoothing(bool antiAlias) = 0;
    // Vertical resolution in dots per inch: the fixed one while it is switched
    // on, else the surface's own.
    virtual int GetDpi() = 0;
    virtual void SetUseFixedDpi(bool useFixed) = 0;
    virtual bool GetUseFixedDpi() const { return false; }
    virtual void SetFixedDpi(int dpi) = 0;
    // Device pixels per unit of the drawing's coordinates under the current
    // transform (the larger of the two axes): the pixels a picture drawn at a
    // size really covers. 1 on a surface without pixels of its own.
    virtual double GetDeviceScale() { return 1.0; }

    // Starts a new current path (winding fill), dropping the old one.
    virtual int BeginPath() = 0;
    virtual int ClosePathFigure() = 0;
    virtual bool IsPathBegun() const = 0;
    virtual int StrokePath(const CKWPen& pen) = 0;
    // A linear gradient brush is stretched over the path's bounds.
    virtual int FillPath(const CKWBrush& brush) = 0;
    virtual int FillAndStrokePath(const CKWPen& pen, const CKWBrush& brush) = 0;

    virtual int AddLine(double x1, double y1, double x2, double y2) = 0;
    virtual int AddLine(const CKWDoublePoint& p1, const CKWDoublePoint& p2) = 0;
    virtual int AddPolyline(const CKWDoublePoint* points, int count) = 0;
    virtual int AddRectangle(double x, double y, double width, double height) = 0;
    // Opposite corners in any order.
    virtual int AddRectangle(const CKWDoublePoint& p1, const CKWDoublePoint& p2) = 0;
    // The rectangle is normalised first.
    virtual int AddRectangle(const CKWDoubleRect& rect) = 0;
    virtual int AddEllipse(double x, double y, double width, double height) = 0;
    // Angles in radians, measured clockwise from the x axis (y grows downward).
    virtual int AddArc(double x, double y, double width, double height,
                       double startAngle, double sweepAngle) = 0;
    virtual int AddArc(const CKWDoubleRect& rect, double startAngle, double sweepAngle) = 0;

    // Each is applied before the current world transform (prepended), so it
    // acts in the coordinates the caller draws in.
    virtual int Translate(double dx, double dy) = 0;
    virtual int Rotate(double degrees) = 0;
    virtual int Scale(double sx, double sy) = 0;
    virtual int SaveTransform() = 0;
    // Called only after a matching SaveTransform; on an empty stack it does nothing.
    virtual int RestoreTransform() = 0;

    // Draws the image at its own size, or into (x, y, width, height). With a
    // clip rectangle the drawing is clipped to it and the clip in force before
    // is restored afterwards. A null image or an empty holder draws nothing.
    virtual int DrawImage(double x, double y, const CKWGdipBitmap* image,
                          const CKWDoubleRect* clip) = 0;
    virtual int DrawImage(double x, double y, double width, double height,
                          const CKWGdipBitmap* image, const CKWDoubleRect* clip) = 0;

    // Draws text in a layout rectangle with the generic typographic format;
    // flags: KWDRAWSTRING_... above. length -1: up to the terminating 0.
    virtual int DrawString(double x, double y, double width, double height,
                           const wchar_t* text, int length, const CKWFont& font,
                           const CKWBrush& brush, uint32_t flags) = 0;
    // One line of text at (x, y) with the generic typographic format, drawn
    // when a brush is given; its unbounded width stored when outWidth is given.
    virtual int DrawStringAt(double x, double y, const wchar_t* text, int length,
                             const CKWFont& font, const CKWBrush* brush,
                             double* outWidth) = 0;
    // The advance of each UTF-16 unit of the text, at most maxCount of them
    // (length -1: up to the terminating 0); returns how many were stored, 0 for a
    // null or empty text or a null array. A space is measured as " A" minus "A",
    // since the typographic format ignores trailing and lone spaces.
    virtual int GetCharWidths(const wchar_t* text, int length, const CKWFont& font,
                              double* widths, int maxCount) = 0;
    // Fills KWFONTMETRIC_COUNT values in the graphics' units; 0 on success.
    virtual int GetFontMetrics(const CKWFont& font, int32_t* metrics) = 0;

    // Saves the current clip, then clips to the rectangle (replacing).
    virtual int PushClipRect(double x, double y, double width, double height) = 0;
    // Puts back the clip saved by the matching PushClipRect; nothing on an empty stack.
    virtual int PopClip() = 0;
};

class CKWGraphics : public IKWGraphics {
};
