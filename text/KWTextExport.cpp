// CKWTextObject: the segments of the lines that fit a rectangle, for the
// page composition and the exports.
#include "text/KWFontMetrics.h"
#include "text/KWTextObject.h"

namespace {

void AppendSegment(CKWTextLineVector& out, const CKWTextLine& open)
{
    CKWTextLine seg = open;
    seg.m_topRightX = seg.m_right;
    seg.m_topRightY = seg.m_top;
    seg.m_bottomLeftX = seg.m_left;
    out.push_back(seg);
}

}  // namespace

uint8_t CKWTextObject::BuildExportLines(CKWTextLineVector& out, const CKWDoubleRect& rect, int start,
                                        uint32_t flags)
{
    out.clear();
    const uint8_t result = static_cast<uint8_t>(flags & 1);
    const int length = GetLength();
    if (start < 0 || start >= length)
        return result;

    EnsurePreciseWidths();
    CKWLineVector lines;
    LayoutFrom(lines, m_preciseWidths, start, length, rect, true, false, 0.0);
    const int placed = CountPlacedLines(lines, rect.Height(), nullptr);

    const wchar_t* text = GetText().GetString();
    const CKWIndexDecoder* table = GetFontTable();
    int runIndex = 0, runEnd = 0;
    for (int k = 0; k < placed; ++k) {
        const CKWLineRecord& line = lines[k];
        const int lineStart = k == 0 ? start : lines[k - 1].end;
        const double baseline = line.top + line.metrics->ascent;
        double x = line.x;
        bool isOpen = false;
        CKWTextLine open;
        const CKWCharFormat* run = nullptr;
        const CKWFontMetrics* metrics = nullptr;
        // A run's end or a tab or line feed ends the open segment at p.
        auto closeAt = [&](int p) {
            if (!isOpen)
                return;
            open.m_right = x;
            open.m_bottom = open.m_top + metrics->lineHeight;
            open.m_end = p;
            AppendSegment(out, open);
            isOpen = false;
        };
        for (int p = lineStart; p < line.end; ++p) {
            if (!run || p >= runEnd) {
                closeAt(p);
                run = &LocateRun(p, &runIndex, &runEnd);
                metrics = &KWGetFontMetrics(*run, table);
                if (runEnd <= p)
                    runEnd = line.end;  // runs that do not reach the text end
            }
            const wchar_t ch = text[p];
            if (ch == L'\t' || ch == L'\n') {
                closeAt(p);
            } else if (!isOpen) {
                open = CKWTextLine();
                open.m_left = x;
                open.m_top = baseline - metrics->ascent;
                open.m_baseline = baseline;
                open.m_start = p;
                open.m_format = run;
                isOpen = true;
            }
            x += m_preciseWidths[p];
        }
        if (isOpen) {
            open.m_right = line.x + line.width;
            open.m_bottom = line.top + line.height;
            open.m_end = line.end;
            if (open.m_right != open.m_left)
                AppendSegment(out, open);
        }
    }

    return result;
}
