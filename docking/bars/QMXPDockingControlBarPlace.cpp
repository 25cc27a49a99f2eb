// CQMXPDockingControlBar: where a pane goes. The decision while a floating
// pane is dragged, docking at a frame edge with a slider of its own or
// beside another pane in its container, taking a floating group in, going
// back to the recent place, and leaving a place.
#include "docking/bars/QMXPBarContainer.h"
#include "docking/bars/QMXPBarContainerManager.h"
#include "docking/bars/QMXPBaseTabWnd.h"
#include "docking/bars/QMXPBaseTabbedBar.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/bars/QMXPSlider.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/frames/QMXPMultiMiniFrameWnd.h"
#include "docking/toolbars/QMXPGlobalData.h"

namespace {

constexpr DWORD kAlignMask = 0xF000;

BOOL IsCtrlDown() { return ::GetKeyState(VK_CONTROL) < 0; }

}  // namespace

CQMXPSlider* CQMXPDockingControlBar::CreateDefaultSlider(DWORD dwAlignment, CWnd* pDockSite) {
    auto* pSlider = new CQMXPSlider(TRUE, pDockSite);
    const int w = CQMXPSlider::GetDefaultWidth();
    const DWORD dwStyle = WS_VISIBLE | ((dwAlignment & 0x5000) != 0 ? QMXP_SS_VERT : QMXP_SS_HORZ);
    if (!pSlider->CreateEx(0, dwStyle, CRect(0, 0, w, w), pDockSite, static_cast<UINT>(-1))) {
        delete pSlider;
        return nullptr;
    }
    pSlider->SetCurrentAlignment(dwAlignment & kAlignMask);
    return pSlider;
}

// The decision while dragged ------------------------------------------------------------

int CQMXPDockingControlBar::GetDockingStatus(CPoint point, int nSensitivity) {
    CRect rectTabTop;
    CRect rectTabBottom;
    GetTabArea(rectTabTop, rectTabBottom);
    // Over the caption or a tab strip a pane is taken as a tab where panes
    // may be attached; otherwise its caption is one of its edges.
    if ((CanBeAttached() && HitTest(point, TRUE) == HTCAPTION) || rectTabTop.PtInRect(point) ||
        rectTabBottom.PtInRect(point))
        return QMXP_CS_DELAY_DOCK_TO_TAB;
    CRect rect;
    GetWindowRect(&rect);
    rect.top += GetCaptionHeight() + rectTabTop.Height();
    rect.bottom -= rectTabBottom.Height();
    rect.DeflateRect(nSensitivity, nSensitivity);
    return rect.PtInRect(point) ? QMXP_CS_NOTHING : QMXP_CS_DELAY_DOCK;
}

BOOL CQMXPDockingControlBar::IsChangeState(int nOffset, CQMXPBaseControlBar** ppTargetBar) {
    *ppTargetBar = nullptr;
    CQMXPDockManager* pDockManager = FrameDockManager();
    if (pDockManager == nullptr)
        return QMXP_CS_NOTHING;
    return pDockManager->QueryDockStatus(QMXPGetCursorPos(), nOffset, GetEnabledAlignment(), ppTargetBar, this, this);
}

CQMXPBaseControlBar* CQMXPDockingControlBar::DropTargetFromPoint(BOOL& bDone) {
    bDone = FALSE;
    CQMXPBaseControlBar* pTarget = nullptr;
    const int nStatus = IsChangeState(m_nDockingSensitivity, &pTarget);
    if (pTarget == this || IsCtrlDown())
        return nullptr;
    auto* pTargetPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pTarget);
    if (nStatus == QMXP_CS_DELAY_DOCK) {
        CQMXPMiniFrameWnd* pTargetFrame = pTargetPane != nullptr ? pTargetPane->GetParentMiniFrame(TRUE) : nullptr;
        auto* pMultiFrame = DYNAMIC_DOWNCAST(CQMXPMultiMiniFrameWnd, pTargetFrame);
        if (pMultiFrame != nullptr) {
            if (!(GetBarStyle() & QMXP_CBRS_FLOAT_MULTI))
                return nullptr;
            bDone = !pMultiFrame->DockControlBarToMiniFrame(this);
            return this;
        }
        bDone = DockControlBar(pTarget, nullptr, QMXP_DM_STANDARD);
        return nullptr;
    }
    // A pane is only taken out of its place once it can join the target.
    if (nStatus == QMXP_CS_DELAY_DOCK_TO_TAB && pTargetPane != nullptr && pTargetPane->CanAcceptBar(this) &&
        CanBeAttached() && pTargetPane->CanBeAttached()) {
        UndockControlBar(FALSE);
        CQMXPDockingControlBar* pResult = AttachToTabWnd(pTargetPane, QMXP_DM_STANDARD, TRUE, nullptr);
        bDone = pResult != nullptr;
        return pResult;
    }
    return nullptr;
}

