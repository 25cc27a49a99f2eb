// CKWEditEngine: scrolling, the rectangles of the selection, the caret and
// painting.
#include <algorithm>

#include "framework/KWBrush.h"
#include "framework/KWColor.h"
#include "framework/KWGraphics.h"
#include "text/KWEditEngine.h"
#include "text/KWTextObject.h"

namespace {

// Opaque light blue under the selected characters.
const CKWColor kSelectionColor = CKWColor::FromArgb(0xFF, 0xB6, 0xE8, 0xFC);
// The caret: nearly black.
const CKWColor kCaretColor = CKWColor::FromArgb(0xFF, 0x20, 0x20, 0x20);

}  // namespace

void CKWEditEngine::ScrollTo(double x, double y, bool updateNow)
{
    const bool xDiffers = x != GetScrollX();
    const bool yDiffers = y != GetScrollY();
    if (!xDiffers && !yDiffers)
        return;
    if (xDiffers)
        SetScrollX(x);
    if (yDiffers)
        SetScrollY(y);
    InvalidateAll();
    if (updateNow)
        UpdateNow();
}

void CKWEditEngine::UpdateView(const CKWDoubleRect* bounds)
{
    if (!m_text)
        return;
    CKWDoubleRect box;
    if (bounds)
        box = *bounds;
    else
        m_text->GetBounds(box);
    const CKWDoubleRect& place = m_text->GetRect();
    SIZE page, content;
    page.cx = m_mapper.ToWindowX(place.right) - m_mapper.ToWindowX(place.left);
    page.cy = m_mapper.ToWindowY(place.bottom) - m_mapper.ToWindowY(place.top);
    content.cx = m_mapper.ToWindowX(place.left + box.right) - m_mapper.ToWindowX(place.left + box.left);
    content.cy = m_mapper.ToWindowY(place.top + box.bottom) - m_mapper.ToWindowY(place.top + box.top);
    UpdateScrollBars(page, content);
}

void CKWEditEngine::EnsureCaretVisible()
{
    bool vertical = false;
    GetScrollBarsShown(nullptr, &vertical);
    if (!vertical || !m_text || m_text->GetLineCount() == 0)
        return;
    ValidateLines();
    const CKWTextPos& free = m_pivot.pos != m_start.pos ? m_start : m_end;
    const int line = std::clamp(free.line, 0, m_text->GetLineCount() - 1);
    double x = 0, top = 0;
    m_text->PositionToPoint(free.pos, line, x, top);
    const double bottom = top + m_text->GetLine(line).height;
    const double y = GetScrollY();
    const double height = m_text->GetRect().Height();
    if (top - y < 0)
        ScrollTo(0, top, true);
    else if (bottom - y > height)
        ScrollTo(0, bottom - height, true);
}

void CKWEditEngine::GetSelectionRects(std::vector<RECT>& list, int start, int end)
{
    if (!m_text)
        return;
    if (start == 0 && end == 0) {
        ValidateLines();
        AppendRangeRects(list, m_start, m_end);
        return;
    }
    const CKWTextPos a = PosAt(std::min(start, end), false);
    AppendRangeRects(list, a, start == end ? a : PosAt(std::max(start, end), true, a.line));
}

void CKWEditEngine::AppendRangeRects(std::vector<RECT>& list, CKWTextPos start, CKWTextPos end)
{
    const int lines = m_text ? m_text->GetLineCount() : 0;
    if (lines == 0)
        return;
    start.line = std::clamp(start.line, 0, lines - 1);
    end.line = std::clamp(end.line, start.line, lines - 1);
    const CKWDoubleRect& place = m_text->GetRect();
    const double scrollY = GetScrollY();
    for (int k = start.line; k <= end.line; ++k) {
        const CKWLineRecord& line = m_text->GetLine(k);
        double x1 = 0, x2 = 0, y = 0;
        m_text->PositionToPoint(start.pos, k, x1, y);
        if (start.pos == end.pos)
            x2 = x1;
        else
            m_text->PositionToPoint(end.pos, k, x2, y);
        RECT rect;
        rect.left = m_mapper.ToWindowX(place.left + x1);
        rect.right = start.pos == end.pos ? rect.left + 1 : m_mapper.ToWindowX(place.left + x2);
        rect.top = m_mapper.ToWindowY(place.top + line.top - scrollY);
        rect.bottom = m_mapper.ToWindowY(place.top + line.top + line.height - scrollY);
        list.push_back(rect);
    }
}

void CKWEditEngine::InvalidateSelection()
{
    std::vector<RECT> rects;
    GetSelectionRects(rects, 0, 0);
    InvalidateRects(rects);
}

void CKWEditEngine::InvalidateRects(const std::vector<RECT>& list)
{
    for (const RECT& rect : list)
        InvalidateWindowRect(rect);
}

void CKWEditEngine::BlinkCaret()
{
    if (!m_text || !m_editing || m_start.pos != m_end.pos || m_dragging || m_blinkSuppress)
        return;
    m_caretHidden ^= 1;
    InvalidateSelection();
    UpdateNow();
}

void CKWEditEngine::PaintText(IKWGraphics& graphics, const CKWDoubleRect& clip)
{
    if (!m_text)
        return;
    m_text->Draw(graphics, clip);
    if (!m_caretHidden)
        PaintCaret(graphics);
}

void CKWEditEngine::PaintSelection(IKWGraphics& graphics)
{
    if (!m_text)
        return;
    if (m_start.pos == m_end.pos) {
        PaintCaret(graphics);
        return;
    }
    std::vector<RECT> rects;
    GetSelectionRects(rects, 0, 0);
    graphics.BeginPath();
    for (const RECT& rect : rects)
        graphics.AddRectangle(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    graphics.FillPath(CKWBrush(kSelectionColor));
}

void CKWEditEngine::PaintCaret(IKWGraphics& graphics)
{
    if (!m_text || m_start.pos != m_end.pos || m_text->GetLineCount() == 0)
        return;
    ValidateLines();
    const int line = std::clamp(m_start.line, 0, m_text->GetLineCount() - 1);
    double x = 0, top = 0;
    m_text->PositionToPoint(m_start.pos, line, x, top);
    const CKWDoubleRect& place = m_text->GetRect();
    const int left = m_mapper.ToWindowX(place.left + x);
    const int y1 = m_mapper.ToWindowY(place.top + top);
    const int y2 = m_mapper.ToWindowY(place.top + top + m_text->GetLine(line).height);
    graphics.BeginPath();
    graphics.AddRectangle(left, y1, 1, y2 - y1);
    graphics.FillPath(CKWBrush(kCaretColor));
}
