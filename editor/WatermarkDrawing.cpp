#include "editor/WatermarkDrawing.h"

#include "framework/KWAlphaComposite.h"
#include "framework/KWBrush.h"
#include "framework/KWDoubleRect.h"
#include "framework/KWFont.h"
#include "framework/KWGdipBitmap.h"
#include "framework/KWGraphics.h"
#include "framework/KWIndexDecoder.h"
#include "framework/KWPen.h"
#include "framework/KWRasterLib.h"
#include "model/TalWatermark.h"

#include <algorithm>
#include <string>

namespace {

// Where the anchor of a column (row) lies across the page: near the left
// (top) edge, in the middle, near the right (bottom) edge.
constexpr double kAnchorFractions[3] = {0.05, 0.5, 0.95};
// Points of a font per pixel of the screen's resolution.
constexpr double kPointsPerDot = 0.1388888888888889;
// A text watermark's size is a share of the page width.
constexpr double kTextShareOfPage = 0.02;
constexpr double kPageNumberSize = 10.0;
// The least size in points of a previewed page number: 10 points divided by
// the screen's dots per point come out under one point, a smudge and no
// number, and its size is not the user's to choose.
constexpr double kLeastPreviewNumberPoints = 6.0;
// How far above the anchor a page number's top lies, per row below the top
// one: 3 pixels for the middle row, 6 for the bottom row.
constexpr double kPageNumberRise = 3.0;
constexpr int kGdipUnitPoint = 3;
constexpr double kMillimetresPerInch = 25.4;
const wchar_t kFallbackFace[] = L"Times New Roman";

// The size in points of a preview's text: a text of the given size on the
// page, scaled to the page rectangle's width.
double PreviewTextPoints(const CRect& page, double size, double dotsToPoints)
{
    return page.Width() * (size / dotsToPoints) * kTextShareOfPage;
}

// The text drawn from the anchor: its left by the column (the anchor is the
// left edge, the centre or the right edge), its top already placed.
void DrawPlacedText(IKWGraphics& graphics, const std::wstring& text, const CKWFont& font, COLORREF colour,
                    int column, double anchorX, double top)
{
    double left = anchorX;
    if (column > 0) {
        double width = 0;
        graphics.DrawStringAt(0, 0, text.c_str(), static_cast<int>(text.size()), font, nullptr, &width);
        left -= column == 1 ? width * 0.5 : width;
    }
    const CKWBrush brush(CKWColor::FromColorRef(colour));
    graphics.DrawStringAt(left, top, text.c_str(), static_cast<int>(text.size()), font, &brush, nullptr);
}

void DrawImageWatermark(IKWGraphics& graphics, const CRect& page, const CTalWatermark& watermark,
                        double pageWidthMm, double pageHeightMm, int column, int row, double anchorX,
                        double anchorY)
{
    if (watermark.m_pictureId == 0 || watermark.m_width == 0 || watermark.m_height == 0 || pageWidthMm <= 0 ||
        pageHeightMm <= 0)
        return;
    KWRasterImagePtr image(g_rasterLib.LoadImage(static_cast<uint32_t>(watermark.m_pictureId)));
    if (!image || image->width == 0 || image->height == 0)
        return;
    // The page under the picture shows through its transparent parts.
    KWBlendOver(*image, kTalPreviewPage);
    const double width = page.Width() * (TalWatermarkLengthToMm(watermark.m_width, watermark.m_unit) / pageWidthMm);
    const double height =
        page.Height() * (TalWatermarkLengthToMm(watermark.m_height, watermark.m_unit) / pageHeightMm);
    const double left = anchorX - width * 0.5 * column;
    const double top = anchorY - height * 0.5 * row;
    CKWGdipBitmap bitmap;
    bitmap.Wrap(static_cast<int>(image->width), static_cast<int>(image->height), static_cast<int>(image->stride),
                image->Pixels(), CKWGdipBitmap::kPixelFormat32bppRGB);
    graphics.DrawImage(left, top, width, height, &bitmap, nullptr);
}

}  // namespace

double TalWatermarkLengthToMm(double value, int unit)
{
    // Millimetres, or inches for every other code (a new watermark's 7 too),
    // as the exports read them.
    if (unit == CTalWatermark::kUnitMillimetre)
        return value;
    return value * kMillimetresPerInch;
}