// Docking --------------------------------------------------------------------------------

BOOL CQMXPDockingControlBar::Dock(CQMXPBaseControlBar* pDockBar, LPCRECT lpRect, int dockMethod) {
    if ((pDockBar != nullptr && !pDockBar->CanAcceptBar(this)) || (dockMethod == QMXP_DM_RECT && lpRect == nullptr))
        return FALSE;
    m_bPrepareToFloat = FALSE;
    if (dockMethod == QMXP_DM_DBL_CLICK || dockMethod == 3)
        return DockToRecentPlace(lpRect, dockMethod);
    auto* pTarget = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pDockBar);
    if (dockMethod == QMXP_DM_MOUSE || dockMethod == QMXP_DM_STANDARD) {
        const CPoint pt = QMXPGetCursorPos();
        DWORD dwAlignment = 0;
        if (pDockBar == nullptr) {
            BOOL bOuterEdge = FALSE;
            CQMXPDockManager* pDockManager = FrameDockManager();
            if (pDockManager == nullptr || !pDockManager->IsPointNearDockBar(pt, dwAlignment, bOuterEdge))
                return FALSE;
            return DockToFrameWindow(dwAlignment, nullptr, 1, nullptr, -1, bOuterEdge);
        }
        if (pTarget != nullptr &&
            qmxGlobalUtils.CheckAlignment(pt, pTarget, m_nDockingSensitivity, FALSE, dwAlignment, kAlignMask))
            return DockToWindow(pTarget, dwAlignment, nullptr);
        return FALSE;
    }
    if (pTarget != nullptr && lpRect != nullptr)
        return DockToWindow(pTarget, 0, lpRect);
    return FALSE;
}

BOOL CQMXPDockingControlBar::DockToRecentPlace(LPCRECT lpRect, int dockMethod) {
    CQMXPRecentDockInfo& info = m_recentDockInfo;
    ShowWindow(SW_HIDE);
    ChangeParent(QMXFindOwnerFrame(this), dockMethod);
    SetCurrentAlignment(info.m_dwRecentAlignmentToFrame & kAlignMask);
    CQMXPSlider* pRecentSlider = info.GetRecentDefaultSlider();
    if (pRecentSlider != nullptr) {
        CQMXPSlider* pSlider = GetDefaultSlider();
        if (pSlider != nullptr && pSlider != pRecentSlider)
            pSlider->RemoveControlBar(this);
        m_hDefaultSlider = pRecentSlider->GetSafeHwnd();
    }
    // A place where another pane now stands is joined as a tab.
    CQMXPBarContainer* pTabContainer = info.GetRecentTabContainer(TRUE);
    if (pTabContainer != nullptr && CQMXPBarContainer::IsLive(pTabContainer)) {
        CQMXPDockingControlBar* pHolder = info.m_recentSliderInfo.m_bIsRecentLeftBar ? pTabContainer->m_pBarLeftTop
                                                                                      : pTabContainer->m_pBarRightBottom;
        if (pHolder != nullptr && AttachToTabWnd(pHolder, QMXP_DM_DBL_CLICK, TRUE, nullptr) != nullptr) {
            ShowWindow(SW_SHOW);
            AdjustDockingLayout();
            return TRUE;
        }
    }
    if (pRecentSlider == nullptr) {
        ShowWindow(SW_SHOW);
        return DockToFrameWindow(info.m_dwRecentAlignmentToFrame & kAlignMask,
                                 lpRect != nullptr ? lpRect : &info.m_recentSliderInfo.m_rectDockedRect, 1, nullptr,
                                 -1, FALSE);
    }
    ShowCaption(TRUE);
    if (!InsertControlBar(this, pRecentSlider, FALSE))
        AddControlBar(this);
    ShowWindow(SW_SHOW);
    CQMXPDockingControlBar* pResult = pRecentSlider->AddRecentControlBar(this);
    if (pResult == nullptr)
        return FALSE;
    pResult->AdjustDockingLayout();
    return TRUE;
}

