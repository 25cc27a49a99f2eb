#include "framework/KWGdiPlusDraw.h"

#include <gdiplus.h>

#include <algorithm>
#include <cmath>

#include "framework/KWGdipBitmap.h"
#include "framework/KWBrush.h"
#include "framework/KWGdiPlusMake.h"
#include "framework/KWGdiPlusStartup.h"
#include "framework/KWPen.h"
#include "platform/classlib/DC.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

const double kDegreesPerRadian = 57.29577951308232;
// Where in its device pixel a printed picture's top-left corner is put.
const double kIntoDevicePixel = 0.75;

REAL F(double value)
{
    return static_cast<REAL>(value);
}

}  // namespace

CKWGdiPlusDraw::CKWGdiPlusDraw(HDC dc)
    : m_graphics(nullptr), m_path(nullptr), m_pathBegun(false), m_useFixedDpi(false),
      m_fixedDpi(0), m_lastStatus(Ok)
{
    GpGraphics* graphics = nullptr;
    const int status = StartupGdiPlus() ? GdipCreateFromHDC(dc, &graphics) : GdiplusNotInitialized;
    m_graphics = graphics;
    Init(status, TextRenderingHintAntiAlias);
}

CKWGdiPlusDraw::CKWGdiPlusDraw(CDC* dc)
    : m_graphics(nullptr), m_path(nullptr), m_pathBegun(false), m_useFixedDpi(false),
      m_fixedDpi(0), m_lastStatus(Ok)
{
    GpGraphics* graphics = nullptr;
    int status = GdiplusNotInitialized;
    if (StartupGdiPlus())
        status = dc && dc->m_hDC ? GdipCreateFromHDC(dc->m_hDC, &graphics) : InvalidParameter;
    m_graphics = graphics;
    Init(status, TextRenderingHintSystemDefault);
}

CKWGdiPlusDraw::CKWGdiPlusDraw(HWND window)
    : m_graphics(nullptr), m_path(nullptr), m_pathBegun(false), m_useFixedDpi(false),
      m_fixedDpi(0), m_lastStatus(Ok)
{
    GpGraphics* graphics = nullptr;
    const int status = StartupGdiPlus() ? GdipCreateFromHWND(window, &graphics) : GdiplusNotInitialized;
    m_graphics = graphics;
    Init(status, TextRenderingHintSystemDefault);
}

CKWGdiPlusDraw::CKWGdiPlusDraw(const CKWGdipBitmap& image)
    : m_graphics(nullptr), m_path(nullptr), m_pathBegun(false), m_useFixedDpi(false),
      m_fixedDpi(0), m_lastStatus(Ok)
{
    GpGraphics* graphics = nullptr;
    int status = GdiplusNotInitialized;
    if (StartupGdiPlus())
        status = image.Get() ? GdipGetImageGraphicsContext(image.Get(), &graphics) : InvalidParameter;
    m_graphics = graphics;
    Init(status, TextRenderingHintSystemDefault);
}

void CKWGdiPlusDraw::Init(int status, int textRenderingHint)
{
    if (Track(status) != Ok || !m_graphics) {
        m_graphics = nullptr;
        return;
    }
    Track(GdipSetTextRenderingHint(m_graphics, static_cast<TextRenderingHint>(textRenderingHint)));
}

CKWGdiPlusDraw::~CKWGdiPlusDraw()
{
    for (GpRegion* region : m_savedClips)
        GdipDeleteRegion(region);
    for (GpMatrix* matrix : m_savedTransforms)
        GdipDeleteMatrix(matrix);
    if (m_path)
        GdipDeletePath(m_path);
    if (m_graphics)
        GdipDeleteGraphics(m_graphics);
}

int CKWGdiPlusDraw::Track(int status)
{
    if (status != Ok)
        m_lastStatus = status;
    return status;
}

int CKWGdiPlusDraw::SetSmoothing(bool antiAlias)
{
    return Track(GdipSetSmoothingMode(m_graphics, antiAlias ? SmoothingModeAntiAlias
                                                            : SmoothingModeNone));
}

