#include "docking/bars/QMXPDockManager.h"

#include "docking/bars/QMXPAutoHideDockBar.h"
#include "docking/bars/QMXPBaseTabbedBar.h"
#include "docking/bars/QMXPControlBar.h"
#include "docking/bars/QMXPDockBar.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/bars/QMXPSlider.h"
#include "docking/bars/QMXPStatusBar.h"
#include "docking/frames/QMXPMDIChildWnd.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/frames/QMXPMultiMiniFrameWnd.h"
#include "docking/toolbars/QMXPBaseToolBar.h"
#include "platform/classlib/FrameWnd.h"

#include <ctime>

IMPLEMENT_DYNAMIC(CQMXPDockManager, CObject)

namespace {

long RuntimeClockMs() { return static_cast<long>(std::clock() * 1000L / CLOCKS_PER_SEC); }

// The dock-bar ids of the edges and the alignment a pane docks with there.
const struct {
    UINT nID;
    DWORD dwAlignment;
} kEdgeAlignments[] = {
    {AFX_IDW_DOCKBAR_TOP, 0x2800},
    {AFX_IDW_DOCKBAR_BOTTOM, 0x8200},
    {AFX_IDW_DOCKBAR_LEFT, 0x1400},
    {AFX_IDW_DOCKBAR_RIGHT, 0x4100},
};

BOOL IsLibraryBar(CWnd* pWnd) { return pWnd->IsKindOf(RUNTIME_CLASS(CQMXPBaseControlBar)); }

}  // namespace

CQMXPDockManager::ClockFunction CQMXPDockManager::m_pfnClock = RuntimeClockMs;
int CQMXPDockManager::m_nTimeOutBeforeToolBarDock = 200;
int CQMXPDockManager::m_nTimeOutBeforeDockingBarDock = 220;

CQMXPDockManager::CQMXPDockManager()
    : m_bLayoutEnabled(TRUE),
      m_bRedrawLocked(FALSE),
      m_bRelayoutBlocked(FALSE),
      m_pFrame(nullptr),
      m_rectClientArea(0, 0, 0, 0),
      m_rectOuterDockArea(0, 0, 0, 0),
      m_dwDockBarSides(0),
      m_dwAutoHideSides(0),
      m_pLastTargetBar(nullptr),
      m_pLastMultiMiniFrame(nullptr),
      m_clkLastTime(0),
      m_nLastStatus(QMXP_CS_NOTHING),
      m_bPrintPreview(FALSE),
      m_bAllBarsHidden(FALSE),
      m_bInLayout(FALSE),
      m_bInRelayout(FALSE),
      m_bLoadFailed(FALSE) {}

CQMXPDockManager::~CQMXPDockManager() {
    m_lstBars.RemoveAll();
    m_lstAutoHideSliders.RemoveAll();
    m_lstLoadedItems.RemoveAll();
    m_lstLoadedTabGroups.RemoveAll();
    m_lstLoadedFloatingFrames.RemoveAll();
    ClearLoadedAutoHideRecords();
    m_lstFloatingFrames.RemoveAll();
    m_lstHiddenBars.RemoveAll();
    m_lstDeactivatedFrames.RemoveAll();
}

BOOL CQMXPDockManager::Create(CFrameWnd* pFrame) {
    m_pFrame = pFrame;
    return TRUE;
}

BOOL CQMXPDockManager::EnableDocking(DWORD dwDockStyle) {
    // Dock bars are children of the frame: none before the frame is known.
    if (m_pFrame == nullptr)
        return FALSE;
    static const DWORD kSides[] = {0x2000, 0x8000, 0x1000, 0x4000};
    for (DWORD dwSide : kSides) {
        if ((dwDockStyle & dwSide) == 0 || (m_dwDockBarSides & dwSide) != 0)
            continue;
        auto* pDockBar = static_cast<CQMXPDockBar*>(RUNTIME_CLASS(CQMXPDockBar)->CreateObject());
        if (!pDockBar->Create(dwSide, CRect(0, 0, 0, 0), m_pFrame, 0)) {
            delete pDockBar;
            return FALSE;
        }
        m_lstBars.AddTail(pDockBar);
        m_dwDockBarSides |= dwSide;
    }
    AdjustDockingLayout(nullptr);
    return TRUE;
}

