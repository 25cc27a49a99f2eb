// The text operations of CKWGdiPlusDraw: drawing, measuring, font metrics.
#include "framework/KWGdiPlusDraw.h"

#include <gdiplus.h>

#include <algorithm>
#include <cwchar>
#include <unordered_map>
#include <vector>

#include "framework/KWBrush.h"
#include "framework/KWFont.h"
#include "framework/KWGdiPlusMake.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// Beyond this GetOutlineTextMetricsW's size answer is not believed.
const UINT kOutlineMetricsSizeLimit = 0x0FFFFFFF;

REAL F(double value)
{
    return static_cast<REAL>(value);
}

// The generic typographic format belongs to GDI+ and is never deleted.
GpStringFormat* GenericTypographic()
{
    GpStringFormat* format = nullptr;
    if (GdipStringFormatGetGenericTypographic(&format) != Ok)
        return nullptr;
    return format;
}

}  // namespace

double CKWGdiPlusDraw::MeasureWidth(const wchar_t* text, int length, const CKWFont& font)
{
    // A drawing shown smaller or larger measures as it draws.
    int unused = Ok;
    double laidOut = 0;
    if (IsScaled() && DrawLineLaidOut(0, 0, text, length, font.GetFont(), nullptr, unused, &laidOut))
        return laidOut;
    const RectF unbounded(0, 0, 0, 0);
    RectF box;
    if (Track(GdipMeasureString(m_graphics, text, length, font.GetFont(), &unbounded,
                                GenericTypographic(), &box, nullptr, nullptr)) != Ok)
        return -1.0;
    return box.Width;
}

int CKWGdiPlusDraw::DrawString(double x, double y, double width, double height,
                               const wchar_t* text, int length, const CKWFont& font,
                               const CKWBrush& brush, uint32_t flags)
{
    GpBrush* made = KWMakeGdiPlusBrush(brush);
    if (!made)
        return Track(InvalidParameter);
    int status = Ok;
    if (IsScaled() && DrawStringLaidOut(x, y, width, height, text, length, font.GetFont(), made, flags, status)) {
        GdipDeleteBrush(made);
        return status;
    }
    GpStringFormat* format = nullptr;
    status = Track(GdipCloneStringFormat(GenericTypographic(), &format));
    if (status != Ok) {
        GdipDeleteBrush(made);
        return status;
    }
    INT formatFlags = 0;
    GdipGetStringFormatFlags(format, &formatFlags);
    GdipSetStringFormatFlags(format, formatFlags | static_cast<INT>(flags & KWDRAWSTRING_FORMAT_FLAGS_MASK));
    GdipSetStringFormatAlign(format, static_cast<StringAlignment>(
        (flags >> KWDRAWSTRING_HALIGN_SHIFT) & KWDRAWSTRING_ALIGN_MASK));
    GdipSetStringFormatLineAlign(format, static_cast<StringAlignment>(
        (flags >> KWDRAWSTRING_VALIGN_SHIFT) & KWDRAWSTRING_ALIGN_MASK));

    RectF layout(F(x), F(y), F(width), F(height));
    if (flags & KWDRAWSTRING_GROW_TO_FIT) {
        // A box too low for even one line measures as nothing: give it the
        // height of the text wrapped at the box's width.
        RectF box;
        if (Track(GdipMeasureString(m_graphics, text, length, font.GetFont(), &layout, format,
                                    &box, nullptr, nullptr)) == Ok && box.Width == 0) {
            const RectF unbounded(0, 0, 0, 0);
            RectF whole;
            if (Track(GdipMeasureString(m_graphics, text, length, font.GetFont(), &unbounded,
                                        format, &whole, nullptr, nullptr)) == Ok
                && whole.Width > layout.Width && layout.Width > 0)
                layout.Height = F((whole.Width / layout.Width + 0.99) * whole.Height);
        }
    }
    status = Track(GdipDrawString(m_graphics, text, length, font.GetFont(), &layout, format, made));
    GdipDeleteStringFormat(format);
    GdipDeleteBrush(made);
    return status;
}

