// CQMXPBarContainer: laying a subtree out by its shares, following slider
// drags and stretches, taking panes out and putting them back, and
// splitting off the visible part of a tree.
#include "docking/bars/QMXPBarContainer.h"
#include "docking/bars/QMXPBarContainerManager.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPSlider.h"
#include "docking/frames/QMXPMiniFrameWnd.h"

#include <algorithm>

namespace {

int Extent(const CRect& rect, BOOL bHorz) { return bHorz ? rect.Height() : rect.Width(); }
int Start(const CRect& rect, BOOL bHorz) { return bHorz ? rect.top : rect.left; }

// A share of 0 or 100 % says nothing about the division.
int UsablePercent(int nPercent) { return nPercent == 0 || nPercent == 100 ? 50 : nPercent; }

// The three bands of rect: the first side's extent e, the slider, the rest.
void DivideRect(const CRect& rect, BOOL bHorz, int e, int nThickness, CRect& rectFirst, CRect& rectSlider,
                CRect& rectSecond) {
    const int nLength = std::max(0, Extent(rect, bHorz) - nThickness);
    e = std::clamp(e, 0, nLength);
    rectFirst = rectSlider = rectSecond = rect;
    if (bHorz) {
        rectFirst.bottom = rect.top + e;
        rectSlider.top = rectFirst.bottom;
        rectSlider.bottom = rectSlider.top + nThickness;
        rectSecond.top = rectSlider.bottom;
    } else {
        rectFirst.right = rect.left + e;
        rectSlider.left = rectFirst.right;
        rectSlider.right = rectSlider.left + nThickness;
        rectSecond.left = rectSlider.right;
    }
}

}  // namespace

void CQMXPBarContainer::MeasureSide(BOOL bLeft, CRect& rect, CSize& sizeMin) const {
    const CQMXPDockingControlBar* pBar = bLeft ? m_pBarLeftTop : m_pBarRightBottom;
    const CQMXPBarContainer* pNode = bLeft ? m_pLeftContainer : m_pRightContainer;
    rect.SetRectEmpty();
    sizeMin = CSize(0, 0);
    if (IsBarShown(pBar)) {
        pBar->GetWindowRect(&rect);
        pBar->GetMinSize(sizeMin);
    }
    if (IsChildShown(pNode)) {
        pNode->GetWindowRect(rect, FALSE);
        pNode->GetMinSize(sizeMin);
    }
}

void CQMXPBarContainer::MeasureSides(CRect& rectNode, CRect& rectLeft, CRect& rectRight) const {
    GetWindowRect(rectNode, FALSE);
    CSize sizeMin;
    MeasureSide(TRUE, rectLeft, sizeMin);
    MeasureSide(FALSE, rectRight, sizeMin);
}

BOOL CQMXPBarContainer::IsSideEmpty(BOOL bLeft) const {
    return !IsBarShown(bLeft ? m_pBarLeftTop : m_pBarRightBottom) &&
           !IsChildShown(bLeft ? m_pLeftContainer : m_pRightContainer);
}

int CQMXPBarContainer::StoredPercent(BOOL bLeft) const {
    const CQMXPDockingControlBar* pBar = bLeft ? m_pBarLeftTop : m_pBarRightBottom;
    const CQMXPBarContainer* pNode = bLeft ? m_pLeftContainer : m_pRightContainer;
    if (pBar != nullptr)
        return pBar->GetPercentInContainer();
    return pNode != nullptr ? pNode->m_nPercent : 50;
}

void CQMXPBarContainer::SetSidePercent(BOOL bLeft, int nPercent) {
    CQMXPDockingControlBar* pBar = bLeft ? m_pBarLeftTop : m_pBarRightBottom;
    CQMXPBarContainer* pNode = bLeft ? m_pLeftContainer : m_pRightContainer;
    if (pBar != nullptr)
        pBar->SetPercentInContainer(nPercent);
    if (pNode != nullptr)
        pNode->m_nPercent = nPercent;
}

// Layout ------------------------------------------------------------------------

