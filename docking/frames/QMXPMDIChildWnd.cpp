#include "docking/frames/QMXPMDIChildWnd.h"

#include "docking/bars/QMXPBaseControlBar.h"
#include "docking/frames/QMXPFrameLayout.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/frames/QMXPPrintPreviewView.h"
#include "docking/frames/QMXPRedrawHold.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "platform/classlib/MDIFrameWnd.h"

#include <vector>

IMPLEMENT_DYNCREATE(CQMXPMDIChildWnd, CMDIChildWnd)

BOOL qmxFloatingBarsInMDIChild = FALSE;

BEGIN_MESSAGE_MAP(CQMXPMDIChildWnd, CMDIChildWnd)
    ON_WM_CREATE()
    ON_WM_SIZING()
    ON_WM_SIZE()
    ON_WM_MDIACTIVATE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_SETICON, OnSetIcon)
END_MESSAGE_MAP()

CQMXPMDIChildWnd::CQMXPMDIChildWnd() = default;

CQMXPMDIChildWnd::~CQMXPMDIChildWnd() = default;

BOOL CQMXPMDIChildWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    m_dockManager.Create(this);
    return CMDIChildWnd::PreCreateWindow(cs);
}

int CQMXPMDIChildWnd::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CMDIChildWnd::OnCreate(lpcs) == -1)
        return -1;
    m_pMDIFrame = DYNAMIC_DOWNCAST(CQMXPMDIFrameWnd, GetMDIFrame());
    return 0;
}

BOOL CQMXPMDIChildWnd::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_pMDIFrame != nullptr &&
        CQMXPPopupMenu::GetActiveMenu() != nullptr)
        return FALSE;
    return CMDIChildWnd::PreTranslateMessage(pMsg);
}

void CQMXPMDIChildWnd::RecalcLayout(BOOL bNotify) {
    if (m_bInRecalcLayout || m_hWnd == nullptr)
        return;
    m_bInRecalcLayout = TRUE;
    m_dockManager.RelayoutAllBars(bNotify);
    if (!m_dockManager.DeferLayout())
        AdjustClientArea();
    m_bInRecalcLayout = FALSE;
}

void CQMXPMDIChildWnd::AdjustClientArea() {
    CView* pView = GetActiveView();
    if (pView != nullptr && pView->IsKindOf(RUNTIME_CLASS(CQMXPPrintPreviewView)) &&
        m_dockManager.IsPrintPreviewValid()) {
        // The preview's bars are the class library's: they take their room first.
        QMXPAdjustClientArea(this, m_dockManager);
        return;
    }
    QMXPAdjustClientArea(this, m_dockManager);
    QMXPSetPaneClipStyles(this);
}

void CQMXPMDIChildWnd::UpdateMDITabs() {
    if (m_pMDIFrame != nullptr && m_pMDIFrame->GetClientArea().GetSafeHwnd() != nullptr)
        m_pMDIFrame->GetClientArea().UpdateTabs();
}

void CQMXPMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    CMDIChildWnd::OnUpdateFrameTitle(bAddToTitle);
    UpdateMDITabs();
}

LRESULT CQMXPMDIChildWnd::OnSetText(WPARAM, LPARAM) {
    const LRESULT lResult = Default();
    UpdateMDITabs();
    return lResult;
}

LRESULT CQMXPMDIChildWnd::OnSetIcon(WPARAM, LPARAM) {
    const LRESULT lResult = Default();
    UpdateMDITabs();
    return lResult;
}

CString CQMXPMDIChildWnd::GetFrameText() const {
    CString strText;
    GetWindowText(strText);
    return strText;
}

HICON CQMXPMDIChildWnd::GetFrameIcon() const { return QMXPGetSmallIcon(m_hWnd); }

void CQMXPMDIChildWnd::OnSizing(UINT fwSide, LPRECT pRect) {
    CMDIChildWnd::OnSizing(fwSide, pRect);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    if (rectWindow.Size() != CRect(pRect).Size())
        AdjustDockingLayout(nullptr);
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
    // An activation inside the class library's handler only tells the dock manager.
    static BOOL s_bActivating = FALSE;
    if (s_bActivating)
        return;
    s_bActivating = TRUE;
    CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
    if (bActivate && m_pMDIFrame != nullptr && pActivateWnd != nullptr)
        m_pMDIFrame->GetClientArea().SetActiveTab(pActivateWnd->GetSafeHwnd());
    s_bActivating = FALSE;
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
    // The system's MDI client leaves a maximised window's buttons to the
    // menu bar, which keeps them after the window is gone otherwise.
    if (m_pMDIFrame != nullptr && m_pMDIFrame->GetSafeHwnd() != nullptr)
        m_pMDIFrame->UpdateMenuBarChild(this);
    CMDIChildWnd::OnDestroy();
}

void CQMXPMDIChildWnd::ActivateFrame(int nCmdShow) {
    CMDIFrameWnd* pFrame = GetMDIFrame();
    CQMXPRedrawHold hold(pFrame != nullptr ? pFrame->m_hWndMDIClient : nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    CMDIChildWnd::ActivateFrame(nCmdShow);
    AdjustActivatedFrame();
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
    // Bars do not float out of document windows unless the library allows it.
    if (pBar->CanFloat() && !qmxFloatingBarsInMDIChild)
        pBar->SetControlBarStyle(pBar->GetControlBarStyle() & ~QMXP_CBRS_FLOAT);
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
