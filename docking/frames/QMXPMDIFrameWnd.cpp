#include "docking/frames/QMXPMDIFrameWnd.h"

#include "docking/bars/QMXPBaseControlBar.h"
#include "docking/frames/QMXPFrameLayout.h"
#include "docking/frames/QMXPPopupMenuRouting.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/frames/QMXPWorkspace.h"

IMPLEMENT_DYNCREATE(CQMXPMDIFrameWnd, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CQMXPMDIFrameWnd, CMDIFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_ACTIVATEAPP()
END_MESSAGE_MAP()

CQMXPMDIFrameWnd::CQMXPMDIFrameWnd() = default;

CQMXPMDIFrameWnd::~CQMXPMDIFrameWnd() {
    while (!m_lstTearOffToolbars.IsEmpty())
        delete m_lstTearOffToolbars.RemoveHead();
}

BOOL CQMXPMDIFrameWnd::ShowPopupMenu(CQMXPPopupMenu* pMenuPopup) {
    CQMXPPopupMenu::activePopupMenu = pMenuPopup;
    return TRUE;
}

void CQMXPMDIFrameWnd::OnClosePopupMenu(CQMXPPopupMenu* pMenuPopup) {
    if (CQMXPPopupMenu::activePopupMenu == pMenuPopup)
        CQMXPPopupMenu::activePopupMenu = nullptr;
}

void CQMXPMDIFrameWnd::AddTearOffToolbar(CQMXPBaseControlBar* pToolBar) {
    if (pToolBar != nullptr && m_lstTearOffToolbars.Find(pToolBar) == nullptr)
        m_lstTearOffToolbars.AddTail(pToolBar);
}

BOOL CQMXPMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (QMXPRoutePopupMenuInput(this, pMsg))
        return TRUE;
    return CMDIFrameWnd::PreTranslateMessage(pMsg);
}

BOOL CQMXPMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                                 CCreateContext* pContext) {
    if (!CMDIFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    CQMXPWorkspace* pWorkspace = QMXPGetWorkspace();
    if (pWorkspace != nullptr)
        pWorkspace->LoadState();
    return TRUE;
}

BOOL CQMXPMDIFrameWnd::PreCreateWindow(CREATESTRUCTW& cs) { return CMDIFrameWnd::PreCreateWindow(cs); }

int CQMXPMDIFrameWnd::OnCreate(LPCREATESTRUCTW lpcs) {
    m_dockManager.Create(this);
    return CMDIFrameWnd::OnCreate(lpcs);
}

void CQMXPMDIFrameWnd::OnClose() { CMDIFrameWnd::OnClose(); }

void CQMXPMDIFrameWnd::OnDestroy() {
    // Bars torn off menus go with the frame.
    for (POSITION pos = m_lstTearOffToolbars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CWnd*>(m_lstTearOffToolbars.GetNext(pos));
        if (pBar->GetSafeHwnd() != nullptr)
            pBar->DestroyWindow();
    }
    m_pMenuBar = nullptr;
    m_dockManager.m_pFrame = nullptr;
    CMDIFrameWnd::OnDestroy();
}

void CQMXPMDIFrameWnd::RecalcLayout(BOOL bNotify) {
    if (m_bInRecalcLayout || m_hWnd == nullptr || IsIconic())
        return;
    m_bInRecalcLayout = TRUE;
    m_dockManager.RelayoutAllBars(bNotify);
    AdjustClientArea();
    m_bInRecalcLayout = FALSE;
}

void CQMXPMDIFrameWnd::AdjustClientArea() { QMXPAdjustClientArea(this, m_dockManager); }

void CQMXPMDIFrameWnd::AdjustDockingLayout(HDWP hdwp) {
    if (!m_dockManager.m_bLayoutEnabled)
        return;
    m_dockManager.AdjustDockingLayout(hdwp);
    AdjustClientArea();
    if (m_dockManager.IsAllBarsHidden())
        RecalcLayout(TRUE);
}

void CQMXPMDIFrameWnd::OnSize(UINT nType, int cx, int cy) {
    m_dockManager.OnFrameActivation(nType != SIZE_MINIMIZED);
    if (nType == SIZE_MINIMIZED) {
        CMDIFrameWnd::OnSize(nType, cx, cy);
        return;
    }
    // The bars are laid out once; the class library's layout then only places the client area.
    m_dockManager.m_bRelayoutBlocked = TRUE;
    m_dockManager.AdjustDockingLayout(nullptr);
    CMDIFrameWnd::OnSize(nType, cx, cy);
    m_dockManager.m_bRelayoutBlocked = FALSE;
}

void CQMXPMDIFrameWnd::OnActivateApp(BOOL bActive, DWORD) {
    m_dockManager.OnFrameActivation(bActive);
    Default();
}

void CQMXPMDIFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) {
    m_dockManager.SetPrintPreviewMode(bPreview, pState);
    CMDIFrameWnd::OnSetPreviewMode(bPreview, pState);
    AdjustDockingLayout(nullptr);
    RecalcLayout(TRUE);
}