void CQMXPBarContainer::ResizeContainer(CRect rect, HDWP& hdwp, BOOL bRepaint) {
    const BOOL bLeftEmpty = IsSideEmpty(TRUE);
    const BOOL bRightEmpty = IsSideEmpty(FALSE);
    if (bLeftEmpty && bRightEmpty)
        return;
    if (bLeftEmpty || bRightEmpty) {
        const BOOL bLeft = bRightEmpty;
        CQMXPDockingControlBar* pBar = bLeft ? m_pBarLeftTop : m_pBarRightBottom;
        CQMXPBarContainer* pNode = bLeft ? m_pLeftContainer : m_pRightContainer;
        if (IsBarShown(pBar))
            hdwp = pBar->MoveWindow(rect, bRepaint, hdwp);
        if (IsChildShown(pNode))
            pNode->ResizeContainer(rect, hdwp, bRepaint);
        return;
    }

    const BOOL bHorz = IsSliderHorz();
    CRect rectNode;
    CRect rectLeft;
    CRect rectRight;
    MeasureSides(rectNode, rectLeft, rectRight);
    const int nNode = Extent(rectNode, bHorz);
    const int nThickness = GetSliderThickness();

    int e = 0;
    double s = 0.0;
    BOOL bKeepPercents = FALSE;
    if (nNode <= 0) {
        // Every pane is zero-sized (a minimised frame): the shares cannot
        // be measured, so the stored ones divide the rectangle and stay.
        bKeepPercents = TRUE;
        e = Extent(rect, bHorz) * UsablePercent(StoredPercent(TRUE)) / 100;
    } else {
        const int nStart = Start(rectLeft, bHorz);
        int nFirstEnd = nStart + Extent(rectLeft, bHorz);
        int m = -1;
        const int nLeft = Extent(rectLeft, bHorz);
        const int nRight = Extent(rectRight, bHorz);
        // Sides that overlap or are missing are repaired from the stored share.
        if (nLeft + nRight > nNode || rectLeft.IsRectEmpty() || rectRight.IsRectEmpty()) {
            if (bHorz)
                m = 50;
            if (nLeft == nNode) {
                const int p = UsablePercent(StoredPercent(FALSE));
                nFirstEnd = nStart + nNode - nNode * p / 100;
                m = 100 - p;
            } else if (nRight == nNode) {
                const int p = UsablePercent(StoredPercent(TRUE));
                nFirstEnd = nStart + nNode * p / 100;
                m = p;
            }
        }
        const int nFirst = nFirstEnd - nStart;
        const int d = Extent(rect, bHorz) - nNode;
        s = static_cast<double>(nFirst) / nNode * 100.0;
        if (s == 100.0 || s == 0.0)
            s = 50.0;
        if (d > 0) {
            e = nFirst + static_cast<int>((100.0 - s) * d / 100);
        } else if (d < 0) {
            e = nFirst - static_cast<int>(s * -d / 100);
        } else {
            e = nFirst;
            if (m != -1)
                s = m;
        }
    }

    CRect rectFirst;
    CRect rectSlider;
    CRect rectSecond;
    DivideRect(rect, bHorz, e, nThickness, rectFirst, rectSlider, rectSecond);
    const int nPercent = static_cast<int>(s);
    if (m_pBarLeftTop != nullptr)
        hdwp = m_pBarLeftTop->MoveWindow(rectFirst, bRepaint, hdwp);
    if (m_pLeftContainer != nullptr)
        m_pLeftContainer->ResizeContainer(rectFirst, hdwp, bRepaint);
    if (m_pBarRightBottom != nullptr)
        hdwp = m_pBarRightBottom->MoveWindow(rectSecond, bRepaint, hdwp);
    if (m_pRightContainer != nullptr)
        m_pRightContainer->ResizeContainer(rectSecond, hdwp, bRepaint);
    if (!bKeepPercents) {
        SetSidePercent(TRUE, nPercent);
        SetSidePercent(FALSE, 100 - nPercent);
    }
    if (m_pSlider != nullptr && (m_pSlider->GetStyle() & WS_VISIBLE))
        hdwp = m_pSlider->MoveWindow(rectSlider, bRepaint, hdwp);
}

