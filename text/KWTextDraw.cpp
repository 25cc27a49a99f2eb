// CKWTextObject: drawing the lines.
#include <algorithm>

#include "framework/KWBrush.h"
#include "framework/KWFont.h"
#include "framework/KWGraphics.h"
#include "text/KWFontMetrics.h"
#include "text/KWTextObject.h"

void CKWTextObject::Draw(IKWGraphics& graphics, const CKWDoubleRect& clip)
{
    UpdateLayout();
    const int dpi = graphics.GetDpi();
    const double pixelsPerUnit = (dpi > 0 ? dpi : 96) / 254.0;
    const double pointsToPixels = (dpi > 0 ? dpi : 96) / 72.0;
    const wchar_t* text = GetText().GetString();
    const CKWIndexDecoder* table = GetFontTable();

    int runIndex = 0, runEnd = 0;
    for (int k = 0; k < GetLineCount(); ++k) {
        const CKWLineRecord& line = m_lines[k];
        const double top = m_rect.top + line.top;
        if (top > clip.bottom)
            break;
        if (top + line.height < clip.top)
            continue;
        double ascent = line.metrics->ascent;
        if ((line.flags & CKWLineRecord::kNotPercent) && line.metrics->lineHeight > 0)
            ascent *= line.height / line.metrics->lineHeight;  // proportional place in an exact height
        const double baseline = top + ascent;
        double x = m_rect.left + line.x;
        const int visibleEnd = line.VisibleEnd();
        for (int p = LineStart(k); p < visibleEnd;) {
            if (text[p] == L'\t') {
                x += GetCharAdvance(p);
                ++p;
                continue;
            }
            const CKWCharFormat& run = LocateRun(p, &runIndex, &runEnd);
            int q = p;
            double advance = 0.0;
            const int stop = runEnd > p ? std::min(runEnd, visibleEnd) : visibleEnd;
            while (q < stop && text[q] != L'\t') {
                advance += GetCharAdvance(q);
                ++q;
            }
            const CKWFontMetrics& metrics = KWGetFontMetrics(run, table);
            const int style = run.m_style & (CKWCharFormat::kBold | CKWCharFormat::kItalic |
                                             CKWCharFormat::kUnderline | CKWCharFormat::kStrikeout);
            CKWFont font(run.GetFaceName(table).c_str(), std::max<int>(run.m_size, 1) * pointsToPixels, style);
            const CKWBrush brush(run.m_color);
            graphics.DrawStringAt(x * pixelsPerUnit, (baseline - metrics.ascent) * pixelsPerUnit, text + p, q - p,
                                  font, &brush, nullptr);
            x += advance;
            p = q;
        }
    }
}
