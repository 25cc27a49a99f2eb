// CQMXPDockBarRow: a bar dragged along its row, and the row following its
// dock bar when that changes size.
#include "docking/bars/QMXPControlBar.h"
#include "docking/bars/QMXPDockBar.h"
#include "docking/bars/QMXPDockBarRow.h"

#include <algorithm>
#include <cstdlib>

namespace {
int Sign(int n) { return n > 0 ? 1 : (n < 0 ? -1 : 0); }
}  // namespace

void CQMXPDockBarRow::MoveControlBar(CQMXPControlBar* pControlBar, CPoint ptOffset, BOOL bSwapControlBars,
                                     HDWP& hdwp) {
    Slots slots = VisibleSlots();
    int nMoved = SlotOf(slots, pControlBar);
    if (nMoved < 0)
        return;
    int nDelta = IsHorizontal() ? ptOffset.x : ptOffset.y;
    const BOOL bForward = nDelta >= 0;
    const CRect rectOld = slots[static_cast<size_t>(nMoved)].rect;

    // The room in the direction of travel: the distance to the row's end
    // less the bars that lie on that side.
    int nRoom;
    if (bForward) {
        nRoom = RowLength() - Far(rectOld);
        for (const Slot& slot : slots) {
            if (slot.pBar != pControlBar && Near(slot.rect) >= Near(rectOld))
                nRoom -= Length(slot.rect);
        }
        if (nRoom <= 0)
            return;
    } else {
        nRoom = -Near(rectOld);
        for (const Slot& slot : slots) {
            if (slot.pBar != pControlBar && Near(slot.rect) < Near(rectOld))
                nRoom += Length(slot.rect);
        }
        if (nRoom >= 0)
            return;
    }
    if (std::abs(nRoom) < std::abs(nDelta))
        nDelta = nRoom;
    CRect rectNew = rectOld;
    OffsetAlong(rectNew, nDelta);
    slots[static_cast<size_t>(nMoved)].rect = rectNew;

    if (slots.size() >= 2) {
        int nNeighbour = -1;
        for (size_t i = 0; i < slots.size(); ++i) {
            CRect rectCommon;
            if (static_cast<int>(i) != nMoved && rectCommon.IntersectRect(slots[i].rect, rectNew)) {
                nNeighbour = static_cast<int>(i);
                break;
            }
        }
        if (nNeighbour < 0) {
            ReturnSlots(slots, nMoved, !bForward, std::abs(nDelta));
        } else {
            Slot& neighbour = slots[static_cast<size_t>(nNeighbour)];
            const CRect rectFull = BarFullRect(neighbour.pBar);
            CRect rectCommon;
            const BOOL bPassed = bForward ? Near(rectFull) < Near(rectOld) : Near(rectFull) >= Near(rectOld);
            if (bSwapControlBars && rectCommon.IntersectRect(rectFull, rectNew) && bPassed) {
                // The neighbour jumps to the other side of the moved bar and
                // takes that place in the list.
                const int nLength = Length(rectFull);
                CRect rectJump = neighbour.rect;
                OffsetAlong(rectJump, bForward ? Near(rectNew) - nLength - Near(rectJump) : Far(rectNew) - Near(rectJump));
                if (IsHorizontal())
                    rectJump.right = rectJump.left + nLength;
                else
                    rectJump.bottom = rectJump.top + nLength;
                neighbour.rect = rectJump;
                POSITION posNeighbour = m_lstControlBars.Find(neighbour.pBar);
                m_lstControlBars.RemoveAt(posNeighbour);
                POSITION posMoved = m_lstControlBars.Find(pControlBar);
                if (bForward)
                    m_lstControlBars.InsertBefore(posMoved, neighbour.pBar);
                else
                    m_lstControlBars.InsertAfter(posMoved, neighbour.pBar);
                std::swap(slots[static_cast<size_t>(nMoved)], slots[static_cast<size_t>(nNeighbour)]);
                std::swap(nMoved, nNeighbour);
                ResolveSlots(slots, nNeighbour, !bForward);
                ReturnSlots(slots, nMoved, bForward, std::max(nLength - std::abs(nDelta), 0));
            } else {
                const int nOverlap = Length(rectCommon.IntersectRect(neighbour.rect, rectNew) ? rectCommon : CRect());
                OffsetAlong(neighbour.rect, bForward ? nOverlap : -nOverlap);
                ResolveSlots(slots, nNeighbour, bForward);
                ReturnSlots(slots, nMoved, !bForward, std::abs(nDelta));
            }
        }
    }
    ApplySlots(slots, hdwp);
    ArrangeBars(pControlBar);
}