void CQMXPBarContainer::StorePercents() {
    const BOOL bLeftEmpty = IsSideEmpty(TRUE);
    const BOOL bRightEmpty = IsSideEmpty(FALSE);
    if (bLeftEmpty && bRightEmpty)
        return;
    if (bLeftEmpty || bRightEmpty) {
        const BOOL bLeft = bRightEmpty;
        SetSidePercent(bLeft, 100);
        CQMXPBarContainer* pNode = bLeft ? m_pLeftContainer : m_pRightContainer;
        if (pNode != nullptr)
            pNode->StorePercents();
        return;
    }
    const BOOL bHorz = IsSliderHorz();
    CRect rectNode;
    CRect rectLeft;
    CRect rectRight;
    MeasureSides(rectNode, rectLeft, rectRight);
    const int nNode = Extent(rectNode, bHorz);
    const int nLeft = Extent(rectLeft, bHorz);
    const int nRight = Extent(rectRight, bHorz);
    for (CQMXPBarContainer* pNode : {m_pLeftContainer, m_pRightContainer}) {
        if (pNode != nullptr)
            pNode->StorePercents();
    }
    // Zero-sized panes give no shares: the stored ones stay.
    if (nNode <= 0)
        return;
    int m = -1;
    if (nLeft + nRight > nNode) {
        if (bHorz)
            m = 50;
        if (nLeft == nNode)
            m = 100 - StoredPercent(FALSE);
        else if (nRight == nNode)
            m = StoredPercent(TRUE);
    }
    const double s = m != -1 ? m : static_cast<double>(nLeft) / nNode * 100.0;
    const int nPercent = static_cast<int>(s);
    SetSidePercent(TRUE, nPercent);
    SetSidePercent(FALSE, 100 - nPercent);
}

int CQMXPBarContainer::MoveSlider(int nOffset, HDWP& hdwp) {
    const BOOL bHorz = IsSliderHorz();
    CRect rectLeft;
    CRect rectRight;
    CSize sizeMinLeft;
    CSize sizeMinRight;
    MeasureSide(TRUE, rectLeft, sizeMinLeft);
    MeasureSide(FALSE, rectRight, sizeMinRight);
    // Each side stops at its minimum; the other still follows the whole offset.
    if (!rectLeft.IsRectEmpty()) {
        if (bHorz)
            rectLeft.bottom = std::max<int>(rectLeft.bottom + nOffset, rectLeft.top + sizeMinLeft.cy);
        else
            rectLeft.right = std::max<int>(rectLeft.right + nOffset, rectLeft.left + sizeMinLeft.cx);
    }
    if (!rectRight.IsRectEmpty()) {
        if (bHorz)
            rectRight.top = std::min<int>(rectRight.top + nOffset, rectRight.bottom - sizeMinRight.cy);
        else
            rectRight.left = std::min<int>(rectRight.left + nOffset, rectRight.right - sizeMinRight.cx);
    }
    CWnd* pParent = m_pSlider != nullptr ? m_pSlider->GetParent() : DockSite();
    if (pParent != nullptr) {
        pParent->ScreenToClient(&rectLeft);
        pParent->ScreenToClient(&rectRight);
    }
    if (!rectLeft.IsRectEmpty()) {
        if (IsBarShown(m_pBarLeftTop))
            hdwp = m_pBarLeftTop->MoveWindow(rectLeft, TRUE, hdwp);
        if (IsChildShown(m_pLeftContainer))
            m_pLeftContainer->ResizeContainer(rectLeft, hdwp, FALSE);
    }
    if (!rectRight.IsRectEmpty()) {
        if (IsBarShown(m_pBarRightBottom))
            hdwp = m_pBarRightBottom->MoveWindow(rectRight, TRUE, hdwp);
        if (IsChildShown(m_pRightContainer))
            m_pRightContainer->ResizeContainer(rectRight, hdwp, FALSE);
    }
    return nOffset;
}

void CQMXPBarContainer::StretchBar(CQMXPDockingControlBar* pBar, int nOffset, BOOL bHorz, BOOL bSecondSide) {
    CRect rect;
    pBar->GetWindowRect(&rect);
    if (bHorz)
        (bSecondSide ? rect.right : rect.left) += bSecondSide ? nOffset : -nOffset;
    else
        (bSecondSide ? rect.bottom : rect.top) += bSecondSide ? nOffset : -nOffset;
    pBar->ResizeBar(rect);
}

