#include "editor/TalPagePainter.h"

#include "export/ExportObjectData.h"
#include "export/ExportPlacement.h"
#include "export/TalObjExport.h"
#include "export/TalPageExport.h"
#include "framework/KWAlphaComposite.h"
#include "framework/KWBrush.h"
#include "framework/KWFont.h"
#include "framework/KWGdipBitmap.h"
#include "framework/KWGraphics.h"
#include "framework/KWRasterLib.h"
#include "model/TalDocProperties.h"
#include "model/TalTextFormat.h"
#include "model/TalTextNote.h"
#include "text/KWCharFormat.h"

#include <algorithm>
#include <cmath>

namespace {
// Tenths of a millimetre in an inch.
constexpr double kTenthsPerInch = 254.0;
constexpr double kPointsPerInch = 72.0;
// The paper's colour, under every picture (a COLORREF value).
constexpr uint32_t kPageColor = 0xFFFFFF;

CKWBrush BrushOf(const CTalTextFormat* format)
{
    return CKWBrush(CKWColor::FromColorRef(format ? format->m_color : 0));
}

}  // namespace

uint32_t TalPlaceAlignmentFlags(int32_t place)
{
    if (place < 0 || place > 8)
        return 0;
    return static_cast<uint32_t>(place % 3) * KWDRAWSTRING_HCENTER + static_cast<uint32_t>(place / 3) * KWDRAWSTRING_VCENTER;
}

CTalPagePainter::CTalPagePainter(const CTalDocProperties& properties, double printerDpiX, double printerDpiY,
                                 double composedWidth, double composedHeight)
    : m_properties(properties),
      m_printerDpiX(printerDpiX),
      m_printerDpiY(printerDpiY),
      m_composedWidth(composedWidth),
      m_composedHeight(composedHeight)
{
}

void CTalPagePainter::DrawPage(IKWGraphics& graphics, const CRect& pageRect, const TalPageExport& page)
{
    m_graphics = &graphics;
    m_page = pageRect;
    m_dpi = graphics.GetDpi();
    m_pointScale = m_dpi / kPointsPerInch;
    m_lineScale = m_dpi / kTenthsPerInch;
    if (m_composedWidth > 0 && m_composedHeight > 0 && pageRect.Width() > 0 && pageRect.Height() > 0) {
        // The rectangle may be smaller than the page the lines were laid out
        // for (the printable part of the paper): the lines shrink with it,
        // the same on both axes, so that each still fits its box.
        m_lineScale = std::min(pageRect.Width() / m_composedWidth, pageRect.Height() / m_composedHeight);
    }
    for (TalObjExport* object : page.GetObjects()) {
        if (!object || !object->GetData())
            continue;
        switch (object->GetKind()) {
        case kExportText:
            DrawTextLines(static_cast<const ExportTextData&>(*object->GetData()));
            break;
        case kExportCommonImage:
        case kExportImage:
        case kExportWmImage:
            DrawPicture(static_cast<const ExportImageData&>(*object->GetData()));
            break;
        case kExportSimpleText:
        case kExportWatermarkText:
            DrawText(*object);
            break;
        default:
            break;
        }
    }
    m_graphics = nullptr;
}

void CTalPagePainter::DrawTextLines(const ExportTextData& block)
{
    const CTalTextNote* note = block.GetNote();
    if (!note)
        return;
    const CKWDoubleRect unit = block.GetRect();
    const double left = m_page.left + m_page.Width() * unit.left;
    const double top = m_page.top + m_page.Height() * unit.top;
    const CString& text = note->GetText();
    const int length = text.GetLength();
    const double pixelsPerTenth = m_lineScale;
    // Points in device units, shrunk as the lines are.
    const double pointScale = m_lineScale * kTenthsPerInch / kPointsPerInch;
    for (const CKWTextLine& line : block.GetLines().m_lines) {
        // Lines laid out from another state of the note stay inside its text.
        const int start = std::clamp<int>(line.m_start, 0, length);
        const int end = std::clamp<int>(line.m_end, start, length);
        if (end == start)
            continue;
        const CKWCharFormat& format = line.m_format ? *line.m_format : CKWCharFormat::GetDefault();
        const std::wstring face = m_properties.GetFontTable().GetString(format.m_fontIndex);
        const CKWFont font(face.c_str(), format.m_size * pointScale, format.m_style);
        const CKWBrush brush(CKWColor::FromColorRef(format.GetColorRef()));
        m_graphics->DrawStringAt(left + line.m_left * pixelsPerTenth, top + line.m_top * pixelsPerTenth,
                                 static_cast<const wchar_t*>(text) + start, end - start, font, &brush, nullptr);
    }
}