BOOL CQMXPMDIFrameWnd::OnMoveMiniFrame(CQMXPMiniFrameWnd* pFrame) { return m_dockManager.OnMoveMiniFrame(pFrame); }

void CQMXPMDIFrameWnd::ShowControlBars(BOOL bShow) {
    m_dockManager.ShowAllBars(bShow);
    AdjustDockingLayout(nullptr);
}

BOOL CQMXPMDIFrameWnd::EnableDocking(DWORD dwDockStyle) { return m_dockManager.EnableDocking(dwDockStyle); }

BOOL CQMXPMDIFrameWnd::EnableAutoHideBars(DWORD dwDockStyle) { return m_dockManager.EnableAutoHideBars(dwDockStyle); }

BOOL CQMXPMDIFrameWnd::AddControlBar(CQMXPBaseControlBar* pControlBar, BOOL bTail) {
    return m_dockManager.AddControlBar(pControlBar, bTail, FALSE, FALSE);
}

BOOL CQMXPMDIFrameWnd::InsertControlBar(CQMXPBaseControlBar* pControlBar, CQMXPBaseControlBar* pTarget, BOOL bAfter) {
    return m_dockManager.InsertControlBar(pControlBar, pTarget, bAfter);
}

void CQMXPMDIFrameWnd::RemoveControlBarFromDockManager(CQMXPBaseControlBar* pControlBar, BOOL bDestroy,
                                                       BOOL bAdjustLayout, BOOL bAutoHide) {
    m_dockManager.RemoveControlBarFromDockManager(pControlBar, bDestroy, bAdjustLayout, bAutoHide);
}

void CQMXPMDIFrameWnd::DockControlBar(CQMXPBaseControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
    m_dockManager.DockControlBar(pBar, nDockBarID, lpRect);
}

CQMXPBaseControlBar* CQMXPMDIFrameWnd::GetControlBar(UINT nID) { return m_dockManager.FindBarByID(nID, TRUE); }

void CQMXPMDIFrameWnd::ShowControlBar(CQMXPBaseControlBar* pBar, BOOL bShow, BOOL bDelay, BOOL bActivate) {
    pBar->ShowControlBar(bShow, bDelay, bActivate);
}

CQMXPBaseControlBar* CQMXPMDIFrameWnd::ControlBarFromPoint(CPoint point, int nSensitivity, bool bExactBar,
                                                           CRuntimeClass* pRTCBarType) const {
    return m_dockManager.ControlBarFromPoint(point, nSensitivity, bExactBar, pRTCBarType, FALSE, nullptr);
}

BOOL CQMXPMDIFrameWnd::IsPointNearDockBar(CPoint point, DWORD& dwBarAlignment, BOOL& bOuterEdge) const {
    return m_dockManager.IsPointNearDockBar(point, dwBarAlignment, bOuterEdge);
}