int CQMXPBarContainer::StretchContainer(int nOffset, BOOL bHorz, BOOL bSecondSide, BOOL bMoveSlider, HDWP& hdwp) {
    CRect rectNode;
    GetWindowRect(rectNode, TRUE);
    CSize sizeMin;
    GetMinSize(sizeMin);
    // The node keeps its minimum size: a shrink is cut to what is left above it.
    int d = nOffset;
    if (d < 0) {
        const int nRoom = std::max<int>(0, bHorz ? rectNode.Width() - sizeMin.cx : rectNode.Height() - sizeMin.cy);
        d = -std::min(-d, nRoom);
    }
    if (d == 0)
        return 0;
    auto stretchSide = [&](BOOL bLeft) {
        CQMXPDockingControlBar* pBar = bLeft ? m_pBarLeftTop : m_pBarRightBottom;
        CQMXPBarContainer* pNode = bLeft ? m_pLeftContainer : m_pRightContainer;
        if (pBar != nullptr)
            StretchBar(pBar, d, bHorz, bSecondSide);
        if (pNode != nullptr)
            pNode->StretchContainer(d, bHorz, bSecondSide, TRUE, hdwp);
    };
    auto hasContent = [this](BOOL bLeft) {
        const CQMXPBarContainer* pNode = bLeft ? m_pLeftContainer : m_pRightContainer;
        return (bLeft ? m_pBarLeftTop : m_pBarRightBottom) != nullptr || (pNode != nullptr && !pNode->IsContainerEmpty());
    };
    const BOOL bAcross = m_pSlider != nullptr && (m_pSlider->IsHorizontal() ? !bHorz : bHorz);
    if (bAcross) {
        // Only the side at the moved edge changes; when that side is empty
        // the other side reaches over to the edge. The slider stays.
        BOOL bLeft = !bSecondSide;
        if (!hasContent(bLeft))
            bLeft = !bLeft;
        stretchSide(bLeft);
        return d;
    }
    stretchSide(TRUE);
    stretchSide(FALSE);
    if (bMoveSlider && m_pSlider != nullptr) {
        CRect rectSlider;
        m_pSlider->GetWindowRect(&rectSlider);
        if (m_pSlider->IsHorizontal())
            (bSecondSide ? rectSlider.right : rectSlider.left) += bSecondSide ? d : -d;
        else
            (bSecondSide ? rectSlider.bottom : rectSlider.top) += bSecondSide ? d : -d;
        if (m_pSlider->GetStyle() & WS_VISIBLE) {
            m_pSlider->GetParent()->ScreenToClient(&rectSlider);
            hdwp = m_pSlider->MoveWindow(rectSlider, FALSE, hdwp);
        }
    }
    return d;
}

// Taking panes out and putting them back ------------------------------------------------

void CQMXPBarContainer::DeleteControlBar(CQMXPDockingControlBar* pBar) {
    CQMXPBarContainer* pNode = FindSubContainer(pBar, 0);
    if (pNode != nullptr) {
        pNode->DeleteControlBarFromSide(pBar, 0);
        return;
    }
    pNode = FindSubContainer(pBar, 1);
    if (pNode != nullptr)
        pNode->DeleteControlBarFromSide(pBar, 1);
}

void CQMXPBarContainer::DeleteControlBarFromSide(CQMXPDockingControlBar* pBar, int nSide) {
    const BOOL bLeft = nSide == 0;
    if (pBar == nullptr || pBar != (bLeft ? m_pBarLeftTop : m_pBarRightBottom))
        return;
    HDWP hdwp = ::BeginDeferWindowPos(10);
    const BOOL bNodeHorz = IsSliderHorz();
    CRect rectBar;
    pBar->GetWindowRect(&rectBar);
    const int g = m_pSlider != nullptr ? m_pSlider->GetWidth() + Extent(rectBar, bNodeHorz) : 0;
    CQMXPDockingControlBar* pOther = bLeft ? m_pBarRightBottom : m_pBarLeftTop;
    CQMXPBarContainer* pOtherNode = bLeft ? m_pRightContainer : m_pLeftContainer;
    if (pOther != nullptr) {
        CRect rectNode;
        GetWindowRect(rectNode, TRUE);
        CWnd* pParent = pOther->GetParent();
        if (pParent != nullptr)
            pParent->ScreenToClient(&rectNode);
        hdwp = pOther->MoveWindow(rectNode, TRUE, hdwp);
        SetBar(nullptr, bLeft);
    } else if (pOtherNode != nullptr && !pOtherNode->IsContainerEmpty()) {
        SetBar(nullptr, bLeft);
        // The gap opens on the removed side: the node grows back over it there.
        StretchContainer(g, !bNodeHorz, !bLeft, TRUE, hdwp);
    } else {
        SetBar(nullptr, bLeft);
        if (m_pParentContainer != nullptr)
            CloseGapUpward(pBar, hdwp);
    }
    if (hdwp != nullptr)
        ::EndDeferWindowPos(hdwp);
    if (m_pSlider == nullptr)
        m_pBarLeftTop = m_pBarRightBottom = nullptr;
}

