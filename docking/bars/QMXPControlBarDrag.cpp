// CQMXPControlBar: dragging with the mouse, the drag rule, floating into a
// mini frame and docking into a dock bar.
#include "docking/bars/QMXPControlBar.h"
#include "docking/bars/QMXPBaseTabbedBar.h"
#include "docking/bars/QMXPDockBar.h"
#include "docking/bars/QMXPDockBarRow.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/bars/QMXPTabWnd.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "platform/classlib/WinThread.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CQMXPControlBar, CQMXPBaseControlBar)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_NCDESTROY()
    ON_WM_CONTEXTMENU()
    ON_WM_CANCELMODE()
    ON_WM_CHAR()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

constexpr WPARAM kKeepTempMiniFrame = 0xFFFF;

}  // namespace

// Docking ---------------------------------------------------------------

BOOL CQMXPControlBar::OnBeforeDock(CQMXPBaseControlBar**, LPCRECT, int) {
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    if (pMiniFrame != nullptr)
        m_nPinState = pMiniFrame->IsPinned();
    return TRUE;
}

BOOL CQMXPControlBar::DockControlBar(CQMXPBaseControlBar* pDockBar, LPCRECT lpRect, int dockMethod) {
    if (!OnBeforeDock(&pDockBar, lpRect, dockMethod) || !Dock(pDockBar, lpRect, dockMethod))
        return FALSE;
    OnAfterDock(pDockBar, lpRect, dockMethod);
    return TRUE;
}

BOOL CQMXPControlBar::DockToDockBar(CQMXPDockBar* pDockBar) {
    CQMXPBaseControlBar* pTarget = pDockBar;
    if (!OnBeforeDock(&pTarget, nullptr, QMXP_DM_MOUSE) || !Dock(pTarget, nullptr, QMXP_DM_MOUSE))
        return FALSE;
    OnAfterDock(pTarget, nullptr, QMXP_DM_MOUSE);
    return TRUE;
}

BOOL CQMXPControlBar::Dock(CQMXPBaseControlBar* pDockBar, LPCRECT lpRect, int dockMethod) {
    if (dockMethod == QMXP_DM_DBL_CLICK) {
        pDockBar = m_recentDockInfo.m_pRecentDockBar;
        if (pDockBar == nullptr) {
            CQMXPDockManager* pDockManager = qmxGlobalUtils.GetDockManager(GetDockSiteFrameWnd());
            if (pDockManager != nullptr)
                pDockManager->DockControlBar(this, 0, nullptr);
            return TRUE;
        }
    }
    if (pDockBar == nullptr || !pDockBar->IsKindOf(RUNTIME_CLASS(CQMXPDockBar)) || !CanBeDocked(pDockBar) ||
        !pDockBar->CanAcceptBar(this))
        return FALSE;
    auto* pTarget = static_cast<CQMXPDockBar*>(pDockBar);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    const BOOL bWasMoving = pMiniFrame == nullptr || pMiniFrame->IsCaptured();
    AttachToDockBar(pTarget, dockMethod);
    if (dockMethod == QMXP_DM_MOUSE) {
        pTarget->DockControlBar(this, QMXP_DM_MOUSE, &rectWindow);
        if (bWasMoving)
            ResumeDrag();
    } else if (dockMethod == QMXP_DM_DBL_CLICK || dockMethod == QMXP_DM_RECT) {
        pTarget->DockControlBar(this, dockMethod, lpRect);
    }
    return TRUE;
}

void CQMXPControlBar::AttachToDockBar(CQMXPDockBar* pDockBar, int dockMethod) {
    m_pParentDockBar = pDockBar;
    ChangeParent(pDockBar, dockMethod);
    SetBarStyle((GetBarStyle() & ~(QMXP_CBRS_FLOATING | QMXP_CBRS_BORDER_ANY)) | QMXP_CBRS_BORDER_ANY);
    SetCurrentAlignment(pDockBar->GetCurrentAlignment());
}

