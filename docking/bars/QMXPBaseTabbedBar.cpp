#include "docking/bars/QMXPBaseTabbedBar.h"

#include "docking/bars/QMXPAutoHideDockBar.h"
#include "docking/bars/QMXPAutoHideToolBar.h"
#include "docking/bars/QMXPBaseTabWnd.h"
#include "docking/bars/QMXPDockingCBWrapper.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/bars/QMXPSlider.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/frames/QMXPMultiMiniFrameWnd.h"
#include "platform/classlib/Archive.h"

IMPLEMENT_DYNAMIC(CQMXPBaseTabbedBar, CQMXPDockingControlBar)

BEGIN_MESSAGE_MAP(CQMXPBaseTabbedBar, CQMXPDockingControlBar)
    ON_WM_SIZE()
    ON_WM_NCDESTROY()
    ON_WM_ERASEBKGND()
    ON_WM_SETFOCUS()
    ON_REGISTERED_MESSAGE(QMXM_ONCHANGE_ACTIVE_TAB, OnChangeActiveTab)
END_MESSAGE_MAP()

CQMXPBaseTabbedBar::CQMXPBaseTabbedBar(BOOL bAutoDestroy)
    : m_bAutoDestroy(bAutoDestroy), m_pTabWnd(nullptr), m_bSetCaptionTextToTabName(TRUE) {
    m_dwEnabledAlignment = 0xF000;
}

CQMXPBaseTabbedBar::~CQMXPBaseTabbedBar() { delete m_pTabWnd; }

// Messages -------------------------------------------------------------------------------