BOOL CQMXPDockManager::EnableAutoHideBars(DWORD dwDockStyle) {
    if (m_pFrame == nullptr)
        return FALSE;
    static const DWORD kSides[] = {0x2000, 0x8000, 0x1000, 0x4000};
    for (DWORD dwSide : kSides) {
        if ((dwDockStyle & dwSide) == 0 || (m_dwAutoHideSides & dwSide) != 0)
            continue;
        if ((m_dwDockBarSides & dwSide) == 0 && !EnableDocking(dwSide))
            return FALSE;
        auto* pDockBar = static_cast<CQMXPAutoHideDockBar*>(RUNTIME_CLASS(CQMXPAutoHideDockBar)->CreateObject());
        if (!pDockBar->Create(dwSide, CRect(0, 0, 0, 0), m_pFrame, 0)) {
            delete pDockBar;
            return FALSE;
        }
        m_lstBars.AddTail(pDockBar);
        m_dwAutoHideSides |= dwSide;
    }
    AdjustDockingLayout(nullptr);
    return TRUE;
}

BOOL CQMXPDockManager::IsBarListed(CQMXPBaseControlBar* pBar) const { return m_lstBars.Find(pBar) != nullptr; }

BOOL CQMXPDockManager::AddControlBar(CQMXPBaseControlBar* pWnd, BOOL bTail, BOOL bAutoHide,
                                     BOOL bInsertForOuterEdge) {
    CObList& list = bAutoHide ? m_lstAutoHideSliders : m_lstBars;
    if (list.Find(pWnd) != nullptr)
        return FALSE;
    if (bTail) {
        list.AddTail(pWnd);
    } else if (!bInsertForOuterEdge) {
        list.AddHead(pWnd);
    } else {
        POSITION posTarget = nullptr;
        for (POSITION pos = list.GetHeadPosition(); pos != nullptr; list.GetNext(pos)) {
            if (static_cast<CQMXPBaseControlBar*>(list.GetAt(pos))->IsInsertTarget()) {
                posTarget = pos;
                break;
            }
        }
        if (posTarget != nullptr) {
            list.InsertBefore(posTarget, pWnd);
            return TRUE;
        }
        list.AddTail(pWnd);
    }
    pWnd->SetDockSite(m_pFrame);
    return TRUE;
}

BOOL CQMXPDockManager::InsertControlBar(CQMXPBaseControlBar* pControlBar, CQMXPBaseControlBar* pTarget, BOOL bAfter) {
    POSITION posTarget = m_lstBars.Find(pTarget);
    if (m_lstBars.Find(pControlBar) != nullptr || posTarget == nullptr)
        return FALSE;
    if (bAfter)
        m_lstBars.InsertAfter(posTarget, pControlBar);
    else
        m_lstBars.InsertBefore(posTarget, pControlBar);
    return TRUE;
}

void CQMXPDockManager::RemoveControlBarFromDockManager(CQMXPBaseControlBar* pWnd, BOOL bDestroy, BOOL bAdjustLayout,
                                                      BOOL bAutoHide) {
    CObList& list = bAutoHide ? m_lstAutoHideSliders : m_lstBars;
    POSITION pos = list.Find(pWnd);
    if (pos == nullptr)
        return;
    list.RemoveAt(pos);
    if (bDestroy)
        pWnd->DestroyWindow();
    if (bAdjustLayout)
        AdjustDockingLayout(nullptr);
}

void CQMXPDockManager::DockControlBar(CQMXPBaseControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
    if (m_lstBars.IsEmpty() || pBar == nullptr)
        return;
    pBar->UndockControlBar(TRUE);
    if (!pBar->TestControlBarStyle4() && !pBar->CanFloat()) {
        if (!IsBarListed(pBar)) {
            m_lstBars.AddTail(pBar);
            pBar->SetDockSite(m_pFrame);
        }
        return;
    }
    if (pBar->DocksToFrameEdge()) {
        DWORD dwAlignment = pBar->GetCurrentAlignment();
        if (nDockBarID != 0) {
            dwAlignment = 0;
            for (const auto& edge : kEdgeAlignments) {
                if (edge.nID == nDockBarID && (edge.dwAlignment & pBar->GetEnabledAlignment()) != 0) {
                    dwAlignment = edge.dwAlignment;
                    break;
                }
            }
            if (dwAlignment == 0)
                return;
        }
        pBar->DockToFrameWindow(dwAlignment, nullptr, 1, nullptr, -1, FALSE);
        return;
    }
    for (POSITION pos = m_lstBars.GetHeadPosition(); pos != nullptr;) {
        CObject* pObject = m_lstBars.GetNext(pos);
        if (!pObject->IsKindOf(RUNTIME_CLASS(CQMXPDockBar)))
            continue;
        auto* pDockBar = static_cast<CQMXPDockBar*>(pObject);
        if (nDockBarID != 0 && pDockBar->GetDockBarID() != nDockBarID)
            continue;
        if (!pBar->CanBeDocked(pDockBar) || !pDockBar->CanAcceptBar(pBar))
            continue;
        if (pBar->DockControlBar(pDockBar, lpRect, QMXP_DM_RECT))
            pBar->Invalidate();
        return;
    }
}