int CKWGdiPlusDraw::DrawStringAt(double x, double y, const wchar_t* text, int length,
                                 const CKWFont& font, const CKWBrush* brush, double* outWidth)
{
    int status = Ok;
    if (brush) {
        GpBrush* made = KWMakeGdiPlusBrush(*brush);
        if (made) {
            // GDI+ draws a font's underline on a printer, where the text goes
            // through the printer's own fonts, but not into a bitmap: there
            // the line is drawn here, under the text as GDI+ measures it.
            INT style = 0;
            GdipGetFontStyle(font.GetFont(), &style);
            GpFont* plain = nullptr;
            if ((style & FontStyleUnderline) && !IsPrinter()) {
                REAL size = 0;
                Unit unit = UnitPixel;
                GdipGetFontSize(font.GetFont(), &size);
                GdipGetFontUnit(font.GetFont(), &unit);
                if (GdipCreateFont(font.GetFamily(), size, style & ~FontStyleUnderline, unit, &plain) != Ok)
                    plain = nullptr;
            }
            GpFont* drawn = plain ? plain : font.GetFont();
            if (!IsScaled() || !DrawLineLaidOut(x, y, text, length, drawn, made, status, nullptr)) {
                // A zero-size layout box: one line, no wrapping, no clipping.
                const RectF at(F(x), F(y), 0, 0);
                status = Track(GdipDrawString(m_graphics, text, length, drawn, &at, GenericTypographic(), made));
            }
            if (plain) {
                GdipDeleteFont(plain);
                const double width = MeasureWidth(text, length, font);
                if (status == Ok && width > 0)
                    status = DrawUnderline(x, y, width, font, made);
            }
            GdipDeleteBrush(made);
        } else {
            status = Track(InvalidParameter);
        }
    }
    if (outWidth) {
        const double width = MeasureWidth(text, length, font);
        if (width < 0)
            return m_lastStatus;
        *outWidth = width;
    }
    return status;
}

bool CKWGdiPlusDraw::IsPrinter()
{
    HDC dc = GetHDC();
    if (!dc)
        return false;
    const bool printer = ::GetDeviceCaps(dc, TECHNOLOGY) == DT_RASPRINTER;
    ReleaseHDC(dc);
    return printer;
}

int CKWGdiPlusDraw::DrawUnderline(double x, double y, double width, const CKWFont& font, GpBrush* brush)
{
    // The face's own underline, in its design units: where it lies below
    // the baseline and how thick it is.
    INT style = 0;
    GdipGetFontStyle(font.GetFont(), &style);
    UINT16 em = 0, ascent = 0, spacing = 0;
    GdipGetEmHeight(font.GetFamily(), style, &em);
    GdipGetCellAscent(font.GetFamily(), style, &ascent);
    GdipGetLineSpacing(font.GetFamily(), style, &spacing);
    if (em == 0 || spacing == 0)
        return Track(InvalidParameter);
    // The em in the drawing's units: a pixel or world font's size is given
    // in them (also on a printer, whose page unit is not the pixel); any
    // other font is measured.
    REAL size = 0;
    Unit unit = UnitPixel;
    GdipGetFontSize(font.GetFont(), &size);
    GdipGetFontUnit(font.GetFont(), &unit);
    double emSize = size;
    if (unit != UnitPixel && unit != UnitWorld) {
        const RectF unbounded(0, 0, 0, 0);
        RectF box;
        if (Track(GdipMeasureString(m_graphics, L"x", 1, font.GetFont(), &unbounded, GenericTypographic(), &box,
                                    nullptr, nullptr)) != Ok)
            return m_lastStatus;
        emSize = box.Height * em / spacing;
    }
    if (!(emSize > 0))
        return Track(InvalidParameter);
    double below = em * 0.1;
    double thickness = em * 0.05;
    LOGFONTW logFont = {};
    HDC dc = GdipGetLogFontW(font.GetFont(), m_graphics, &logFont) == Ok ? GetHDC() : nullptr;
    if (dc) {
        logFont.lfHeight = -static_cast<LONG>(em);
        logFont.lfUnderline = FALSE;
        HFONT design = ::CreateFontIndirectW(&logFont);
        HGDIOBJ previous = design ? ::SelectObject(dc, design) : nullptr;
        OUTLINETEXTMETRICW outline = {};
        outline.otmSize = sizeof(outline);
        if (design && ::GetOutlineTextMetricsW(dc, sizeof(outline), &outline) != 0 && outline.otmsUnderscoreSize > 0) {
            below = -outline.otmsUnderscorePosition;
            thickness = outline.otmsUnderscoreSize;
        }
        if (design) {
            ::SelectObject(dc, previous);
            ::DeleteObject(design);
        }
        ReleaseHDC(dc);
    }
    // Design units become the drawing's through the em.
    const double scale = emSize / em;
    const double top = y + (ascent + below - thickness / 2) * scale;
    return Track(GdipFillRectangle(m_graphics, brush, F(x), F(top), F(width), F(std::max(thickness * scale, 0.5))));
}