void CQMXPBarContainer::CloseGapUpward(CQMXPDockingControlBar* pBar, HDWP& hdwp) {
    auto hasContent = [](const CQMXPBarContainer* pNode) {
        return pNode->m_pBarLeftTop != nullptr || pNode->m_pBarRightBottom != nullptr ||
               (pNode->m_pLeftContainer != nullptr && !pNode->m_pLeftContainer->IsContainerEmpty()) ||
               (pNode->m_pRightContainer != nullptr && !pNode->m_pRightContainer->IsContainerEmpty());
    };
    CQMXPBarContainer* pAncestor = m_pParentContainer;
    while (pAncestor != nullptr && !hasContent(pAncestor))
        pAncestor = pAncestor->m_pParentContainer;
    if (pAncestor == nullptr || pAncestor->m_pSlider == nullptr)
        return;
    auto sideEmpty = [](const CQMXPDockingControlBar* pSideBar, const CQMXPBarContainer* pSideNode) {
        return pSideBar == nullptr && (pSideNode == nullptr || pSideNode->IsContainerEmpty());
    };
    // The gap is the slider and the pane: the ancestor grows back over it
    // on its emptied side.
    const BOOL bHorz = pAncestor->m_pSlider->IsHorizontal();
    CRect rectBar;
    pBar->GetWindowRect(&rectBar);
    const int g = pAncestor->m_pSlider->GetWidth() + Extent(rectBar, bHorz);
    if (sideEmpty(pAncestor->m_pBarLeftTop, pAncestor->m_pLeftContainer))
        pAncestor->StretchContainer(g, !bHorz, FALSE, TRUE, hdwp);
    else if (sideEmpty(pAncestor->m_pBarRightBottom, pAncestor->m_pRightContainer))
        pAncestor->StretchContainer(g, !bHorz, TRUE, TRUE, hdwp);
}

CQMXPBarContainer* CQMXPBarContainer::CopyVisible(CQMXPBarContainer* pParentCopy) {
    CQMXPBarContainer* pCopy = m_pContainerManager != nullptr
                                   ? m_pContainerManager->NewContainer(m_pBarLeftTop, m_pBarRightBottom, m_pSlider)
                                   : new CQMXPBarContainer(nullptr, m_pBarLeftTop, m_pBarRightBottom, m_pSlider);
    pCopy->m_pParentContainer = pParentCopy;
    pCopy->m_nPercent = m_nPercent;
    for (BOOL bLeft : {TRUE, FALSE}) {
        CQMXPDockingControlBar* pBar = bLeft ? m_pBarLeftTop : m_pBarRightBottom;
        if (pBar == nullptr)
            continue;
        if (pBar->GetStyle() & WS_VISIBLE)
            SetBar(nullptr, bLeft);
        else
            pCopy->SetBar(nullptr, bLeft);
    }
    if (m_pSlider != nullptr) {
        if (m_pSlider->GetStyle() & WS_VISIBLE) {
            m_dwSavedSliderStyle = m_pSlider->GetSliderStyle();
            m_bSavedSliderHorz = m_pSlider->IsHorizontal();
            m_pSlider->GetWindowRect(&m_rectSavedSlider);
            m_pSlider->GetParent()->ScreenToClient(&m_rectSavedSlider);
            m_pSlider = nullptr;
        } else {
            pCopy->m_pSlider = nullptr;
        }
    }
    if (m_pLeftContainer != nullptr)
        pCopy->m_pLeftContainer = m_pLeftContainer->CopyVisible(pCopy);
    if (m_pRightContainer != nullptr)
        pCopy->m_pRightContainer = m_pRightContainer->CopyVisible(pCopy);
    return pCopy;
}

