// CKWTextPanel: vertical scrolling, the scroll bar and the caret timer.
#include <algorithm>

#include "text/KWTextObject.h"
#include "text/KWTextPanel.h"

double CKWTextPanel::GetScrollY()
{
    return m_mapper.ToTextY(CKWWinPanel::GetScrollPos());
}

void CKWTextPanel::SetScrollY(double y)
{
    CKWWinPanel::SetScrollPos(m_mapper.ToWindowY(y));
}

void CKWTextPanel::ScrollTo(double x, double y, bool updateNow)
{
    if (y == GetScrollY()) {
        if (x != GetScrollX() && updateNow)
            UpdateNow();
        return;
    }
    const int old = CKWWinPanel::GetScrollPos();
    SetScrollY(y);
    // The bar keeps its position within the range: the contents move by
    // what it really moved.
    const int moved = CKWWinPanel::GetScrollPos() - old;
    if (moved == 0)
        return;
    RECT client = {};
    GetClientRect(&client);
    ScrollWindow(0, -moved, client);
    RECT band = client;
    if (moved > 0)
        band.top = std::max(client.top, client.bottom - moved);
    else
        band.bottom = std::min(client.bottom, client.top - moved);
    InvalidateRect(&band, TRUE);
    if (updateNow)
        UpdateNow();
}

void CKWTextPanel::UpdateScrollBars(const SIZE& pageSize, const SIZE& contentSize)
{
    bool shown = false;
    GetScrollBarsShown(nullptr, &shown);
    if (contentSize.cy <= pageSize.cy) {
        // Nothing to scroll: the bar goes and the text shows from its top.
        if (shown) {
            SCROLLINFO empty = {};
            empty.cbSize = sizeof empty;
            empty.fMask = SIF_ALL;
            ::SetScrollInfo(m_hWnd, SB_VERT, &empty, FALSE);
            ShowScrollBar(SB_VERT, FALSE);
            InvalidateAll();
        }
        return;
    }
    const uint32_t update = ++m_scrollBarUpdates;
    if (!shown) {
        ShowScrollBar(SB_VERT, TRUE);
        // The narrower client area came with a size change whose own update
        // has set the bar for the new layout.
        if (update != m_scrollBarUpdates)
            return;
        InvalidateAll();
    } else {
        SCROLLINFO old = {};
        old.cbSize = sizeof old;
        old.fMask = SIF_ALL;
        if (::GetScrollInfo(m_hWnd, SB_VERT, &old) && static_cast<UINT>(pageSize.cy) == old.nPage && old.nPos > 0 &&
            contentSize.cy < old.nMax)
            InvalidateAll();  // the bar's clamping will move the text
    }
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = contentSize.cy;
    info.nPage = static_cast<UINT>(pageSize.cy);
    ::SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
}

void CKWTextPanel::OnTimer(UINT_PTR id)
{
    if (id == kCaretTimerId && ++s_caretTicks == kBlinkTicks)
        BlinkCaret();
    if (s_caretTicks >= kBlinkTicks)
        s_caretTicks = 0;
    AutoScroll();
}

void CKWTextPanel::AutoScroll()
{
    bool vertical = false;
    GetScrollBarsShown(nullptr, &vertical);
    CKWTextObject* text = GetTextObject();
    if (!IsDragging() || !vertical || !text)
        return;
    POINT pointer;
    ::GetCursorPos(&pointer);
    ScreenToClient(&pointer);
    RECT client = {};
    GetClientRect(&client);
    if (::PtInRect(&client, pointer))
        return;
    const double y0 = GetScrollY();
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ::GetScrollInfo(m_hWnd, SB_VERT, &info);
    // A page larger than the range leaves nothing to scroll, not a wrapped maximum.
    const int maxPixels = std::max(info.nMax - static_cast<int>(info.nPage), 0);
    const double maxY = m_mapper.ToTextY(maxPixels);
    double y = y0;
    if (pointer.y < client.top)
        y = std::min(y0, std::max(y0 - m_mapper.ToTextY((client.top - pointer.y) / 2), 0.0));
    else if (pointer.y > client.bottom)
        y = std::max(y0, std::min(y0 + m_mapper.ToTextY((pointer.y - client.bottom) / 2), maxY));
    if (y == y0)
        return;
    ValidateLines();
    const CKWTextPos hit = HitPosition(TextX(pointer.x), m_mapper.ToTextY(pointer.y) + y0);
    const CKWTextPos freeEnd = m_pivot.pos < m_end.pos ? m_end : m_start;
    ScrollTo(GetScrollX(), y, false);
    // The selection reaches from the pivot to the point under the pointer,
    // on whichever side of the pivot that lies.
    SetSelection(m_pivot, hit, false);
    InvalidateLines(std::min(freeEnd.line, hit.line), std::max(freeEnd.line, hit.line));
    UpdateNow();
}