void CQMXPControlBar::ChangeParent(CWnd* pNewParent, int dockMethod) {
    OnBeforeChangeParent(pNewParent, FALSE);
    // A tab belongs to its tab window, not to the floating frame of its group.
    CQMXPMiniFrameWnd* pMiniFrame = IsTabbed() ? nullptr : GetParentMiniFrame(TRUE);
    if (pMiniFrame != nullptr) {
        pMiniFrame->RemoveControlBar(this, FALSE, FALSE);
        if (dockMethod == QMXP_DM_MOUSE && m_hwndTempMiniFrame == nullptr)
            m_hwndTempMiniFrame = pMiniFrame->m_hWnd;
        pMiniFrame->SendMessage(WM_LBUTTONUP, 0, 0);
    }
    CWnd* pOldParent = GetParent();
    SetParent(pNewParent);
    OnAfterChangeParent(pOldParent);
}

void CQMXPControlBar::OnBeforeChangeParent(CWnd*, BOOL) {
    if (m_pParentDockBar != nullptr)
        m_pParentDockBar->RemoveControlBar(this);
}

void CQMXPControlBar::OnAfterChangeParent(CWnd*) {
    UpdateFullSizeRect();
    CWnd* pParent = GetParent();
    if (pParent == nullptr || !pParent->IsKindOf(RUNTIME_CLASS(CQMXPDockBar))) {
        m_pParentDockBar = nullptr;
        m_pDockBarRow = nullptr;
    }
}

void CQMXPControlBar::UndockControlBar(BOOL bDelay) {
    if (m_pParentDockBar != nullptr)
        m_pParentDockBar->RemoveControlBar(this);
    if (!bDelay)
        AdjustDockingLayout();
}

void CQMXPControlBar::AdjustLayout() {
    if (m_pDockBarRow != nullptr) {
        UpdateFullSizeRect();
        return;
    }
    // A bar in a tab window is laid out by its tab window.
    if (DYNAMIC_DOWNCAST(CQMXPTabWnd, GetParent()) != nullptr)
        return;
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    if (pMiniFrame != nullptr)
        pMiniFrame->OnBarRecalcLayout();
}

// Floating ------------------------------------------------------------------

CQMXPMiniFrameWnd* CQMXPControlBar::CreateMiniFrame(CRect rectInitial) {
    CObject* pObject = m_pMiniFrameRTC != nullptr ? m_pMiniFrameRTC->CreateObject() : nullptr;
    auto* pMiniFrame = DYNAMIC_DOWNCAST(CQMXPMiniFrameWnd, pObject);
    if (pMiniFrame == nullptr) {
        delete pObject;
        return nullptr;
    }
    // A frame that cannot be made has deleted itself (PostNcDestroy).
    if (!pMiniFrame->Create(nullptr, WS_POPUP, rectInitial, QMXFindOwnerFrame(this)))
        return nullptr;
    return pMiniFrame;
}

