// CQMXPDockManager: the placement of the bars around the client area, the
// outline a dragged window would dock at, and the drag tracking of floating
// frames.
#include "docking/bars/QMXPControlBar.h"
#include "docking/bars/QMXPDockBar.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/bars/QMXPSlider.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/frames/QMXPMultiMiniFrameWnd.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "platform/classlib/FrameWnd.h"

namespace {

constexpr DWORD kAlignTop = 0x2000;
constexpr DWORD kAlignBottom = 0x8000;
constexpr DWORD kAlignLeft = 0x1000;
constexpr DWORD kAlignRight = 0x4000;

}  // namespace

void CQMXPDockManager::PlaceAlongSide(const CRect& rectBounds, CRect& rect, DWORD dwAlignment, BOOL bHorizontal,
                                      BOOL bResizable) {
    const int w = rect.Width();
    const int h = rect.Height();
    switch (dwAlignment & 0xF000) {
    case kAlignTop:
        rect.SetRect(rectBounds.left, rectBounds.top, rectBounds.right, rectBounds.top + h);
        break;
    case kAlignBottom:
        rect.SetRect(rectBounds.left, rectBounds.bottom - h, rectBounds.right, rectBounds.bottom);
        break;
    case kAlignLeft:
        rect.SetRect(rectBounds.left, rectBounds.top, rectBounds.left + w, rectBounds.bottom);
        break;
    case kAlignRight:
        rect.SetRect(rectBounds.right - w, rectBounds.top, rectBounds.right, rectBounds.bottom);
        break;
    default:
        return;
    }
    if (!bResizable)
        return;
    // A resizable bar larger than what is left gives up the difference on its inner side.
    if (bHorizontal && rect.Height() > rectBounds.Height()) {
        if (dwAlignment & kAlignTop)
            rect.bottom = rect.top + rectBounds.Height();
        else
            rect.top = rect.bottom - rectBounds.Height();
    } else if (!bHorizontal && rect.Width() > rectBounds.Width()) {
        if (dwAlignment & kAlignLeft)
            rect.right = rect.left + rectBounds.Width();
        else
            rect.left = rect.right - rectBounds.Width();
    }
}

