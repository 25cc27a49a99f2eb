#include "docking/frames/QMXPMultiMiniFrameWnd.h"

#include "docking/bars/QMXPBarContainer.h"
#include "docking/bars/QMXPBaseTabbedBar.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/bars/QMXPSlider.h"
#include "platform/classlib/Archive.h"

#include <vector>

IMPLEMENT_SERIAL(CQMXPMultiMiniFrameWnd, CQMXPMiniFrameWnd, VERSIONABLE_SCHEMA | 1)

BEGIN_MESSAGE_MAP(CQMXPMultiMiniFrameWnd, CQMXPMiniFrameWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SIZING()
    ON_WM_GETMINMAXINFO()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_REGISTERED_MESSAGE(QMXPMSG_CHECKEMPTYMINIFRAME, OnCheckEmptyMiniFrame)
END_MESSAGE_MAP()

namespace {

constexpr DWORD kRollUpStyle = 0x10;
constexpr UINT kRollUpPeriod = 250;

CQMXPDockingControlBar* PaneOf(CObject* pObject) { return static_cast<CQMXPDockingControlBar*>(pObject); }

}  // namespace

CQMXPMultiMiniFrameWnd::CQMXPMultiMiniFrameWnd() = default;

CQMXPMultiMiniFrameWnd::~CQMXPMultiMiniFrameWnd() = default;

int CQMXPMultiMiniFrameWnd::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CQMXPMiniFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_barContainerManager.Create(this, nullptr, nullptr);
    return 0;
}

// The panes -------------------------------------------------------------------------

BOOL CQMXPMultiMiniFrameWnd::CanBeDockedToBar(const CQMXPBaseControlBar* pDockBar) const {
    if (pDockBar == nullptr)
        return FALSE;
    for (POSITION pos = m_barContainerManager.GetBars().GetHeadPosition(); pos != nullptr;) {
        if (pDockBar->CanAcceptBar(PaneOf(m_barContainerManager.GetBars().GetNext(pos))))
            return TRUE;
    }
    return FALSE;
}

void CQMXPMultiMiniFrameWnd::AddControlBar(CQMXPBaseControlBar* pWnd) {
    auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pWnd);
    if (pPane != nullptr && m_barContainerManager.IsEmpty()) {
        m_barContainerManager.AddControlBar(pPane);
        CQMXPMiniFrameWnd::AddControlBar(pWnd);
        AdjustLayout();
    }
    StartRollUpTimerIfNeeded();
}

void CQMXPMultiMiniFrameWnd::RemoveControlBar(CQMXPBaseControlBar* pWnd, BOOL bDestroy, BOOL bNoDelayedDestroy) {
    auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pWnd);
    if (pPane != nullptr)
        m_barContainerManager.RemoveControlBarFromContainer(pPane);
    if (m_barContainerManager.IsEmpty()) {
        // Emptied, the frame is checked later rather than destroyed at once:
        // nodes that panes will come back to keep it.
        CQMXPMiniFrameWnd::RemoveControlBar(pWnd, FALSE, bNoDelayedDestroy);
    } else {
        CQMXPMiniFrameWnd::ReplaceControlBar(pWnd, m_barContainerManager.GetFirstBar());
    }
    if (bDestroy && m_barContainerManager.IsEmpty()) {
        StopRollUpTimerIfNeeded();
        return;
    }
    UpdateBarCaptions();
    AdjustLayout();
    SendMessage(WM_NCPAINT);
    StopRollUpTimerIfNeeded();
}

void CQMXPMultiMiniFrameWnd::ReplaceControlBar(CQMXPBaseControlBar* pBarOrg, CQMXPBaseControlBar* pBarReplaceWith) {
    auto* pOld = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pBarOrg);
    auto* pNew = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pBarReplaceWith);
    if (pOld != nullptr && pNew != nullptr)
        m_barContainerManager.ReplaceControlBar(pOld, pNew);
}

int CQMXPMultiMiniFrameWnd::GetControlBarCount() const {
    return static_cast<int>(m_barContainerManager.GetBars().GetCount());
}

CQMXPBaseControlBar* CQMXPMultiMiniFrameWnd::GetControlBar() const {
    // The embedded pane only while it is still one of the frame's panes.
    CQMXPBaseControlBar* pBar = CQMXPMiniFrameWnd::GetControlBar();
    auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pBar);
    if (pPane != nullptr && m_barContainerManager.IsListed(pPane))
        return pBar;
    return GetFirstVisibleBar();
}