void CQMXPDockBarRow::RepositionBars(CRect& rectNewParentBarArea, int nSide, BOOL bIncrease, int nAmount) {
    CRect rectRow;
    GetWindowRect(rectRow);
    if (m_lstControlBars.IsEmpty() || GetVisibleBarCount() == 0 || rectRow.IsRectEmpty())
        return;
    const int nNewLength = Length(rectNewParentBarArea);
    const int dLen = nNewLength - Length(rectRow);
    HDWP hdwp = nullptr;
    if (HasSingleRowBar()) {
        auto* pBar = static_cast<CQMXPControlBar*>(m_lstControlBars.GetHead());
        const CSize size = IsHorizontal() ? CSize(nNewLength, m_nRowHeight) : CSize(m_nRowHeight, nNewLength);
        pBar->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        pBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return;
    }
    const int nFree = GetFreeSpace(TRUE);
    const BOOL bFromStart = nSide == QMXP_EDGE_LEFT || nSide == QMXP_EDGE_TOP;
    if (!bIncrease && (nFree < 0 || nFree < std::abs(dLen))) {
        Slots slots = VisibleSlots();
        int nRest = dLen;
        if (nFree >= 0) {
            // The gaps go first, the bars shrink by what remains.
            const int nReach = bFromStart ? std::max(-Near(slots.front().rect), 0)
                                          : std::max(Far(slots.back().rect) - Length(rectRow), 0);
            const int nPush = (nFree - nReach) * Sign(dLen);
            if (bFromStart)
                PushSlots(slots, 0, -nPush, TRUE);
            else
                PushSlots(slots, static_cast<int>(slots.size()) - 1, nPush, FALSE);
            ApplySlots(slots, hdwp);
            nRest = (std::abs(dLen) - nFree) * Sign(dLen);
        }
        for (POSITION pos = m_lstControlBars.GetTailPosition(); pos != nullptr && nRest != 0;) {
            auto* pBar = static_cast<CQMXPControlBar*>(m_lstControlBars.GetPrev(pos));
            if (!IsBarShown(pBar))
                continue;
            const int nAbsorbed = pBar->StretchBar(nRest, hdwp);
            const int nShift = std::abs(nRest) - std::abs(nAbsorbed);
            if (nShift != 0) {
                CRect rect = BarRect(pBar);
                OffsetAlong(rect, bFromStart ? nShift : -nShift);
                pBar->SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            nRest -= nAbsorbed;
        }
        return;
    }
    if (bIncrease && nFree < 0) {
        // Bars shorter than their full sizes grow first, pushing the ones after them.
        int nRest = dLen;
        Slots slots = VisibleSlots();
        for (size_t i = 0; i < slots.size() && nRest > 0; ++i) {
            const int nGrown = slots[i].pBar->StretchBar(nRest, hdwp);
            slots = VisibleSlots();
            for (size_t j = i + 1; j < slots.size(); ++j)
                OffsetAlong(slots[j].rect, nGrown);
            ApplySlots(slots, hdwp, SWP_NOSIZE);
            nRest -= nGrown;
        }
    }
    // The first and the last bar are kept inside the new length.
    m_nLengthOverride = nNewLength;
    for (BOOL bFirst : {TRUE, FALSE}) {
        Slots slots = VisibleSlots();
        const Slot& slot = bFirst ? slots.front() : slots.back();
        if (!bFirst && slots.size() < 2)
            break;
        int nIn = 0;
        if (Near(slot.rect) < 0)
            nIn = -Near(slot.rect);
        else if (Far(slot.rect) > nNewLength)
            nIn = nNewLength - Far(slot.rect);
        if (nIn != 0)
            MoveControlBar(slot.pBar, IsHorizontal() ? CPoint(nIn, 0) : CPoint(0, nIn), FALSE, hdwp);
    }
    if (nSide != QMXP_EDGE_NONE && bIncrease && GetFreeSpace(TRUE) + dLen > 0) {
        const BOOL bAlongEdge = IsHorizontal() ? (nSide == QMXP_EDGE_LEFT || nSide == QMXP_EDGE_RIGHT)
                                               : (nSide == QMXP_EDGE_TOP || nSide == QMXP_EDGE_BOTTOM);
        for (const Slot& slot : VisibleSlots()) {
            const int nAway = Near(BarFullRect(slot.pBar)) - Near(slot.rect);
            if (nAway == 0 || !bAlongEdge)
                continue;
            const int nMove = std::min(std::abs(nAmount), std::abs(nAway)) * Sign(nAway);
            MoveControlBar(slot.pBar, IsHorizontal() ? CPoint(nMove, 0) : CPoint(0, nMove), FALSE, hdwp);
        }
    }
    m_nLengthOverride = -1;
}

// Bars end to end ---------------------------------------------------------------------------

void CQMXPDockBarRow::LayoutBarsEndToEnd(int nStart, int nSpacing) {
    CRect rectRow;
    GetWindowRect(rectRow);
    const BOOL bHorz = IsHorizontal();
    int p = Near(rectRow) + nStart;
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CQMXPControlBar*>(m_lstControlBars.GetNext(pos));
        if (!IsBarShown(pBar))
            continue;
        if (!pBar->IsFirstInGroup())
            p -= 1 + nSpacing;
        CRect rect;
        pBar->GetWindowRect(&rect);
        const int nLength = Length(rect);
        rect = bHorz ? CRect(p, rectRow.top, p + nLength, rectRow.top + rect.Height())
                     : CRect(rectRow.left, p, rectRow.left + rect.Width(), p + nLength);
        m_pParentDockBar->ScreenToClient(&rect);
        pBar->CWnd::SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        const CSize size = pBar->CalcLayoutSize(nLength, !bHorz);
        p += (bHorz ? size.cx : size.cy) + nSpacing;
    }
}

void CQMXPDockBarRow::GetGroupOfBar(CQMXPControlBar* pBar, CObList& lstGroup) const {
    POSITION pos = m_lstControlBars.Find(pBar);
    if (pos == nullptr)
        return;
    while (pos != m_lstControlBars.GetHeadPosition() &&
           !static_cast<CQMXPControlBar*>(m_lstControlBars.GetAt(pos))->IsFirstInGroup())
        m_lstControlBars.GetPrev(pos);
    while (pos != nullptr) {
        auto* pMember = static_cast<CQMXPControlBar*>(m_lstControlBars.GetNext(pos));
        lstGroup.AddTail(pMember);
        if (pMember->IsLastInGroup())
            break;
    }
}