void CQMXPBaseTabbedBar::OnSize(UINT nType, int cx, int cy) {
    CQMXPDockingControlBar::OnSize(nType, cx, cy);
    if (m_pTabWnd != nullptr && m_pTabWnd->GetSafeHwnd() != nullptr)
        m_pTabWnd->SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

void CQMXPBaseTabbedBar::OnNcDestroy() {
    delete m_pTabWnd;
    m_pTabWnd = nullptr;
    const BOOL bAutoDestroy = m_bAutoDestroy && m_bWindowMade;
    CQMXPDockingControlBar::OnNcDestroy();
    if (bAutoDestroy)
        delete this;
}

BOOL CQMXPBaseTabbedBar::OnEraseBkgnd(CDC*) { return TRUE; }

void CQMXPBaseTabbedBar::OnSetFocus(CWnd*) {
    Default();
    if (m_pTabWnd != nullptr && m_pTabWnd->GetSafeHwnd() != nullptr)
        m_pTabWnd->SetFocus();
}

LRESULT CQMXPBaseTabbedBar::OnChangeActiveTab(WPARAM wParam, LPARAM) {
    const int iTab = static_cast<int>(wParam);
    CString strLabel;
    if (m_pTabWnd != nullptr && m_pTabWnd->GetTabLabel(iTab, strLabel) && m_bSetCaptionTextToTabName)
        SetWindowText(strLabel);
    OnActivateTab(iTab);
    return 0;
}

// Queries ----------------------------------------------------------------------------------

int CQMXPBaseTabbedBar::GetTabsNum() const { return m_pTabWnd != nullptr ? m_pTabWnd->GetTabsNum() : 0; }

int CQMXPBaseTabbedBar::GetVisibleTabsNum() const {
    return m_pTabWnd != nullptr ? m_pTabWnd->GetVisibleTabsNum() : 0;
}

BOOL CQMXPBaseTabbedBar::IsHideSingleTab() const { return m_pTabWnd != nullptr && m_pTabWnd->IsHideSingleTab(); }

HICON CQMXPBaseTabbedBar::GetIcon(BOOL bBigIcon) const {
    HICON hIcon = CQMXPDockingControlBar::GetIcon(bBigIcon);
    CWnd* pActive = m_pTabWnd != nullptr ? m_pTabWnd->GetActiveWnd() : nullptr;
    if (hIcon == nullptr && pActive != nullptr && pActive->GetSafeHwnd() != nullptr)
        hIcon = reinterpret_cast<HICON>(pActive->SendMessage(WM_GETICON, bBigIcon, 0));
    return hIcon;
}

CWnd* CQMXPBaseTabbedBar::FindBarByID(UINT uBarID) {
    for (int i = 0; i < GetTabsNum(); ++i) {
        CWnd* pWnd = m_pTabWnd->GetTabWnd(i);
        if (pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr && static_cast<UINT>(pWnd->GetDlgCtrlID()) == uBarID)
            return pWnd;
    }
    return nullptr;
}

CWnd* CQMXPBaseTabbedBar::GetTabWnd(int nTabNum, BOOL bUnwrap) const {
    if (m_pTabWnd == nullptr)
        return nullptr;
    CWnd* pWnd = m_pTabWnd->GetTabWnd(nTabNum);
    auto* pWrapper = bUnwrap ? DYNAMIC_DOWNCAST(CQMXPDockingCBWrapper, pWnd) : nullptr;
    return pWrapper != nullptr ? pWrapper->GetWrappedWnd() : pWnd;
}

CWnd* CQMXPBaseTabbedBar::GetFirstVisibleTab(int& iTabNum) const {
    iTabNum = -1;
    return m_pTabWnd != nullptr ? m_pTabWnd->GetFirstVisibleTab(iTabNum) : nullptr;
}

void CQMXPBaseTabbedBar::ApplyRestoredTabs() {
    if (m_pTabWnd != nullptr)
        m_pTabWnd->ApplyRestoredTabs(FALSE);
}

void CQMXPBaseTabbedBar::SerializeTabWindow(CArchive& ar) {
    if (m_pTabWnd != nullptr)
        m_pTabWnd->Serialize(ar);
}

// Tabs come and go --------------------------------------------------------------------------

BOOL CQMXPBaseTabbedBar::AddTab(CWnd* pNewBar, BOOL bVisible, BOOL bSetActive, BOOL bDetachable) {
    if (m_pTabWnd == nullptr || pNewBar == nullptr)
        return FALSE;
    auto* pOther = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pNewBar);
    if (pOther != nullptr) {
        // A tabbed bar gives up its tabs to this one and goes.
        CQMXPBaseTabWnd* pOtherTabWnd = pOther->GetUnderlinedWindow();
        const BOOL bFloating = IsFloating();
        const int nTabs = pOtherTabWnd != nullptr ? pOtherTabWnd->GetTabsNum() : 0;
        for (int i = 0; i < nTabs; ++i) {
            auto* pBar = DYNAMIC_DOWNCAST(CQMXPBaseControlBar, pOtherTabWnd->GetTabWnd(i));
            if (pBar == nullptr)
                continue;
            const BOOL bTabVisible = pOtherTabWnd->IsTabVisible(i);
            const BOOL bTabDetachable = pOtherTabWnd->IsTabDetachable(i);
            pBar->ShowCaption(FALSE);
            AddTab(pBar, bTabVisible, bTabVisible, bTabDetachable);
            auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pBar);
            if (pPane != nullptr)
                pPane->GetRecentDockInfo().SetInfo(bFloating, pOther->GetRecentDockInfo());
        }
        pOther->DestroyWindow();
        return FALSE;
    }
    auto* pBar = DYNAMIC_DOWNCAST(CQMXPControlBar, pNewBar);
    if (pBar != nullptr) {
        CWnd* pOldParent = pBar->GetParent();
        pBar->OnBeforeChangeParent(m_pTabWnd, TRUE);
        pBar->SetParent(m_pTabWnd);
        pBar->OnAfterChangeParent(pOldParent);
        auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pBar);
        if (pPane != nullptr)
            pPane->ShowCaption(FALSE);
    }
    CString strLabel;
    pNewBar->GetWindowText(strLabel);
    m_pTabWnd->AddTab(pNewBar, strLabel, static_cast<UINT>(-1), bDetachable);
    const int iTab = m_pTabWnd->GetTabsNum() - 1;
    CWnd* pTabWnd = m_pTabWnd->GetTabWnd(iTab);
    if (pTabWnd != nullptr)
        m_pTabWnd->SetTabHicon(iTab, reinterpret_cast<HICON>(pTabWnd->SendMessage(WM_GETICON, ICON_SMALL, 0)));
    m_pTabWnd->EnableTabDetach(iTab, bDetachable);
    if (!bVisible)
        m_pTabWnd->ShowTab(iTab, FALSE, TRUE, FALSE);
    else if (bSetActive)
        m_pTabWnd->SetActiveTab(iTab);
    return TRUE;
}

