// CQMXPBaseTabWnd: the tab state in the docking layout archive and its
// application once the whole layout is loaded, and the drop target that
// lets customised tool-bar buttons reach the tabs.
#include "docking/bars/QMXPBaseTabWnd.h"

#include "docking/bars/QMXPBaseTabbedBar.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/Archive.h"

void CQMXPBaseTabWnd::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_iTabsNum;
        for (int i = 0; i < m_iTabsNum; ++i) {
            const CQMXPTabInfo* pTab = m_arTabs[i];
            const int nID = pTab->m_pWnd != nullptr && pTab->m_pWnd->GetSafeHwnd() != nullptr
                                ? pTab->m_pWnd->GetDlgCtrlID()
                                : -1;
            ar << pTab->m_strText << pTab->m_bVisible << nID << pTab->m_bIsDetachable << pTab->m_clrText
               << pTab->m_clrBack;
        }
        ar << m_iActiveTab << m_location;
        return;
    }
    m_lstRestoredTabInfo.RemoveAll();
    int nCount = 0;
    ar >> nCount;
    for (int i = 0; i < nCount; ++i) {
        CQMXPRestoredTabInfo info;
        ar >> info.m_strText >> info.m_bVisible >> info.m_nControlBarID >> info.m_bDetachable >> info.m_clrText >>
            info.m_clrBack;
        m_lstRestoredTabInfo.AddTail(info);
    }
    ar >> m_nRestoredActiveTab >> m_nRestoredLocation;
}

void CQMXPBaseTabWnd::ApplyRestoredTabs(BOOL bReorder) {
    auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, GetParent());
    CQMXPDockManager* pDockManager = qmxGlobalUtils.GetDockManager(QMXFindOwnerFrame(this));
    // Panes named by the stored tabs that are elsewhere now come here first.
    for (POSITION pos = m_lstRestoredTabInfo.GetHeadPosition(); pos != nullptr;) {
        const CQMXPRestoredTabInfo& info = m_lstRestoredTabInfo.GetNext(pos);
        if (GetTabFromID(info.m_nControlBarID) != -1 || pDockManager == nullptr || pTabbedBar == nullptr)
            continue;
        auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pDockManager->FindBarByID(info.m_nControlBarID, TRUE));
        if (pPane == nullptr || pPane == pTabbedBar)
            continue;
        const BOOL bWasTab = pPane->LeaveTabGroup(GetParent());
        if (pPane->IsAutoHideMode())
            pPane->SetAutoHideMode(FALSE, 0xF000);
        CQMXPMiniFrameWnd* pMiniFrame = pPane->GetParentMiniFrame(TRUE);
        if (pMiniFrame != nullptr && !bWasTab)
            pMiniFrame->RemoveControlBar(pPane, FALSE, FALSE);
        pPane->SetParent(GetParent());
        pPane->AttachToTabWnd(pTabbedBar, 3, FALSE, nullptr);
    }
    int i = 0;
    for (POSITION pos = m_lstRestoredTabInfo.GetHeadPosition(); pos != nullptr; ++i) {
        const CQMXPRestoredTabInfo& info = m_lstRestoredTabInfo.GetNext(pos);
        const int iTab = GetTabFromID(info.m_nControlBarID);
        if (iTab == -1)
            continue;
        CQMXPTabInfo* pTab = m_arTabs[iTab];
        pTab->m_strText = info.m_strText;
        pTab->m_bVisible = info.m_bVisible;
        pTab->m_clrText = info.m_clrText;
        pTab->m_clrBack = info.m_clrBack;
        pTab->m_bIsDetachable = info.m_bDetachable;
        if (bReorder && iTab != i && i < m_iTabsNum) {
            m_arTabs[iTab] = m_arTabs[i];
            m_arTabs[i] = pTab;
            if (i == m_nRestoredActiveTab && pTab->m_pWnd != nullptr)
                pTab->m_pWnd->ShowWindow(SW_SHOW);
        }
    }
    // The stored active tab, or the first one when that is gone; tabs may
    // have changed places, so the activation starts afresh.
    CWnd* pOldActive = GetActiveWnd();
    m_iActiveTab = -1;
    if (m_bHideInactiveWindow && pOldActive != nullptr)
        pOldActive->ShowWindow(SW_HIDE);
    if (!SetActiveTab(m_nRestoredActiveTab))
        SetActiveTab(0);
    RecalcLayout();
}

int CQMXPBaseTabWnd::GetTabFromID(UINT nID) const {
    for (int i = 0; i < m_iTabsNum; ++i) {
        CWnd* pWnd = m_arTabs[i]->m_pWnd;
        if (pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr && static_cast<UINT>(pWnd->GetDlgCtrlID()) == nID)
            return i;
    }
    return -1;
}

// The drop target --------------------------------------------------------------------------

BOOL CQMXPTabDropTarget::Accepts(COleDataObject* pDataObject) {
    return CQMXPToolBar::m_bCustomizeMode && pDataObject != nullptr &&
           pDataObject->IsDataAvailable(CQMXPToolbarButton::GetClipboardFormat());
}

DROPEFFECT CQMXPTabDropTarget::OnDragEnter(CWnd*, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    if (m_pOwner == nullptr || !Accepts(pDataObject))
        return DROPEFFECT_NONE;
    return m_pOwner->OnDragEnter(pDataObject, dwKeyState, point);
}

DROPEFFECT CQMXPTabDropTarget::OnDragOver(CWnd*, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    if (m_pOwner == nullptr || !Accepts(pDataObject))
        return DROPEFFECT_NONE;
    return m_pOwner->OnDragOver(pDataObject, dwKeyState, point);
}

BOOL CQMXPTabDropTarget::OnDrop(CWnd*, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) {
    if (m_pOwner == nullptr || !Accepts(pDataObject))
        return FALSE;
    return m_pOwner->OnDrop(pDataObject, dropEffect, point);
}

void CQMXPTabDropTarget::OnDragLeave(CWnd*) {
    if (m_pOwner != nullptr)
        m_pOwner->OnDragLeave();
}