BOOL CQMXPDockManager::IsPointNearDockBar(CPoint point, DWORD& dwBarAlignment, BOOL& bOuterEdge) const {
    if (m_pFrame == nullptr)
        return FALSE;
    CRect rectOuter = m_rectOuterDockArea;
    m_pFrame->ClientToScreen(&rectOuter);
    if (qmxGlobalUtils.CheckAlignment(point, nullptr, qmxDockSensitivity, TRUE, dwBarAlignment, m_dwDockBarSides,
                                      &rectOuter)) {
        bOuterEdge = TRUE;
        return TRUE;
    }
    CRect rectInner = m_rectClientArea;
    m_pFrame->ClientToScreen(&rectInner);
    bOuterEdge = FALSE;
    return qmxGlobalUtils.CheckAlignment(point, nullptr, qmxDockSensitivity, FALSE, dwBarAlignment, m_dwDockBarSides,
                                         &rectInner);
}

CQMXPBaseControlBar* CQMXPDockManager::ControlBarFromPoint(CPoint point, int nSensitivity, bool bExactBar,
                                                           CRuntimeClass* pRTCBarType, BOOL bCheckVisibility,
                                                           const CQMXPBaseControlBar* pBarToIgnore) const {
    // A floating frame of several panes under the point answers first.
    CQMXPMiniFrameWnd* pFrame = FloatingFrameFromPoint(point, nullptr, TRUE);
    if (pFrame != nullptr) {
        CQMXPBaseControlBar* pBar = pFrame->ControlBarFromPoint(point, nSensitivity, bCheckVisibility);
        if (pBar != nullptr && pBar != pBarToIgnore && (pRTCBarType == nullptr || pBar->IsKindOf(pRTCBarType)))
            return pBar;
    }
    for (POSITION pos = m_lstBars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CQMXPBaseControlBar*>(m_lstBars.GetNext(pos));
        if (pRTCBarType != nullptr && !pBar->IsKindOf(pRTCBarType))
            continue;
        if ((bCheckVisibility && !(pBar->GetStyle() & WS_VISIBLE)) || pBar == pBarToIgnore)
            continue;
        CRect rect;
        pBar->GetWindowRect(&rect);
        if (!bExactBar)
            rect.InflateRect(nSensitivity, nSensitivity);
        if (rect.PtInRect(point))
            return pBar;
    }
    return nullptr;
}

CQMXPBaseControlBar* CQMXPDockManager::ControlBarFromPoint(CPoint point, int nSensitivity, DWORD& dwAlignment,
                                                           CRuntimeClass* pRTCBarType,
                                                           const CQMXPBaseControlBar* pBarToIgnore) const {
    CQMXPBaseControlBar* pBar = ControlBarFromPoint(point, nSensitivity, true, nullptr, FALSE, pBarToIgnore);
    if (pBar == nullptr || (pRTCBarType != nullptr && !pBar->IsKindOf(pRTCBarType)))
        return nullptr;
    if (!qmxGlobalUtils.CheckAlignment(point, pBar, nSensitivity, FALSE, dwAlignment, 0xF000))
        return nullptr;
    return pBar;
}