CQMXPBaseControlBar* CQMXPMultiMiniFrameWnd::GetFirstVisibleBar() const {
    return m_barContainerManager.GetFirstVisibleBar();
}

CString CQMXPMultiMiniFrameWnd::GetCaptionText() const {
    CString strText;
    if (m_barContainerManager.GetVisibleBarCount() == 1)
        m_barContainerManager.GetFirstVisibleBar()->GetWindowText(strText);
    return strText;
}

void CQMXPMultiMiniFrameWnd::UpdateBarCaptions() {
    if (!(GetStyle() & WS_VISIBLE))
        return;
    if (m_barContainerManager.GetVisibleBarCount() == 1)
        m_barContainerManager.GetFirstVisibleBar()->ShowCaption(FALSE);
    else
        m_barContainerManager.ShowBarCaptions(TRUE);
}

CQMXPBaseControlBar* CQMXPMultiMiniFrameWnd::ControlBarFromPoint(CPoint point, int nSensitivity,
                                                                 BOOL bCheckVisibility) const {
    if (bCheckVisibility && !(GetStyle() & WS_VISIBLE))
        return nullptr;
    BOOL bTabArea = FALSE;
    BOOL bCaption = FALSE;
    return m_barContainerManager.ControlBarFromPoint(point, nSensitivity, TRUE, bTabArea, bCaption);
}

void CQMXPMultiMiniFrameWnd::CalcExpectedDockedRect(CWnd* pWndToDock, CPoint ptMouse, CRect& rectResult,
                                                    BOOL& bDrawTab, CQMXPDockingControlBar** ppTargetBar) {
    rectResult.SetRectEmpty();
    bDrawTab = FALSE;
    if (ppTargetBar != nullptr)
        *ppTargetBar = nullptr;
    if (!m_bBlockMove)
        qmxGlobalUtils.CalcExpectedDockedRect(m_barContainerManager, pWndToDock, ptMouse, rectResult, bDrawTab,
                                              ppTargetBar);
}

void CQMXPMultiMiniFrameWnd::AdjustLayout() {
    if (GetSafeHwnd() == nullptr)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    HDWP hdwp = ::BeginDeferWindowPos(20);
    m_barContainerManager.ResizeBarContainers(rectClient, hdwp);
    if (hdwp != nullptr)
        ::EndDeferWindowPos(hdwp);
}

BOOL CQMXPMultiMiniFrameWnd::SaveState(LPCWSTR lpszProfileName, UINT uiID) {
    for (POSITION pos = m_barContainerManager.GetBars().GetHeadPosition(); pos != nullptr;)
        PaneOf(m_barContainerManager.GetBars().GetNext(pos))->SaveState(lpszProfileName, static_cast<UINT>(-1),
                                                                         static_cast<int>(uiID));
    return TRUE;
}

BOOL CQMXPMultiMiniFrameWnd::LoadState(LPCWSTR lpszProfileName, UINT uiID) {
    for (POSITION pos = m_barContainerManager.GetBars().GetHeadPosition(); pos != nullptr;)
        PaneOf(m_barContainerManager.GetBars().GetNext(pos))->LoadState(lpszProfileName, static_cast<UINT>(-1),
                                                                         static_cast<int>(uiID));
    return TRUE;
}

void CQMXPMultiMiniFrameWnd::StoreRecentDockInfo(CQMXPControlBar* pBar) {
    auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pBar);
    if (pPane != nullptr)
        m_barContainerManager.StoreRecentDockInfo(pPane);
}

void CQMXPMultiMiniFrameWnd::OnShowControlBar(CQMXPBaseControlBar* pBar, BOOL bShow) {
    m_barContainerManager.OnShowControlBar(DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pBar), bShow);
    if (!bShow && m_barContainerManager.GetVisibleBarCount() == 0)
        ShowWindow(SW_HIDE);
    if (bShow)
        ShowWindow(SW_SHOWNOACTIVATE);
    UpdateBarCaptions();
    AdjustLayout();
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CQMXPMultiMiniFrameWnd::StoreRecentFloatingRect() {
    GetWindowRect(&m_rectRecentFloatingRect);
    CObList lstBars;
    m_barContainerManager.CollectVisible(lstBars, nullptr);
    for (POSITION pos = lstBars.GetHeadPosition(); pos != nullptr;)
        PaneOf(lstBars.GetNext(pos))->SetRecentFloatingRect(m_rectRecentFloatingRect);
}