BOOL CQMXPBaseTabbedBar::RemoveControlBar(CWnd* pBar) {
    const int iTab = m_pTabWnd != nullptr && pBar != nullptr ? m_pTabWnd->GetTabFromHwnd(pBar->GetSafeHwnd()) : -1;
    if (iTab == -1)
        return FALSE;
    m_pTabWnd->RemoveTab(iTab, TRUE);
    if (m_pTabWnd->GetTabsNum() > 0)
        return TRUE;
    if (!CanBeDestroyedWhenEmpty()) {
        ShowWindow(SW_HIDE);
        return TRUE;
    }
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    if (pMiniFrame != nullptr)
        pMiniFrame->RemoveControlBar(this, FALSE, FALSE);
    else
        UndockControlBar(FALSE);
    DestroyWindow();
    return FALSE;
}

BOOL CQMXPBaseTabbedBar::ShowTab(CWnd* pBar, BOOL bShow, BOOL bDelay, BOOL bActivate) {
    const int iTab = m_pTabWnd != nullptr && pBar != nullptr ? m_pTabWnd->GetTabFromHwnd(pBar->GetSafeHwnd()) : -1;
    const BOOL bResult = m_pTabWnd != nullptr && m_pTabWnd->ShowTab(iTab, bShow, !bDelay, bActivate);
    CQMXPDockingControlBar::ShowControlBar(GetVisibleTabsNum() > 0, bDelay, bActivate);
    return bResult;
}

BOOL CQMXPBaseTabbedBar::DetachControlBar(CWnd* pBar, BOOL bHide) {
    const int iTab = m_pTabWnd != nullptr && pBar != nullptr ? m_pTabWnd->GetTabFromHwnd(pBar->GetSafeHwnd()) : -1;
    if (iTab == -1)
        return FALSE;
    return m_pTabWnd->DetachTab(0, iTab, bHide);
}

BOOL CQMXPBaseTabbedBar::FloatTab(CWnd* pBar, int nTabID, int dockMethod, BOOL bHide) {
    CString strText;
    pBar->GetWindowText(strText);
    if (strText.IsEmpty() && m_pTabWnd->GetTabLabel(nTabID, strText))
        pBar->SetWindowText(strText);
    m_pTabWnd->RemoveTab(nTabID, TRUE);
    if (dockMethod == QMXP_DM_MOUSE)
        m_pTabWnd->SendMessage(WM_LBUTTONUP);
    auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pBar);
    if (pPane != nullptr)
        pPane->UpdateTabbedBarRecentInfo();
    if (dockMethod == QMXP_DM_DBL_CLICK && pPane != nullptr) {
        auto* pMultiFrame = DYNAMIC_DOWNCAST(CQMXPMultiMiniFrameWnd, GetParentMiniFrame(TRUE));
        if (pMultiFrame != nullptr) {
            pMultiFrame->DockBarToRecentPlace(pPane);
            return TRUE;
        }
        CQMXPRecentDockInfo& info = pPane->GetRecentDockInfo();
        auto* pRecentFrame = ::IsWindow(info.m_hRecentMiniFrame)
                                 ? DYNAMIC_DOWNCAST(CQMXPMultiMiniFrameWnd,
                                                    CWnd::FromHandlePermanent(info.m_hRecentMiniFrame))
                                 : nullptr;
        if (GetDefaultSlider() != nullptr && pRecentFrame != nullptr && pRecentFrame->AddRecentControlBar(pPane))
            return TRUE;
    }
    auto* pControlBar = DYNAMIC_DOWNCAST(CQMXPControlBar, pBar);
    if (pControlBar == nullptr)
        return FALSE;
    pControlBar->FloatControlBar(pControlBar->GetRecentFloatingRect(), dockMethod, !bHide);
    return TRUE;
}

int CQMXPBaseTabbedBar::TakeOutDetachablePanes(CObList& lstPanes, BOOL bReparentToSite) {
    int nOthers = 0;
    CFrameWnd* pDockSite = GetDockSiteFrameWnd();
    for (int i = GetTabsNum() - 1; i >= 0; --i) {
        auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, m_pTabWnd->GetTabWnd(i));
        if (pPane == nullptr || !m_pTabWnd->IsTabVisible(i) || !m_pTabWnd->IsTabDetachable(i)) {
            ++nOthers;
            continue;
        }
        m_pTabWnd->RemoveTab(i, FALSE);
        pPane->ShowCaption(TRUE);
        pPane->UpdateTabbedBarRecentInfo();
        if (bReparentToSite && pDockSite != nullptr) {
            CWnd* pOldParent = pPane->GetParent();
            pPane->OnBeforeChangeParent(pDockSite, TRUE);
            pPane->SetParent(pDockSite);
            pPane->SetOwner(pDockSite);
            pPane->OnAfterChangeParent(pOldParent);
        }
        lstPanes.AddHead(pPane);
    }
    return nOthers;
}

