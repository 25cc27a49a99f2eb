// CQMXPBaseTabWnd: the mouse on the tab row (highlight, activation,
// swapping tabs and dragging them out), detaching a tab into a floating
// pane, and renaming a tab in place.
#include "docking/bars/QMXPBaseTabWnd.h"

#include "docking/bars/QMXPBaseTabbedBar.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/bars/QMXPSlider.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/toolbars/QMXPGlobalData.h"

#include <cstdlib>

namespace {

constexpr UINT kRenameEditID = 1;

}  // namespace

// Detaching ------------------------------------------------------------------------------

BOOL CQMXPBaseTabWnd::DetachTab(int dockMethod, int iTab, BOOL bHide) {
    iTab = GetTabIndex(iTab);
    if (iTab < 0 || !IsTabDetachable(iTab))
        return FALSE;
    auto* pBar = DYNAMIC_DOWNCAST(CQMXPControlBar, GetTabWnd(iTab));
    if (pBar == nullptr || !pBar->CanFloat())
        return FALSE;
    CRect rectEmpty(0, 0, 0, 0);
    if (!pBar->OnBeforeFloat(rectEmpty, dockMethod))
        return FALSE;
    if (dockMethod == QMXP_DM_MOUSE) {
        const CPoint pt = QMXPGetCursorPos();
        if (std::abs(pt.x - m_ptDragStart.x) < qmxDragThresholdX &&
            std::abs(pt.y - m_ptDragStart.y) < qmxDragThresholdY)
            return FALSE;
    }
    if (!pBar->CanBeAttached())
        return FALSE;
    const int nDockingMode = pBar->GetDockingMode();
    auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, GetParent());
    if (pTabbedBar == nullptr)
        return FALSE;
    auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pBar);
    if (pPane != nullptr)
        pPane->ShowCaption(TRUE);
    if (dockMethod == QMXP_DM_MOUSE && nDockingMode == QMXP_DT_STANDARD && !bHide)
        bHide = TRUE;
    if (iTab != m_iActiveTab)
        pBar->ShowWindow(SW_SHOW);
    // A tab that could not float stays where it is.
    if (!pTabbedBar->FloatTab(pBar, iTab, dockMethod, bHide))
        return FALSE;

    if (m_iTabsNum == 0) {
        CQMXPMiniFrameWnd* pTabbedFrame = pTabbedBar->GetParentMiniFrame(TRUE);
        if (pTabbedFrame != nullptr)
            pTabbedFrame->RemoveControlBar(pTabbedBar, TRUE, FALSE);
        else if (pTabbedBar->CanBeDestroyedWhenEmpty())
            pTabbedBar->DestroyWindow();
        else
            ShowWindow(SW_HIDE);
        // This window went with its tabbed bar.
        return TRUE;
    }
    if (GetVisibleTabsNum() == 0)
        pTabbedBar->ShowControlBar(FALSE, FALSE, FALSE);
    RecalcLayout();
    CQMXPMiniFrameWnd* pMiniFrame = pBar->GetParentMiniFrame(TRUE);
    if (dockMethod == QMXP_DM_MOUSE && nDockingMode == QMXP_DT_STANDARD && pMiniFrame != nullptr) {
        ::ReleaseCapture();
        pMiniFrame->SetFocus();
        if (GetParent() != nullptr)
            GetParent()->SendMessage(WM_IDLEUPDATECMDUI, 0, 0);
    }
    m_bTabDragging = FALSE;

    HWND hReplacedBar = nullptr;
    if (m_iTabsNum == 1 && m_bHideSingleTab) {
        // The tabbed bar gives way to its last pane.
        CRect rectBar;
        pTabbedBar->GetWindowRect(&rectBar);
        auto* pLast = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, GetTabWnd(0));
        if (pLast != nullptr) {
            pTabbedBar->InsertControlBar(pLast, pTabbedBar, TRUE);
            pTabbedBar->ReplaceControlBar(pLast, FALSE);
            pLast->SetCurrentAlignment(pTabbedBar->GetCurrentAlignment());
            RemoveTab(0, TRUE);
            pLast->ShowCaption(TRUE);
            CQMXPMiniFrameWnd* pTabbedFrame = pTabbedBar->GetParentMiniFrame(TRUE);
            CWnd* pNewParent = pTabbedFrame != nullptr ? static_cast<CWnd*>(pTabbedFrame)
                                                       : static_cast<CWnd*>(pTabbedBar->GetDockSiteFrameWnd());
            if (pNewParent != nullptr) {
                pLast->SetParent(pNewParent);
                pNewParent->ScreenToClient(&rectBar);
                pLast->CWnd::SetWindowPos(nullptr, rectBar.left, rectBar.top, rectBar.Width(), rectBar.Height(),
                                          SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
            }
            pLast->ShowControlBar(TRUE, FALSE, FALSE);
            pTabbedBar->ShowWindow(SW_HIDE);
            hReplacedBar = pTabbedBar->GetSafeHwnd();
            if (pNewParent != nullptr) {
                pNewParent->Invalidate();
                pNewParent->UpdateWindow();
            }
        }
    }
    if (dockMethod == QMXP_DM_MOUSE && pMiniFrame != nullptr) {
        if (nDockingMode == QMXP_DT_STANDARD)
            pMiniFrame->EnterDragMode(hReplacedBar);
        else
            pMiniFrame->SetFocus();
    }
    return TRUE;
}

