#include "docking/bars/QMXPDockBarRow.h"

#include "docking/bars/QMXPControlBar.h"
#include "docking/bars/QMXPDockBar.h"
#include "docking/toolbars/QMXPGlobalData.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CQMXPDockBarRow, CObject)

namespace {

constexpr UINT kMoveFlags = SWP_NOZORDER | SWP_NOACTIVATE;

// The bars of a list as control bars (a dock bar holds only those).
CQMXPControlBar* BarAt(const CObList& list, POSITION pos) { return static_cast<CQMXPControlBar*>(list.GetAt(pos)); }

}  // namespace

CQMXPDockBarRow::CQMXPDockBarRow(CQMXPDockBar* pParentDockBar, int nOffset, int nHeight)
    : m_bIgnoreBarVisibility(FALSE),
      m_bVisible(TRUE),
      m_nRowHeight(nHeight),
      m_nRowOffset(nOffset),
      m_lstControlBars(10),
      m_dwRowAlignment(pParentDockBar->GetCurrentAlignment()),
      m_pParentDockBar(pParentDockBar),
      m_nExtraSpace(0),
      m_bExtraBeforeBars(FALSE),
      m_nLengthOverride(-1) {}

CQMXPDockBarRow::~CQMXPDockBarRow() = default;

BOOL CQMXPDockBarRow::IsBarShown(const CQMXPBaseControlBar* pBar) const {
    return m_bIgnoreBarVisibility || (pBar->GetStyle() & WS_VISIBLE) != 0;
}

void CQMXPDockBarRow::GetWindowRect(CRect& rect) const {
    m_pParentDockBar->GetWindowRect(&rect);
    if (IsHorizontal()) {
        rect.top += m_nRowOffset;
        rect.bottom = rect.top + m_nRowHeight;
    } else {
        rect.left += m_nRowOffset;
        rect.right = rect.left + m_nRowHeight;
    }
}

void CQMXPDockBarRow::GetClientRect(CRect& rect) const {
    m_pParentDockBar->GetClientRect(&rect);
    if (IsHorizontal())
        rect.bottom = rect.top + m_nRowHeight;
    else
        rect.right = rect.left + m_nRowHeight;
}

int CQMXPDockBarRow::RowLength() const {
    if (m_nLengthOverride >= 0)
        return m_nLengthOverride;
    CRect rect;
    m_pParentDockBar->GetClientRect(&rect);
    return Length(rect);
}

CRect CQMXPDockBarRow::BarRect(const CQMXPBaseControlBar* pBar) const {
    CRect rect;
    pBar->GetWindowRect(&rect);
    m_pParentDockBar->ScreenToClient(&rect);
    return rect;
}

CRect CQMXPDockBarRow::BarFullRect(const CQMXPControlBar* pBar) { return pBar->GetFullSizeClientRect(); }

void CQMXPDockBarRow::GetShrunkRect(CRect& rect) const {
    GetWindowRect(rect);
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CQMXPBaseControlBar*>(m_lstControlBars.GetNext(pos));
        if (!IsBarShown(pBar))
            continue;
        const CRect rectBar = BarRect(pBar);
        if (IsHorizontal())
            rect.InflateRect(-rectBar.Width(), 0);
        else
            rect.InflateRect(0, -rectBar.Height());
    }
}

int CQMXPDockBarRow::GetVisibleBarCount() const {
    int nCount = 0;
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        if (IsBarShown(static_cast<CQMXPBaseControlBar*>(m_lstControlBars.GetNext(pos))))
            ++nCount;
    }
    return nCount;
}