int CKWGdiPlusDraw::GetDpi()
{
    if (m_useFixedDpi)
        return m_fixedDpi;
    REAL dpi = 0;
    if (Track(GdipGetDpiY(m_graphics, &dpi)) != Ok)
        return 0;
    return static_cast<int>(dpi);
}

// Path

int CKWGdiPlusDraw::BeginPath()
{
    if (m_path) {
        GdipDeletePath(m_path);
        m_path = nullptr;
    }
    GpPath* path = nullptr;
    const int status = Track(GdipCreatePath(FillModeWinding, &path));
    if (status != Ok)
        return status;
    m_path = path;
    m_pathBegun = true;
    return Track(GdipStartPathFigure(m_path));
}

int CKWGdiPlusDraw::ClosePathFigure()
{
    return Track(GdipClosePathFigure(m_path));
}

int CKWGdiPlusDraw::StrokePath(const CKWPen& pen)
{
    GpPen* made = KWMakeGdiPlusPen(pen);
    if (!made)
        return Track(OutOfMemory);
    const int status = Track(GdipDrawPath(m_graphics, made, m_path));
    GdipDeletePen(made);
    return status;
}

int CKWGdiPlusDraw::FillWithBrush(GpBrush* brush, const CKWBrush& description)
{
    if (description.m_style != CKWBrush::StyleLinearGradient)
        return Track(GdipFillPath(m_graphics, brush, m_path));

    // The gradient is stretched over the path: scaled from the brush's line
    // rectangle to the path's bounds, then moved there.
    GpLineGradient* gradient = static_cast<GpLineGradient*>(brush);
    RectF bounds;
    RectF line;
    int status = Track(GdipGetPathWorldBounds(m_path, &bounds, nullptr, nullptr));
    if (status == Ok)
        status = Track(GdipGetLineRect(gradient, &line));
    if (status != Ok)
        return status;
    GpMatrix* saved = nullptr;
    status = Track(GdipCreateMatrix(&saved));
    if (status != Ok)
        return status;
    GdipGetLineTransform(gradient, saved);
    const REAL sx = line.Width != 0 ? bounds.Width / line.Width : 1.0f;
    const REAL sy = line.Height != 0 ? bounds.Height / line.Height : 1.0f;
    GdipScaleLineTransform(gradient, sx, sy, MatrixOrderAppend);
    GdipTranslateLineTransform(gradient, bounds.X - line.X, bounds.Y - line.Y, MatrixOrderAppend);
    status = Track(GdipFillPath(m_graphics, brush, m_path));
    GdipSetLineTransform(gradient, saved);
    GdipDeleteMatrix(saved);
    return status;
}

int CKWGdiPlusDraw::FillPath(const CKWBrush& brush)
{
    GpBrush* made = KWMakeGdiPlusBrush(brush);
    if (!made)
        return Track(InvalidParameter);
    const int status = FillWithBrush(made, brush);
    GdipDeleteBrush(made);
    return status;
}

int CKWGdiPlusDraw::FillAndStrokePath(const CKWPen& pen, const CKWBrush& brush)
{
    GpBrush* made = KWMakeGdiPlusBrush(brush);
    if (!made)
        return Track(InvalidParameter);
    int status = FillWithBrush(made, brush);
    GdipDeleteBrush(made);
    if (status == Ok)
        status = StrokePath(pen);
    return status;
}

int CKWGdiPlusDraw::AddLine(double x1, double y1, double x2, double y2)
{
    return Track(GdipAddPathLine(m_path, F(x1), F(y1), F(x2), F(y2)));
}

int CKWGdiPlusDraw::AddLine(const CKWDoublePoint& p1, const CKWDoublePoint& p2)
{
    return AddLine(p1.x, p1.y, p2.x, p2.y);
}