void CQMXPDockManager::AdjustDockingLayout(HDWP hdwp) {
    if (m_bInLayout || m_pFrame == nullptr || m_pFrame->GetSafeHwnd() == nullptr)
        return;
    // A held layout keeps the client area of the last one: the bars still
    // take their room, and the view asking meanwhile must not cover them.
    if (m_nLayoutHolds > 0 && m_bLayoutEnabled && !m_lstBars.IsEmpty()) {
        m_bLayoutAsked = TRUE;
        return;
    }
    CRect rectClient;
    m_pFrame->GetClientRect(&rectClient);
    m_rectClientArea = rectClient;
    if (!m_bLayoutEnabled || m_lstBars.IsEmpty())
        return;
    m_bInLayout = TRUE;
    const BOOL bOwnDefer = hdwp == nullptr && !m_bPrintPreview;
    if (bOwnDefer)
        hdwp = ::BeginDeferWindowPos(static_cast<int>(m_lstBars.GetCount()));

    const CRect rectOuterBefore = m_rectOuterDockArea;
    CRect rectAvailable = rectClient;
    m_pFrame->ClientToScreen(&rectAvailable);
    // The outer docking rectangle lies inside the last dock bar of the list.
    CObject* pLastDockBar = nullptr;
    for (POSITION pos = m_lstBars.GetTailPosition(); pos != nullptr && pos != m_lstBars.GetHeadPosition();) {
        CObject* pObject = m_lstBars.GetPrev(pos);
        if (pObject->IsKindOf(RUNTIME_CLASS(CQMXPDockBar))) {
            pLastDockBar = pObject;
            break;
        }
    }
    CRect rectOuter;
    BOOL bOuterTaken = FALSE;
    const BOOL bBarsAside = m_bPrintPreview || m_bAllBarsHidden;
    for (POSITION pos = m_lstBars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CQMXPBaseControlBar*>(m_lstBars.GetNext(pos));
        const BOOL bVisible = (pBar->GetStyle() & WS_VISIBLE) != 0;
        const BOOL bDockBar = pBar->IsKindOf(RUNTIME_CLASS(CQMXPDockBar));
        auto* pSlider = DYNAMIC_DOWNCAST(CQMXPSlider, pBar);
        auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pBar);
        // A pane at a slider is placed by its slider.
        if ((!bVisible && (pBar->IsKindOf(RUNTIME_CLASS(CQMXPControlBar)) || pSlider != nullptr)) ||
            (!bVisible && bDockBar && bBarsAside) || (pPane != nullptr && pPane->GetDefaultSlider() != nullptr)) {
            if (pBar == pLastDockBar) {
                rectOuter = rectAvailable;
                bOuterTaken = TRUE;
            }
            continue;
        }
        CRect rect;
        pBar->GetWindowRect(&rect);
        const DWORD dwAlignment = pBar->GetCurrentAlignment();
        const BOOL bHorz = pBar->IsHorizontal();
        const BOOL bResizable = pBar->DocksToFrameEdge();
        const CSize size = pBar->CalcFixedLayout(FALSE, bHorz);
        if (bHorz) {
            if (dwAlignment & kAlignTop)
                rect.bottom = rect.top + size.cy;
            else
                rect.top = rect.bottom - size.cy;
        } else {
            if (dwAlignment & kAlignLeft)
                rect.right = rect.left + size.cx;
            else
                rect.left = rect.right - size.cx;
        }
        PlaceAlongSide(rectAvailable, rect, dwAlignment, bHorz, bResizable);
        if (bDockBar && (bHorz ? rect.Width() > 0 : rect.Height() >= 1)) {
            CRect rectInBar = rect;
            pBar->ScreenToClient(&rectInBar);
            static_cast<CQMXPDockBar*>(pBar)->OnSizeChanged(rectInBar);
        }
        if (pSlider != nullptr) {
            pSlider->RepositionPanes(rect, hdwp);
        } else {
            CRect rectInParent = rect;
            pBar->GetParent()->ScreenToClient(&rectInParent);
            hdwp = pBar->SetWindowPos(nullptr, rectInParent.left, rectInParent.top, rectInParent.Width(),
                                      rectInParent.Height(), SWP_NOZORDER | SWP_NOACTIVATE, hdwp);
        }
        switch (dwAlignment & 0xF000) {
        case kAlignTop:
            rectAvailable.top += rect.Height();
            break;
        case kAlignBottom:
            rectAvailable.bottom -= rect.Height();
            break;
        case kAlignLeft:
            rectAvailable.left += rect.Width();
            break;
        case kAlignRight:
            rectAvailable.right -= rect.Width();
            break;
        default:
            break;
        }
        if (pBar == pLastDockBar) {
            rectOuter = rectAvailable;
            bOuterTaken = TRUE;
        }
    }
    if (!bOuterTaken || rectOuter.IsRectEmpty() || m_bAllBarsHidden)
        rectOuter = rectAvailable;
    m_pFrame->ScreenToClient(&rectAvailable);
    m_pFrame->ScreenToClient(&rectOuter);
    m_rectClientArea = rectAvailable;
    m_rectOuterDockArea = rectOuter;
    if (bOwnDefer && hdwp != nullptr)
        ::EndDeferWindowPos(hdwp);
    // A slid-out pane does not outlive a change of the docking edge.
    if (m_rectOuterDockArea != rectOuterBefore)
        SlideInAutoHidePanes(nullptr, TRUE);
    AdjustAutoHideCorners();
    m_bInLayout = FALSE;
}

BOOL CQMXPDockManager::LimitDockedRect(CRect& rect, DWORD dwAlignment) {
    const BOOL bHorz = (dwAlignment & 0xA000) != 0;
    const int nLimit = globalData.dockPercentage * (bHorz ? m_rectClientArea.Height() : m_rectClientArea.Width()) / 100;
    if ((bHorz ? rect.Height() : rect.Width()) < nLimit || (dwAlignment & 0xF000) == 0)
        return FALSE;
    // The edge at the frame's side stays where it is.
    switch (dwAlignment & 0xF000) {
    case kAlignTop:
        rect.bottom = rect.top + nLimit;
        break;
    case kAlignBottom:
        rect.top = rect.bottom - nLimit;
        break;
    case kAlignLeft:
        rect.right = rect.left + nLimit;
        break;
    default:
        rect.left = rect.right - nLimit;
        break;
    }
    return TRUE;
}