// Docking, floating and auto hide as a group -------------------------------------------------

BOOL CQMXPBaseTabbedBar::FloatControlBar(CRect rectFloat, int dockMethod, bool bShow) {
    if (!CQMXPDockingControlBar::FloatControlBar(rectFloat, dockMethod, bShow))
        return FALSE;
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    if (pMiniFrame != nullptr && m_pTabWnd != nullptr)
        pMiniFrame->SendMessage(WM_SETICON, ICON_SMALL,
                                reinterpret_cast<LPARAM>(m_pTabWnd->GetTabHicon(m_pTabWnd->GetActiveTab())));
    return TRUE;
}

void CQMXPBaseTabbedBar::AdjustLayout() {
    CQMXPDockingControlBar::AdjustLayout();
    if (m_pTabWnd != nullptr)
        m_pTabWnd->RecalcLayout();
}

BOOL CQMXPBaseTabbedBar::Dock(CQMXPBaseControlBar* pDockBar, LPCRECT lpRect, int dockMethod) {
    if (dockMethod != QMXP_DM_DBL_CLICK || m_pTabWnd == nullptr)
        return CQMXPDockingControlBar::Dock(pDockBar, lpRect, dockMethod);
    // The other place: docked while the bar floats, floating while it is docked.
    const BOOL bForDocked = IsFloating();
    if (m_recentDockInfo.GetRecentContainer(bForDocked) != nullptr ||
        m_recentDockInfo.GetRecentTabContainer(bForDocked) != nullptr)
        return CQMXPDockingControlBar::Dock(pDockBar, lpRect, dockMethod);
    // Otherwise the group breaks up and its panes go back to their places.
    ShowControlBar(FALSE, TRUE, FALSE);
    CObList lstPanes;
    TakeOutDetachablePanes(lstPanes, FALSE);
    for (POSITION pos = lstPanes.GetTailPosition(); pos != nullptr;) {
        auto* pPane = static_cast<CQMXPDockingControlBar*>(lstPanes.GetPrev(pos));
        pPane->DockControlBar(pPane, nullptr, QMXP_DM_DBL_CLICK);
    }
    if (GetTabsNum() == 0) {
        DestroyWindow();
        return FALSE;
    }
    if (GetVisibleTabsNum() == 0)
        return TRUE;
    int iFirst = -1;
    if (m_pTabWnd->GetActiveTab() == -1 && m_pTabWnd->GetFirstVisibleTab(iFirst) != nullptr)
        m_pTabWnd->SetActiveTab(iFirst);
    m_pTabWnd->RecalcLayout();
    ShowControlBar(TRUE, TRUE, FALSE);
    return CQMXPDockingControlBar::Dock(pDockBar, lpRect, dockMethod);
}

void CQMXPBaseTabbedBar::StoreRecentDockInfo() {
    for (int i = 0; i < GetTabsNum(); ++i) {
        auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, m_pTabWnd->GetTabWnd(i));
        if (pPane != nullptr)
            pPane->UpdateTabbedBarRecentInfo();
    }
    CQMXPDockingControlBar::StoreRecentDockInfo();
}