CSize CQMXPDockBarRow::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    if (!m_bVisible)
        return IsHorizontal() ? CSize(32767, 0) : CSize(0, 32767);
    CSize sizeRow(0, 0);
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CQMXPBaseControlBar*>(m_lstControlBars.GetNext(pos));
        if (!IsBarShown(pBar))
            continue;
        const CSize size = pBar->CalcFixedLayout(bStretch, bHorz);
        if (IsHorizontal()) {
            sizeRow.cx += size.cx;
            sizeRow.cy = std::max<LONG>(sizeRow.cy, size.cy);
        } else {
            sizeRow.cy += size.cy;
            sizeRow.cx = std::max<LONG>(sizeRow.cx, size.cx);
        }
    }
    LONG& across = IsHorizontal() ? sizeRow.cy : sizeRow.cx;
    if (across > 0)
        across += m_nExtraSpace;
    return sizeRow;
}

void CQMXPDockBarRow::AddControlBar(CQMXPControlBar* pControlBar, int, LPCRECT lpRect, BOOL bAddToTheEnd) {
    int nAlong = 0;
    int nAcross = m_nRowOffset;
    if (lpRect != nullptr && !::IsRectEmpty(lpRect)) {
        CRect rectRow;
        GetWindowRect(rectRow);
        nAlong = Near(CRect(lpRect)) - Near(rectRow);
    } else {
        if (bAddToTheEnd && !m_lstControlBars.IsEmpty()) {
            const int nLastFar = Far(BarRect(static_cast<CQMXPBaseControlBar*>(m_lstControlBars.GetTail())));
            if (nLastFar > 0)
                nAlong = nLastFar + globalData.dockBarMargin;
        }
        if (m_bExtraBeforeBars)
            nAcross += m_nExtraSpace;
    }
    const CSize size = pControlBar->CalcFixedLayout(FALSE, IsHorizontal());
    const CPoint pt = IsHorizontal() ? CPoint(nAlong, nAcross) : CPoint(nAcross, nAlong);
    pControlBar->SetWindowPos(nullptr, pt.x, pt.y, size.cx, size.cy, kMoveFlags | SWP_FRAMECHANGED);
    InsertBarOrdered(pControlBar);
    pControlBar->UpdateFullSizeRect();
}

void CQMXPDockBarRow::PlaceBarAtCursor(CQMXPControlBar* pControlBar, int dockMethod) {
    int nAlong;
    if (dockMethod == 1) {
        CPoint ptCursor;
        ::GetCursorPos(&ptCursor);
        m_pParentDockBar->ScreenToClient(&ptCursor);
        // The hot point lies in the bar's client area; the window starts its
        // non-client border earlier.
        CRect rectWindow;
        pControlBar->GetWindowRect(&rectWindow);
        CPoint ptClientOrigin(0, 0);
        pControlBar->ClientToScreen(&ptClientOrigin);
        const CPoint ptHot = pControlBar->GetHotPoint();
        nAlong = IsHorizontal() ? ptCursor.x - ptHot.x - (ptClientOrigin.x - rectWindow.left)
                                : ptCursor.y - ptHot.y - (ptClientOrigin.y - rectWindow.top);
    } else {
        nAlong = Near(BarRect(pControlBar));
    }
    const CPoint pt = IsHorizontal() ? CPoint(nAlong, m_nRowOffset) : CPoint(m_nRowOffset, nAlong);
    pControlBar->SetWindowPos(nullptr, pt.x, pt.y, 0, 0, kMoveFlags | SWP_NOSIZE);
    InsertBarOrdered(pControlBar);
    pControlBar->UpdateFullSizeRect();
}

void CQMXPDockBarRow::InsertBarOrdered(CQMXPControlBar* pControlBar) {
    POSITION posOld = m_lstControlBars.Find(pControlBar);
    if (posOld != nullptr)
        m_lstControlBars.RemoveAt(posOld);
    CRect rectNew;
    pControlBar->GetWindowRect(&rectNew);
    POSITION posBefore = nullptr;
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr; m_lstControlBars.GetNext(pos)) {
        if (BarAt(m_lstControlBars, pos)->IsLeftOf(rectNew.TopLeft(), TRUE)) {
            posBefore = pos;
            break;
        }
    }
    if (posBefore != nullptr)
        m_lstControlBars.InsertBefore(posBefore, pControlBar);
    else
        m_lstControlBars.AddTail(pControlBar);
    UpdateVisibleState(TRUE);
    const CRect rectBar = BarRect(pControlBar);
    const int nThickness = IsHorizontal() ? rectBar.Height() : rectBar.Width();
    if (nThickness > m_nRowHeight)
        m_pParentDockBar->ResizeRow(this, m_nExtraSpace + nThickness, TRUE);
    pControlBar->SetDockBarRow(this);
    ArrangeBars(pControlBar);
}