void CQMXPMultiMiniFrameWnd::CloseMiniFrame() {
    if (!CanCloseFrame())
        return;
    ShowWindow(SW_HIDE);
    m_barContainerManager.HideAll();
}

// Roll-up ---------------------------------------------------------------------------------

BOOL CQMXPMultiMiniFrameWnd::HasRollUpPane() const {
    for (POSITION pos = m_barContainerManager.GetBars().GetHeadPosition(); pos != nullptr;) {
        CQMXPDockingControlBar* pPane = PaneOf(m_barContainerManager.GetBars().GetNext(pos));
        if ((pPane->GetStyle() & WS_VISIBLE) && (pPane->GetBarStyle() & kRollUpStyle))
            return TRUE;
    }
    return FALSE;
}

void CQMXPMultiMiniFrameWnd::StartRollUpTimerIfNeeded() {
    if (m_nRollTimerID != 0 || !HasRollUpPane() || GetSafeHwnd() == nullptr)
        return;
    m_nRollTimerID = SetTimer(QMXP_CHECK_ROLL_STATE, kRollUpPeriod);
    SetCaptionButtons(m_dwCaptionButtons | QMXP_CAPTION_BTN_PIN);
}

void CQMXPMultiMiniFrameWnd::StopRollUpTimerIfNeeded() {
    if (m_nRollTimerID == 0 || HasRollUpPane())
        return;
    KillTimer(m_nRollTimerID);
    m_nRollTimerID = 0;
    SetCaptionButtons(m_dwCaptionButtons & ~QMXP_CAPTION_BTN_PIN);
}

// Docking into the frame -------------------------------------------------------------------

BOOL CQMXPMultiMiniFrameWnd::DockControlBarToMiniFrame(CQMXPDockingControlBar* pBar) {
    CQMXPDockingControlBar* pTarget = nullptr;
    DWORD dwAlignment = 0;
    BOOL bTabArea = FALSE;
    BOOL bCaption = FALSE;
    qmxGlobalUtils.FindDockTarget(m_barContainerManager, QMXPGetCursorPos(), pTarget, dwAlignment, bTabArea, bCaption);
    BOOL bFloating = TRUE;
    if (pTarget != nullptr && pTarget != pBar && (dwAlignment & 0xF000) != 0) {
        pBar->OnBeforeChangeParent(this, FALSE);
        pBar->SetParent(this);
        if (m_barContainerManager.InsertControlBar(pBar, pTarget, dwAlignment)) {
            AddFloatingBar(pBar);
            UpdateBarCaptions();
            AdjustLayout();
            SendMessage(WM_NCPAINT);
            bFloating = FALSE;
        }
    }
    StartRollUpTimerIfNeeded();
    return bFloating;
}

BOOL CQMXPMultiMiniFrameWnd::DockMiniFrame(CQMXPMiniFrameWnd* pOther, int nDockMethod) {
    auto* pOtherFrame = DYNAMIC_DOWNCAST(CQMXPMultiMiniFrameWnd, pOther);
    if (pOtherFrame == nullptr || pOtherFrame == this)
        return TRUE;
    DWORD dwAlignment = 0x1000;
    CQMXPDockingControlBar* pTarget = nullptr;
    BOOL bTabArea = FALSE;
    BOOL bCaption = FALSE;
    if ((nDockMethod == QMXP_DM_MOUSE || nDockMethod == QMXP_DM_STANDARD) &&
        !qmxGlobalUtils.FindDockTarget(m_barContainerManager, QMXPGetCursorPos(), pTarget, dwAlignment, bTabArea, bCaption))
        return TRUE;
    if (pTarget == nullptr || (dwAlignment & 0xF000) == 0)
        return TRUE;
    const BOOL bDocked =
        bTabArea || bCaption
            ? m_barContainerManager.AddContainerManagerToTabWnd(pTarget, pOtherFrame->m_barContainerManager)
            : m_barContainerManager.AddContainerManager(pTarget, dwAlignment, pOtherFrame->m_barContainerManager,
                                                        TRUE);
    if (!bDocked)
        return TRUE;
    CObList lstBars;
    m_barContainerManager.CollectVisible(lstBars, nullptr);
    for (POSITION pos = lstBars.GetHeadPosition(); pos != nullptr;)
        AddFloatingBar(PaneOf(lstBars.GetNext(pos)));
    pOtherFrame->SendMessage(QMXPMSG_CHECKEMPTYMINIFRAME);
    if (::IsWindow(pOtherFrame->GetSafeHwnd()))
        pOtherFrame->MoveWindow(pOtherFrame->GetRecentFloatingRect());
    UpdateBarCaptions();
    AdjustLayout();
    StartRollUpTimerIfNeeded();
    return FALSE;
}

