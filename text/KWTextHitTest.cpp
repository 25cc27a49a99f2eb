// CKWTextObject: positions, points and lines.
#include <algorithm>

#include "text/KWTextObject.h"

void CKWTextObject::GetBounds(CKWDoubleRect& bounds) const
{
    bounds = CKWDoubleRect();
    if (m_lines.empty())
        return;
    bounds.left = m_lines[0].x;
    bounds.right = m_lines[0].x + m_lines[0].width;
    for (const CKWLineRecord& line : m_lines) {
        bounds.left = std::min(bounds.left, line.x);
        bounds.right = std::max(bounds.right, line.x + line.width);
    }
    bounds.top = m_lines.front().top;
    bounds.bottom = m_lines.back().top + m_lines.back().height;
}

int CKWTextObject::HitTest(double x, double y) const
{
    const int count = GetLineCount();
    if (count == 0)
        return 0;
    int line = 0;
    while (line < count - 1 && y >= m_lines[line].top + m_lines[line].height)
        ++line;
    return PositionInLine(line, x);
}

int CKWTextObject::PositionInLine(int line, double x) const
{
    if (line < 0 || line >= GetLineCount())
        return 0;
    const CKWLineRecord& rec = m_lines[line];
    const int start = LineStart(line);
    const int visibleEnd = std::max(rec.VisibleEnd(), start);
    double at = rec.x;
    if (x < at)
        return start;
    for (int p = start; p < visibleEnd; ++p) {
        const double w = GetCharAdvance(p);
        if (at + w / 2.0 >= x)  // nearest boundary
            return p;
        at += w;
    }
    return visibleEnd;
}

void CKWTextObject::PositionToPoint(int position, int line, double& x, double& y) const
{
    x = 0.0;
    y = 0.0;
    if (line < 0 || line >= GetLineCount())
        return;
    const CKWLineRecord& rec = m_lines[line];
    y = rec.top;
    if (position >= rec.end) {
        x = rec.x + rec.width + ((rec.flags & CKWLineRecord::kEndsPara) ? kParaMarkWidth : 0.0);
        return;
    }
    x = rec.x;
    for (int p = LineStart(line); p < position; ++p)
        x += GetCharAdvance(p);
}

int CKWTextObject::LineOfPosition(int position, bool atEnd, int fromLine) const
{
    const int count = GetLineCount();
    if (count < 2)
        return 0;
    int line = std::clamp(fromLine, 0, count - 1);
    if (position < LineStart(line))
        line = 0;
    for (; line < count - 1; ++line) {
        const int end = m_lines[line].end;
        if (position < end || (atEnd && position == end))
            return line;
    }
    return count - 1;
}

int CKWTextObject::FindLineWithFlags(int fromLine, uint32_t flags) const
{
    for (int line = std::max(fromLine, 0); line < GetLineCount(); ++line) {
        if (m_lines[line].flags & flags)
            return line;
    }
    return -1;
}