BOOL CQMXPControlBar::FloatControlBar(CRect rectFloat, int dockMethod, bool bShow) {
    if ((IsFloating() && !IsTabbed()) || !CanFloat())
        return TRUE;
    CRect rectOld;
    GetWindowRect(&rectOld);
    CFrameWnd* pDockSite = GetDockSiteFrameWnd();
    if (pDockSite != nullptr)
        pDockSite->ScreenToClient(&rectOld);
    const CPoint ptCursor = QMXPGetCursorPos();
    CPoint ptHotScreen = m_ptHot;
    ClientToScreen(&ptHotScreen);
    if (!OnBeforeFloat(rectFloat, dockMethod))
        return TRUE;
    CQMXPMiniFrameWnd* pMiniFrame = CreateMiniFrame(rectFloat);
    if (pMiniFrame == nullptr)
        return FALSE;
    pMiniFrame->SetRecentFloatingRect(m_recentDockInfo.m_rectRecentFloatingRect);
    OnBeforeChangeParent(pMiniFrame, FALSE);
    if (dockMethod == QMXP_DM_MOUSE) {
        CPoint ptClient = ptCursor;
        ScreenToClient(&ptClient);
        SendMessage(WM_LBUTTONUP, kKeepTempMiniFrame, MAKELPARAM(ptClient.x, ptClient.y));
        // A tab torn out of a floating group ends the drag its group's frame holds.
        CQMXPMiniFrameWnd* pOldFrame = IsTabbed() ? GetParentMiniFrame(TRUE) : nullptr;
        if (pOldFrame != nullptr) {
            CPoint ptFrame = ptCursor;
            pOldFrame->ScreenToClient(&ptFrame);
            pOldFrame->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptFrame.x, ptFrame.y));
        }
    }
    CWnd* pOldParent = m_pParentDockBar != nullptr ? static_cast<CWnd*>(m_pParentDockBar) : GetParent();
    SetParent(pMiniFrame);
    OnAfterChangeParent(pOldParent);
    m_pParentDockBar = nullptr;
    pMiniFrame->AddControlBar(this);
    pMiniFrame->OnBarRecalcLayout();
    CQMXPBaseControlBar::SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (dockMethod == QMXP_DM_MOUSE && GetDockingMode() == QMXP_DT_IMMEDIATE) {
        pMiniFrame->EnterDragMode(nullptr);
        pMiniFrame->BlockMove(TRUE);
    }
    OnAfterFloat();
    SetBarStyle(GetBarStyle() | QMXP_CBRS_FLOATING);
    AdjustLayout();
    if (dockMethod == QMXP_DM_MOUSE) {
        // The frame comes under the cursor at the point where the bar was grabbed.
        CRect rectFrame;
        pMiniFrame->GetWindowRect(&rectFrame);
        CPoint ptAnchor = ptHotScreen;
        if (ptAnchor.x < rectFrame.left || ptAnchor.x >= rectFrame.right)
            ptAnchor.x = rectFrame.CenterPoint().x;
        if (ptAnchor.y < rectFrame.top || ptAnchor.y >= rectFrame.bottom)
            ptAnchor.y = rectFrame.top + pMiniFrame->GetCaptionHeight() / 2;
        pMiniFrame->MoveMiniFrame(ptCursor.x - ptAnchor.x, ptCursor.y - ptAnchor.y);
        pMiniFrame->GetDragFrame().m_ptHot = ptCursor;
    }
    if (bShow) {
        pMiniFrame->OnBarRecalcLayout();
        pMiniFrame->ShowWindow(SW_SHOW);
        if (pDockSite != nullptr)
            pDockSite->RedrawWindow(&rectOld, nullptr,
                                    RDW_INVALIDATE | RDW_NOINTERNALPAINT | RDW_NOERASE | RDW_ALLCHILDREN |
                                        RDW_UPDATENOW | RDW_FRAME);
    }
    return TRUE;
}

void CQMXPControlBar::OnAfterFloat() {
    SetCurrentAlignment(0x2000);
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    if (pMiniFrame != nullptr)
        pMiniFrame->Pin(m_nPinState != 0);
}

// The drag rule ----------------------------------------------------------------

CQMXPBaseControlBar* CQMXPControlBar::DropTargetFromPoint(BOOL& bDone) {
    bDone = FALSE;
    return this;
}

BOOL CQMXPControlBar::IsChangeState(int nOffset, CQMXPBaseControlBar** ppDockBar) {
    const CPoint ptCursor = QMXPGetCursorPos();
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CRect rectFull;
    GetFullSizeRect(rectFull);
    *ppDockBar = nullptr;
    if (m_pParentDockBar != nullptr) {
        CRect rectDockBar;
        m_pParentDockBar->GetWindowRect(&rectDockBar);
        CRect rectCommon;
        if (!rectCommon.IntersectRect(rectFull, rectDockBar))
            return TRUE;
        const BOOL bHorz = m_pParentDockBar->IsHorizontal();
        const int nOverlap = bHorz ? std::min(rectFull.right, rectDockBar.right) - std::max(rectFull.left, rectDockBar.left)
                                   : std::min(rectFull.bottom, rectDockBar.bottom) - std::max(rectFull.top, rectDockBar.top);
        const int nLength = bHorz ? rectFull.Width() : rectFull.Height();
        if (nOverlap >= nLength / 10)
            return FALSE;
        return !rectDockBar.PtInRect(ptCursor);
    }

    CQMXPDockManager* pDockManager = qmxGlobalUtils.GetDockManager(GetDockSiteFrameWnd());
    if (pDockManager == nullptr)
        return FALSE;
    CQMXPBaseControlBar* pDockBar =
        pDockManager->ControlBarFromPoint(ptCursor, nOffset, false, RUNTIME_CLASS(CQMXPDockBar));
    *ppDockBar = pDockBar;
    if (pDockBar == nullptr || !CanBeDocked(pDockBar))
        return FALSE;
    CRect rectDockBar;
    pDockBar->GetWindowRect(&rectDockBar);
    if (rectDockBar.PtInRect(ptCursor))
        return TRUE;
    // How near the cursor must come depends on how much of the bar lies
    // beyond it; a bar without length counts as lying beyond in full.
    auto share = [](int nPart, int nWhole) { return nWhole != 0 ? nPart * 100.0 / nWhole : 100.0; };
    int nDistance = 0;
    double dThreshold = nOffset;
    if (ptCursor.x < rectDockBar.left) {
        nDistance = rectDockBar.left - ptCursor.x;
        dThreshold = share(rectWindow.right - ptCursor.x, rectWindow.Width()) * nOffset * 0.01;
    } else if (ptCursor.x > rectDockBar.right) {
        nDistance = ptCursor.x - rectDockBar.right;
        dThreshold = share(ptCursor.x - rectWindow.left, rectWindow.Width()) * nOffset * 0.01;
    } else if (ptCursor.y < rectDockBar.top) {
        nDistance = rectDockBar.top - ptCursor.y;
        dThreshold = share(rectWindow.bottom - ptCursor.y, rectWindow.Height()) * nOffset * 0.01;
    } else if (ptCursor.y > rectDockBar.bottom) {
        nDistance = ptCursor.y - rectDockBar.bottom;
        dThreshold = share(ptCursor.y - rectWindow.top, rectWindow.Height()) * nOffset * 0.01;
    }
    return nDistance <= dThreshold;
}