// The mouse -------------------------------------------------------------------------------

void CQMXPBaseTabWnd::ActivateClickedTab(int iTab, CPoint point) {
    if (iTab != m_iActiveTab && IsPtInTabArea(point)) {
        SetActiveTab(iTab);
        NotifyActiveTabChanged();
    }
}

void CQMXPBaseTabWnd::OnMouseMove(UINT nFlags, CPoint point) {
    CWnd::OnMouseMove(nFlags, point);
    const int iOldHighlighted = m_iHighlighted;
    m_iHighlighted = GetTabFromPoint(point);
    if (m_iPressed != -1 && m_iHighlighted != m_iPressed)
        m_iHighlighted = -1;
    if (m_iHighlighted != iOldHighlighted) {
        if (!m_bTabDragging && m_iPressed == -1) {
            if (m_iHighlighted != -1 && iOldHighlighted == -1)
                SetCapture();
            else if (m_iHighlighted == -1 && CWnd::GetCapture() == this)
                ::ReleaseCapture();
        }
        if (m_bHighLightTabs) {
            InvalidateTab(iOldHighlighted);
            InvalidateTab(m_iHighlighted);
        }
    }
    if (!m_bTabDragging)
        return;
    if (IsPtInTabArea(point)) {
        const int iTab = GetTabFromPoint(point);
        if (m_iTabsNum < 2 || !m_bEnableTabSwap || iTab == -1 || iTab == m_iActiveTab)
            return;
        // The dragged (active) tab changes places with the one under the cursor.
        CQMXPTabInfo* pActive = m_arTabs[m_iActiveTab];
        m_arTabs[m_iActiveTab] = m_arTabs[iTab];
        m_arTabs[iTab] = pActive;
        m_iActiveTab = -1;
        RecalcLayout();
        SetActiveTab(iTab);
        if (!m_arTabs[iTab]->m_rect.PtInRect(point)) {
            CPoint ptCursor(m_arTabs[iTab]->m_rect.left + m_nDragOffset, point.y);
            ClientToScreen(&ptCursor);
            ::SetCursorPos(ptCursor.x, ptCursor.y);
        }
        return;
    }
    const int nTabsBefore = m_iTabsNum;
    if (DetachTab(QMXP_DM_MOUSE, -1, FALSE) && nTabsBefore >= 3)
        m_bTabDragging = FALSE;
}

void CQMXPBaseTabWnd::OnLButtonDown(UINT nFlags, CPoint point) {
    CWnd::OnLButtonDown(nFlags, point);
    if (m_iHighlighted == -1)
        return;
    const int iTab = m_iHighlighted;
    if (!m_bActivateOnBtnUp) {
        ActivateClickedTab(iTab, point);
        m_iHighlighted = -1;
        if (CWnd::GetCapture() == this)
            ::ReleaseCapture();
    } else {
        m_iPressed = iTab;
    }
    InvalidateTab(iTab);
    if (m_iActiveTab == -1)
        return;
    m_bTabDragging = TRUE;
    SetCapture();
    m_ptDragStart = QMXPGetCursorPos();
    m_iTabBeforeDrag = m_iActiveTab;
    CRect rectTab = m_arTabs[m_iActiveTab]->m_rect;
    ClientToScreen(&rectTab);
    m_nDragOffset = m_ptDragStart.x - rectTab.left;
}

void CQMXPBaseTabWnd::OnLButtonUp(UINT nFlags, CPoint point) {
    if (m_iTabBeforeDrag != -1 && m_iActiveTab != m_iTabBeforeDrag) {
        const WPARAM wBefore = static_cast<WPARAM>(m_iTabBeforeDrag);
        const LPARAM lAfter = static_cast<LPARAM>(m_iActiveTab);
        CWnd* pParent = GetParent();
        if (pParent != nullptr) {
            pParent->SendMessage(QMXM_ON_MOVE_TAB, wBefore, lAfter);
            if (pParent->IsKindOf(RUNTIME_CLASS(CQMXPBaseTabbedBar)) && pParent->GetParentFrame() != nullptr)
                pParent->GetParentFrame()->SendMessage(QMXM_ON_MOVE_TAB, wBefore, lAfter);
        }
    }
    m_iTabBeforeDrag = -1;
    if (m_bTabDragging) {
        m_bTabDragging = FALSE;
        if (CWnd::GetCapture() == this)
            ::ReleaseCapture();
    }
    if (m_bActivateOnBtnUp) {
        const int iPressed = m_iPressed;
        const int iHighlighted = m_iHighlighted;
        if (iPressed != -1 && iPressed == iHighlighted)
            ActivateClickedTab(iPressed, point);
        m_iPressed = m_iHighlighted = -1;
        if (CWnd::GetCapture() == this)
            ::ReleaseCapture();
        InvalidateTab(iPressed);
        InvalidateTab(iHighlighted);
    }
    CWnd::OnLButtonUp(nFlags, point);
}