int CKWGdiPlusDraw::GetCharWidths(const wchar_t* text, int length, const CKWFont& font,
                                  double* widths, int maxCount)
{
    if (!text || !widths)
        return 0;
    const size_t available = length < 0 ? std::wcslen(text) : static_cast<size_t>(length);
    const int count = maxCount < 0 ? 0
                      : static_cast<int>(available < static_cast<size_t>(maxCount)
                                             ? available : static_cast<size_t>(maxCount));
    // Repeated characters of one call are measured once.
    std::unordered_map<wchar_t, double> measured;
    for (int i = 0; i < count; ++i) {
        const wchar_t ch = text[i];
        auto found = measured.find(ch);
        if (found == measured.end()) {
            double width;
            if (ch == L' ') {
                // The typographic format drops trailing and lone spaces.
                const double withSpace = MeasureWidth(L" A", 2, font);
                const double alone = withSpace < 0 ? -1.0 : MeasureWidth(L"A", 1, font);
                if (alone < 0)
                    return i;
                width = withSpace - alone;
            } else {
                width = MeasureWidth(&ch, 1, font);
                if (width < 0)
                    return i;
            }
            found = measured.emplace(ch, width).first;
        }
        widths[i] = found->second;
    }
    return count;
}

int CKWGdiPlusDraw::GetFontMetrics(const CKWFont& font, int32_t* metrics)
{
    if (!metrics)
        return Track(InvalidParameter);
    // In the drawing's units: a page shown small measures as the page does.
    LOGFONTW logFont = {};
    if (!GetDrawingLogFont(font.GetFont(), logFont))
        return m_lastStatus;
    HDC dc = GetHDC();
    if (!dc)
        return m_lastStatus;
    HFONT gdiFont = ::CreateFontIndirectW(&logFont);
    HGDIOBJ previous = gdiFont ? ::SelectObject(dc, gdiFont) : nullptr;

    bool filled = false;
    const UINT size = gdiFont ? ::GetOutlineTextMetricsW(dc, 0, nullptr) : 0;
    if (size != 0 && size < kOutlineMetricsSizeLimit) {
        std::vector<unsigned char> buffer(size);
        OUTLINETEXTMETRICW* outline = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
        if (::GetOutlineTextMetricsW(dc, size, outline) != 0) {
            const TEXTMETRICW& tm = outline->otmTextMetrics;
            metrics[KWFONTMETRIC_ASCENT] = tm.tmAscent;
            metrics[KWFONTMETRIC_DESCENT] = tm.tmDescent;
            metrics[KWFONTMETRIC_LINEGAP] = tm.tmExternalLeading;
            metrics[KWFONTMETRIC_UNDERLINE_OFFSET] = tm.tmAscent - outline->otmsUnderscorePosition;
            metrics[KWFONTMETRIC_UNDERLINE_SIZE] = static_cast<int32_t>(outline->otmsUnderscoreSize);
            metrics[KWFONTMETRIC_STRIKEOUT_OFFSET] = tm.tmAscent - outline->otmsStrikeoutPosition;
            metrics[KWFONTMETRIC_STRIKEOUT_SIZE] = static_cast<int32_t>(outline->otmsStrikeoutSize);
            filled = true;
        }
    }
    if (!filled) {
        TEXTMETRICW tm = {};
        ::GetTextMetricsW(dc, &tm);
        metrics[KWFONTMETRIC_ASCENT] = tm.tmAscent;
        metrics[KWFONTMETRIC_DESCENT] = tm.tmDescent;
        metrics[KWFONTMETRIC_LINEGAP] = tm.tmExternalLeading;
        metrics[KWFONTMETRIC_UNDERLINE_OFFSET] = tm.tmAscent;
        metrics[KWFONTMETRIC_UNDERLINE_SIZE] = 1;
        metrics[KWFONTMETRIC_STRIKEOUT_OFFSET] = tm.tmAscent - 1;
        metrics[KWFONTMETRIC_STRIKEOUT_SIZE] = 1;
    }
    if (gdiFont) {
        ::SelectObject(dc, previous);
        ::DeleteObject(gdiFont);
    }
    ReleaseHDC(dc);
    return Ok;
}