// Dragging ------------------------------------------------------------------------

void CQMXPControlBar::EnterDragMode(BOOL bChangeHotPoint) {
    const CPoint ptCursor = QMXPGetCursorPos();
    UpdateFullSizeRect();
    if (bChangeHotPoint) {
        m_ptHot = ptCursor;
        ScreenToClient(&m_ptHot);
    }
    if (!m_bCaptured && IsDocked()) {
        SetCapture();
        m_bCaptured = TRUE;
        m_dragFrame.m_ptHot = ptCursor;
        SetDragMode(TRUE);
        GetWindowRect(&m_rectDragStart);
    }
}

void CQMXPControlBar::EndCapture(BOOL bKeepTempMiniFrame) {
    ::ReleaseCapture();
    m_bCaptured = FALSE;
    if (!bKeepTempMiniFrame) {
        if (::IsWindow(m_hwndTempMiniFrame))
            ::DestroyWindow(m_hwndTempMiniFrame);
        m_hwndTempMiniFrame = nullptr;
    }
    SetDragMode(FALSE);
}

void CQMXPControlBar::PrepareToChangeState() {
    m_bIgnoreButtonUp = TRUE;
    StoreRecentDockInfo();
    if (m_bCaptured)
        EndCapture(FALSE);
}

void CQMXPControlBar::OnLButtonDown(UINT nFlags, CPoint point) {
    if (m_bCaptured || !CanFloat()) {
        Default();
        return;
    }
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    if (GetDockingMode() == QMXP_DT_IMMEDIATE || pMiniFrame != nullptr) {
        StoreRecentDockInfo();
        if (pMiniFrame == nullptr) {
            EnterDragMode(TRUE);
            m_bPassedToMiniFrame = FALSE;
            Default();
        } else if (pMiniFrame->GetControlBarCount() != 1) {
            EnterDragMode(TRUE);
            m_bPassedToMiniFrame = FALSE;
        } else {
            MapWindowPoints(pMiniFrame, &point, 1);
            pMiniFrame->SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
            m_bPassedToMiniFrame = TRUE;
        }
        return;
    }
    EnterDragMode(TRUE);
    Default();
}

void CQMXPControlBar::OnMouseMove(UINT, CPoint) {
    if (!m_bCaptured) {
        Default();
        return;
    }
    if (GetDockingMode() != QMXP_DT_IMMEDIATE) {
        m_dragFrame.MoveDragFrame(FALSE);
        return;
    }
    const CPoint ptCursor = QMXPGetCursorPos();
    const CSize offset = ptCursor - m_dragFrame.m_ptHot;
    m_rectDragStart.OffsetRect(offset);
    m_rectVirtualFull.OffsetRect(offset);
    m_dragFrame.m_ptHot = ptCursor;
    if (m_pParentDockBar != nullptr)
        m_pParentDockBar->MoveControlBar(this, ptCursor, offset.cx, offset.cy);
}