int CKWGdiPlusDraw::AddPolyline(const CKWDoublePoint* points, int count)
{
    if (!points || count <= 0)
        return Track(InvalidParameter);
    std::vector<PointF> converted;
    converted.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        converted.push_back(PointF(F(points[i].x), F(points[i].y)));
    return Track(GdipAddPathLine2(m_path, converted.data(), count));
}

int CKWGdiPlusDraw::AddRectangle(double x, double y, double width, double height)
{
    return Track(GdipAddPathRectangle(m_path, F(x), F(y), F(width), F(height)));
}

int CKWGdiPlusDraw::AddRectangle(const CKWDoublePoint& p1, const CKWDoublePoint& p2)
{
    return AddRectangle(CKWDoubleRect(p1.x, p1.y, p2.x, p2.y));
}

int CKWGdiPlusDraw::AddRectangle(const CKWDoubleRect& rect)
{
    CKWDoubleRect normal = rect;
    normal.Normalize();
    return AddRectangle(normal.left, normal.top, normal.right - normal.left,
                        normal.bottom - normal.top);
}

int CKWGdiPlusDraw::AddEllipse(double x, double y, double width, double height)
{
    return Track(GdipAddPathEllipse(m_path, F(x), F(y), F(width), F(height)));
}

int CKWGdiPlusDraw::AddArc(double x, double y, double width, double height,
                           double startAngle, double sweepAngle)
{
    return Track(GdipAddPathArc(m_path, F(x), F(y), F(width), F(height),
                                F(startAngle * kDegreesPerRadian),
                                F(sweepAngle * kDegreesPerRadian)));
}

int CKWGdiPlusDraw::AddArc(const CKWDoubleRect& rect, double startAngle, double sweepAngle)
{
    return AddArc(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                  startAngle, sweepAngle);
}

// World transform

int CKWGdiPlusDraw::Translate(double dx, double dy)
{
    return Track(GdipTranslateWorldTransform(m_graphics, F(dx), F(dy), MatrixOrderPrepend));
}

int CKWGdiPlusDraw::Rotate(double degrees)
{
    return Track(GdipRotateWorldTransform(m_graphics, F(degrees), MatrixOrderPrepend));
}

int CKWGdiPlusDraw::Scale(double sx, double sy)
{
    return Track(GdipScaleWorldTransform(m_graphics, F(sx), F(sy), MatrixOrderPrepend));
}

double CKWGdiPlusDraw::GetDeviceScale()
{
    if (!m_graphics)
        return 1.0;
    // A unit step along each axis, taken to device pixels: the world
    // transform and the page unit both count.
    GpPointF points[3] = {GpPointF(0, 0), GpPointF(1, 0), GpPointF(0, 1)};
    if (GdipTransformPoints(m_graphics, CoordinateSpaceDevice, CoordinateSpaceWorld, points, 3) != Ok)
        return 1.0;
    const double x = std::hypot(points[1].X - points[0].X, points[1].Y - points[0].Y);
    const double y = std::hypot(points[2].X - points[0].X, points[2].Y - points[0].Y);
    const double scale = std::max(x, y);
    return scale > 0 && std::isfinite(scale) ? scale : 1.0;
}

int CKWGdiPlusDraw::SaveTransform()
{
    GpMatrix* matrix = nullptr;
    int status = Track(GdipCreateMatrix(&matrix));
    if (status != Ok)
        return status;
    status = Track(GdipGetWorldTransform(m_graphics, matrix));
    if (status != Ok) {
        GdipDeleteMatrix(matrix);
        return status;
    }
    m_savedTransforms.push_back(matrix);
    return Ok;
}

int CKWGdiPlusDraw::RestoreTransform()
{
    if (m_savedTransforms.empty())
        return Ok;
    GpMatrix* matrix = m_savedTransforms.back();
    m_savedTransforms.pop_back();
    const int status = Track(GdipSetWorldTransform(m_graphics, matrix));
    GdipDeleteMatrix(matrix);
    return status;
}

// Clip