CQMXPAutoHideToolBar* CQMXPBaseTabbedBar::SetAutoHideMode(BOOL bMode, DWORD dwAlignment,
                                                          CQMXPAutoHideToolBar* pCurrAutoHideBar, BOOL bUseTimer) {
    if (!bMode || m_pTabWnd == nullptr)
        return CQMXPDockingControlBar::SetAutoHideMode(bMode, dwAlignment, pCurrAutoHideBar, bUseTimer);
    const int iActive = m_pTabWnd->GetActiveTab();
    CWnd* pActiveWnd = m_pTabWnd->GetTabWnd(iActive);
    ShowControlBar(FALSE, TRUE, FALSE);
    CObList lstPanes;
    TakeOutDetachablePanes(lstPanes, TRUE);
    // Each pane gets its own strip; the strips know their places in the group.
    CQMXPAutoHideToolBar* pLastStrip = nullptr;
    BOOL bActiveFound = FALSE;
    for (POSITION pos = lstPanes.GetHeadPosition(); pos != nullptr;) {
        const POSITION posNow = pos;
        auto* pPane = static_cast<CQMXPDockingControlBar*>(lstPanes.GetNext(pos));
        const BOOL bActive = pPane == pActiveWnd;
        CQMXPAutoHideToolBar* pStrip = pPane->SetAutoHideMode(TRUE, dwAlignment, nullptr, bUseTimer && bActive);
        if (pStrip == nullptr)
            continue;
        pStrip->SetFirstInGroup(posNow == lstPanes.GetHeadPosition());
        pStrip->SetLastInGroup(pos == nullptr);
        pStrip->CQMXPControlBar::SetActiveInGroup(bActive);
        bActiveFound = bActiveFound || bActive;
        pLastStrip = pStrip;
    }
    if (pLastStrip != nullptr) {
        if (!bActiveFound)
            pLastStrip->CQMXPControlBar::SetActiveInGroup(TRUE);
        auto* pDockBar = DYNAMIC_DOWNCAST(CQMXPAutoHideDockBar, pLastStrip->GetParentDockBar());
        if (pDockBar != nullptr)
            pDockBar->LayoutStrips();
    }
    if (GetTabsNum() == 0 || GetVisibleTabsNum() == 0)
        return nullptr;
    int iFirst = -1;
    if (m_pTabWnd->GetActiveTab() == -1 && m_pTabWnd->GetFirstVisibleTab(iFirst) != nullptr)
        m_pTabWnd->SetActiveTab(iFirst);
    m_pTabWnd->RecalcLayout();
    ShowControlBar(TRUE, TRUE, FALSE);
    CQMXPAutoHideToolBar* pStrip =
        CQMXPDockingControlBar::SetAutoHideMode(bMode, dwAlignment, pCurrAutoHideBar, bUseTimer);
    if (pStrip != nullptr)
        pStrip->UpdateStripVisibility();
    return pStrip;
}

// Persistence ---------------------------------------------------------------------------------

BOOL CQMXPBaseTabbedBar::SaveState(LPCWSTR lpszProfileName, UINT uiID, int nIndex) {
    if (!CQMXPDockingControlBar::SaveState(lpszProfileName, uiID, nIndex))
        return FALSE;
    for (int i = 0; i < GetTabsNum(); ++i) {
        auto* pBar = DYNAMIC_DOWNCAST(CQMXPBaseControlBar, m_pTabWnd->GetTabWnd(i));
        if (pBar != nullptr && !pBar->SaveState(lpszProfileName, uiID, nIndex))
            return FALSE;
    }
    return TRUE;
}

BOOL CQMXPBaseTabbedBar::LoadState(LPCWSTR lpszProfileName, UINT uiID, int nIndex) {
    CQMXPDockingControlBar::LoadState(lpszProfileName, uiID, nIndex);
    for (int i = 0; i < GetTabsNum(); ++i) {
        auto* pBar = DYNAMIC_DOWNCAST(CQMXPBaseControlBar, m_pTabWnd->GetTabWnd(i));
        if (pBar != nullptr)
            pBar->LoadState(lpszProfileName, uiID, nIndex);
    }
    return TRUE;
}

void CQMXPBaseTabbedBar::Serialize(CArchive& ar) {
    CQMXPDockingControlBar::Serialize(ar);
    if (ar.IsStoring())
        ar << m_bAutoDestroy;
    else
        ar >> m_bAutoDestroy;
}

void CQMXPBaseTabbedBar::SaveSiblingBarIDs(CArchive& ar) {
    if (!ar.IsStoring() || GetTabsNum() == 0)
        return;
    ar << GetTabsNum();
    for (int i = 0; i < GetTabsNum(); ++i) {
        CWnd* pWnd = m_pTabWnd->GetTabWnd(i);
        ar << (pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr ? pWnd->GetDlgCtrlID() : -1);
    }
}

void CQMXPBaseTabbedBar::LoadSiblingBarIDs(CArchive& ar, CList<UINT, UINT>& lstIDs) {
    int nCount = 0;
    ar >> nCount;
    // A count the stream cannot hold is a damaged stream.
    if (nCount < 0)
        AfxThrowArchiveException(CArchiveException::badIndex);
    for (int i = 0; i < nCount; ++i) {
        UINT nID = 0;
        ar >> nID;
        lstIDs.AddTail(nID);
    }
}