void CQMXPControlBar::OnLButtonUp(UINT nFlags, CPoint point) {
    if (!m_bCaptured) {
        CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
        if (pMiniFrame != nullptr && !m_bIgnoreButtonUp && (pMiniFrame->GetStyle() & WS_VISIBLE)) {
            MapWindowPoints(pMiniFrame, &point, 1);
            pMiniFrame->SendMessage(WM_LBUTTONUP, nFlags, MAKELPARAM(point.x, point.y));
        }
        return;
    }
    EndCapture(nFlags == kKeepTempMiniFrame);
    if (GetDockingMode() != QMXP_DT_IMMEDIATE &&
        (m_dragFrame.m_bDragStarted || !m_dragFrame.m_rectDrag.IsRectEmpty())) {
        const CRect rectDrag = m_dragFrame.m_rectDrag;
        m_dragFrame.EndDrawDragFrame(TRUE);
        StoreRecentDockInfo();
        BOOL bDone = FALSE;
        CQMXPBaseControlBar* pTarget = DropTargetFromPoint(bDone);
        if (!bDone && !rectDrag.IsRectEmpty() && pTarget != this)
            FloatControlBar(rectDrag, QMXP_DM_STANDARD, true);
        return;
    }
    m_bIgnoreButtonUp = FALSE;
    if (m_pDockBarRow != nullptr)
        m_pDockBarRow->ArrangeBars(this);
    Default();
}

void CQMXPControlBar::OnLButtonDblClk(UINT, CPoint) {
    PrepareToChangeState();
    if (!CanFloat())
        return;
    FloatControlBar(m_recentDockInfo.m_rectRecentFloatingRect, QMXP_DM_DBL_CLICK, true);
    Default();
}

void CQMXPControlBar::OnCancelMode() {
    Default();
    if (!m_bCaptured)
        return;
    if (GetDockingMode() != QMXP_DT_IMMEDIATE)
        m_dragFrame.EndDrawDragFrame(TRUE);
    EndCapture(FALSE);
}

void CQMXPControlBar::OnChar(UINT nChar, UINT, UINT) {
    if (nChar == VK_ESCAPE)
        OnCancelMode();
    else
        Default();
}

void CQMXPControlBar::OnContextMenu(CWnd*, CPoint point) {
    if (CQMXPToolBar::m_bCustomizeMode)
        return;
    CWnd* pTarget = QMXPGetPopupOwner();
    if (pTarget == nullptr)
        pTarget = GetDockSiteFrameWnd();
    if (pTarget == nullptr)
        pTarget = AfxGetMainWnd();
    if (pTarget == nullptr)
        pTarget = GetTopLevelFrame();
    if (pTarget != nullptr)
        pTarget->SendMessage(QMXTOOLBAR_POPUPMENU, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(point.x, point.y));
}

void CQMXPControlBar::OnDestroy() {
    // A docked bar leaves its row, which would otherwise go on laying out a
    // window that is gone.
    if (m_pParentDockBar != nullptr)
        m_pParentDockBar->RemoveControlBar(this);
    m_pParentDockBar = nullptr;
    // A tab of a tabbed bar leaves it first; the last one leaving destroys
    // the tabbed bar with its children.
    HWND hWndTab = nullptr;
    CQMXPBaseTabWnd* pTabWnd = IsTabbed() ? GetParentTabWnd(hWndTab) : nullptr;
    auto* pTabbedBar = pTabWnd != nullptr ? DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pTabWnd->GetParent()) : nullptr;
    if (pTabbedBar != nullptr) {
        const HWND hWndThis = m_hWnd;
        pTabbedBar->RemoveControlBar(this);
        if (!::IsWindow(hWndThis))
            return;
    }
    CQMXPBaseControlBar::OnDestroy();
}

void CQMXPControlBar::OnNcDestroy() {
    CQMXPMiniFrameWnd::AddRemoveBarFromGlobalList(this, FALSE);
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    if (pMiniFrame != nullptr)
        pMiniFrame->RemoveControlBar(this, FALSE, FALSE);
    CQMXPBaseControlBar::OnNcDestroy();
}