void CQMXPBaseTabWnd::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (m_bIsInPlaceEdit) {
        const int iTab = GetTabFromPoint(point);
        if (iTab != -1 && iTab == m_iActiveTab)
            StartRenameTab(iTab);
    } else if (IsPtInTabsAreaGap(point) == nullptr) {
        DetachTab(QMXP_DM_DBL_CLICK, -1, FALSE);
        return;
    }
    CWnd::OnLButtonDblClk(nFlags, point);
}

void CQMXPBaseTabWnd::OnCancelMode() {
    CWnd::OnCancelMode();
    const int iHighlighted = m_iHighlighted;
    const int iPressed = m_iPressed;
    m_iHighlighted = m_iPressed = -1;
    m_bTabDragging = FALSE;
    if (CWnd::GetCapture() == this)
        ::ReleaseCapture();
    InvalidateTab(iHighlighted);
    InvalidateTab(iPressed);
    if (m_pInPlaceEdit != nullptr)
        EndRename(FALSE);
}

// Renaming ---------------------------------------------------------------------------------

BOOL CQMXPBaseTabWnd::StartRenameTab(int iTab) {
    if (!m_bIsInPlaceEdit || !IsValidTab(iTab))
        return FALSE;
    if (m_pInPlaceEdit != nullptr)
        EndRename(FALSE);
    CRect rectEdit = m_arTabs[iTab]->m_rect;
    AdjustEditRect(rectEdit);
    m_pInPlaceEdit = new CEdit;
    if (!m_pInPlaceEdit->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rectEdit, this, kRenameEditID)) {
        delete m_pInPlaceEdit;
        m_pInPlaceEdit = nullptr;
        return FALSE;
    }
    m_pInPlaceEdit->SetWindowText(m_arTabs[iTab]->m_strText);
    m_pInPlaceEdit->SetFont(&globalData.fontRegular);
    m_pInPlaceEdit->SetSel(0, -1);
    m_pInPlaceEdit->SetFocus();
    m_iEditedTab = iTab;
    SetCapture();
    return TRUE;
}

BOOL CQMXPBaseTabWnd::RenameTab() {
    if (m_pInPlaceEdit == nullptr || !IsValidTab(m_iEditedTab))
        return FALSE;
    CString strLabel;
    m_pInPlaceEdit->GetWindowText(strLabel);
    if (strLabel.IsEmpty() || !OnRenameTab(m_iEditedTab, strLabel))
        return FALSE;
    CWnd* pParent = GetParent();
    if (pParent != nullptr &&
        pParent->SendMessage(QMXM_ON_RENAME_TAB, static_cast<WPARAM>(m_iEditedTab),
                             reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(strLabel))) != 0)
        return FALSE;
    return SetTabLabel(m_iEditedTab, strLabel);
}

BOOL CQMXPBaseTabWnd::EndRename(BOOL bApply) {
    if (bApply && !RenameTab())
        return FALSE;
    CEdit* pEdit = m_pInPlaceEdit;
    m_pInPlaceEdit = nullptr;
    if (pEdit != nullptr) {
        pEdit->DestroyWindow();
        delete pEdit;
    }
    m_iEditedTab = -1;
    if (CWnd::GetCapture() == this)
        ::ReleaseCapture();
    return TRUE;
}

BOOL CQMXPBaseTabWnd::PreTranslateMessage(MSG* pMsg) {
    if (m_pInPlaceEdit != nullptr && m_pInPlaceEdit->GetSafeHwnd() != nullptr) {
        if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
            if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
                if (!EndRename(TRUE))
                    ::MessageBeep(0xFFFFFFFF);
                return TRUE;
            }
            if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
                EndRename(FALSE);
                return TRUE;
            }
            return FALSE;
        }
        if (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSEWHEEL) {
            CRect rectEdit;
            m_pInPlaceEdit->GetWindowRect(&rectEdit);
            const CPoint ptCursor = QMXPGetCursorPos();
            if (rectEdit.PtInRect(ptCursor)) {
                // The edit gets the message in its own client coordinates.
                CPoint pt = ptCursor;
                m_pInPlaceEdit->ScreenToClient(&pt);
                m_pInPlaceEdit->SendMessage(pMsg->message, pMsg->wParam, MAKELPARAM(pt.x, pt.y));
                return TRUE;
            }
            if (pMsg->message != WM_MOUSEMOVE)
                EndRename(FALSE);
            return TRUE;
        }
    }
    return CWnd::PreTranslateMessage(pMsg);
}
