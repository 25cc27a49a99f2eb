#include "docking/frames/QMXPFrameWnd.h"

#include "docking/bars/QMXPBaseControlBar.h"
#include "docking/frames/QMXPFrameLayout.h"
#include "docking/frames/QMXPPrintPreviewView.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "platform/classlib/CmdUI.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/OleClientItem.h"

#include <vector>

IMPLEMENT_DYNCREATE(CQMXPFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CQMXPFrameWnd, CFrameWnd)
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_SIZING()
    ON_WM_EXITSIZEMOVE()
    ON_WM_ACTIVATE()
    ON_WM_ACTIVATEAPP()
    ON_MESSAGE(WM_MENUCHAR, OnMenuChar)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_REGISTERED_MESSAGE(QMXTOOLBAR_CREATE, OnToolbarCreateNew)
    ON_REGISTERED_MESSAGE(QMXTOOLBAR_DELETE, OnToolbarDelete)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_REBAR, OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_REBAR, OnBarCheck)
    ON_COMMAND(ID_CONTEXT_HELP, OnContextHelp)
END_MESSAGE_MAP()

CQMXPFrameWnd::CQMXPFrameWnd() : m_Impl(this) {}

CQMXPFrameWnd::~CQMXPFrameWnd() = default;

BOOL CQMXPFrameWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    m_Impl.RestorePosition(cs);
    return CFrameWnd::PreCreateWindow(cs);
}

BOOL CQMXPFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
    m_dockManager.Create(this);
    m_Impl.m_pDockManager = &m_dockManager;
    m_Impl.m_nIDDefaultResource = nIDResource;
    if (!CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    m_Impl.OnLoadFrame();
    return TRUE;
}

void CQMXPFrameWnd::OnClose() {
    if (COleClientItem* pItem = m_Impl.GetInPlaceActiveItem())
        pItem->Deactivate();
    m_Impl.OnCloseFrame();
    CFrameWnd::OnClose();
}

void CQMXPFrameWnd::OnDestroy() {
    if (m_hAccelTable != nullptr) {
        ::DestroyAcceleratorTable(m_hAccelTable);
        m_hAccelTable = nullptr;
    }
    m_dockManager.m_pFrame = nullptr;
    std::vector<HWND> children;
    for (HWND hWnd = ::GetWindow(m_hWnd, GW_CHILD); hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
        children.push_back(hWnd);
    for (HWND hWnd : children) {
        if (::IsWindow(hWnd) && ::GetParent(hWnd) == m_hWnd)
            ::DestroyWindow(hWnd);
    }
    m_Impl.m_pMenuBar = nullptr;
    CFrameWnd::OnDestroy();
}

void CQMXPFrameWnd::RecalcLayout(BOOL bNotify) {
    if (m_bInRecalcLayout || m_hWnd == nullptr || IsIconic())
        return;
    m_bInRecalcLayout = TRUE;
    CView* pView = GetActiveView();
    if ((m_dockManager.IsPrintPreviewValid() || m_dockManager.IsAllBarsHidden()) && pView != nullptr &&
        pView->IsKindOf(RUNTIME_CLASS(CQMXPPrintPreviewView))) {
        m_dockManager.RelayoutAllBars(bNotify);
        CRect rect;
        m_dockManager.GetClientAreaBounds(rect);
        pView->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        m_dockManager.RelayoutAllBars(bNotify);
        if (!m_dockManager.DeferLayout())
            AdjustClientArea();
    }
    m_bInRecalcLayout = FALSE;
}

void CQMXPFrameWnd::AdjustClientArea() {
    QMXPAdjustClientArea(this, m_dockManager);
    QMXPSetPaneClipStyles(this);
}

void CQMXPFrameWnd::AdjustDockingLayout(HDWP hdwp) {
    if (!m_dockManager.m_bLayoutEnabled)
        return;
    m_dockManager.AdjustDockingLayout(hdwp);
    AdjustClientArea();
    if (m_dockManager.IsAllBarsHidden())
        RecalcLayout(TRUE);
}

void CQMXPFrameWnd::OnSize(UINT nType, int cx, int cy) {
    m_bIsMinimized = nType == SIZE_MINIMIZED;
    m_dockManager.OnFrameActivation(nType != SIZE_MINIMIZED);
    if (nType != SIZE_MINIMIZED && nType != SIZE_MAXIMIZED && !m_bWasMaximized) {
        m_dockManager.m_bRelayoutBlocked = TRUE;
        CFrameWnd::OnSize(nType, cx, cy);
        AdjustDockingLayout(nullptr);
        m_dockManager.m_bRelayoutBlocked = FALSE;
        return;
    }
    CFrameWnd::OnSize(nType, cx, cy);
    if (nType == SIZE_MAXIMIZED || (nType == SIZE_RESTORED && m_bWasMaximized))
        RecalcLayout(TRUE);
    m_bWasMaximized = nType == SIZE_MAXIMIZED;
}

void CQMXPFrameWnd::OnExitSizeMove() { m_dockManager.OnExitSizeMove(); }

void CQMXPFrameWnd::OnSizing(UINT fwSide, LPRECT pRect) {
    CFrameWnd::OnSizing(fwSide, pRect);
    AdjustDockingLayout(nullptr);
}

void CQMXPFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CFrameWnd::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_CLICKACTIVE)
        UpdateWindow();
    else if (nState == WA_INACTIVE && !CQMXPToolBar::m_bCustomizeMode)
        m_Impl.DeactivateMenu();
}

void CQMXPFrameWnd::OnActivateApp(BOOL bActive, DWORD) {
    m_dockManager.OnFrameActivation(bActive);
    Default();
}