BOOL CQMXPDockingControlBar::DockToFrameWindow(DWORD dwAlignment, LPCRECT lpRect, DWORD, CQMXPBaseControlBar*, int,
                                               BOOL bOuterEdge) {
    const DWORD dwSide = dwAlignment & kAlignMask;
    ChangeParent(QMXFindOwnerFrame(this), 0);
    if (GetDefaultSlider() != nullptr)
        UndockControlBar(FALSE);
    CFrameWnd* pDockSite = GetDockSiteFrameWnd();
    CQMXPSlider* pSlider = pDockSite != nullptr ? CreateDefaultSlider(dwSide, pDockSite) : nullptr;
    if (pSlider == nullptr) {
        ShowWindow(SW_SHOW);
        return FALSE;
    }
    m_hDefaultSlider = pSlider->GetSafeHwnd();
    CQMXPDockManager* pDockManager = DockManagerOfSite();
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    if (pDockManager != nullptr && pDockManager->LimitDockedRect(rectWindow, dwSide))
        CWnd::SetWindowPos(nullptr, 0, 0, rectWindow.Width(), rectWindow.Height(), SWP_NOMOVE | SWP_NOZORDER);
    pSlider->AddControlBar(this);
    if (!bOuterEdge) {
        AddControlBar(this);
        AddControlBar(pSlider);
    } else if (pDockManager != nullptr) {
        pDockManager->AddControlBar(pSlider, FALSE, FALSE, TRUE);
        pDockManager->AddControlBar(this, FALSE, FALSE, TRUE);
    }
    SetCurrentAlignment(dwSide);
    pSlider->SetCurrentAlignment(dwSide);
    m_recentDockInfo.m_dwRecentAlignmentToFrame = dwSide;
    ShowCaption(TRUE);
    if (lpRect != nullptr) {
        const CRect rect(lpRect);
        CWnd::SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(),
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    AdjustDockingLayout();
    return TRUE;
}

BOOL CQMXPDockingControlBar::DockToWindow(CQMXPDockingControlBar* pTargetWindow, DWORD dwAlignment, LPCRECT lpRect) {
    CQMXPSlider* pSlider = pTargetWindow != nullptr ? pTargetWindow->GetDefaultSlider() : nullptr;
    if (pSlider == nullptr) {
        ShowWindow(SW_SHOW);
        return FALSE;
    }
    if (GetDefaultSlider() != nullptr)
        UndockControlBar(FALSE);
    ChangeParent(QMXFindOwnerFrame(this), 0);
    if (!pSlider->InsertControlBar(this, pTargetWindow, dwAlignment, lpRect))
        return FALSE;
    InsertControlBar(this, pTargetWindow, TRUE);
    m_hDefaultSlider = pSlider->GetSafeHwnd();
    SetCurrentAlignment(pSlider->GetCurrentAlignment());
    ShowCaption(TRUE);
    CWnd::SetWindowPos(nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                           SWP_SHOWWINDOW);
    AdjustDockingLayout();
    return TRUE;
}

BOOL CQMXPDockingControlBar::DockContainer(CQMXPBarContainerManager& barContainerManager, DWORD dwAlignment,
                                           int) {
    CQMXPSlider* pSlider = GetDefaultSlider();
    if (pSlider == nullptr)
        return FALSE;
    CObList lstBars;
    barContainerManager.CollectVisible(lstBars, nullptr);
    for (POSITION pos = lstBars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CQMXPDockingControlBar*>(lstBars.GetNext(pos));
        InsertControlBar(pBar, this, TRUE);
        CQMXPSlider* pOld = pBar->GetDefaultSlider();
        if (pOld != nullptr && pOld != pSlider)
            pOld->RemoveControlBar(pBar);
        pBar->SetDefaultSlider(pSlider->GetSafeHwnd());
        pBar->SetCurrentAlignment(GetCurrentAlignment());
    }
    return pSlider->AddContainerManager(this, dwAlignment, barContainerManager, TRUE);
}

CQMXPDockingControlBar* CQMXPDockingControlBar::AttachToTabWnd(CQMXPDockingControlBar* pTarget, int dockMethod,
                                                               BOOL bSetActive,
                                                               CQMXPDockingControlBar** ppTabbedControlBar) {
    if (ppTabbedControlBar != nullptr)
        *ppTabbedControlBar = nullptr;
    if (pTarget == nullptr || pTarget == this || !pTarget->CanBeAttached() || !CanBeAttached())
        return nullptr;
    // The target's group: the target itself, the tabbed bar that holds it, or a new one round it.
    auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pTarget);
    if (pTabbedBar == nullptr) {
        HWND hWndTab = nullptr;
        CQMXPBaseTabWnd* pTargetTabWnd = pTarget->GetParentTabWnd(hWndTab);
        if (pTargetTabWnd != nullptr)
            pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pTargetTabWnd->GetParent());
    }
    BOOL bNewBar = FALSE;
    CRect rectTarget(0, 0, 0, 0);
    if (pTabbedBar == nullptr) {
        pTarget->StoreRecentDockInfo();
        pTarget->GetWindowRect(&rectTarget);
        if (pTarget->GetParent() != nullptr)
            pTarget->GetParent()->ScreenToClient(&rectTarget);
        pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pTarget->CreateTabbedControlBar());
        if (pTabbedBar == nullptr)
            return nullptr;
        InsertControlBar(pTabbedBar, pTarget, TRUE);
        if (!pTarget->ReplaceControlBar(pTabbedBar, FALSE)) {
            // The target stays where it was.
            RemoveControlBarFromDockManager(pTabbedBar, FALSE, FALSE, FALSE);
            pTabbedBar->DestroyWindow();
            return nullptr;
        }
        pTabbedBar->EnableDocking(pTarget->GetEnabledAlignment());
        pTabbedBar->SetCurrentAlignment(pTarget->GetCurrentAlignment());
        pTarget->UndockControlBar(TRUE);
        pTabbedBar->AddTab(pTarget, TRUE, bSetActive, TRUE);
        pTarget->ShowCaption(FALSE);
        bNewBar = TRUE;
    }
    if (ppTabbedControlBar != nullptr)
        *ppTabbedControlBar = pTabbedBar;
    ShowCaption(FALSE);
    CQMXPBaseControlBar* pDockTarget = pTabbedBar;
    OnBeforeDock(&pDockTarget, nullptr, dockMethod);
    CWnd* pOldParent = GetParent();
    OnBeforeChangeParent(pTabbedBar, TRUE);
    ChangeParent(pTabbedBar, dockMethod);
    // A tabbed bar dropped here gives its tabs away and is gone after this.
    const BOOL bAdded = pTabbedBar->AddTab(this, TRUE, bSetActive, TRUE);
    if (bAdded) {
        OnAfterChangeParent(pOldParent);
        OnAfterDock(pTabbedBar, nullptr, dockMethod);
    }
    if (bNewBar) {
        pTabbedBar->CWnd::SetWindowPos(nullptr, rectTarget.left, rectTarget.top, rectTarget.Width(),
                                       rectTarget.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        if (bAdded)
            pTabbedBar->AdjustDockingLayout();
    }
    pTabbedBar->AdjustLayout();
    return bAdded ? this : pTabbedBar;
}