void CQMXPDockBarRow::ForgetControlBar(const CQMXPBaseControlBar* pControlBar) {
    POSITION pos = m_lstControlBars.Find(const_cast<CQMXPBaseControlBar*>(pControlBar));
    if (pos != nullptr)
        m_lstControlBars.RemoveAt(pos);
}

void CQMXPDockBarRow::RemoveControlBar(CQMXPBaseControlBar* pControlBar) {
    POSITION pos = m_lstControlBars.Find(pControlBar);
    if (pos == nullptr)
        return;
    HDWP hdwp = nullptr;
    auto* pBar = static_cast<CQMXPControlBar*>(pControlBar);
    pBar->StretchBar(65535, hdwp);
    m_lstControlBars.RemoveAt(pos);
    pBar->SetDockBarRow(nullptr);
    if (m_lstControlBars.IsEmpty()) {
        m_pParentDockBar->RemoveRow(this);  // deletes this row
        return;
    }
    UpdateBarRects(pControlBar, TRUE);
    ExpandStretchedBars(hdwp);
    ArrangeBars(nullptr);
    UpdateVisibleState(FALSE);
    int nThickest = 0;
    for (POSITION posBar = m_lstControlBars.GetHeadPosition(); posBar != nullptr;) {
        auto* pOther = static_cast<CQMXPBaseControlBar*>(m_lstControlBars.GetNext(posBar));
        if (!IsBarShown(pOther))
            continue;
        const CRect rect = BarRect(pOther);
        nThickest = std::max(nThickest, IsHorizontal() ? rect.Height() : rect.Width());
    }
    if (nThickest > 0)
        nThickest += m_nExtraSpace;
    if (nThickest < m_nRowHeight)
        m_pParentDockBar->ResizeRow(this, nThickest, TRUE);
}

int CQMXPDockBarRow::ChangeExtent(int nOffset) {
    m_nRowHeight += nOffset;
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;)
        static_cast<CQMXPBaseControlBar*>(m_lstControlBars.GetNext(pos))->AdjustLayout();
    return nOffset;
}

void CQMXPDockBarRow::Move(int nOffset) {
    m_nRowOffset += nOffset;
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        CQMXPControlBar* pBar = BarAt(m_lstControlBars, pos);
        m_lstControlBars.GetNext(pos);
        CRect rect = BarRect(pBar);
        const int dx = IsHorizontal() ? 0 : nOffset;
        const int dy = IsHorizontal() ? nOffset : 0;
        pBar->SetWindowPos(nullptr, rect.left + dx, rect.top + dy, 0, 0, kMoveFlags | SWP_NOSIZE);
        pBar->OffsetFullSizeRect(dx, dy);
    }
}

int CQMXPDockBarRow::GetFreeSpace(BOOL bUseFullSize) const {
    int nFree = RowLength();
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        CQMXPControlBar* pBar = BarAt(m_lstControlBars, pos);
        m_lstControlBars.GetNext(pos);
        if (IsBarShown(pBar))
            nFree -= Length(bUseFullSize ? BarFullRect(pBar) : BarRect(pBar));
    }
    return nFree;
}

BOOL CQMXPDockBarRow::HasSingleRowBar() const {
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        if (!BarAt(m_lstControlBars, pos)->CanShareRow())
            return TRUE;
        m_lstControlBars.GetNext(pos);
    }
    return FALSE;
}