CQMXPMiniFrameWnd* CQMXPDockManager::FloatingFrameFromPoint(CPoint point, CQMXPMiniFrameWnd* pFrameToIgnore,
                                                            BOOL bMultiMiniFrameOnly) const {
    for (POSITION pos = m_lstFloatingFrames.GetHeadPosition(); pos != nullptr;) {
        auto* pFrame = static_cast<CQMXPMiniFrameWnd*>(m_lstFloatingFrames.GetNext(pos));
        if (pFrame == pFrameToIgnore || !(pFrame->GetStyle() & WS_VISIBLE))
            continue;
        if (bMultiMiniFrameOnly && !pFrame->IsKindOf(RUNTIME_CLASS(CQMXPMultiMiniFrameWnd)))
            continue;
        CRect rect;
        pFrame->GetWindowRect(&rect);
        if (rect.PtInRect(point))
            return pFrame;
    }
    return nullptr;
}

int CQMXPDockManager::QueryDockStatus(CPoint point, int nSensitivity, DWORD dwEnabledAlignment,
                                      CQMXPBaseControlBar** ppTargetBar, const CQMXPBaseControlBar* pBarToIgnore,
                                      CQMXPBaseControlBar* pBarToDock) {
    *ppTargetBar = nullptr;
    CQMXPMiniFrameWnd* pOwnFrame = pBarToDock != nullptr ? pBarToDock->GetParentMiniFrame(TRUE) : nullptr;
    CQMXPBaseControlBar* pTarget = ControlBarFromPoint(point, nSensitivity, true,
                                                       RUNTIME_CLASS(CQMXPDockingControlBar), TRUE, pBarToIgnore);
    // The dragged bar's own floating frame is no target.
    if (pTarget != nullptr && pOwnFrame != nullptr && pTarget->GetParentMiniFrame(TRUE) == pOwnFrame)
        pTarget = nullptr;
    if (pTarget == nullptr) {
        auto* pMultiFrame =
            DYNAMIC_DOWNCAST(CQMXPMultiMiniFrameWnd, FloatingFrameFromPoint(point, pOwnFrame, TRUE));
        auto* pSingle = pMultiFrame != nullptr && pMultiFrame->GetControlBarCount() == 1
                            ? DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pMultiFrame->GetControlBar())
                            : nullptr;
        if (pSingle != nullptr && pSingle->GetDockingStatus(point, nSensitivity) == QMXP_CS_DELAY_DOCK) {
            // Onto the single pane of that frame: as a tab where panes may be
            // attached, else beside it.
            *ppTargetBar = pSingle;
            return pSingle->CanBeAttached() ? QMXP_CS_DELAY_DOCK_TO_TAB : QMXP_CS_DELAY_DOCK;
        }
    } else {
        auto* pPane = static_cast<CQMXPDockingControlBar*>(pTarget);
        const BOOL bDocked = pPane->GetParentMiniFrame(TRUE) == nullptr;
        const BOOL bBothMulti = (pPane->GetBarStyle() & QMXP_CBRS_FLOAT_MULTI) != 0 && pBarToDock != nullptr &&
                                (pBarToDock->GetBarStyle() & QMXP_CBRS_FLOAT_MULTI) != 0;
        if (bDocked || bBothMulti) {
            *ppTargetBar = pPane;
            return pPane->GetDockingStatus(point, nSensitivity);
        }
    }
    DWORD dwAlignment = 0;
    BOOL bOuter = FALSE;
    if (IsPointNearDockBar(point, dwAlignment, bOuter) && (dwAlignment & dwEnabledAlignment) != 0)
        return QMXP_CS_DELAY_DOCK;
    return QMXP_CS_NOTHING;
}

BOOL CQMXPDockManager::RegisterFloatingFrame(CQMXPMiniFrameWnd* pWnd) {
    if (m_lstFloatingFrames.Find(pWnd) != nullptr)
        return FALSE;
    m_lstFloatingFrames.AddTail(pWnd);
    return TRUE;
}

BOOL CQMXPDockManager::UnregisterFloatingFrame(CQMXPMiniFrameWnd* pWnd) {
    POSITION pos = m_lstFloatingFrames.Find(pWnd);
    if (pos == nullptr)
        return FALSE;
    m_lstFloatingFrames.RemoveAt(pos);
    return TRUE;
}