LRESULT CQMXPFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) {
    for (POSITION pos = m_dockManager.GetFloatingFrames().GetHeadPosition(); pos != nullptr;) {
        auto* pMiniFrame = static_cast<CWnd*>(m_dockManager.GetFloatingFrames().GetNext(pos));
        if (pMiniFrame->GetSafeHwnd() != nullptr)
            pMiniFrame->SendMessage(WM_IDLEUPDATECMDUI, wParam, lParam);
    }
    Default();
    return 0;
}

void CQMXPFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) {
    m_dockManager.SetPrintPreviewMode(bPreview, pState);
    CFrameWnd::OnSetPreviewMode(bPreview, pState);
    AdjustDockingLayout(nullptr);
    RecalcLayout(TRUE);
}

void CQMXPFrameWnd::ShowControlBars(BOOL bShow) {
    m_dockManager.ShowAllBars(bShow);
    AdjustDockingLayout(nullptr);
}

BOOL CQMXPFrameWnd::ShowPopupMenu(CQMXPPopupMenu* pMenuPopup) {
    m_Impl.OnShowPopupMenu(pMenuPopup);
    if (pMenuPopup != nullptr && pMenuPopup->bShown)
        return TRUE;
    return OnShowPopupMenu(pMenuPopup);
}

void CQMXPFrameWnd::OnClosePopupMenu(CQMXPPopupMenu* pMenuPopup) {
    if (CQMXPPopupMenu::activePopupMenu == pMenuPopup)
        CQMXPPopupMenu::activePopupMenu = nullptr;
}

BOOL CQMXPFrameWnd::PreTranslateMessage(MSG* pMsg) {
    switch (m_Impl.RouteFrameMessage(pMsg, QMXP_ROUTE_SYSKEYS | QMXP_ROUTE_ALT_HIDDEN)) {
    case QMXPRoute::Consumed:
        return TRUE;
    case QMXPRoute::NoTranslate:
        return FALSE;
    default:
        return CFrameWnd::PreTranslateMessage(pMsg);
    }
}

BOOL CQMXPFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    BOOL bResult = FALSE;
    if (m_Impl.PreCommand(wParam, bResult))
        return bResult;
    return CFrameWnd::OnCommand(wParam, lParam);
}

LRESULT CQMXPFrameWnd::OnMenuChar(WPARAM wParam, LPARAM lParam) {
    if (m_Impl.OnMenuChar(LOWORD(wParam)))
        return QMXP_MENUCHAR_TAKEN;
    return DefWindowProc(WM_MENUCHAR, wParam, lParam);
}

LRESULT CQMXPFrameWnd::OnToolbarCreateNew(WPARAM, LPARAM lParam) {
    return reinterpret_cast<LRESULT>(m_Impl.CreateNewToolbar(reinterpret_cast<LPCWSTR>(lParam)));
}

LRESULT CQMXPFrameWnd::OnToolbarDelete(WPARAM, LPARAM lParam) {
    return m_Impl.DeleteToolbar(reinterpret_cast<CQMXPToolBar*>(lParam));
}

void CQMXPFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) { m_Impl.UpdateBarCommand(pCmdUI, TRUE); }

BOOL CQMXPFrameWnd::OnBarCheck(UINT nID) { return m_Impl.ToggleBarCommand(nID, TRUE); }

BOOL CQMXPFrameWnd::OnMoveMiniFrame(CQMXPMiniFrameWnd* pFrame) { return m_dockManager.OnMoveMiniFrame(pFrame); }

BOOL CQMXPFrameWnd::AddControlBar(CQMXPBaseControlBar* pControlBar, BOOL bTail) {
    return m_dockManager.AddControlBar(pControlBar, bTail, FALSE, FALSE);
}

BOOL CQMXPFrameWnd::InsertControlBar(CQMXPBaseControlBar* pControlBar, CQMXPBaseControlBar* pTarget, BOOL bAfter) {
    return m_dockManager.InsertControlBar(pControlBar, pTarget, bAfter);
}

void CQMXPFrameWnd::RemoveControlBarFromDockManager(CQMXPBaseControlBar* pControlBar, BOOL bDestroy,
                                                    BOOL bAdjustLayout, BOOL bAutoHide) {
    m_dockManager.RemoveControlBarFromDockManager(pControlBar, bDestroy, bAdjustLayout, bAutoHide);
}

void CQMXPFrameWnd::DockControlBar(CQMXPBaseControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
    m_dockManager.DockControlBar(pBar, nDockBarID, lpRect);
}

CQMXPBaseControlBar* CQMXPFrameWnd::ControlBarFromPoint(CPoint point, int nSensitivity, bool bExactBar,
                                                        CRuntimeClass* pRTCBarType) const {
    return m_dockManager.ControlBarFromPoint(point, nSensitivity, bExactBar, pRTCBarType, FALSE, nullptr);
}

BOOL CQMXPFrameWnd::IsPointNearDockBar(CPoint point, DWORD& dwBarAlignment, BOOL& bOuterEdge) const {
    return m_dockManager.IsPointNearDockBar(point, dwBarAlignment, bOuterEdge);
}

void CQMXPFrameWnd::OnContextHelp() { m_Impl.OnContextHelp(m_bContextHelp); }

void CQMXPFrameWnd::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    if (!m_Impl.RepeatContextHelp(dwData, m_bContextHelp))
        CFrameWnd::WinHelp(dwData, nCmd);
}

void CQMXPFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
    CFrameWnd::OnUpdateFrameMenu(hMenuAlt);
    m_Impl.UpdateFrameMenu(hMenuAlt, m_Impl.GetInPlaceActiveItem());
}