BOOL CQMXPDockBarRow::ReplaceControlBar(CQMXPBaseControlBar* pBarOld, CQMXPBaseControlBar* pBarNew) {
    POSITION pos = m_lstControlBars.Find(pBarOld);
    if (pos == nullptr)
        return FALSE;
    m_lstControlBars.SetAt(pos, pBarNew);
    return TRUE;
}

// Visibility ------------------------------------------------------------

void CQMXPDockBarRow::UpdateVisibleState(BOOL bDelay) {
    CWnd* pFrame = m_pParentDockBar->GetDockSiteFrameWnd();
    if (pFrame == nullptr)
        pFrame = m_pParentDockBar->GetParent();
    const BOOL bFrameShown = pFrame != nullptr && (pFrame->GetStyle() & WS_VISIBLE) != 0;
    BOOL bVisible = FALSE;
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr && !bVisible;) {
        auto* pBar = static_cast<CQMXPBaseControlBar*>(m_lstControlBars.GetNext(pos));
        if (!bFrameShown && pBar->IsRestoredFromRegistry())
            bVisible = pBar->GetRecentVisibleState();
        else
            bVisible = IsBarShown(pBar);
    }
    if (bVisible != m_bVisible)
        ShowRow(bVisible, bDelay);
}

void CQMXPDockBarRow::ShowRow(BOOL bShow, BOOL bDelay) {
    m_bVisible = bShow;
    m_pParentDockBar->ShowRow(this, bShow, !bDelay);
}

BOOL CQMXPDockBarRow::ShowControlBar(CQMXPBaseControlBar* pControlBar, BOOL bShow, BOOL bDelay) {
    if (m_lstControlBars.Find(pControlBar) == nullptr)
        return FALSE;
    pControlBar->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    UpdateVisibleState(bDelay);
    HDWP hdwp = nullptr;
    if (bShow) {
        pControlBar->RefreshLayout();
        ArrangeBars(static_cast<CQMXPControlBar*>(pControlBar));
    } else {
        ExpandStretchedBars(hdwp);
    }
    if (!bDelay) {
        CRect rectDockBar;
        m_pParentDockBar->GetClientRect(&rectDockBar);
        m_pParentDockBar->OnSizeChanged(rectDockBar);
        RepositionBars(rectDockBar, QMXP_EDGE_NONE, FALSE, 0);
    }
    return TRUE;
}

// Slots -------------------------------------------------------------------

CQMXPDockBarRow::Slots CQMXPDockBarRow::VisibleSlots() const {
    Slots slots;
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        CQMXPControlBar* pBar = BarAt(m_lstControlBars, pos);
        m_lstControlBars.GetNext(pos);
        if (IsBarShown(pBar))
            slots.push_back({pBar, BarRect(pBar)});
    }
    return slots;
}

void CQMXPDockBarRow::ApplySlots(const Slots& slots, HDWP& hdwp, UINT nFlags) {
    for (const Slot& slot : slots) {
        if (BarRect(slot.pBar) != slot.rect)
            hdwp = slot.pBar->SetWindowPos(nullptr, slot.rect.left, slot.rect.top, slot.rect.Width(),
                                           slot.rect.Height(), kMoveFlags | nFlags, hdwp);
    }
}

int CQMXPDockBarRow::SlotOf(const Slots& slots, const CQMXPBaseControlBar* pBar) {
    for (size_t i = 0; i < slots.size(); ++i) {
        if (slots[i].pBar == pBar)
            return static_cast<int>(i);
    }
    return -1;
}

void CQMXPDockBarRow::ResolveSlots(Slots& slots, int nStart, BOOL bForward) const {
    const int nStep = bForward ? 1 : -1;
    for (int i = nStart + nStep; i >= 0 && i < static_cast<int>(slots.size()); i += nStep) {
        const CRect& prev = slots[static_cast<size_t>(i - nStep)].rect;
        CRect& rect = slots[static_cast<size_t>(i)].rect;
        if (bForward && Near(rect) < Far(prev))
            OffsetAlong(rect, Far(prev) - Near(rect));
        else if (!bForward && Far(rect) > Near(prev))
            OffsetAlong(rect, Near(prev) - Far(rect));
    }
}