CQMXPBaseControlBar* CQMXPDockManager::FindBarByID(UINT uBarID, BOOL bSearchMiniFrames) {
    for (POSITION pos = m_lstAutoHideSliders.GetHeadPosition(); pos != nullptr;) {
        auto* pSlider = DYNAMIC_DOWNCAST(CQMXPSlider, m_lstAutoHideSliders.GetNext(pos));
        CQMXPBaseControlBar* pBar = pSlider != nullptr ? pSlider->GetFirstBar() : nullptr;
        if (pBar != nullptr && static_cast<UINT>(pBar->GetDlgCtrlID()) == uBarID)
            return pBar;
    }
    for (POSITION pos = m_lstBars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CQMXPBaseControlBar*>(m_lstBars.GetNext(pos));
        if (static_cast<UINT>(pBar->GetDlgCtrlID()) == uBarID)
            return pBar;
        if (pBar->IsKindOf(RUNTIME_CLASS(CQMXPBaseTabbedBar))) {
            auto* pTab = DYNAMIC_DOWNCAST(CQMXPBaseControlBar, static_cast<CQMXPBaseTabbedBar*>(pBar)->FindBarByID(uBarID));
            if (pTab != nullptr)
                return pTab;
        }
        if (pBar->IsKindOf(RUNTIME_CLASS(CQMXPDockBar))) {
            CQMXPControlBar* pDocked = static_cast<CQMXPDockBar*>(pBar)->FindBarByID(uBarID);
            if (pDocked != nullptr)
                return pDocked;
        }
    }
    if (bSearchMiniFrames) {
        for (POSITION pos = m_lstFloatingFrames.GetHeadPosition(); pos != nullptr;) {
            CQMXPBaseControlBar* pBar = static_cast<CQMXPMiniFrameWnd*>(m_lstFloatingFrames.GetNext(pos))->GetControlBar();
            if (pBar != nullptr && static_cast<UINT>(pBar->GetDlgCtrlID()) == uBarID)
                return pBar;
        }
    }
    return CQMXPMiniFrameWnd::FindFloatingBarByID(uBarID);
}

CQMXPDockBar* CQMXPDockManager::DockBarForSide(DWORD dwAlignment, BOOL bOuter) const {
    const DWORD dwSide = dwAlignment & 0xF000;
    POSITION pos = bOuter ? m_lstBars.GetHeadPosition() : m_lstBars.GetTailPosition();
    while (pos != nullptr) {
        CObject* pObject = bOuter ? m_lstBars.GetNext(pos) : m_lstBars.GetPrev(pos);
        if (pObject->IsKindOf(RUNTIME_CLASS(CQMXPDockBar)) &&
            static_cast<CQMXPDockBar*>(pObject)->GetCurrentAlignment() == dwSide)
            return static_cast<CQMXPDockBar*>(pObject);
    }
    return nullptr;
}

CQMXPDockBar* CQMXPDockManager::DockBarHoldingBar(CQMXPBaseControlBar* pBar) const {
    const UINT nID = static_cast<UINT>(pBar->GetDlgCtrlID());
    for (POSITION pos = m_lstBars.GetHeadPosition(); pos != nullptr;) {
        CObject* pObject = m_lstBars.GetNext(pos);
        if (!pObject->IsKindOf(RUNTIME_CLASS(CQMXPDockBar)))
            continue;
        auto* pDockBar = static_cast<CQMXPDockBar*>(pObject);
        if (pDockBar->FindBarByID(nID) != nullptr)
            return pDockBar->FindBarByID(nID) == pBar ? pDockBar : nullptr;
    }
    return nullptr;
}

void CQMXPDockManager::OnExitSizeMove() {
    for (POSITION pos = m_lstBars.GetHeadPosition(); pos != nullptr;) {
        CObject* pObject = m_lstBars.GetNext(pos);
        if (!pObject->IsKindOf(RUNTIME_CLASS(CQMXPDockBar)))
            continue;
        auto* pDockBar = static_cast<CQMXPDockBar*>(pObject);
        CRect rect;
        pDockBar->GetClientRect(&rect);
        pDockBar->OnSizeChanged(rect);
    }
    AdjustDockingLayout(nullptr);
}

void CQMXPDockManager::RelayoutAllBars(BOOL) {
    // A frame that is going (no frame) has bars that are going too.
    if (m_bInRelayout || m_bRelayoutBlocked || !m_bLayoutEnabled || m_pFrame == nullptr)
        return;
    if (m_nLayoutHolds > 0) {
        m_bLayoutAsked = TRUE;
        return;
    }
    m_bInRelayout = TRUE;
    for (POSITION pos = m_lstBars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CQMXPBaseControlBar*>(m_lstBars.GetNext(pos));
        if (!m_bAllBarsHidden || (pBar->GetStyle() & WS_VISIBLE))
            pBar->RefreshLayout();
    }
    if (!m_bAllBarsHidden) {
        for (POSITION pos = m_lstFloatingFrames.GetHeadPosition(); pos != nullptr;)
            static_cast<CQMXPMiniFrameWnd*>(m_lstFloatingFrames.GetNext(pos))->OnBarRecalcLayout();
    }
    m_bInRelayout = FALSE;
    AdjustDockingLayout(nullptr);
}

