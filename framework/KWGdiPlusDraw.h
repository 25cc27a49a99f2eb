#pragma once
// CKWGdiPlusDraw: IKWGraphics over the flat API of GDI+. One object serves one
// painting or printing pass; the current path and the saved transforms and
// clips die with it. Building the first one starts GDI+.
//
// Path, transform, clip and image operations are in KWGdiPlusDraw.cpp; text
// drawing and measuring in KWGdiPlusDrawText.cpp; text laid out on a drawing
// shown smaller or larger than its units in KWGdiPlusDrawLaidOut.cpp.
#include <windows.h>

#include <deque>
#include <vector>

#include "framework/KWWinGraphics.h"

namespace Gdiplus {
class GpGraphics;
class GpPath;
class GpMatrix;
class GpRegion;
class GpBrush;
class GpFont;
}

class CDC;

class CKWGdiPlusDraw : public CKWWinGraphics {
public:
    // Over a device context (text anti-aliased); the caller keeps the context
    // and releases it after this object is destroyed.
    explicit CKWGdiPlusDraw(HDC dc);
    // Over a class-library device context's output (system default text
    // rendering): the views' painting and printing.
    explicit CKWGdiPlusDraw(CDC* dc);
    // Over a window's client area (system default text rendering).
    explicit CKWGdiPlusDraw(HWND window);
    // Into the bitmap of an image holder (system default text rendering).
    explicit CKWGdiPlusDraw(const CKWGdipBitmap& image);
    ~CKWGdiPlusDraw() override;

    int SetSmoothing(bool antiAlias) override;
    int GetDpi() override;
    void SetUseFixedDpi(bool useFixed) override { m_useFixedDpi = useFixed; }
    bool GetUseFixedDpi() const override { return m_useFixedDpi; }
    void SetFixedDpi(int dpi) override { m_fixedDpi = dpi; }
    double GetDeviceScale() override;

    int BeginPath() override;
    int ClosePathFigure() override;
    bool IsPathBegun() const override { return m_pathBegun; }
    int StrokePath(const CKWPen& pen) override;
    int FillPath(const CKWBrush& brush) override;
    int FillAndStrokePath(const CKWPen& pen, const CKWBrush& brush) override;

    int AddLine(double x1, double y1, double x2, double y2) override;
    int AddLine(const CKWDoublePoint& p1, const CKWDoublePoint& p2) override;
    int AddPolyline(const CKWDoublePoint* points, int count) override;
    int AddRectangle(double x, double y, double width, double height) override;
    int AddRectangle(const CKWDoublePoint& p1, const CKWDoublePoint& p2) override;
    int AddRectangle(const CKWDoubleRect& rect) override;
    int AddEllipse(double x, double y, double width, double height) override;
    int AddArc(double x, double y, double width, double height,
               double startAngle, double sweepAngle) override;
    int AddArc(const CKWDoubleRect& rect, double startAngle, double sweepAngle) override;

    int Translate(double dx, double dy) override;
    int Rotate(double degrees) override;
    int Scale(double sx, double sy) override;
    int SaveTransform() override;
    int RestoreTransform() override;

    int DrawImage(double x, double y, const CKWGdipBitmap* image,
                  const CKWDoubleRect* clip) override;
    int DrawImage(double x, double y, double width, double height,
                  const CKWGdipBitmap* image, const CKWDoubleRect* clip) override;

    int DrawString(double x, double y, double width, double height,
                   const wchar_t* text, int length, const CKWFont& font,
                   const CKWBrush& brush, uint32_t flags) override;
    int DrawStringAt(double x, double y, const wchar_t* text, int length,
                     const CKWFont& font, const CKWBrush* brush,
                     double* outWidth) override;
    int GetCharWidths(const wchar_t* text, int length, const CKWFont& font,
                      double* widths, int maxCount) override;
    int GetFontMetrics(const CKWFont& font, int32_t* metrics) override;

    int PushClipRect(double x, double y, double width, double height) override;
    int PopClip() override;

    // The device context of the surface, to be handed back with ReleaseHDC
    // before drawing through this object again; null on failure.
    HDC GetHDC();
    void ReleaseHDC(HDC dc);

    // The last status other than success of the calls made through this object.
    int GetLastStatus() const { return m_lastStatus; }

    // Set while the object draws a page of the print preview.
    void SetPreview(bool preview) { m_preview = preview; }
    bool IsPreview() const { return m_preview; }

    CKWGdiPlusDraw(const CKWGdiPlusDraw&) = delete;
    CKWGdiPlusDraw& operator=(const CKWGdiPlusDraw&) = delete;

private:
    void Init(int status, int textRenderingHint);
    // Records a failing status; returns the status.
    int Track(int status);
    int FillWithBrush(Gdiplus::GpBrush* brush, const CKWBrush& description);
    int DrawImageClipped(double x, double y, double width, double height, bool ownSize,
                         const CKWGdipBitmap* image, const CKWDoubleRect* clip);
    // Moves a point of the world into its device pixel, three quarters along each axis.
    void MoveIntoDevicePixel(double& x, double& y);
    // Bounding width of the text laid out with no bounds; < 0 when it fails.
    double MeasureWidth(const wchar_t* text, int length, const CKWFont& font);
    // True when the surface is a printer's.
    bool IsPrinter();
    // The font as GDI makes it at its size in the drawing's units, whatever
    // the transform; false when GDI+ gives no LOGFONT for it.
    bool GetDrawingLogFont(Gdiplus::GpFont* font, LOGFONTW& logFont);
    // True when a unit of the drawing is not one device pixel.
    bool IsScaled();
    // The text laid out with the font at its size in the drawing's units, as
    // on a page of that resolution, and its glyphs put there on the device:
    // one line at (x, y) (none without a brush), its extent in width; or a
    // DrawString box. False, drawing nothing, when GDI+ is to lay the text
    // out (line feeds, surrogate pairs, vertical or right-to-left text).
    bool DrawLineLaidOut(double x, double y, const wchar_t* text, int length, Gdiplus::GpFont* font,
                         Gdiplus::GpBrush* brush, int& status, double* width);
    bool DrawStringLaidOut(double x, double y, double width, double height, const wchar_t* text, int length,
                           Gdiplus::GpFont* font, Gdiplus::GpBrush* brush, uint32_t flags, int& status);
    // Draws the glyphs of text with their top at y, each at the advance the
    // measuring context's font gives it from x.
    int DrawGlyphs(HDC measuring, double x, double y, const wchar_t* text, int length, Gdiplus::GpFont* font,
                   Gdiplus::GpBrush* brush);
    // The face's underline under a line of text drawn at (x, y), width long.
    int DrawUnderline(double x, double y, double width, const CKWFont& font, Gdiplus::GpBrush* brush);

    Gdiplus::GpGraphics* m_graphics;
    Gdiplus::GpPath* m_path;
    bool m_pathBegun;
    bool m_useFixedDpi;
    int m_fixedDpi;
    std::deque<Gdiplus::GpMatrix*> m_savedTransforms;
    std::vector<Gdiplus::GpRegion*> m_savedClips;
    int m_lastStatus;
    bool m_preview = false;
};