BOOL CQMXPMultiMiniFrameWnd::AddRecentControlBar(CQMXPDockingControlBar* pBar) {
    CQMXPBarContainer* pNode = pBar->GetRecentDockInfo().GetRecentContainer(FALSE);
    if (pNode == nullptr || !CQMXPBarContainer::IsLive(pNode) || m_barContainerManager.GetRootContainer() == nullptr ||
        m_barContainerManager.GetRootContainer()->FindSubContainer(pNode, 3) == nullptr)
        return FALSE;
    pBar->SetParent(this);
    AddFloatingBar(pBar);
    CQMXPDockingControlBar* pResult = m_barContainerManager.AddControlBarToRecentContainer(pBar, pNode);
    if (pResult == nullptr)
        return FALSE;
    if (!::IsWindow(m_hEmbeddedBar))
        m_hEmbeddedBar = pResult->GetSafeHwnd();
    if (m_barContainerManager.GetVisibleBarCount() == 1)
        MoveWindow(m_rectRecentFloatingRect, TRUE);
    // A frame hidden while all its panes were away shows with the first one back.
    if (!(GetStyle() & WS_VISIBLE))
        ShowWindow(SW_SHOWNOACTIVATE);
    UpdateBarCaptions();
    AdjustLayout();
    StartRollUpTimerIfNeeded();
    return TRUE;
}

void CQMXPMultiMiniFrameWnd::DockBarToRecentPlace(CQMXPDockingControlBar* pBar) {
    AddRemoveBarFromGlobalList(pBar, FALSE);
    pBar->DockControlBar(nullptr, nullptr, QMXP_DM_DBL_CLICK);
}

BOOL CQMXPMultiMiniFrameWnd::AddFloatingBar(CQMXPDockingControlBar* pBar) {
    AddRemoveBarFromGlobalList(pBar, TRUE);
    return TRUE;
}

// Docking the group --------------------------------------------------------------------------

BOOL CQMXPMultiMiniFrameWnd::DockControlBar(CQMXPControlBar*, BOOL& bWasDocked) {
    DockFrameToTarget(bWasDocked);
    return bWasDocked;
}

void CQMXPMultiMiniFrameWnd::DockFrameToTarget(BOOL& bDocked) {
    bDocked = FALSE;
    if (::GetKeyState(VK_CONTROL) < 0)
        return;
    auto* pTarget = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, m_dragFrameImpl.m_pFinalTargetBar);
    CQMXPMiniFrameWnd* pTargetFrame = pTarget != nullptr ? pTarget->GetParentMiniFrame(TRUE) : nullptr;
    if (pTargetFrame != nullptr) {
        auto* pOther = DYNAMIC_DOWNCAST(CQMXPMultiMiniFrameWnd, pTargetFrame);
        if (pOther != nullptr && pOther != this)
            bDocked = !pOther->DockMiniFrame(this, QMXP_DM_STANDARD);
        return;
    }
    bDocked = !DockFrame(m_nDockMode == QMXP_DOCK_TAB ? QMXP_DOCK_TAB : QMXP_DOCK_PLACE, pTarget, QMXP_DM_STANDARD);
}