int CKWGdiPlusDraw::PushClipRect(double x, double y, double width, double height)
{
    GpRegion* region = nullptr;
    int status = Track(GdipCreateRegion(&region));
    if (status != Ok)
        return status;
    status = Track(GdipGetClip(m_graphics, region));
    if (status != Ok) {
        GdipDeleteRegion(region);
        return status;
    }
    m_savedClips.push_back(region);
    return Track(GdipSetClipRect(m_graphics, F(x), F(y), F(width), F(height), CombineModeReplace));
}

int CKWGdiPlusDraw::PopClip()
{
    if (m_savedClips.empty())
        return Ok;
    GpRegion* region = m_savedClips.back();
    m_savedClips.pop_back();
    const int status = Track(GdipSetClipRegion(m_graphics, region, CombineModeReplace));
    GdipDeleteRegion(region);
    return status;
}

// Images

int CKWGdiPlusDraw::DrawImageClipped(double x, double y, double width, double height,
                                     bool ownSize, const CKWGdipBitmap* image,
                                     const CKWDoubleRect* clip)
{
    if (!image || !image->Get())
        return Track(InvalidParameter);
    // The clip in force is put back afterwards, so a clipped image does not
    // lift the clip of whoever draws around it.
    GpRegion* before = nullptr;
    if (clip) {
        int status = Track(GdipCreateRegion(&before));
        if (status == Ok)
            status = Track(GdipGetClip(m_graphics, before));
        if (status == Ok)
            status = Track(GdipSetClipRect(m_graphics, F(clip->left), F(clip->top),
                                           F(clip->right - clip->left),
                                           F(clip->bottom - clip->top), CombineModeReplace));
        if (status != Ok) {
            if (before)
                GdipDeleteRegion(before);
            return status;
        }
    }
    if (IsPrinter())
        MoveIntoDevicePixel(x, y);
    const int status = ownSize
        ? Track(GdipDrawImage(m_graphics, image->Get(), F(x), F(y)))
        : Track(GdipDrawImageRect(m_graphics, image->Get(), F(x), F(y), F(width), F(height)));
    if (before) {
        Track(GdipSetClipRegion(m_graphics, before, CombineModeReplace));
        GdipDeleteRegion(before);
    }
    return status;
}

void CKWGdiPlusDraw::MoveIntoDevicePixel(double& x, double& y)
{
    // GDI+ fills every device pixel that the scaled picture's rounded
    // corners enclose, and a pixel whose corner lies before the picture's
    // first row or column gets transparent black. A printer cannot blend, so
    // that pixel prints black: a dark line along the picture's top and left
    // edges. Three quarters into a device pixel, the picture's corner rounds
    // to the next pixel, which lies inside it.
    GpPointF corner(F(x), F(y));
    if (GdipTransformPoints(m_graphics, CoordinateSpaceDevice, CoordinateSpaceWorld, &corner, 1) != Ok)
        return;
    GpPointF moved(F(std::floor(corner.X) + kIntoDevicePixel), F(std::floor(corner.Y) + kIntoDevicePixel));
    if (GdipTransformPoints(m_graphics, CoordinateSpaceWorld, CoordinateSpaceDevice, &moved, 1) != Ok)
        return;
    x = moved.X;
    y = moved.Y;
}

int CKWGdiPlusDraw::DrawImage(double x, double y, const CKWGdipBitmap* image,
                              const CKWDoubleRect* clip)
{
    return DrawImageClipped(x, y, 0, 0, true, image, clip);
}

int CKWGdiPlusDraw::DrawImage(double x, double y, double width, double height,
                              const CKWGdipBitmap* image, const CKWDoubleRect* clip)
{
    return DrawImageClipped(x, y, width, height, false, image, clip);
}

// Device context

HDC CKWGdiPlusDraw::GetHDC()
{
    HDC dc = nullptr;
    if (Track(GdipGetDC(m_graphics, &dc)) != Ok)
        return nullptr;
    return dc;
}

void CKWGdiPlusDraw::ReleaseHDC(HDC dc)
{
    Track(GdipReleaseDC(m_graphics, dc));
}
