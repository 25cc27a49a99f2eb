// Text of CKWGdiPlusDraw on a drawing whose units are not device pixels (a
// printed page shown small in the print preview). GDI+ makes the font at its
// size on the device, in whole pixels, and lays the text out with it: shrunk
// by the transform, a run comes out wider or narrower than on the page it
// stands for, so the next run covers its last characters and a caption may
// no longer fit its box. Here the text is laid out as GDI+ lays it out on a
// device of the drawing's resolution (a printer of it), with the font at its
// size in the drawing's units, and each glyph is then drawn at its place.
#include "framework/KWGdiPlusDraw.h"

#include <gdiplus.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cwchar>
#include <string>
#include <vector>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// A drawing whose units are device pixels within this share draws its text
// as GDI+ lays it out.
const double kUnscaledTolerance = 1e-3;

// Format flags that only GDI+'s own layout honours.
const INT kDirectionFlags = StringFormatFlagsDirectionRightToLeft | StringFormatFlagsDirectionVertical;

// A memory device context with a font selected, for measuring; not ready
// without a font.
class CMeasuringDC {
public:
    explicit CMeasuringDC(const LOGFONTW* logFont) : m_dc(logFont ? ::CreateCompatibleDC(nullptr) : nullptr)
    {
        m_font = m_dc ? ::CreateFontIndirectW(logFont) : nullptr;
        m_previous = m_font ? ::SelectObject(m_dc, m_font) : nullptr;
        m_ready = m_font && ::GetTextMetricsW(m_dc, &m_metrics);
    }
    ~CMeasuringDC()
    {
        if (m_font) {
            ::SelectObject(m_dc, m_previous);
            ::DeleteObject(m_font);
        }
        if (m_dc)
            ::DeleteDC(m_dc);
    }
    CMeasuringDC(const CMeasuringDC&) = delete;
    CMeasuringDC& operator=(const CMeasuringDC&) = delete;

    bool Ready() const { return m_ready; }
    HDC Get() const { return m_dc; }
    // The extent of count characters; fit: how many fit in limit.
    SIZE Extent(const wchar_t* text, int count, int limit, int* fit = nullptr) const
    {
        SIZE size = {0, 0};
        INT fitted = 0;
        ::GetTextExtentExPointW(m_dc, text, count, limit, &fitted, nullptr, &size);
        if (fit)
            *fit = fitted;
        return size;
    }

private:
    HDC m_dc;
    HFONT m_font = nullptr;
    HGDIOBJ m_previous = nullptr;
    TEXTMETRICW m_metrics = {};
    bool m_ready = false;
};

// One line of a laid-out box: its characters and size.
struct LaidLine {
    int start;
    int length;
    SIZE size;
};

// GDI+'s line breaking, over the measuring context: a line ends at a line
// feed, or at the last blank before the box's width (a word longer than the
// line is cut); its trailing blanks are not part of it; with the line limit
// a line that would pass the box's foot is not laid.
std::vector<LaidLine> BreakLines(const CMeasuringDC& dc, const std::wstring& text, int boxWidth, int boxHeight,
                                 INT formatFlags)
{
    std::vector<LaidLine> lines;
    const int length = static_cast<int>(text.size());
    const wchar_t* s = text.c_str();
    int sum = 0, height = 0;
    while (sum < length) {
        int fit = 0;
        dc.Extent(s + sum, length - sum, boxWidth, &fit);
        const int fitted = fit;
        if (fit == 0)
            break;
        int feed = 0;
        while (feed < fit && s[sum + feed] != L'\n')
            ++feed;
        int end = fit;
        if (feed < fit) {
            end = fit = feed;
        } else if (fit < length - sum) {
            if (s[sum + fit] == L' ') {
                while (s[sum + fit] == L' ')
                    ++fit;
            } else if (!(formatFlags & StringFormatFlagsNoWrap)) {
                while (fit > 0 && s[sum + fit - 1] != L' ')
                    --fit;
                if (fit == 0)
                    fit = fitted;
            }
            end = fit;
            while (end > 0 && s[sum + end - 1] == L' ')
                --end;
        }
        const SIZE size = dc.Extent(s + sum, end, boxWidth);
        if (height + size.cy > boxHeight && (formatFlags & StringFormatFlagsLineLimit))
            break;
        lines.push_back({sum, end, size});
        sum += fit + (feed < fitted ? 1 : 0);
        height += size.cy;
        if (height > boxHeight || (feed == fitted && (formatFlags & StringFormatFlagsNoWrap)))
            break;
    }
    return lines;
}

// The length of a text GDI+ lays out as one plain line; -1 for one with line
// feeds, tabs or surrogate pairs, which are left to GDI+.
int PlainLineLength(const wchar_t* text, int length)
{
    if (!text)
        return -1;
    if (length < 0)
        length = static_cast<int>(std::wcslen(text));
    for (int i = 0; i < length; ++i)
        if (text[i] < L' ' || (text[i] >= 0xD800 && text[i] <= 0xDFFF))
            return -1;
    return length;
}

// A box side as GDI+ takes it: whole units, none meaning no bound.
int BoxSide(double side)
{
    const int whole = side >= 1 && side < INT_MAX ? static_cast<int>(side) : 0;
    return whole > 0 ? whole : INT_MAX;
}

}  // namespace

bool CKWGdiPlusDraw::IsScaled()
{
    return std::fabs(GetDeviceScale() - 1.0) > kUnscaledTolerance;
}

