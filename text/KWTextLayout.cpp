// CKWTextObject: measuring, line breaking and relayout.
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>

#include "framework/KWArchive.h"
#include "framework/KWFont.h"
#include "framework/KWGraphics.h"
#include "text/KWFontMetrics.h"
#include "text/KWScreenGraphics.h"
#include "text/KWTextObject.h"

namespace {

const int kStackWidths = 1024;
const double kHighPrecisionPixels = 2048.0;

// The widths measured so far in one font, kept while a range is measured:
// a text of many runs in few fonts makes each font and measures each
// character once rather than once per run.
struct MeasuredFont {
    std::unique_ptr<CKWFont> font;
    std::unordered_map<wchar_t, double> widths;
};
using FontKey = std::tuple<std::wstring, double, uint8_t>;

bool IsBreakChar(wchar_t ch)
{
    return ch == L' ' || ch == L'-' || ch == L'\t';
}

}  // namespace

CKWTextObject::CKWTextObject() {}

CKWTextObject::~CKWTextObject() {}

void CKWTextObject::SetRect(const CKWDoubleRect& rect)
{
    m_rect = rect;
    OnParasChanged();
}

void CKWTextObject::Serialize(CKWArchive& ar)
{
    CKWTextData::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteDouble(m_rect.left);
        ar.WriteDouble(m_rect.top);
        ar.WriteDouble(m_rect.right);
        ar.WriteDouble(m_rect.bottom);
    } else {
        m_rect.left = ar.ReadDouble();
        m_rect.top = ar.ReadDouble();
        m_rect.right = ar.ReadDouble();
        m_rect.bottom = ar.ReadDouble();
        OnParasChanged();
    }
}

void CKWTextObject::Copy(const CKWTextData& source)
{
    CKWTextData::Copy(source);
    m_widthsValid = m_preciseValid = m_layoutValid = false;
}

double CKWTextObject::GetCharAdvance(int position) const
{
    return position >= 0 && position < static_cast<int>(m_widths.size()) ? m_widths[position] : 0.0;
}

void CKWTextObject::EnsureWidths()
{
    if (!m_widthsValid || static_cast<int>(m_widths.size()) != GetLength()) {
        MeasureRange(0, -1, false);
        m_layoutValid = false;
    }
}

void CKWTextObject::EnsurePreciseWidths()
{
    if (!m_preciseValid || static_cast<int>(m_preciseWidths.size()) != GetLength())
        MeasureRange(0, -1, true);
}

void CKWTextObject::UpdateLayout()
{
    if (!m_widthsValid || static_cast<int>(m_widths.size()) != GetLength())
        EnsureWidths();
    else if (m_layoutValid)
        return;
    LayoutLines(m_lines, 0, GetLength(), m_rect, false, true);
    m_layoutValid = true;
}

void CKWTextObject::MeasureRange(int from, int to, bool highPrecision)
{
    const int length = GetLength();
    std::vector<double>& target = highPrecision ? m_preciseWidths : m_widths;
    target.resize(static_cast<size_t>(length), 0.0);
    if (to < 0 || to > length)
        to = length;
    from = std::clamp(from, 0, to);
    const wchar_t* text = GetText().GetString();
    CKWScreenGraphics& screen = GetScreenGraphics();
    IKWGraphics* g = screen.GetGraphics();
    const double dpi = screen.GetDpi();

    double stackBuffer[kStackWidths];
    std::unique_ptr<double[]> heapBuffer;
    std::map<FontKey, MeasuredFont> fonts;
    int runIndex = 0, runEnd = 0;
    for (int pos = from; pos < to;) {
        const CKWCharFormat& run = LocateRun(pos, &runIndex, &runEnd);
        int segEnd = std::min(runEnd, to);
        if (segEnd <= pos)
            segEnd = to;
        const int count = segEnd - pos;
        double* widths = stackBuffer;
        if (count > kStackWidths) {
            heapBuffer.reset(new double[count]);
            widths = heapBuffer.get();
        }
        const double pixelSize = std::max<int>(run.m_size, 1) * dpi / 72.0;
        int measured = 0;
        if (g) {
            const uint8_t style = run.m_style & (CKWCharFormat::kBold | CKWCharFormat::kItalic | CKWCharFormat::kUnderline);
            const double size = highPrecision ? kHighPrecisionPixels : pixelSize;
            const FontKey key(run.GetFaceName(GetFontTable()), size, style);
            MeasuredFont& known = fonts[key];
            if (!known.font)
                known.font.reset(new CKWFont(std::get<0>(key).c_str(), size, style));
            // Characters not met in this font yet are measured; the rest are known.
            while (measured < count) {
                auto found = known.widths.find(text[pos + measured]);
                if (found == known.widths.end())
                    break;
                widths[measured++] = found->second;
            }
            if (measured < count && known.font->GetFont()) {
                const int more = g->GetCharWidths(text + pos + measured, count - measured, *known.font,
                                                  widths + measured, count - measured);
                for (int k = measured; k < measured + more; ++k)
                    known.widths.emplace(text[pos + k], widths[k]);
                measured += more;
            }
        }
        const double scale = (highPrecision ? pixelSize / kHighPrecisionPixels : 1.0) * 254.0 / dpi;
        for (int k = 0; k < count; ++k) {
            const wchar_t ch = text[pos + k];
            target[pos + k] = (k < measured && ch != L'\n' && ch != L'\r') ? widths[k] * scale : 0.0;
        }
        pos = segEnd;
    }
    if (from == 0 && to == length)
        (highPrecision ? m_preciseValid : m_widthsValid) = true;
}

