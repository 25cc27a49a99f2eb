#include "text/KWFontMetrics.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "framework/KWFont.h"
#include "framework/KWGraphics.h"
#include "text/KWCharFormat.h"
#include "text/KWScreenGraphics.h"

namespace {

const double kDesignEm = 2048.0;
// Style bits that change a face's metrics or measuring.
const uint8_t kMeasuredStyle = CKWCharFormat::kBold | CKWCharFormat::kItalic | CKWCharFormat::kUnderline;

std::vector<std::unique_ptr<CKWFontMetrics>>& Cache()
{
    static std::vector<std::unique_ptr<CKWFontMetrics>> cache;  // sorted by size
    return cache;
}

void Measure(CKWFontMetrics& entry)
{
    // Proportions of Arial, for when no font can be measured: a line must
    // never be 0 high.
    int32_t m[KWFONTMETRIC_COUNT] = {1854, 434, 67, 2066, 150, 1383, 150};
    CKWScreenGraphics& screen = GetScreenGraphics();
    if (IKWGraphics* g = screen.GetGraphics()) {
        CKWFont font(entry.face.c_str(), kDesignEm, entry.style);
        int32_t measured[KWFONTMETRIC_COUNT] = {};
        if (font.GetFont() && g->GetFontMetrics(font, measured) == 0 &&
            measured[KWFONTMETRIC_ASCENT] + measured[KWFONTMETRIC_DESCENT] > 0)
            std::copy(measured, measured + KWFONTMETRIC_COUNT, m);
    }
    const double points = entry.size;
    entry.pixelSize = static_cast<int>(std::lround(points * screen.GetDpi() / 72.0));
    entry.ascent = KWDesignToLayout(m[KWFONTMETRIC_ASCENT], points);
    entry.descent = KWDesignToLayout(m[KWFONTMETRIC_DESCENT], points);
    entry.lineGap = KWDesignToLayout(m[KWFONTMETRIC_LINEGAP], points);
    entry.lineHeight = entry.ascent + entry.descent + entry.lineGap;
    entry.underlineOffset = KWDesignToLayout(m[KWFONTMETRIC_UNDERLINE_OFFSET], points);
    entry.underlineSize = KWDesignToLayout(m[KWFONTMETRIC_UNDERLINE_SIZE], points);
    entry.strikeoutOffset = KWDesignToLayout(m[KWFONTMETRIC_STRIKEOUT_OFFSET], points);
    entry.strikeoutSize = KWDesignToLayout(m[KWFONTMETRIC_STRIKEOUT_SIZE], points);
}

}  // namespace

const CKWFontMetrics& KWGetFontMetrics(const CKWCharFormat& run, const CKWIndexDecoder* table)
{
    // Keyed by face name rather than font index: texts with different font
    // tables share the cache.
    const int16_t size = std::max<int16_t>(run.m_size, 1);
    const uint8_t style = run.m_style & kMeasuredStyle;
    const std::wstring face = run.GetFaceName(table);
    auto& cache = Cache();
    auto it = std::lower_bound(cache.begin(), cache.end(), size,
                               [](const std::unique_ptr<CKWFontMetrics>& e, int16_t s) { return e->size < s; });
    for (auto at = it; at != cache.end() && (*at)->size == size; ++at) {
        if ((*at)->style == style && (*at)->face == face)
            return **at;
    }
    std::unique_ptr<CKWFontMetrics> entry(new CKWFontMetrics);
    entry->size = size;
    entry->style = style;
    entry->face = face;
    Measure(*entry);
    return **cache.insert(it, std::move(entry));
}