void CQMXPDockManager::ExpectedDockRect(CWnd* pWnd, CPoint point, CRect& rectResult, BOOL& bDrawTab,
                                        CQMXPDockingControlBar** ppTargetBar) {
    rectResult.SetRectEmpty();
    bDrawTab = FALSE;
    if (ppTargetBar != nullptr)
        *ppTargetBar = nullptr;
    if (::GetKeyState(VK_CONTROL) < 0 || m_pFrame == nullptr)
        return;
    auto* pDraggedFrame = DYNAMIC_DOWNCAST(CQMXPMiniFrameWnd, pWnd);
    auto* pDraggedBar = DYNAMIC_DOWNCAST(CQMXPBaseControlBar, pWnd);
    CQMXPMiniFrameWnd* pOwnFrame =
        pDraggedFrame != nullptr ? pDraggedFrame : (pDraggedBar != nullptr ? pDraggedBar->GetParentMiniFrame(TRUE) : nullptr);
    // A floating frame of several panes under the point works it out itself.
    auto* pMultiFrame = DYNAMIC_DOWNCAST(CQMXPMultiMiniFrameWnd, FloatingFrameFromPoint(point, pOwnFrame, TRUE));
    if (pMultiFrame != nullptr) {
        pMultiFrame->CalcExpectedDockedRect(pWnd, point, rectResult, bDrawTab, ppTargetBar);
        return;
    }
    // A docked pane under the point answers through its slider.
    for (POSITION pos = m_lstBars.GetHeadPosition(); pos != nullptr;) {
        auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, m_lstBars.GetNext(pos));
        if (pPane == nullptr || pPane == pWnd || !(pPane->GetStyle() & WS_VISIBLE))
            continue;
        CRect rectPane;
        pPane->GetWindowRect(&rectPane);
        CQMXPSlider* pSlider = pPane->GetDefaultSlider();
        if (!rectPane.PtInRect(point) || pSlider == nullptr)
            continue;
        if (pDraggedFrame != nullptr && !pPane->QueryMiniFrame(pDraggedFrame))
            break;
        pSlider->CalcExpectedDockedRect(pWnd, point, rectResult, bDrawTab, ppTargetBar);
        return;
    }
    DWORD dwAlignment = 0;
    BOOL bOuter = FALSE;
    if (!IsPointNearDockBar(point, dwAlignment, bOuter))
        return;
    if (pWnd->IsKindOf(RUNTIME_CLASS(CQMXPMiniFrameWnd))) {
        CQMXPBaseControlBar* pBar = static_cast<CQMXPMiniFrameWnd*>(pWnd)->GetControlBar();
        if (pBar == nullptr || (pBar->GetEnabledAlignment() & dwAlignment) == 0)
            return;
    }
    CRect rectWnd;
    pWnd->GetWindowRect(&rectWnd);
    CRect rect = bOuter ? m_rectOuterDockArea : m_rectClientArea;
    switch (dwAlignment) {
    case kAlignLeft:
        rect.right = rect.left + rectWnd.Width();
        break;
    case kAlignRight:
        rect.left = rect.right - rectWnd.Width();
        break;
    case kAlignTop:
        rect.bottom = rect.top + rectWnd.Height();
        break;
    default:
        rect.top = rect.bottom - rectWnd.Height();
        break;
    }
    LimitDockedRect(rect, dwAlignment);
    m_pFrame->ClientToScreen(&rect);
    rectResult = rect;
}