CQMXPDockingControlBar* CQMXPBarContainer::AddRecentControlBar(CQMXPDockingControlBar* pBar) {
    CWnd* pDockSite = DockSite();
    if (pDockSite == nullptr || pBar == nullptr)
        return nullptr;
    const BOOL bForDocked = !pDockSite->IsKindOf(RUNTIME_CLASS(CQMXPMiniFrameWnd));
    CQMXPRecentContainerInfo& info = pBar->GetRecentDockInfo().GetInfo(bForDocked);
    const BOOL bLeft = info.m_bIsRecentLeftBar;
    CQMXPBarContainer* pNode = bLeft ? m_pLeftContainer : m_pRightContainer;
    if (pNode != nullptr)
        return pNode->AddRecentControlBar(pBar);
    CQMXPDockingControlBar* pHolder = bLeft ? m_pBarLeftTop : m_pBarRightBottom;
    if (pHolder == pBar)
        return pBar;
    if (pHolder != nullptr) {
        // Another pane took the place: the pane joins it as a tab.
        CQMXPDockingControlBar* pTabbedBar = nullptr;
        if (pBar->AttachToTabWnd(pHolder, QMXP_DM_DBL_CLICK, TRUE, &pTabbedBar) == nullptr || pTabbedBar == nullptr)
            return nullptr;
        if (m_pContainerManager != nullptr)
            m_pContainerManager->ReplaceControlBar(pHolder, pTabbedBar);
        return pTabbedBar;
    }
    const int p = UsablePercent(info.m_nRecentPercent);
    CRect rectBar = info.m_rectDockedRect;
    CSize sizeMin;
    pBar->GetMinSize(sizeMin);
    CQMXPBarContainerManager::WidenToMinSize(rectBar, sizeMin);

    // An empty node places the pane where it was; the following layout
    // gives its ancestors back their stored shares.
    const BOOL bEmpty = IsContainerEmpty();
    CRect rectNode = rectBar;
    if (!bEmpty) {
        GetWindowRect(rectNode, TRUE);
        pDockSite->ScreenToClient(&rectNode);
    }
    SetBar(pBar, bLeft);
    CRect rectFirst = rectNode;
    CRect rectSlider;
    CRect rectSecond = rectNode;
    const BOOL bOtherContent = !bEmpty;
    if (bOtherContent && m_pSlider != nullptr) {
        const BOOL bHorz = m_pSlider->IsHorizontal();
        const int nExtent = Extent(rectNode, bHorz);
        const int nThickness = m_pSlider->GetWidth();
        // A first side takes its share from the start; a second side its
        // share less the slider, from the end.
        const int e = bLeft ? nExtent * p / 100 : nExtent * (100 - p) / 100;
        DivideRect(rectNode, bHorz, e, nThickness, rectFirst, rectSlider, rectSecond);
    }
    HDWP hdwp = ::BeginDeferWindowPos(10);
    hdwp = pBar->MoveWindow(bLeft ? rectFirst : rectSecond, TRUE, hdwp);
    if (bOtherContent && m_pSlider != nullptr) {
        CRect rectOther = bLeft ? rectSecond : rectFirst;
        CQMXPDockingControlBar* pOther = bLeft ? m_pBarRightBottom : m_pBarLeftTop;
        CQMXPBarContainer* pOtherNode = bLeft ? m_pRightContainer : m_pLeftContainer;
        if (pOther != nullptr)
            hdwp = pOther->MoveWindow(rectOther, TRUE, hdwp);
        if (pOtherNode != nullptr)
            pOtherNode->ResizeContainer(rectOther, hdwp, TRUE);
        hdwp = m_pSlider->MoveWindow(rectSlider, TRUE, hdwp);
    }
    if (hdwp != nullptr)
        ::EndDeferWindowPos(hdwp);
    if (m_pSlider != nullptr && m_pSlider->GetSafeHwnd() != nullptr)
        m_pSlider->ShowWindow(bOtherContent ? SW_SHOW : SW_HIDE);
    return pBar;
}

void CQMXPBarContainer::PlaceSidesBySlider(const CRect& rectNode) {
    CRect rectFirst = rectNode;
    CRect rectSecond = rectNode;
    CWnd* pDockSite = DockSite();
    if (m_pSlider != nullptr && m_pSlider->GetSafeHwnd() != nullptr && pDockSite != nullptr) {
        CRect rectSlider;
        m_pSlider->GetWindowRect(&rectSlider);
        pDockSite->ScreenToClient(&rectSlider);
        if (IsSliderHorz()) {
            rectFirst.bottom = rectSlider.top;
            rectSecond.top = rectSlider.bottom;
        } else {
            rectFirst.right = rectSlider.left;
            rectSecond.left = rectSlider.right;
        }
        // A slider outside its node tells nothing.
        if (rectFirst.IsRectEmpty() || rectSecond.IsRectEmpty())
            return;
    }
    for (BOOL bLeft : {TRUE, FALSE}) {
        const CRect& rect = bLeft ? rectFirst : rectSecond;
        CQMXPDockingControlBar* pBar = bLeft ? m_pBarLeftTop : m_pBarRightBottom;
        CQMXPBarContainer* pNode = bLeft ? m_pLeftContainer : m_pRightContainer;
        if (pBar != nullptr && pBar->GetSafeHwnd() != nullptr)
            pBar->CWnd::SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (pNode != nullptr)
            pNode->PlaceSidesBySlider(rect);
    }
}