// Hiding and showing -------------------------------------------------------

void CQMXPDockManager::HideBarsOf(CObList& lstBars, BOOL bForPreview) {
    for (POSITION pos = lstBars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CQMXPBaseControlBar*>(lstBars.GetNext(pos));
        if (!(pBar->GetStyle() & WS_VISIBLE) || pBar->IsKindOf(RUNTIME_CLASS(CQMXPStatusBar)))
            continue;
        // Panes, their sliders and the auto-hide strips stay when all bars
        // are hidden; dock bars are what hold the tool bars.
        if (!bForPreview &&
            (pBar->IsKindOf(RUNTIME_CLASS(CQMXPDockingControlBar)) || pBar->IsKindOf(RUNTIME_CLASS(CQMXPSlider)) ||
             pBar->IsKindOf(RUNTIME_CLASS(CQMXPAutoHideDockBar))))
            continue;
        pBar->ShowControlBar(FALSE, TRUE, FALSE);
        m_lstHiddenBars.AddTail(pBar->m_hWnd);
    }
}

void CQMXPDockManager::ShowHiddenBars(int nShowCommand) {
    for (POSITION pos = m_lstHiddenBars.GetHeadPosition(); pos != nullptr;) {
        HWND hWnd = m_lstHiddenBars.GetNext(pos);
        if (!::IsWindow(hWnd))
            continue;
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd != nullptr && IsLibraryBar(pWnd))
            static_cast<CQMXPBaseControlBar*>(pWnd)->ShowControlBar(TRUE, TRUE, FALSE);
        else
            ::ShowWindow(hWnd, nShowCommand);
    }
    // Each hidden window is shown once.
    m_lstHiddenBars.RemoveAll();
}

void CQMXPDockManager::SetPrintPreviewMode(BOOL bPreview, CPrintPreviewState*) {
    if (bPreview) {
        if (!m_bPrintPreview && !m_bAllBarsHidden) {
            m_lstHiddenBars.RemoveAll();
            HideBarsOf(m_lstAutoHideSliders, TRUE);
            HideBarsOf(m_lstBars, TRUE);
            for (POSITION pos = m_lstFloatingFrames.GetHeadPosition(); pos != nullptr;) {
                auto* pFrame = static_cast<CWnd*>(m_lstFloatingFrames.GetNext(pos));
                if (pFrame->GetStyle() & WS_VISIBLE) {
                    pFrame->ShowWindow(SW_HIDE);
                    m_lstHiddenBars.AddTail(pFrame->m_hWnd);
                }
            }
        }
        m_bPrintPreview = TRUE;
        return;
    }
    if (m_bPrintPreview && !m_bAllBarsHidden)
        ShowHiddenBars(SW_SHOWNOACTIVATE);
    m_bPrintPreview = FALSE;
}

BOOL CQMXPDockManager::ShowAllBars(BOOL bShow) {
    if (!bShow) {
        if (m_bAllBarsHidden)
            return FALSE;
        m_lstHiddenBars.RemoveAll();
        m_bAllBarsHidden = TRUE;
        HideBarsOf(m_lstAutoHideSliders, FALSE);
        HideBarsOf(m_lstBars, FALSE);
    } else {
        if (!m_bAllBarsHidden)
            return FALSE;
        m_bAllBarsHidden = FALSE;
        ShowHiddenBars(SW_SHOW);
    }
    AdjustDockingLayout(nullptr);
    return TRUE;
}