BOOL CQMXPDockManager::OnMoveMiniFrame(CQMXPMiniFrameWnd* pFrame) {
    if (::GetKeyState(VK_CONTROL) < 0)
        return TRUE;
    auto* pBar = DYNAMIC_DOWNCAST(CQMXPControlBar, pFrame->GetControlBar());
    const BOOL bPlain = pBar != nullptr && (!(pBar->GetBarStyle() & QMXP_CBRS_FLOAT_MULTI) ||
                                            !pBar->IsKindOf(RUNTIME_CLASS(CQMXPDockingControlBar)));
    if (!bPlain) {
        // A floating frame of several panes of the same frame takes the
        // dragged one in once the cursor has stayed over it for the pane wait.
        auto* pUnder = DYNAMIC_DOWNCAST(CQMXPMultiMiniFrameWnd, FloatingFrameFromPoint(QMXPGetCursorPos(), pFrame, TRUE));
        if (pUnder != nullptr && pUnder->GetParentHandle() == pFrame->GetParentHandle()) {
            if (pUnder != m_pLastMultiMiniFrame) {
                m_pLastMultiMiniFrame = pUnder;
                m_clkLastTime = m_pfnClock();
                pFrame->SetDockingTimer(static_cast<UINT>(m_nTimeOutBeforeDockingBarDock));
                return TRUE;
            }
            if (m_pfnClock() - m_clkLastTime <= m_nTimeOutBeforeDockingBarDock)
                return TRUE;
            m_pLastMultiMiniFrame = nullptr;
            pFrame->KillDockingTimer();
            return pUnder->DockMiniFrame(pFrame, QMXP_DM_MOUSE);
        }
    }
    m_pLastMultiMiniFrame = nullptr;
    if (pBar == nullptr || (pBar->GetEnabledAlignment() & 0xF000) == 0)
        return TRUE;
    CQMXPBaseControlBar* pTarget = nullptr;
    int nStatus = pBar->IsChangeState(qmxDockSensitivity, &pTarget);
    if (pTarget == pBar)
        nStatus = QMXP_CS_NOTHING;
    int nWait = 0;
    if (pTarget != nullptr && pTarget->IsKindOf(RUNTIME_CLASS(CQMXPDockBar)))
        nWait = m_nTimeOutBeforeToolBarDock;
    else if ((pTarget != nullptr && pTarget->IsKindOf(RUNTIME_CLASS(CQMXPDockingControlBar))) ||
             (pTarget == nullptr && nStatus == QMXP_CS_DELAY_DOCK))
        nWait = m_nTimeOutBeforeDockingBarDock;
    if (nWait > 0) {
        if (pTarget != m_pLastTargetBar || nStatus != m_nLastStatus) {
            m_pLastTargetBar = pTarget;
            m_nLastStatus = nStatus;
            m_clkLastTime = m_pfnClock();
            pFrame->SetDockingTimer(static_cast<UINT>(nWait));
        }
        if (m_pfnClock() - m_clkLastTime < nWait)
            return TRUE;
    }
    m_pLastTargetBar = nullptr;
    m_nLastStatus = QMXP_CS_NOTHING;
    m_clkLastTime = 0;
    pFrame->KillDockingTimer();
    return DockTrackedFrame(pFrame, pBar, pTarget, nStatus);
}

BOOL CQMXPDockManager::DockTrackedFrame(CQMXPMiniFrameWnd* pFrame, CQMXPBaseControlBar* pBar,
                                        CQMXPBaseControlBar* pTarget, int nStatus) {
    switch (nStatus) {
    case QMXP_CS_DELAY_DOCK:
        return pFrame->SetDockingMode(QMXP_DOCK_PLACE, pTarget);
    case QMXP_CS_DELAY_DOCK_TO_TAB: {
        const BOOL bResult = pFrame->SetDockingMode(QMXP_DOCK_TAB, pTarget);
        AdjustDockingLayout(nullptr);
        return bResult;
    }
    case QMXP_CS_DOCK_IMMEDIATELY:
        if (pTarget != nullptr) {
            pFrame->SetDockingMode(QMXP_DOCK_NONE, nullptr);
            return !pBar->DockControlBar(pTarget, nullptr, QMXP_DM_MOUSE);
        }
        break;
    default:
        break;
    }
    return pFrame->SetDockingMode(QMXP_DOCK_NONE, nullptr);
}