bool CKWGdiPlusDraw::GetDrawingLogFont(GpFont* font, LOGFONTW& logFont)
{
    if (Track(GdipGetLogFontW(font, m_graphics, &logFont)) != Ok)
        return false;
    // A pixel or world font's size is already in the drawing's units.
    REAL size = 0;
    Unit unit = UnitPixel;
    if (GdipGetFontSize(font, &size) == Ok && GdipGetFontUnit(font, &unit) == Ok &&
        (unit == UnitPixel || unit == UnitWorld) && size > 0)
        logFont.lfHeight = -std::max(1L, std::lround(size));
    logFont.lfWidth = 0;
    logFont.lfEscapement = logFont.lfOrientation = 0;
    return true;
}

int CKWGdiPlusDraw::DrawGlyphs(HDC measuring, double x, double y, const wchar_t* text, int length, GpFont* font,
                               GpBrush* brush)
{
    if (length <= 0)
        return Ok;
    TEXTMETRICW metrics = {};
    std::vector<INT> ends(static_cast<size_t>(length));
    SIZE extent = {};
    if (!::GetTextMetricsW(measuring, &metrics) ||
        !::GetTextExtentExPointW(measuring, text, length, INT_MAX, nullptr, ends.data(), &extent))
        return Track(GenericError);
    // A glyph's origin lies on the baseline.
    std::vector<PointF> origins(static_cast<size_t>(length));
    for (size_t i = 0; i < origins.size(); ++i)
        origins[i] = PointF(static_cast<REAL>(x + (i > 0 ? ends[i - 1] : 0)), static_cast<REAL>(y + metrics.tmAscent));
    return Track(GdipDrawDriverString(m_graphics, reinterpret_cast<const UINT16*>(text), length, font, brush,
                                      origins.data(), DriverStringOptionsCmapLookup, nullptr));
}

bool CKWGdiPlusDraw::DrawLineLaidOut(double x, double y, const wchar_t* text, int length, GpFont* font,
                                     GpBrush* brush, int& status, double* width)
{
    length = PlainLineLength(text, length);
    LOGFONTW logFont = {};
    const CMeasuringDC dc(length >= 0 && GetDrawingLogFont(font, logFont) ? &logFont : nullptr);
    if (!dc.Ready())
        return false;
    if (brush)
        status = DrawGlyphs(dc.Get(), x, y, text, length, font, brush);
    if (width)
        *width = dc.Extent(text, length, INT_MAX).cx;
    return true;
}

bool CKWGdiPlusDraw::DrawStringLaidOut(double x, double y, double width, double height, const wchar_t* text,
                                       int length, GpFont* font, GpBrush* brush, uint32_t flags, int& status)
{
    const INT formatFlags = StringFormatFlagsNoFitBlackBox | StringFormatFlagsLineLimit | StringFormatFlagsNoClip |
                            static_cast<INT>(flags & KWDRAWSTRING_FORMAT_FLAGS_MASK);
    if (!text || (formatFlags & kDirectionFlags))
        return false;
    if (length < 0)
        length = static_cast<int>(std::wcslen(text));
    // GDI+ lays tabs out as nothing.
    std::wstring kept;
    for (int i = 0; i < length; ++i) {
        if (text[i] >= 0xD800 && text[i] <= 0xDFFF)
            return false;
        if (text[i] != L'\t')
            kept += text[i];
    }
    LOGFONTW logFont = {};
    const CMeasuringDC dc(GetDrawingLogFont(font, logFont) ? &logFont : nullptr);
    if (!dc.Ready())
        return false;
    const int boxWidth = BoxSide(width);
    std::vector<LaidLine> lines = BreakLines(dc, kept, boxWidth, BoxSide(height), formatFlags);
    if (lines.empty() && (flags & KWDRAWSTRING_GROW_TO_FIT) && boxWidth != INT_MAX) {
        // A box too low for even one line: the height of the text wrapped at its width.
        const std::vector<LaidLine> whole = BreakLines(dc, kept, INT_MAX, INT_MAX, formatFlags);
        LONG widest = 0, tall = 0;
        for (const LaidLine& line : whole) {
            widest = std::max(widest, line.size.cx);
            tall += line.size.cy;
        }
        if (widest > boxWidth)
            lines = BreakLines(dc, kept, boxWidth, BoxSide((double(widest) / boxWidth + 0.99) * tall), formatFlags);
    }
    // The line alignment places all lines the text makes, whether the box holds them or not.
    double offset = 0;
    const int lineAlign = static_cast<int>((flags >> KWDRAWSTRING_VALIGN_SHIFT) & KWDRAWSTRING_ALIGN_MASK);
    if (lineAlign != StringAlignmentNear) {
        LONG tall = 0;
        for (const LaidLine& line : BreakLines(dc, kept, boxWidth, INT_MAX, formatFlags))
            tall += line.size.cy;
        offset = lineAlign == StringAlignmentCenter ? (height - tall) / 2 : height - tall;
    }
    const int align = static_cast<int>((flags >> KWDRAWSTRING_HALIGN_SHIFT) & KWDRAWSTRING_ALIGN_MASK);
    status = Ok;
    double top = y + offset;
    for (const LaidLine& line : lines) {
        double left = x;
        if (align == StringAlignmentCenter)
            left += width / 2 - line.size.cx / 2.0;
        else if (align == StringAlignmentFar)
            left += width - line.size.cx;
        const int drawn = DrawGlyphs(dc.Get(), left, top, kept.c_str() + line.start, line.length, font, brush);
        if (status == Ok)
            status = drawn;
        top += line.size.cy;
    }
    return true;
}