const CKWParaFormat& CKWTextObject::ParaFormatAt(int pos) const
{
    RecordCursor cursor;
    return ParaFormatAt(pos, cursor);
}

const CKWParaFormat& CKWTextObject::ParaFormatAt(int pos, RecordCursor& cursor) const
{
    const wchar_t* text = GetText().GetString();
    pos = std::clamp(pos, 0, GetLength());
    while (pos > 0 && text[pos - 1] != L'\n')
        --pos;
    return LocateParaAt(pos, &cursor.paraIndex, &cursor.paraEnd);
}

const CKWFontMetrics& CKWTextObject::LargestMetrics(int start, int end, RecordCursor& cursor) const
{
    int& index = cursor.runIndex;
    int& runEnd = cursor.runEnd;
    const CKWCharFormat* largest = &LocateRun(start, &index, &runEnd);
    while (runEnd < end && index + 1 < GetRunCount()) {
        const CKWCharFormat& run = LocateRun(runEnd, &index, &runEnd);
        if (run.m_size > largest->m_size)
            largest = &run;
    }
    return KWGetFontMetrics(*largest, GetFontTable());
}

int CKWTextObject::LayoutLines(CKWLineVector& lines, int start, int end, const CKWDoubleRect& rect,
                               bool stopAtHeight, bool closingLine)
{
    return LayoutFrom(lines, m_widths, start, end, rect, stopAtHeight, closingLine, 0.0);
}

int CKWTextObject::LayoutFrom(CKWLineVector& lines, std::vector<double>& widths, int start, int end,
                              const CKWDoubleRect& rect, bool stopAtHeight, bool closingLine, double y0)
{
    lines.clear();
    const int length = GetLength();
    if (static_cast<int>(widths.size()) != length)
        widths.resize(static_cast<size_t>(length), 0.0);
    end = std::clamp(end, 0, length);
    start = std::clamp(start, 0, end);
    const wchar_t* text = GetText().GetString();
    const double width = std::max(rect.Width(), 0.0);
    const double height = rect.Height();
    const double tolerance = width * 0.001;

    double y = y0;
    int pos = start;
    // The lines come in order: their records are found from the last line's.
    RecordCursor cursor;
    const CKWParaFormat* para = &ParaFormatAt(pos, cursor);
    bool paraStart = pos == 0 || text[pos - 1] == L'\n';

    auto finishLine = [&](int lineStart, int lineEnd, double lineWidth, double usable, double indent,
                          bool first, bool endsPara) {
        CKWLineRecord line;
        line.width = lineWidth;
        line.end = lineEnd;
        double offset = 0.0;
        if (para->m_align == CKWParaFormat::kAlignCenter)
            offset = (usable - lineWidth) / 2.0;
        else if (para->m_align == CKWParaFormat::kAlignRight)
            offset = usable - lineWidth;
        line.x = indent + std::max(offset, 0.0);
        line.metrics = &LargestMetrics(lineStart, std::max(lineEnd, lineStart + 1), cursor);
        line.height = para->ApplyLineSpacing(line.metrics->lineHeight);
        line.flags = 0;
        if (first)
            line.flags |= CKWLineRecord::kFirstOfPara;
        if (endsPara)
            line.flags |= CKWLineRecord::kEndsPara;
        if (para->m_lineSpacing >= 0.0f)
            line.flags |= CKWLineRecord::kNotPercent;
        line.top = y;
        lines.push_back(line);
        y += line.height;
        if (endsPara || lineEnd >= length)
            y += para->m_spaceAfter;
    };

    while (pos < end) {
        if (paraStart) {
            para = &ParaFormatAt(pos, cursor);
            y += para->m_spaceBefore;
        }
        const bool first = paraStart;
        const double indent = para->m_leftIndent + (first ? para->m_firstLine : 0.0f);
        const double usable = std::max(width - indent - para->m_rightIndent, 0.0);

        const int lineStart = pos;
        double lineWidth = 0.0;
        int breakAt = -1;  // last break opportunity on the line
        double widthThroughBreak = 0.0;
        bool endsPara = false;
        int i = pos;
        while (i < end) {
            const wchar_t ch = text[i];
            if (ch == L'\n') {
                ++i;
                endsPara = true;
                break;
            }
            double w = widths[i];
            if (ch == L'\t') {
                const double at = indent + lineWidth;
                w = (std::floor(at / kTabStep) + 1.0) * kTabStep - at;
                widths[i] = w;
            }
            if (lineWidth + w > usable + tolerance) {
                if (i == lineStart) {  // alone on its line, however wide
                    lineWidth += w;
                    ++i;
                } else if (ch == L' ') {
                    lineWidth += w;  // a space hangs past the margin
                    ++i;
                } else if (breakAt >= lineStart) {
                    i = breakAt + 1;
                    lineWidth = widthThroughBreak;
                }  // else a long word is cut before this character
                break;
            }
            lineWidth += w;
            if (IsBreakChar(ch)) {
                breakAt = i;
                widthThroughBreak = lineWidth;
            }
            ++i;
        }
        finishLine(lineStart, i, lineWidth, usable, indent, first, endsPara);
        pos = i;
        paraStart = endsPara;
        if (stopAtHeight && y >= height)
            break;
    }

    // An empty text, and a text that ends with a line feed, show the caret on
    // an empty last line.
    if (closingLine && pos == length && end == length && (length == 0 || text[length - 1] == L'\n') &&
        !(stopAtHeight && !lines.empty() && y >= height)) {
        para = &ParaFormatAt(pos, cursor);
        y += para->m_spaceBefore;
        const double usable = std::max(width - para->m_leftIndent - para->m_firstLine - para->m_rightIndent, 0.0);
        finishLine(pos, pos, 0.0, usable, para->m_leftIndent + para->m_firstLine, true, false);
    }
    return static_cast<int>(lines.size());
}