TalFittedBox TalFitBox(double ratio, double areaWidth, double areaHeight, double shrink, double offset, double edge,
                       double edgeShrink)
{
    TalFittedBox box;
    box.width = areaWidth * ratio - shrink;
    box.height = areaHeight / ratio - shrink;
    box.left = (areaWidth - box.width) * 0.5 + offset;
    box.top = (areaHeight - box.height) * 0.5 + offset;
    if (box.left <= 0) {
        box.left = edge;
        box.width = areaWidth - edgeShrink;
    }
    if (box.top <= 0) {
        box.top = edge;
        box.height = areaHeight - edgeShrink;
    }
    return box;
}

void TalDrawRectangle(IKWGraphics& graphics, double x, double y, double width, double height, COLORREF colour)
{
    const CKWColor color = CKWColor::FromColorRef(colour);
    graphics.BeginPath();
    graphics.AddRectangle(x, y, width, height);
    graphics.FillAndStrokePath(CKWPen(color, 1.0), CKWBrush(color));
}

CRect TalDrawPageRect(IKWGraphics& graphics, const CKWDoubleRect& area, double pageWidthMm, double pageHeightMm)
{
    const double areaWidth = area.Width();
    const double areaHeight = area.Height();
    double ratio = 1.0;
    if (pageHeightMm > 0 && areaWidth > 0 && areaHeight > 0)
        ratio = (pageWidthMm / pageHeightMm) / (areaWidth / areaHeight);
    if (ratio <= 0)
        ratio = 1.0;
    const TalFittedBox box = TalFitBox(ratio, areaWidth, areaHeight, 6, 3, 6, 9);
    const CRect page(static_cast<int>(box.left), static_cast<int>(box.top), static_cast<int>(box.left + box.width),
                     static_cast<int>(box.top + box.height));
    TalDrawRectangle(graphics, page.left, page.top, page.Width(), page.Height(), kTalPreviewPage);
    return page;
}

CRect TalDrawPreviewPage(IKWGraphics& graphics, const CRect& client, double pageWidthMm, double pageHeightMm)
{
    const int width = client.Width();
    const int height = client.Height();
    TalDrawRectangle(graphics, 1, 1, width - 2, height - 2, kTalPreviewBackground);
    return TalDrawPageRect(graphics, CKWDoubleRect(2, 2, width - 2, height - 2), pageWidthMm, pageHeightMm);
}

void TalDrawWatermark(IKWGraphics& graphics, const CRect& page, const CTalWatermark& watermark, double pageWidthMm,
                      double pageHeightMm, const CKWIndexDecoder& fonts)
{
    if (watermark.m_place < 0 || watermark.m_place > 8)
        return;
    const int column = watermark.m_place % 3;
    const int row = watermark.m_place / 3;
    const double anchorX = static_cast<int>(page.left + page.Width() * kAnchorFractions[column]);
    const double anchorY = static_cast<int>(page.top + page.Height() * kAnchorFractions[row]);
    const int dpi = graphics.GetDpi() > 0 ? graphics.GetDpi() : 96;
    const double dotsToPoints = dpi * kPointsPerDot;
    graphics.PushClipRect(page.left, page.top, page.Width(), page.Height());
    switch (watermark.m_kind) {
    case CTalWatermark::kText: {
        std::wstring face = fonts.GetString(watermark.m_textFormat.m_font);
        if (face.empty())
            face = kFallbackFace;
        // The text is drawn at its size scaled to the page, but the middle
        // and bottom rows rise from the anchor by half and all of the size
        // the format gives, taken as pixels.
        const double size = watermark.m_textFormat.m_size;
        const CKWFont font(face.c_str(), PreviewTextPoints(page, size, dotsToPoints), 0, kGdipUnitPoint);
        DrawPlacedText(graphics, static_cast<const wchar_t*>(watermark.m_text), font, watermark.m_textFormat.m_color,
                       column, anchorX, anchorY - size * 0.5 * row);
        break;
    }
    case CTalWatermark::kImage:
        DrawImageWatermark(graphics, page, watermark, pageWidthMm, pageHeightMm, column, row, anchorX, anchorY);
        break;
    case CTalWatermark::kPageNumber: {
        // 10 points in the screen's dots per point, no smaller than can be read.
        const double points = std::max(kPageNumberSize / dotsToPoints, kLeastPreviewNumberPoints);
        const CKWFont font(kFallbackFace, points, 0, kGdipUnitPoint);
        DrawPlacedText(graphics, std::to_wstring(watermark.m_firstNumber), font, RGB(0, 0, 0), column, anchorX,
                       anchorY - kPageNumberRise * row);
        break;
    }
    default:
        break;
    }
    graphics.PopClip();
}
