#include "export/ComposeContentsPage.h"

#include "export/ComposePageSize.h"
#include "framework/KWGdiPlusDraw.h"
#include "model/TalSection.h"
#include "model/TalDocProperties.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

const double kDefaultSize = 18.0;
const double kInchesPerTenthMm = 0.003937007874015748;
const double kInchesPerPoint = 0.013888888888888888;
const int kMaxMeasured = 256;
const int kFallbackDpi = 96;
const double kEntryLeft = 0.25;
const double kEntryRight = 0.95;
const double kIndentStep = 0.05;
const double kBaseTextWidth = 0.7;

const CTalTextFormat* ContentsFormat(CTalDocProperties& properties)
{
    if (!properties.m_useTextStyles)
        return nullptr;
    CTalTextFormat* format = properties.GetTextFormat(kTalFormatContent, false);
    // Entries are indented by depth, so they are always set from the left.
    if (format)
        format->m_align = CTalTextFormat::kAlignLeft;
    return format;
}

// The desktop window's device context, released however the measuring ends.
class CDesktopDc {
public:
    CDesktopDc() : m_dc(::GetDC(nullptr)) {}
    ~CDesktopDc() { ::ReleaseDC(nullptr, m_dc); }
    CDesktopDc(const CDesktopDc&) = delete;
    CDesktopDc& operator=(const CDesktopDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

int SurfaceDpi(IKWGraphics& surface)
{
    const int dpi = surface.GetDpi();
    return dpi > 0 ? dpi : kFallbackDpi;
}

}  // namespace

CTalContentsLayout::CTalContentsLayout(IKWGraphics& surface, CTalDocProperties& properties,
                                       double pageWidthPixels, double pageHeightPixels)
    : m_surface(surface), m_format(ContentsFormat(properties)), m_pageWidth(pageWidthPixels),
      m_pageHeight(pageHeightPixels)
{
    double size = kDefaultSize;
    int style = 0;
    CString face;
    if (m_format) {
        size = m_format->m_size;
        style = m_format->m_style;
        face = properties.GetFontTable().GetString(m_format->m_font).c_str();
    }
    if (face.IsEmpty())
        face = L"Arial";
    m_font.SetFont(face, SurfaceDpi(surface) * size * kInchesPerPoint, style);
    int32_t metrics[KWFONTMETRIC_COUNT] = {};
    if (m_surface.GetFontMetrics(m_font, metrics) == 0)
        m_lineHeight = static_cast<double>(metrics[KWFONTMETRIC_ASCENT]) + metrics[KWFONTMETRIC_DESCENT] +
                       metrics[KWFONTMETRIC_LINEGAP];
}

double CTalContentsLayout::MeasureHeight(const CTalSection* section) const
{
    if (!section)
        return 0;
    double height = 2 * m_lineHeight / m_pageHeight;
    for (const CKWRefPtr<CTalSection>& child : section->GetSubSections())
        height += MeasureHeight(child.Get());
    return height;
}

double CTalContentsLayout::MeasureWidth(const CString& name)
{
    const int count = std::min(name.GetLength(), kMaxMeasured);
    double total = 0;
    for (int i = 0; i < count; ++i) {
        const wchar_t ch = name[i];
        auto found = m_widths.find(ch);
        if (found == m_widths.end()) {
            double width = 0;
            if (m_surface.GetCharWidths(&ch, 1, m_font, &width, 1) != 1)
                width = 0;
            found = m_widths.emplace(ch, width).first;
        }
        total += found->second;
    }
    return total / m_pageWidth;
}

void CTalContentsLayout::ComposeEntries(const CTalSection* section, TalPageList& pages, int depth,
                                        double totalHeight)
{
    if (!section || pages.empty())
        return;
    depth = std::min(depth, kContentsMaxDepth);
    const CString& name = section->GetName();
    const double room = kBaseTextWidth - kIndentStep * depth;
    const double lines = 1 + std::floor(MeasureWidth(name) / room);
    const double height = lines * 2 * m_lineHeight / m_pageHeight;

    TalPageExport* page = pages.back();
    double top;
    if (page->GetObjectCount() == 0) {
        const double band = kContentsBottom - kContentsTop;
        top = totalHeight < band ? kContentsTop + (band - totalHeight) / 2 : kContentsTop;
    } else {
        top = page->GetObject(page->GetObjectCount() - 1)->GetData()->GetRect().bottom;
        if (top + height >= kContentsBottom) {
            std::unique_ptr<TalPageExport> next(new TalPageExport(kContentsPage, L"Content", nullptr));
            pages.push_back(next.get());
            page = next.release();
            top = kContentsTop;
        }
    }
    page->AddObject(new TalObjExport(name, CKWDoubleRect(kEntryLeft + kIndentStep * depth, top, kEntryRight,
                                                         top + height),
                                     m_format));

    for (const CKWRefPtr<CTalSection>& child : section->GetSubSections())
        ComposeEntries(child.Get(), pages, depth + 1, totalHeight);
}

double MeasureContentsHeight(IKWGraphics& surface, const CTalSection* section, CTalDocProperties& properties,
                             double pageWidthPixels, double pageHeightPixels)
{
    return CTalContentsLayout(surface, properties, pageWidthPixels, pageHeightPixels).MeasureHeight(section);
}

void ComposeContentsEntries(CTalDocProperties& properties, const CTalSection* section, TalPageList& pages,
                            IKWGraphics& surface, int depth, double pageWidthPixels, double pageHeightPixels,
                            double totalHeight)
{
    CTalContentsLayout(surface, properties, pageWidthPixels, pageHeightPixels)
        .ComposeEntries(section, pages, depth, totalHeight);
}

void ComposeContentsPage(CTalDocProperties* properties, CKWRefPtr<CTalSection> heading, TalPageList& pages,
                         bool printerSize)
{
    if (!properties)
        return;
    CDesktopDc dc;
    CKWGdiPlusDraw surface(dc.Get());
    const int dpi = SurfaceDpi(surface);
    double width = 0, height = 0;
    GetComposePageSize(*properties, printerSize, width, height);
    CTalContentsLayout layout(surface, *properties, dpi * width * kInchesPerTenthMm, dpi * height * kInchesPerTenthMm);
    const double total = layout.MeasureHeight(heading.Get());
    std::unique_ptr<TalPageExport> first(new TalPageExport(kContentsPage, L"Content", nullptr));
    pages.push_back(first.get());
    first.release();
    layout.ComposeEntries(heading.Get(), pages, 0, total);
}
