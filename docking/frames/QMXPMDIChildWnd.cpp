#include "docking/frames/QMXPMDIChildWnd.h"

#include "docking/bars/QMXPBaseControlBar.h"
#include "docking/frames/QMXPFrameLayout.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "platform/classlib/MDIFrameWnd.h"

#include <vector>

IMPLEMENT_DYNCREATE(CQMXPMDIChildWnd, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CQMXPMDIChildWnd, CMDIChildWnd)
    ON_WM_SIZE()
    ON_WM_MDIACTIVATE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CQMXPMDIChildWnd::CQMXPMDIChildWnd() = default;

CQMXPMDIChildWnd::~CQMXPMDIChildWnd() = default;

BOOL CQMXPMDIChildWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    m_dockManager.Create(this);
    return CMDIChildWnd::PreCreateWindow(cs);
}

void CQMXPMDIChildWnd::RecalcLayout(BOOL bNotify) {
    if (m_bInRecalcLayout || m_hWnd == nullptr)
        return;
    m_bInRecalcLayout = TRUE;
    m_dockManager.RelayoutAllBars(bNotify);
    QMXPAdjustClientArea(this, m_dockManager);
    m_bInRecalcLayout = FALSE;
}

void CQMXPMDIChildWnd::AdjustDockingLayout(HDWP hdwp) {
    if (!m_dockManager.m_bLayoutEnabled)
        return;
    m_dockManager.AdjustDockingLayout(hdwp);
    // The view is placed by the frame's own layout, which a document frame
    // that places its panes itself replaces.
    RecalcLayout(FALSE);
}

void CQMXPMDIChildWnd::OnSize(UINT nType, int cx, int cy) {
    CMDIChildWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        AdjustDockingLayout(nullptr);
}

void CQMXPMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd) {
    m_dockManager.OnFrameActivation(bActivate);
    CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
}

void CQMXPMDIChildWnd::OnDestroy() {
    // Bars that floated out of the document window go with it.
    std::vector<HWND> floating;
    for (POSITION pos = m_dockManager.GetFloatingFrames().GetHeadPosition(); pos != nullptr;)
        floating.push_back(static_cast<CWnd*>(m_dockManager.GetFloatingFrames().GetNext(pos))->GetSafeHwnd());
    for (HWND hWnd : floating) {
        if (::IsWindow(hWnd))
            ::DestroyWindow(hWnd);
    }
    m_dockManager.m_pFrame = nullptr;
    CMDIChildWnd::OnDestroy();
}

void CQMXPMDIChildWnd::ActivateFrame(int nCmdShow) {
    CMDIFrameWnd* pFrame = GetMDIFrame();
    HWND hWndClient = pFrame != nullptr ? pFrame->m_hWndMDIClient : nullptr;
    if (hWndClient != nullptr)
        ::SendMessageW(hWndClient, WM_SETREDRAW, FALSE, 0);
    CMDIChildWnd::ActivateFrame(nCmdShow);
    if (hWndClient != nullptr) {
        ::SendMessageW(hWndClient, WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(hWndClient, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}

BOOL CQMXPMDIChildWnd::OnMoveMiniFrame(CQMXPMiniFrameWnd* pFrame) { return m_dockManager.OnMoveMiniFrame(pFrame); }

BOOL CQMXPMDIChildWnd::EnableDocking(DWORD dwDockStyle) { return m_dockManager.EnableDocking(dwDockStyle); }

BOOL CQMXPMDIChildWnd::AddControlBar(CQMXPBaseControlBar* pControlBar, BOOL bTail) {
    return m_dockManager.AddControlBar(pControlBar, bTail, FALSE, FALSE);
}

BOOL CQMXPMDIChildWnd::InsertControlBar(CQMXPBaseControlBar* pControlBar, CQMXPBaseControlBar* pTarget, BOOL bAfter) {
    return m_dockManager.InsertControlBar(pControlBar, pTarget, bAfter);
}

void CQMXPMDIChildWnd::RemoveControlBarFromDockManager(CQMXPBaseControlBar* pControlBar, BOOL bDestroy,
                                                       BOOL bAdjustLayout, BOOL bAutoHide) {
    m_dockManager.RemoveControlBarFromDockManager(pControlBar, bDestroy, bAdjustLayout, bAutoHide);
}

void CQMXPMDIChildWnd::DockControlBar(CQMXPBaseControlBar* pBar, UINT nDockBarID, LPCRECT) {
    if (!pBar->TestControlBarStyle4() && !pBar->CanFloat()) {
        AddControlBar(pBar, TRUE);
        return;
    }
    pBar->EnableDocking(0xF000);
    m_dockManager.DockControlBar(pBar, nDockBarID, nullptr);
}

CQMXPBaseControlBar* CQMXPMDIChildWnd::ControlBarFromPoint(CPoint point, int nSensitivity, bool bExactBar,
                                                           CRuntimeClass* pRTCBarType) const {
    return m_dockManager.ControlBarFromPoint(point, nSensitivity, bExactBar, pRTCBarType, FALSE, nullptr);
}

BOOL CQMXPMDIChildWnd::IsPointNearDockBar(CPoint point, DWORD& dwBarAlignment, BOOL& bOuterEdge) const {
    return m_dockManager.IsPointNearDockBar(point, dwBarAlignment, bOuterEdge);
}