CQMXPDockingControlBar* CQMXPDockingControlBar::CreateTabbedControlBar() {
    CWnd* pParent = GetParent();
    CObject* pObject = m_pTabbedControlBarRTC != nullptr ? m_pTabbedControlBarRTC->CreateObject() : nullptr;
    auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pObject);
    if (pTabbedBar == nullptr || pParent == nullptr) {
        delete pObject;
        return nullptr;
    }
    CRect rect;
    GetWindowRect(&rect);
    pParent->ScreenToClient(&rect);
    pTabbedBar->SetAutoDestroy(TRUE);
    const DWORD dwStyle = WS_CHILD | WS_VISIBLE | (GetBarStyle() & 0xF000) | QMXP_CBRS_FLOAT_MULTI;
    if (!pTabbedBar->Create(L"", pParent, rect, TRUE, static_cast<UINT>(-1), dwStyle, 0x20, 0xF)) {
        // A bar whose creation failed is ours to delete, its window gone or not.
        delete pTabbedBar;
        return nullptr;
    }
    CQMXPRecentDockInfo& info = pTabbedBar->GetRecentDockInfo();
    info.m_rectRecentFloatingRect = m_recentDockInfo.m_rectRecentFloatingRect;
    info.m_recentSliderInfo.m_rectDockedRect = m_recentDockInfo.m_recentSliderInfo.m_rectDockedRect;
    pTabbedBar->SetRestoredDockedRect(m_rectRestoredDocked);
    return pTabbedBar;
}