void CTalPagePainter::DrawPicture(const ExportImageData& picture)
{
    const int32_t kind = picture.GetKind();
    KWRasterImagePtr image(g_rasterLib.LoadImage(picture.GetImageKey()));
    if (!image)
        return;
    // Only a section's picture is turned and made grey.
    if (kind == kExportCommonImage && picture.GetRotation() != 0) {
        if (KWRasterImage* turned = g_rasterLib.RasterRotate(image.get(), picture.GetRotation()))
            image.reset(turned);
    }
    if (kind == kExportCommonImage && picture.GetGrayscale()) {
        if (KWRasterImage* grey = CKWRasterLib::RasterToGray(image.get()))
            image.reset(grey);
    }
    // The page is white: transparent parts show it, as in the PDF and HTML
    // pages, rather than the colours the picture keeps under them.
    KWBlendOver(*image, kPageColor);
    double width = image->width;
    double height = image->height;
    if (kind == kExportWmImage) {
        double widthInches = 0;
        double heightInches = 0;
        picture.GetSize(widthInches, heightInches);
        width = m_printerDpiX * widthInches;
        height = m_printerDpiY * heightInches;
    }
    const CKWDoubleRect cell(m_page.left, m_page.top, m_page.right, m_page.bottom);
    CKWDoubleRect placed = picture.GetRect();
    const int mode = kind == kExportCommonImage ? kPlaceFit : kind == kExportImage ? kPlaceStretch : kPlaceOwnSize;
    PlaceInCell(cell, width, height, placed, mode, picture.GetPlace());
    ShrinkToDevice(image, placed.right - placed.left, placed.bottom - placed.top);
    CKWGdipBitmap bitmap;
    bitmap.Wrap(static_cast<int>(image->width), static_cast<int>(image->height), static_cast<int>(image->stride),
                image->Pixels(), CKWGdipBitmap::kPixelFormat32bppRGB);
    m_graphics->DrawImage(placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top, &bitmap,
                          nullptr);
    if (kind == kExportCommonImage)
        DrawCaption(picture, placed.bottom);
}

void CTalPagePainter::ShrinkToDevice(KWRasterImagePtr& image, double width, double height)
{
    // The surface's own scaling takes one sample per pixel it covers, which
    // breaks a photograph shown much smaller than its size into noise; the
    // raster library averages every pixel of the picture instead.
    const double scale = m_graphics->GetDeviceScale();
    const double deviceWidth = std::ceil(width * scale);
    const double deviceHeight = std::ceil(height * scale);
    if (!(deviceWidth >= 1 && deviceHeight >= 1) || (image->width <= deviceWidth && image->height <= deviceHeight))
        return;
    if (KWRasterImage* smaller = g_rasterLib.RasterResize(image.get(), static_cast<uint32_t>(deviceWidth),
                                                          static_cast<uint32_t>(deviceHeight)))
        image.reset(smaller);
}

void CTalPagePainter::DrawCaption(const ExportImageData& picture, double pictureBottom)
{
    const CString description = picture.GetString();
    if (description.IsEmpty())
        return;
    CString face;
    double size = 0;
    int style = 0;
    int alignment = 0;
    picture.GetFont(face, size, style, alignment, &m_properties);
    // The metrics of the font at its size in points, as device units.
    int32_t metrics[KWFONTMETRIC_COUNT] = {};
    m_graphics->GetFontMetrics(CKWFont(face, size, style), metrics);
    const double lineHeight = (metrics[0] + metrics[1] + metrics[2]) * m_pointScale;
    const CKWDoubleRect unit = picture.GetRect();
    const double left = m_page.right * unit.left;
    const double right = m_page.right * unit.right;
    m_graphics->DrawString(left, pictureBottom, right - left, 2 * lineHeight, description, -1,
                           CKWFont(face, size * m_pointScale, style), BrushOf(picture.GetFormat()),
                           static_cast<uint32_t>(alignment) | KWDRAWSTRING_GROW_TO_FIT);
}

void CTalPagePainter::DrawText(const TalObjExport& object)
{
    const ExportObjectData& data = *object.GetData();
    const bool placed = object.GetKind() == kExportWatermarkText;
    const CString text = placed ? static_cast<const ExportWatermarkTextData&>(data).GetText()
                                : static_cast<const ExportSimpleTextData&>(data).GetText();
    if (text.IsEmpty())
        return;
    const CTalTextFormat* format = placed ? static_cast<const ExportWatermarkTextData&>(data).GetFormat()
                                          : static_cast<const ExportSimpleTextData&>(data).GetFormat();
    CString face;
    double size = 0;
    int style = 0;
    int alignment = 0;
    data.GetFont(face, size, style, alignment, &m_properties);
    const uint32_t flags = placed ? TalPlaceAlignmentFlags(data.GetPlace())
                                  : static_cast<uint32_t>(alignment) | KWDRAWSTRING_GROW_TO_FIT;
    const CKWDoubleRect unit = data.GetRect();
    const double left = m_page.left + m_page.Width() * unit.left;
    const double top = m_page.top + m_page.Height() * unit.top;
    m_graphics->DrawString(left, top, m_page.Width() * (unit.right - unit.left), m_page.Height() * (unit.bottom - unit.top),
                           text, -1, CKWFont(face, size * m_pointScale, style), BrushOf(format), flags);
}