int CKWTextObject::CountPlacedLines(const CKWLineVector& lines, double height, int* fittingLines) const
{
    // A line fits while its bottom (paragraph spacing included) stays within
    // the height; a total equal to the height still fits.
    int fit = 0;
    const double limit = height + 1e-9 * std::max(std::fabs(height), 1.0);  // sums of doubles
    while (fit < static_cast<int>(lines.size()) && lines[fit].top + lines[fit].height <= limit)
        ++fit;
    if (fittingLines)
        *fittingLines = fit;
    return std::max(fit, lines.empty() ? 0 : 1);
}

int CKWTextObject::GetFittingEnd(const CKWDoubleRect& rect, int start, int* fittingLines)
{
    if (fittingLines)
        *fittingLines = 0;
    if (start < 0 || start >= GetLength())
        return -1;
    EnsurePreciseWidths();
    CKWLineVector lines;
    LayoutFrom(lines, m_preciseWidths, start, GetLength(), rect, false, false, 0.0);
    const int placed = CountPlacedLines(lines, rect.Height(), fittingLines);
    if (placed >= static_cast<int>(lines.size()))
        return -1;
    return lines[placed - 1].end;
}

CKWDoubleRect CKWTextObject::LinesBox(const CKWLineVector& lines, size_t first, size_t last) const
{
    // The whole width: alignment may move a line anywhere across it.
    CKWDoubleRect box(0, 0, std::max(m_rect.Width(), 0.0), 0);
    if (first >= lines.size() || first > last)
        return box;
    last = std::min(last, lines.size() - 1);
    for (size_t k = first; k <= last; ++k)
        box.right = std::max(box.right, lines[k].x + lines[k].width + kParaMarkWidth);
    box.top = lines[first].top;
    box.bottom = lines[last].top + lines[last].height;
    return box;
}