BOOL CQMXPDockingControlBar::ReplaceControlBar(CQMXPDockingControlBar* pNewBar, BOOL bAddToManager) {
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    if (pMiniFrame != nullptr && !IsTabbed()) {
        pMiniFrame->ReplaceControlBar(this, pNewBar);
        return TRUE;
    }
    CQMXPSlider* pSlider = GetDefaultSlider();
    if (pSlider == nullptr || !pSlider->ReplaceControlBar(this, pNewBar))
        return FALSE;
    pNewBar->SetDefaultSlider(pSlider->GetSafeHwnd());
    RemoveControlBarFromDockManager(this, FALSE, FALSE, FALSE);
    if (bAddToManager)
        AddControlBar(pNewBar);
    return TRUE;
}

// Leaving a place ---------------------------------------------------------------------------

void CQMXPDockingControlBar::StoreRecentDockInfo() {
    HWND hWndTab = nullptr;
    CQMXPBaseTabWnd* pTabWnd = GetParentTabWnd(hWndTab);
    if (pTabWnd != nullptr) {
        UpdateTabbedBarRecentInfo();
        return;
    }
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    if (pMiniFrame != nullptr) {
        pMiniFrame->StoreRecentDockInfo(this);
        return;
    }
    CQMXPSlider* pSlider = GetDefaultSlider();
    if (pSlider != nullptr) {
        pSlider->StoreRecentDockInfo(this);
        return;
    }
    m_recentDockInfo.StoreDockInfo(nullptr, nullptr);
}

void CQMXPDockingControlBar::UndockControlBar(BOOL bDelay) {
    // A tab is held by its tab window, not by the floating frame of its group.
    CQMXPMiniFrameWnd* pMiniFrame = IsTabbed() ? nullptr : GetParentMiniFrame(TRUE);
    if (pMiniFrame != nullptr) {
        pMiniFrame->RemoveControlBar(this, FALSE, FALSE);
        return;
    }
    CQMXPSlider* pSlider = GetDefaultSlider();
    if (pSlider != nullptr)
        pSlider->RemoveControlBar(this);
    m_hDefaultSlider = nullptr;
    RemoveControlBarFromDockManager(this, FALSE, !bDelay, FALSE);
    if (!bDelay && !IsFloating())
        AdjustDockingLayout();
}

void CQMXPDockingControlBar::OnBeforeChangeParent(CWnd* pWndNewParent, BOOL bDelay) {
    if (pWndNewParent != nullptr && (pWndNewParent->IsKindOf(RUNTIME_CLASS(CQMXPMiniFrameWnd)) ||
                                     pWndNewParent->IsKindOf(RUNTIME_CLASS(CQMXPBaseTabWnd))))
        UndockControlBar(bDelay);
    CQMXPControlBar::OnBeforeChangeParent(pWndNewParent, FALSE);
}

void CQMXPDockingControlBar::OnAfterChangeParent(CWnd* pWndOldParent) {
    CQMXPControlBar::OnAfterChangeParent(pWndOldParent);
    if (GetParentMiniFrame(TRUE) != nullptr)
        CQMXPMiniFrameWnd::AddRemoveBarFromGlobalList(this, TRUE);
}

void CQMXPDockingControlBar::OnAfterDock(CQMXPBaseControlBar*, LPCRECT, int) {
    if (!qmxRestoringDockState)
        SetFocus();
}