BOOL CQMXPMultiMiniFrameWnd::DockFrame(int nMode, CQMXPDockingControlBar* pTargetBar, int nDockMethod) {
    CObList lstBars;
    m_barContainerManager.CollectVisible(lstBars, nullptr);
    for (POSITION pos = lstBars.GetHeadPosition(); pos != nullptr;)
        PaneOf(lstBars.GetNext(pos))->StoreRecentDockInfo();
    CQMXPDockManager* pDockManager = GetDockManager();
    if (pDockManager == nullptr || lstBars.IsEmpty())
        return TRUE;
    const CPoint pt = QMXPGetCursorPos();
    if (pTargetBar == nullptr) {
        DWORD dwAlignment = 0;
        BOOL bOuterEdge = FALSE;
        if (!pDockManager->IsPointNearDockBar(pt, dwAlignment, bOuterEdge))
            return TRUE;
        CQMXPSlider* pSlider =
            CQMXPDockingControlBar::CreateDefaultSlider(dwAlignment, pDockManager->GetDockSiteFrameWnd());
        if (pSlider == nullptr)
            return TRUE;
        AdjustLayout();
        if (!pSlider->AddContainerManager(m_barContainerManager, TRUE)) {
            pSlider->DestroyWindow();
            return TRUE;
        }
        pDockManager->AddControlBar(pSlider, !bOuterEdge, FALSE, bOuterEdge);
        SendMessage(QMXPMSG_CHECKEMPTYMINIFRAME);
        if (::IsWindow(m_hWnd))
            MoveWindow(m_rectRecentFloatingRect);
        pSlider->AdjustDockingLayout();
        return FALSE;
    }
    CQMXPDockingControlBar* pFirst = m_barContainerManager.GetFirstBar();
    if (pFirst == nullptr || !pTargetBar->CanAcceptBar(pFirst) || !pFirst->CanAcceptBar(pTargetBar))
        return TRUE;
    if (!(pFirst->GetStyle() & WS_VISIBLE) && GetControlBarCount() == 1 &&
        pFirst->GetDockingMode() == QMXP_DT_STANDARD)
        pFirst->ModifyStyle(0, WS_VISIBLE);
    if (nMode == QMXP_DOCK_PLACE) {
        DWORD dwAlignment = 0;
        if (!qmxGlobalUtils.CheckAlignment(pt, pTargetBar, qmxDockSensitivity, FALSE, dwAlignment, 0xF000) ||
            !pTargetBar->DockContainer(m_barContainerManager, dwAlignment, nDockMethod))
            return TRUE;
        SendMessage(QMXPMSG_CHECKEMPTYMINIFRAME);
        if (::IsWindow(m_hWnd))
            MoveWindow(m_rectRecentFloatingRect);
        pTargetBar->AdjustDockingLayout();
        return FALSE;
    }
    if (nMode == QMXP_DOCK_TAB) {
        BOOL bAttached = FALSE;
        for (POSITION pos = lstBars.GetHeadPosition(); pos != nullptr;) {
            CQMXPDockingControlBar* pPane = PaneOf(lstBars.GetNext(pos));
            AddRemoveBarFromGlobalList(pPane, FALSE);
            bAttached = pPane->AttachToTabWnd(pTargetBar, nDockMethod, TRUE, nullptr) != nullptr || bAttached;
        }
        if (!bAttached)
            return TRUE;
        ShowWindow(SW_HIDE);
        MoveWindow(m_rectRecentFloatingRect);
        OnCancelMode();
        SendMessage(QMXPMSG_CHECKEMPTYMINIFRAME);
        return FALSE;
    }
    return TRUE;
}

// Messages -------------------------------------------------------------------------------------

void CQMXPMultiMiniFrameWnd::OnSize(UINT, int, int) {
    Default();
    AdjustLayout();
    ArrangeCaptionButtons();
    SendMessage(WM_NCPAINT);
}

void CQMXPMultiMiniFrameWnd::OnSizing(UINT, LPRECT) { Default(); }

void CQMXPMultiMiniFrameWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
    CSize sizeMin;
    m_barContainerManager.GetMinSize(sizeMin);
    CalcMinSize(sizeMin, lpMMI);
    Default();
}

void CQMXPMultiMiniFrameWnd::OnLButtonDblClk(UINT, CPoint) {
    CObList lstBars;
    m_barContainerManager.CollectVisible(lstBars, nullptr);
    for (POSITION pos = lstBars.GetHeadPosition(); pos != nullptr;)
        PaneOf(lstBars.GetNext(pos))->StoreRecentDockInfo();
    for (POSITION pos = lstBars.GetHeadPosition(); pos != nullptr;)
        DockBarToRecentPlace(PaneOf(lstBars.GetNext(pos)));
    SendMessage(QMXPMSG_CHECKEMPTYMINIFRAME);
}