void CQMXPDockBarRow::PushSlots(Slots& slots, int nStart, int nDelta, BOOL bForward) const {
    if (nStart < 0 || nStart >= static_cast<int>(slots.size()))
        return;
    const int nStep = bForward ? 1 : -1;
    CRect rectPrevOld = slots[static_cast<size_t>(nStart)].rect;
    OffsetAlong(slots[static_cast<size_t>(nStart)].rect, nDelta);
    for (int i = nStart + nStep; i >= 0 && i < static_cast<int>(slots.size()); i += nStep) {
        CRect& rect = slots[static_cast<size_t>(i)].rect;
        const int nGap = bForward ? Near(rect) - Far(rectPrevOld) : Near(rectPrevOld) - Far(rect);
        nDelta += bForward ? -std::max(nGap, 0) : std::max(nGap, 0);
        if (bForward ? nDelta < 1 : nDelta >= 0)
            break;
        rectPrevOld = rect;
        OffsetAlong(rect, nDelta);
    }
}

void CQMXPDockBarRow::ReturnSlots(Slots& slots, int nFrom, BOOL bForward, int nMax) const {
    const int nStep = bForward ? 1 : -1;
    for (int i = nFrom + nStep; i >= 0 && i < static_cast<int>(slots.size()); i += nStep) {
        Slot& slot = slots[static_cast<size_t>(i)];
        const int nAway = Near(BarFullRect(slot.pBar)) - Near(slot.rect);
        if (nAway == 0)
            continue;
        const int nMove = nAway > 0 ? std::min(nAway, nMax) : std::max(nAway, -nMax);
        OffsetAlong(slot.rect, nMove);
        // A bar coming back stops at its neighbour toward the moved bar.
        const int nPrev = i - nStep;
        const CRect& prev = slots[static_cast<size_t>(nPrev)].rect;
        if (bForward && Near(slot.rect) < Far(prev))
            OffsetAlong(slot.rect, Far(prev) - Near(slot.rect));
        else if (!bForward && Far(slot.rect) > Near(prev))
            OffsetAlong(slot.rect, Near(prev) - Far(slot.rect));
    }
}

// Arranging ------------------------------------------------------------------

void CQMXPDockBarRow::ExpandStretchedBars(HDWP& hdwp) {
    int nFree = GetFreeSpace(FALSE);
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr && nFree > 0;) {
        CQMXPControlBar* pBar = BarAt(m_lstControlBars, pos);
        m_lstControlBars.GetNext(pos);
        if (IsBarShown(pBar))
            nFree -= pBar->StretchBar(nFree, hdwp);
    }
}

void CQMXPDockBarRow::ShrinkFromEnd(int nMissing, HDWP& hdwp) {
    for (POSITION pos = m_lstControlBars.GetTailPosition(); pos != nullptr && nMissing > 0;) {
        CQMXPControlBar* pBar = BarAt(m_lstControlBars, pos);
        m_lstControlBars.GetPrev(pos);
        if (!IsBarShown(pBar))
            continue;
        const int nGiven = -pBar->StretchBar(-nMissing, hdwp);
        if (nGiven < nMissing) {
            CRect rect = BarRect(pBar);
            OffsetAlong(rect, nGiven - nMissing);
            pBar->SetWindowPos(nullptr, rect.left, rect.top, 0, 0, kMoveFlags | SWP_NOSIZE);
        }
        nMissing -= nGiven;
    }
}