void CQMXPDockManager::OnFrameActivation(BOOL bActivate) {
    if (!bActivate) {
        const BOOL bMDIChild = m_pFrame != nullptr && m_pFrame->IsKindOf(RUNTIME_CLASS(CQMXPMDIChildWnd));
        for (POSITION pos = m_lstFloatingFrames.GetHeadPosition(); pos != nullptr;) {
            auto* pFrame = static_cast<CQMXPMiniFrameWnd*>(m_lstFloatingFrames.GetNext(pos));
            if (!::IsWindow(pFrame->GetSafeHwnd()) || !(pFrame->GetStyle() & WS_VISIBLE))
                continue;
            CQMXPBaseControlBar* pBar = pFrame->GetControlBar();
            if (!bMDIChild && (pBar == nullptr || !pBar->IsKindOf(RUNTIME_CLASS(CQMXPBaseToolBar))))
                continue;
            pFrame->ShowWindow(SW_HIDE);
            if (m_lstDeactivatedFrames.Find(pFrame->m_hWnd) == nullptr)
                m_lstDeactivatedFrames.AddTail(pFrame->m_hWnd);
        }
        return;
    }
    for (POSITION pos = m_lstDeactivatedFrames.GetHeadPosition(); pos != nullptr;) {
        HWND hWnd = m_lstDeactivatedFrames.GetNext(pos);
        auto* pFrame = ::IsWindow(hWnd) ? DYNAMIC_DOWNCAST(CQMXPMiniFrameWnd, CWnd::FromHandlePermanent(hWnd)) : nullptr;
        if (pFrame != nullptr && pFrame->GetControlBarCount() > 0)
            pFrame->ShowWindow(SW_SHOWNOACTIVATE);
    }
    m_lstDeactivatedFrames.RemoveAll();
}

BOOL CQMXPDockManager::SendMessageToMiniFrames(UINT uMessage, WPARAM wParam, LPARAM lParam) {
    for (POSITION pos = m_lstFloatingFrames.GetHeadPosition(); pos != nullptr;)
        static_cast<CWnd*>(m_lstFloatingFrames.GetNext(pos))->SendMessage(uMessage, wParam, lParam);
    return TRUE;
}

void CQMXPDockManager::LockRedraw(BOOL bLock) {
    m_bRedrawLocked = bLock;
    if (m_pFrame == nullptr)
        return;
    ::LockWindowUpdate(bLock ? m_pFrame->m_hWnd : nullptr);
    auto lockOne = [bLock](CWnd* pWnd) {
        pWnd->ValidateRect(nullptr);
        pWnd->UpdateWindow();
        ::LockWindowUpdate(bLock ? pWnd->m_hWnd : nullptr);
    };
    for (POSITION pos = m_lstFloatingFrames.GetHeadPosition(); pos != nullptr;)
        lockOne(static_cast<CWnd*>(m_lstFloatingFrames.GetNext(pos)));
    for (POSITION pos = m_lstBars.GetHeadPosition(); pos != nullptr;)
        lockOne(static_cast<CWnd*>(m_lstBars.GetNext(pos)));
}

void CQMXPDockManager::RaiseBarsOfSide(DWORD dwAlignment, BOOL bExcludeDocked) {
    const DWORD dwSide = dwAlignment & 0xF000;
    BOOL bPassing = bExcludeDocked;
    for (POSITION pos = m_lstBars.GetTailPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CQMXPBaseControlBar*>(m_lstBars.GetPrev(pos));
        if (bPassing && pBar->IsKindOf(RUNTIME_CLASS(CQMXPControlBar)))
            continue;
        bPassing = FALSE;
        if (dwSide == 0 || pBar->GetCurrentAlignment() == dwSide)
            ::SetWindowPos(pBar->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void CQMXPDockManager::SetDockState(const CDockState&) {}

BOOL CQMXPDockManager::ReleaseLayout() {
    if (m_nLayoutHolds > 0)
        --m_nLayoutHolds;
    if (m_nLayoutHolds > 0 || !m_bLayoutAsked)
        return FALSE;
    m_bLayoutAsked = FALSE;
    return TRUE;
}

CQMXPLayoutHold::CQMXPLayoutHold(CFrameWnd* pFrame)
    : m_pFrame(pFrame), m_pDockManager(pFrame != nullptr ? qmxGlobalUtils.GetDockManager(pFrame) : nullptr) {
    if (m_pDockManager != nullptr)
        m_pDockManager->HoldLayout();
}

CQMXPLayoutHold::~CQMXPLayoutHold() {
    if (m_pDockManager != nullptr && m_pDockManager->ReleaseLayout() && m_pFrame->GetSafeHwnd() != nullptr)
        m_pFrame->RecalcLayout(FALSE);
}