void CKWTextObject::RelayoutRange(int start, int startLine, int& end, int inserted,
                                  CKWDoubleRect* before, CKWDoubleRect* after)
{
    const int length = GetLength();
    const int removed = std::max(end - start, 0);
    const int delta = inserted - removed;
    const int oldLength = length - delta;
    const bool widthsInStep = static_cast<int>(m_widths.size()) == oldLength;
    const bool linesInStep = !m_lines.empty() && m_lines.back().end == oldLength && m_layoutValid;
    if (!widthsInStep || !linesInStep || start < 0 || start > length) {
        // Nothing to build on: the whole text again.
        if (before)
            *before = LinesBox(m_lines, 0, m_lines.empty() ? 0 : m_lines.size() - 1);
        m_widthsValid = false;
        UpdateLayout();
        end += delta;
        if (after)
            *after = LinesBox(m_lines, 0, m_lines.empty() ? 0 : m_lines.size() - 1);
        return;
    }

    // 1. Widths follow the change of length; the paragraphs touched are
    // measured again below (runs may have been split or formatted there).
    if (delta > 0)
        m_widths.insert(m_widths.begin() + start, static_cast<size_t>(delta), 0.0);
    else if (delta < 0)
        m_widths.erase(m_widths.begin() + start, m_widths.begin() + start - delta);

    // 2. From the line before the start's line (the start's own when it
    // begins a paragraph) to the last line of the paragraph that held end.
    const int lineCount = static_cast<int>(m_lines.size());
    int first = std::clamp(startLine, 0, lineCount - 1);
    while (first > 0 && start < LineStart(first))
        --first;
    if (first > 0 && !(m_lines[first].flags & CKWLineRecord::kFirstOfPara))
        --first;
    int last = first;
    while (last < lineCount - 1 && m_lines[last].end <= end)
        ++last;
    while (last < lineCount - 1 && !(m_lines[last].flags & CKWLineRecord::kEndsPara))
        ++last;
    if (m_lines[last].end >= oldLength)
        last = lineCount - 1;  // through the text end: the caret line is laid out again too
    const int from = LineStart(first);
    const int oldTo = m_lines[last].end;
    const int to = std::clamp(oldTo + delta, from, length);

    MeasureRange(from, to, false);
    double y0 = 0.0;
    if (first > 0) {
        const CKWLineRecord& prev = m_lines[first - 1];
        y0 = prev.top + prev.height;
        if (prev.flags & CKWLineRecord::kEndsPara)
            y0 += ParaFormatAt(LineStart(first - 1)).m_spaceAfter;
    }
    CKWLineVector scratch;
    LayoutFrom(scratch, m_widths, from, to, m_rect, false, to == length, y0);
    if (scratch.empty()) {  // an emptied text keeps its caret line
        m_widthsValid = false;
        UpdateLayout();
        end += delta;
        if (after)
            *after = LinesBox(m_lines, 0, m_lines.size() - 1);
        return;
    }

    const CKWDoubleRect oldBox = LinesBox(m_lines, first, last);
    const double oldBottom = m_lines[last].top + m_lines[last].height;
    const double newBottom = scratch.back().top + scratch.back().height;
    const double dy = newBottom - oldBottom;
    const int newLast = first + static_cast<int>(scratch.size()) - 1;
    m_lines.erase(m_lines.begin() + first, m_lines.begin() + last + 1);
    m_lines.insert(m_lines.begin() + first, scratch.begin(), scratch.end());
    for (size_t k = newLast + 1; k < m_lines.size(); ++k)
        m_lines[k].end += delta;

    // 3. The change of height moves the other lines by the growth mode.
    const uint8_t grow = GetBoxAttributes().growMode;
    double moveBefore = 0.0, moveChanged = 0.0, moveAfter = 0.0;
    if (grow == CKWTextBoxAttributes::kGrowDown) {
        moveAfter = dy;
    } else if (grow == CKWTextBoxAttributes::kGrowBoth) {
        moveBefore = moveChanged = -dy / 2.0;
        moveAfter = dy / 2.0;
    } else {
        moveBefore = moveChanged = -dy;
    }
    for (int k = 0; k < static_cast<int>(m_lines.size()); ++k)
        m_lines[k].top += k < first ? moveBefore : (k <= newLast ? moveChanged : moveAfter);

    // 4. The boxes to redraw; moved lines need it as much as changed ones.
    CKWDoubleRect newBox = LinesBox(m_lines, first, newLast);
    CKWDoubleRect oldCover = oldBox;
    if (dy != 0.0 && !m_lines.empty()) {
        const CKWDoubleRect all = LinesBox(m_lines, 0, m_lines.size() - 1);
        if (grow == CKWTextBoxAttributes::kGrowDown) {
            newBox.bottom = std::max(newBox.bottom, all.bottom);
            oldCover.bottom = std::max(oldCover.bottom, all.bottom - dy);
        } else if (grow == CKWTextBoxAttributes::kGrowBoth) {
            newBox = CKWDoubleRect(0, 0, m_rect.Width(), m_rect.Height());
            newBox.top = std::min(newBox.top, all.top);
            newBox.bottom = std::max(newBox.bottom, all.bottom);
        } else {
            newBox.top = std::min(newBox.top, all.top);
            oldCover.top = std::min(oldCover.top, all.top + dy);
        }
    }
    if (before)
        *before = oldCover;
    if (after)
        *after = newBox;
    end += delta;
    m_widthsValid = true;
    m_layoutValid = true;
}