void CQMXPDockBarRow::ArrangeBars(CQMXPControlBar* pInitialBar) {
    CRect rectClient;
    GetClientRect(rectClient);
    if (m_lstControlBars.IsEmpty() || rectClient.IsRectEmpty())
        return;
    HDWP hdwp = nullptr;
    const int nFree = GetFreeSpace(FALSE);
    if (m_lstControlBars.GetCount() == 1 && nFree < 0) {
        CQMXPControlBar* pBar = pInitialBar != nullptr ? pInitialBar : BarAt(m_lstControlBars, m_lstControlBars.GetHeadPosition());
        pBar->StretchBar(nFree, hdwp);
        const CPoint pt = IsHorizontal() ? CPoint(0, m_nRowOffset) : CPoint(m_nRowOffset, 0);
        pBar->SetWindowPos(nullptr, pt.x, pt.y, 0, 0, kMoveFlags | SWP_NOSIZE);
        return;
    }
    Slots slots = VisibleSlots();
    if (slots.empty())
        return;
    const int nInitial = SlotOf(slots, pInitialBar);
    if (nInitial >= 0) {
        ResolveSlots(slots, nInitial, FALSE);
        ResolveSlots(slots, nInitial, TRUE);
    } else {
        ResolveSlots(slots, 0, TRUE);
    }
    const int nBeforeStart = -Near(slots.front().rect);
    if (nBeforeStart > 0)
        PushSlots(slots, 0, nBeforeStart, TRUE);
    const int nLast = static_cast<int>(slots.size()) - 1;
    const int nOverflow = Far(slots.back().rect) - RowLength();
    if (nOverflow > 0)
        PushSlots(slots, nLast, nFree >= 1 ? -nOverflow : std::abs(nFree) - nOverflow, FALSE);
    ApplySlots(slots, hdwp);
    if (nOverflow > 0 && nFree < 0)
        ShrinkFromEnd(-nFree, hdwp);
}

void CQMXPDockBarRow::FitBars() {
    Slots slots = VisibleSlots();
    if (slots.empty())
        return;
    int nFree = RowLength();
    for (const Slot& slot : slots)
        nFree -= Length(slot.rect);
    // Each bar's working rectangle lengthens or shortens at its far end.
    for (Slot& slot : slots) {
        if (nFree == 0)
            break;
        const int nChange = nFree > 0 ? std::min(nFree, slot.pBar->GetAvailableExpandSize())
                                      : std::max(nFree, -std::max(slot.pBar->GetAvailableStretchSize(), 0));
        (IsHorizontal() ? slot.rect.right : slot.rect.bottom) += nChange;
        nFree -= nChange;
    }
    ResolveSlots(slots, 0, TRUE);
    const int nBeforeStart = -Near(slots.front().rect);
    if (nBeforeStart > 0)
        PushSlots(slots, 0, nBeforeStart, TRUE);
    const int nOverflow = Far(slots.back().rect) - RowLength();
    if (nOverflow > 0)
        PushSlots(slots, static_cast<int>(slots.size()) - 1, -nOverflow, FALSE);
    HDWP hdwp = nullptr;
    ApplySlots(slots, hdwp);
}

void CQMXPDockBarRow::UpdateBarRects(CQMXPBaseControlBar* pExclude, BOOL bRePlace) {
    HDWP hdwp = bRePlace ? ::BeginDeferWindowPos(static_cast<int>(m_lstControlBars.GetCount())) : nullptr;
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        CQMXPControlBar* pBar = BarAt(m_lstControlBars, pos);
        m_lstControlBars.GetNext(pos);
        if (pBar == pExclude || !IsBarShown(pBar))
            continue;
        if (!bRePlace) {
            pBar->UpdateFullSizeRect();
            continue;
        }
        const CRect rectFull = BarFullRect(pBar);
        if (BarRect(pBar) != rectFull)
            hdwp = pBar->SetWindowPos(nullptr, rectFull.left, rectFull.top, rectFull.Width(), rectFull.Height(),
                                      kMoveFlags, hdwp);
    }
    if (hdwp != nullptr)
        ::EndDeferWindowPos(hdwp);
}
