// CQMXPDockingControlBar in auto hide: entering and leaving the mode, the
// slide out over the frame and back in with its timers and steps, and the
// watch that decides when the pane goes back.
#include "docking/bars/QMXPAutoHideButton.h"
#include "docking/bars/QMXPAutoHideDockBar.h"
#include "docking/bars/QMXPAutoHideToolBar.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPSlider.h"

#include <algorithm>

BOOL CQMXPDockingControlBar::m_bHideInAutoHideMode = FALSE;
int CQMXPDockingControlBar::m_nAutoHideSlideModeDefault = 1;

namespace {

constexpr DWORD kAlignTop = 0x2000;
constexpr DWORD kAlignBottom = 0x8000;
constexpr DWORD kAlignLeft = 0x1000;
constexpr DWORD kAlignRight = 0x4000;

// The window's rectangle in the client coordinates of the dock site.
CRect InSite(const CWnd* pWnd, const CWnd* pSite) {
    CRect rect;
    pWnd->GetWindowRect(&rect);
    if (pSite != nullptr)
        pSite->ScreenToClient(&rect);
    return rect;
}

}  // namespace

CQMXPAutoHideToolBar* CQMXPDockingControlBar::SetAutoHideMode(BOOL bMode, DWORD dwAlignment,
                                                              CQMXPAutoHideToolBar* pCurrAutoHideBar, BOOL bUseTimer) {
    if (!bMode) {
        auto* pDockBar =
            m_pAutoHideBar != nullptr ? DYNAMIC_DOWNCAST(CQMXPAutoHideDockBar, m_pAutoHideBar->GetParentDockBar()) : nullptr;
        if (pDockBar != nullptr)
            pDockBar->UpdateGroupLinks(m_pAutoHideBar);
        else if (m_bIsAutoHideMode)
            UnSetAutoHideMode(nullptr);
        return pCurrAutoHideBar;
    }
    CQMXPDockManager* pDockManager = FrameDockManager();
    CFrameWnd* pDockSite = GetDockSiteFrameWnd();
    const DWORD dwSide = dwAlignment & 0xF000;
    // Only a side with strips can take the pane.
    if (pDockManager == nullptr || pDockSite == nullptr || (pDockManager->GetAutoHideSides() & dwSide) == 0)
        return nullptr;
    m_bIsAutoHideMode = TRUE;
    const CRect rectOld = InSite(this, pDockSite);
    StoreRecentDockInfo();
    UndockControlBar(FALSE);
    CQMXPSlider* pSlider = CreateDefaultSlider(dwSide, pDockSite);
    if (pSlider == nullptr) {
        m_bIsAutoHideMode = FALSE;
        DockControlBar(this, nullptr, QMXP_DM_DBL_CLICK);
        return nullptr;
    }
    m_hDefaultSlider = pSlider->GetSafeHwnd();
    pSlider->SetAutoHideMode(TRUE);
    pSlider->AddControlBar(this);
    SetCurrentAlignment(dwSide);
    pSlider->SetCurrentAlignment(dwSide);
    CQMXPAutoHideToolBar* pStrip = pDockManager->CreateAutoHideStrip(this, pCurrAutoHideBar);
    if (pStrip == nullptr) {
        // No strip: the pane goes back where it was.
        m_bIsAutoHideMode = FALSE;
        pSlider->RemoveControlBar(this);
        m_hDefaultSlider = nullptr;
        DockControlBar(this, nullptr, QMXP_DM_DBL_CLICK);
        return nullptr;
    }
    if (GetStyle() & WS_VISIBLE) {
        pSlider->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        pDockSite->RedrawWindow(&rectOld, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    } else {
        ShowWindow(SW_SHOW);
    }
    if (bUseTimer) {
        m_nAutoHideWatchTimer = SetTimer(kWatchTimer, kWatchPeriod, nullptr);
    } else {
        Slide(FALSE, FALSE);
    }
    return pStrip;
}

void CQMXPDockingControlBar::UnSetAutoHideMode(CQMXPDockingControlBar* pFirstBarInGroup) {
    m_bIsAutoHideMode = FALSE;
    if (m_nAutoHideWatchTimer != 0)
        KillTimer(m_nAutoHideWatchTimer);
    if (m_nSlideTimer != 0)
        KillTimer(m_nSlideTimer);
    m_nAutoHideWatchTimer = m_nSlideTimer = 0;
    m_bIsSliding = m_bIsHiding = FALSE;
    const BOOL bActive = m_pAutoHideBar != nullptr ? m_pAutoHideBar->IsActiveInGroup() : TRUE;
    if (m_pAutoHideBar != nullptr)
        m_pAutoHideBar->RemovePaneButton(this);
    SetAutoHideParents(nullptr, nullptr);
    CQMXPSlider* pSlider = GetDefaultSlider();
    if (pSlider != nullptr)
        pSlider->RemoveControlBar(this);
    m_hDefaultSlider = nullptr;
    if (pFirstBarInGroup == nullptr) {
        if (!DockControlBar(this, nullptr, QMXP_DM_DBL_CLICK))
            return;
    } else {
        AttachToTabWnd(pFirstBarInGroup, 3, bActive, nullptr);
    }
    ShowControlBar(TRUE, FALSE, bActive);
    AdjustDockingLayout();
}

// Sliding -------------------------------------------------------------------------------------

void CQMXPDockingControlBar::Slide(BOOL bShow, BOOL bUseTimer) {
    if (!m_bIsAutoHideMode)
        return;
    if (m_nSlideTimer != 0)
        KillTimer(m_nSlideTimer);
    if (m_nAutoHideWatchTimer != 0)
        KillTimer(m_nAutoHideWatchTimer);
    m_nSlideTimer = m_nAutoHideWatchTimer = 0;
    CWnd* pDockSite = GetDockSiteFrameWnd();
    CQMXPSlider* pSlider = GetDefaultSlider();
    CRect rect;
    GetWindowRect(&rect);
    if (!bUseTimer) {
        // At once: one step the whole way.
        m_nSlideDelta = (GetCurrentAlignment() & 0xA000) != 0 ? rect.Height() : rect.Width();
        m_rectRestored = rect;
        OnSlide(FALSE);
        ShowWindow(SW_HIDE);
        if (pSlider != nullptr)
            pSlider->ShowWindow(SW_HIDE);
        m_nSlideStepsNum = 0;
        return;
    }
    CQMXPDockManager* pDockManager = FrameDockManager();
    if (bShow) {
        if (pDockManager != nullptr) {
            pDockManager->SlideInAutoHidePanes(this, FALSE);
            if (pSlider != nullptr)
                pDockManager->PlaceAutoHidePane(pSlider, FALSE);
        }
        ShowWindow(SW_SHOW);
        if (pSlider != nullptr)
            pSlider->ShowWindow(SW_SHOW);
    }
    BringWindowToTop();
    if (pSlider != nullptr)
        pSlider->BringWindowToTop();
    if (m_nAutoHideSlideMode == 1 && pDockManager != nullptr)
        pDockManager->RaiseBarsOfSide(0, TRUE);
    m_nSlideTimer = SetTimer(bShow ? kSlideOutTimer : kSlideInTimer, kSlidePeriod, nullptr);
    const BOOL bHorz = (GetCurrentAlignment() & 0xA000) != 0;
    if (m_nAutoHideSlideMode == 1) {
        const CRect rectSite = InSite(this, pDockSite);
        m_nSlideDelta = std::max(1, (bHorz ? rectSite.Height() : rectSite.Width()) / kSlideSteps);
    } else {
        if (!bShow && !m_bIsSliding)
            m_rectRestored = InSite(this, pDockSite);
        m_nSlideDelta = std::max(1, (bHorz ? m_rectRestored.Height() : m_rectRestored.Width()) / kSlideSteps);
    }
    m_nSlideStepsNum = 0;
    m_bIsSliding = TRUE;
}

void CQMXPDockingControlBar::OnSlide(BOOL bShow) {
    CQMXPSlider* pSlider = GetDefaultSlider();
    if (!m_bIsAutoHideMode && pSlider == nullptr)
        return;
    ++m_nSlideStepsNum;
    CWnd* pDockSite = GetDockSiteFrameWnd();
    CRect P = InSite(this, pDockSite);
    CRect S = pSlider != nullptr ? InSite(pSlider, pDockSite) : CRect(0, 0, 0, 0);
    const DWORD dwSide = GetCurrentAlignment() & 0xF000;
    if (m_nAutoHideSlideMode == 1) {
        // Away from the frame edge when showing, towards it when hiding.
        const int d = bShow ? m_nSlideDelta : -m_nSlideDelta;
        const CSize offset = dwSide == kAlignLeft    ? CSize(d, 0)
                             : dwSide == kAlignRight ? CSize(-d, 0)
                             : dwSide == kAlignTop   ? CSize(0, d)
                                                     : CSize(0, -d);
        P.OffsetRect(offset);
        S.OffsetRect(offset);
        CQMXPDockBar* pDockBar = m_pAutoHideBar != nullptr ? m_pAutoHideBar->GetParentDockBar() : nullptr;
        if (bShow && pDockBar != nullptr) {
            // The pane's outer edge stops at the inner edge of the strips' dock bar.
            const CRect D = InSite(pDockBar, pDockSite);
            CSize back(0, 0);
            if (dwSide == kAlignTop && P.top > D.bottom)
                back.cy = D.bottom - P.top;
            else if (dwSide == kAlignLeft && P.left > D.right)
                back.cx = D.right - P.left;
            else if (dwSide == kAlignRight && P.right < D.left)
                back.cx = D.left - P.right;
            else if (dwSide == kAlignBottom && P.bottom < D.top)
                back.cy = D.top - P.bottom;
            P.OffsetRect(back);
            S.OffsetRect(back);
        }
    } else {
        // The free edge moves; the slider goes with it.
        const BOOL bHorz = (dwSide & 0xA000) != 0;
        const int nMax = bHorz ? m_rectRestored.Height() : m_rectRestored.Width();
        const int nNow = bHorz ? P.Height() : P.Width();
        const int nNew = bShow ? std::min(nMax, nNow + m_nSlideDelta) : std::max(0, nNow - m_nSlideDelta);
        const int nMove = nNew - nNow;
        switch (dwSide) {
        case kAlignLeft:
            P.right += nMove;
            S.OffsetRect(nMove, 0);
            break;
        case kAlignRight:
            P.left -= nMove;
            S.OffsetRect(-nMove, 0);
            break;
        case kAlignTop:
            P.bottom += nMove;
            S.OffsetRect(0, nMove);
            break;
        default:
            P.top -= nMove;
            S.OffsetRect(0, -nMove);
            break;
        }
    }
    CWnd::SetWindowPos(nullptr, P.left, P.top, P.Width(), P.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    if (pSlider != nullptr)
        pSlider->CWnd::SetWindowPos(nullptr, S.left, S.top, S.Width(), S.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CQMXPDockingControlBar::CheckStopSlideCondition(BOOL bShow) {
    if (!m_bIsAutoHideMode)
        return TRUE;
    CWnd* pDockSite = GetDockSiteFrameWnd();
    const CRect P = InSite(this, pDockSite);
    const DWORD dwSide = GetCurrentAlignment() & 0xF000;
    if (m_nAutoHideSlideMode != 1) {
        const BOOL bHorz = (dwSide & 0xA000) != 0;
        const int nNow = bHorz ? P.Height() : P.Width();
        return bShow ? nNow >= (bHorz ? m_rectRestored.Height() : m_rectRestored.Width()) : nNow <= 0;
    }
    CQMXPDockBar* pDockBar = m_pAutoHideBar != nullptr ? m_pAutoHideBar->GetParentDockBar() : nullptr;
    if (pDockBar == nullptr)
        return TRUE;
    const CRect D = InSite(pDockBar, pDockSite);
    switch (dwSide) {
    case kAlignTop:
        return bShow ? P.top >= D.bottom : P.bottom <= D.bottom;
    case kAlignLeft:
        return bShow ? P.left >= D.right : P.right <= D.right;
    case kAlignRight:
        return bShow ? P.right <= D.left : P.left >= D.left;
    default:
        return bShow ? P.bottom <= D.top : P.top >= D.top;
    }
}

BOOL CQMXPDockingControlBar::CheckAutoHideCondition() {
    if (m_bActive || m_dwDockState != 0 || !m_bIsAutoHideMode ||
        (m_ToolTip.GetSafeHwnd() != nullptr && (m_ToolTip.GetStyle() & WS_VISIBLE)))
        return FALSE;
    const CPoint ptCursor = QMXPGetCursorPos();
    if (m_pAutoHideButton != nullptr && m_pAutoHideBar != nullptr) {
        CRect rectButton = m_pAutoHideButton->GetRect();
        m_pAutoHideBar->ClientToScreen(&rectButton);
        if (rectButton.PtInRect(ptCursor))
            return FALSE;
    }
    CQMXPSlider* pSlider = GetDefaultSlider();
    CRect rectUnion;
    GetWindowRect(&rectUnion);
    const HWND hUnder = ::WindowFromPoint(ptCursor);
    BOOL bInside = hUnder == m_hWnd || ::IsChild(m_hWnd, hUnder);
    if (pSlider != nullptr) {
        CRect rectSlider;
        pSlider->GetWindowRect(&rectSlider);
        rectUnion.UnionRect(rectUnion, rectSlider);
        bInside = bInside || hUnder == pSlider->m_hWnd || ::IsChild(pSlider->m_hWnd, hUnder);
    }
    if (rectUnion.PtInRect(ptCursor) && bInside)
        return FALSE;
    Slide(FALSE, TRUE);
    return TRUE;
}

void CQMXPDockingControlBar::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kSlideInTimer || nIDEvent == kSlideOutTimer) {
        const BOOL bShow = nIDEvent == kSlideOutTimer;
        m_bIsHiding = !bShow;
        OnSlide(bShow);
        if (CheckStopSlideCondition(bShow)) {
            KillTimer(nIDEvent);
            m_bIsSliding = FALSE;
            m_nSlideTimer = 0;
            m_nSlideStepsNum = 0;
            CQMXPSlider* pSlider = GetDefaultSlider();
            if (bShow) {
                RedrawWindow(nullptr, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
                if (pSlider != nullptr)
                    pSlider->Invalidate();
                m_nAutoHideWatchTimer = SetTimer(kWatchTimer, kWatchPeriod, nullptr);
            } else {
                ShowWindow(SW_HIDE);
                if (pSlider != nullptr)
                    pSlider->ShowWindow(SW_HIDE);
            }
        }
    } else if (nIDEvent == kWatchTimer) {
        if (CheckAutoHideCondition()) {
            KillTimer(kWatchTimer);
            m_nAutoHideWatchTimer = 0;
        }
        return;
    }
    CQMXPControlBar::OnTimer(nIDEvent);
}