LRESULT CQMXPMultiMiniFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    return CQMXPMiniFrameWnd::OnIdleUpdateCmdUI(wParam, 0);
}

LRESULT CQMXPMultiMiniFrameWnd::OnCheckEmptyMiniFrame(WPARAM, LPARAM) {
    CQMXPBarContainer* pRoot = m_barContainerManager.GetRootContainer();
    if (pRoot != nullptr)
        pRoot->ReleaseEmptyContainers();
    const int nNodes = m_barContainerManager.GetNodeCount();
    const BOOL bUnreferenced =
        nNodes == 1 && m_barContainerManager.GetTotalRefCount() == 0 && pRoot->IsContainerEmpty();
    if (nNodes == 0 || bUnreferenced) {
        OnCancelMode();
        DestroyWindow();
        return 0;
    }
    // Panes that will come back keep the frame, hidden.
    if (m_barContainerManager.GetVisibleBarCount() == 0) {
        ShowWindow(SW_HIDE);
        OnCancelMode();
    }
    return 0;
}

// The layout record -------------------------------------------------------------------------------

void CQMXPMultiMiniFrameWnd::Serialize(CArchive& ar) {
    CQMXPMiniFrameWnd::Serialize(ar);
    m_barContainerManager.Serialize(ar);
}

// Restoring ---------------------------------------------------------------------------------

void CQMXPMultiMiniFrameWnd::RestoreAfterLoad(CQMXPDockManager* pDockManager) {
    if (m_barContainerManager.IsEmpty() || pDockManager == nullptr) {
        PostMessage(QMXPMSG_CHECKEMPTYMINIFRAME);
        return;
    }
    std::vector<CQMXPDockingControlBar*> panes;
    for (POSITION pos = m_barContainerManager.GetBars().GetHeadPosition(); pos != nullptr;)
        panes.push_back(PaneOf(m_barContainerManager.GetBars().GetNext(pos)));
    // The plain panes come out of the places the code gave them.
    for (CQMXPDockingControlBar* pPane : panes) {
        if (pPane->IsKindOf(RUNTIME_CLASS(CQMXPBaseTabbedBar)))
            continue;
        TakeIntoFrame(pPane);
    }
    // Tabbed groups gather their panes again.
    std::vector<CQMXPDockingControlBar*> emptied;
    for (CQMXPDockingControlBar* pPane : panes) {
        auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pPane);
        if (pTabbedBar == nullptr)
            continue;
        pTabbedBar->ApplyRestoredTabs();
        if (pTabbedBar->GetTabsNum() == 0)
            emptied.push_back(pTabbedBar);
        else
            pTabbedBar->AdjustLayout();
    }
    for (CQMXPDockingControlBar* pPane : emptied) {
        m_barContainerManager.RemoveControlBarFromContainer(pPane);
        pPane->DestroyWindow();
    }
    if (m_barContainerManager.IsEmpty()) {
        SendMessage(QMXPMSG_CHECKEMPTYMINIFRAME);
        return;
    }
    for (POSITION pos = m_barContainerManager.GetBars().GetHeadPosition(); pos != nullptr;) {
        CQMXPDockingControlBar* pPane = PaneOf(m_barContainerManager.GetBars().GetNext(pos));
        const BOOL bVisible = !pPane->IsRestoredFromRegistry() || pPane->GetRecentVisibleState();
        pPane->ShowWindow(bVisible ? SW_SHOW : SW_HIDE);
        AddRemoveBarFromGlobalList(pPane, TRUE);
    }
    m_hEmbeddedBar = m_barContainerManager.GetFirstBar()->GetSafeHwnd();
    UpdateBarCaptions();
    // The stored sliders say where the panes lie.
    CRect rectClient;
    GetClientRect(&rectClient);
    if (m_barContainerManager.GetRootContainer() != nullptr)
        m_barContainerManager.GetRootContainer()->PlaceSidesBySlider(rectClient);
    AdjustLayout();
    ShowWindow(GetVisibleBarCount() > 0 ? SW_SHOWNOACTIVATE : SW_HIDE);
}
