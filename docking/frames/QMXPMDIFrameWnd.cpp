#include "docking/frames/QMXPMDIFrameWnd.h"

#include "docking/bars/QMXPBaseControlBar.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPFrameLayout.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/frames/QMXPPrintPreviewView.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "platform/classlib/CmdUI.h"
#include "platform/classlib/MDIChildWnd.h"
#include "platform/classlib/Menu.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/OleClientItem.h"
#include "platform/classlib/PrintPreviewState.h"

#include <vector>

IMPLEMENT_DYNCREATE(CQMXPMDIFrameWnd, CMDIFrameWnd)

namespace {

// The second restack of the windows the frame owns.
constexpr UINT_PTR kKeepOwnedTimer = 0x514B;
constexpr UINT kKeepOwnedDelayMs = 250;

}  // namespace

BEGIN_MESSAGE_MAP(CQMXPMDIFrameWnd, CMDIFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_SIZING()
    ON_WM_EXITSIZEMOVE()
    ON_WM_ACTIVATE()
    ON_WM_ACTIVATEAPP()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_TIMER()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_MENUCHAR, OnMenuChar)
    ON_REGISTERED_MESSAGE(QMXTOOLBAR_CREATE, OnToolbarCreateNew)
    ON_REGISTERED_MESSAGE(QMXTOOLBAR_DELETE, OnToolbarDelete)
    ON_REGISTERED_MESSAGE(QMXPMSG_KEEPOWNEDABOVE, OnKeepOwnedAbove)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_REBAR, OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_REBAR, OnBarCheck)
    ON_COMMAND(ID_CONTEXT_HELP, OnContextHelp)
    ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
END_MESSAGE_MAP()

namespace {

// The system's entry for the dialog of all windows in the Window popup.
constexpr UINT kMoreWindowsId = 0xFF09;

}  // namespace

CQMXPMDIFrameWnd::CQMXPMDIFrameWnd() : m_Impl(this) {}

CQMXPMDIFrameWnd::~CQMXPMDIFrameWnd() = default;

// --- Creation and close --------------------------------------------------------------------------

BOOL CQMXPMDIFrameWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    m_Impl.m_pDockManager = &m_dockManager;
    m_Impl.RestorePosition(cs);
    return CMDIFrameWnd::PreCreateWindow(cs);
}

BOOL CQMXPMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                                 CCreateContext* pContext) {
    m_Impl.m_nIDDefaultResource = nIDResource;
    if (!CMDIFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    m_Impl.OnLoadFrame();
    if (CQMXPMenuBar* pMenuBar = GetLibraryMenuBar())
        m_Impl.m_hDefaultMenu = pMenuBar->GetDefaultMenu();
    return TRUE;
}

int CQMXPMDIFrameWnd::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CMDIFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    m_dockManager.Create(this);
    return 0;
}

BOOL CQMXPMDIFrameWnd::CreateClient(LPCREATESTRUCTW lpCreateStruct, CMenu* pWindowMenu) {
    if (!CMDIFrameWnd::CreateClient(lpCreateStruct, pWindowMenu))
        return FALSE;
    if (m_bDoSubclass)
        m_wndClientArea.SubclassWindow(m_hWndMDIClient);
    return TRUE;
}

HMENU CQMXPMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar) {
    m_hmenuWindow = CMDIFrameWnd::GetWindowMenuPopup(hMenuBar);
    return m_hmenuWindow;
}

void CQMXPMDIFrameWnd::RefreshWindowMenu() {
    CQMXPMenuBar* pMenuBar = GetLibraryMenuBar();
    if (pMenuBar != nullptr)
        GetWindowMenuPopup(pMenuBar->GetHMenu());
}

void CQMXPMDIFrameWnd::OnClose() {
    m_bClosing = TRUE;
    if (COleClientItem* pItem = GetInPlaceActiveItem())
        pItem->Deactivate();
    m_Impl.OnCloseFrame();
    CMDIFrameWnd::OnClose();
}

void CQMXPMDIFrameWnd::OnDestroy() {
    if (m_hAccelTable != nullptr) {
        ::DestroyAcceleratorTable(m_hAccelTable);
        m_hAccelTable = nullptr;
    }
    m_dockManager.m_pFrame = nullptr;
    // The bars and floating frames go before the frame; the MDI client goes with it.
    std::vector<HWND> children;
    for (HWND hWnd = ::GetWindow(m_hWnd, GW_CHILD); hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (hWnd != m_hWndMDIClient)
            children.push_back(hWnd);
    }
    for (HWND hWnd : children) {
        if (::IsWindow(hWnd) && ::GetParent(hWnd) == m_hWnd)
            ::DestroyWindow(hWnd);
    }
    // Torn-off bars float in frames of their own.
    for (POSITION pos = m_Impl.m_listTearOffToolbars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CWnd*>(m_Impl.m_listTearOffToolbars.GetNext(pos));
        if (pBar->GetSafeHwnd() != nullptr)
            pBar->DestroyWindow();
    }
    m_Impl.m_pMenuBar = nullptr;
    CMDIFrameWnd::OnDestroy();
}

// --- Layout --------------------------------------------------------------------------------------

void CQMXPMDIFrameWnd::RecalcLayout(BOOL bNotify) {
    if (m_bInRecalcLayout || m_hWnd == nullptr || IsIconic())
        return;
    m_bInRecalcLayout = TRUE;
    if (m_dockManager.IsPrintPreviewValid() || m_dockManager.IsAllBarsHidden()) {
        CView* pView = GetActiveView();
        if (pView != nullptr && pView->IsKindOf(RUNTIME_CLASS(CQMXPPrintPreviewView))) {
            m_dockManager.RelayoutAllBars(bNotify);
            CRect rect;
            m_dockManager.GetClientAreaBounds(rect);
            pView->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                                SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
            m_bInRecalcLayout = FALSE;
            CMDIFrameWnd::RecalcLayout(bNotify);
            m_bInRecalcLayout = TRUE;
            AdjustClientArea();
        }
    } else {
        m_dockManager.RelayoutAllBars(bNotify);
        if (!m_dockManager.DeferLayout())
            AdjustClientArea();
    }
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
    if (m_bClosing) {
        CMDIFrameWnd::OnSize(nType, cx, cy);
        return;
    }
    m_bIsMinimized = nType == SIZE_MINIMIZED;
    // Floating tool-bar frames hide with the minimised frame.
    m_dockManager.OnFrameActivation(nType != SIZE_MINIMIZED);
    if (nType != SIZE_MINIMIZED && nType != SIZE_MAXIMIZED && !m_bWasMaximized) {
        // The bars are laid out once; the class library's layout then only places the client area.
        m_dockManager.m_bRelayoutBlocked = TRUE;
        AdjustDockingLayout(nullptr);
        CMDIFrameWnd::OnSize(nType, cx, cy);
        m_dockManager.m_bRelayoutBlocked = FALSE;
        BOOL bDragFull = TRUE;
        ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &bDragFull, 0);
        if (!bDragFull)
            RecalcLayout(TRUE);
        return;
    }
    CMDIFrameWnd::OnSize(nType, cx, cy);
    if (nType == SIZE_MAXIMIZED || (nType == SIZE_RESTORED && m_bWasMaximized))
        RecalcLayout(TRUE);
    m_bWasMaximized = nType == SIZE_MAXIMIZED;
}

void CQMXPMDIFrameWnd::OnExitSizeMove() { m_dockManager.OnExitSizeMove(); }

void CQMXPMDIFrameWnd::OnSizing(UINT fwSide, LPRECT pRect) {
    CMDIFrameWnd::OnSizing(fwSide, pRect);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    if (rectWindow.Size() != CRect(pRect).Size())
        AdjustDockingLayout(nullptr);
}

void CQMXPMDIFrameWnd::OnActivateApp(BOOL bActive, DWORD) {
    m_dockManager.OnFrameActivation(bActive);
    Default();
}

void CQMXPMDIFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CMDIFrameWnd::OnActivate(nState, pWndOther, bMinimized);
    // Where nothing keeps owned windows above their owner (an X display
    // without a window manager), the frame brought up by a click would hide
    // the customisation sheet or a floating bar; once the click is through
    // they are put back above it.
    if (nState != WA_INACTIVE)
        PostMessage(QMXPMSG_KEEPOWNEDABOVE);
    if (nState == WA_CLICKACTIVE)
        UpdateWindow();
    else if (nState == WA_INACTIVE && !CQMXPToolBar::m_bCustomizeMode)
        m_Impl.DeactivateMenu();
}

LRESULT CQMXPMDIFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) {
    for (POSITION pos = m_dockManager.GetFloatingFrames().GetHeadPosition(); pos != nullptr;) {
        auto* pMiniFrame = static_cast<CWnd*>(m_dockManager.GetFloatingFrames().GetNext(pos));
        if (pMiniFrame->GetSafeHwnd() != nullptr)
            pMiniFrame->SendMessage(WM_IDLEUPDATECMDUI, wParam, lParam);
    }
    Default();
    return 0;
}

void CQMXPMDIFrameWnd::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
    CMDIFrameWnd::OnWindowPosChanged(lpwndpos);
    // Raised (also by a click on it while it is active already), the frame
    // puts the windows it owns back above it.
    if (!(lpwndpos->flags & SWP_NOZORDER))
        PostMessage(QMXPMSG_KEEPOWNEDABOVE);
    UpdateMenuBarChild();
}

void CQMXPMDIFrameWnd::UpdateMenuBarChild(CWnd* pGoing) {
    CQMXPMenuBar* pMenuBar = GetLibraryMenuBar();
    if (pMenuBar == nullptr || pMenuBar->GetSafeHwnd() == nullptr)
        return;
    BOOL bMaximized = FALSE;
    CMDIChildWnd* pChild = MDIGetActive(&bMaximized);
    const BOOL bShow = pChild != nullptr && pChild != pGoing && bMaximized;
    // The buttons of a window that goes are taken off before those of the
    // window that follows it are put on: they hold its system menu.
    if (pGoing != nullptr && bShow)
        pMenuBar->SetMaximizeMode(FALSE, nullptr, FALSE);
    pMenuBar->SetMaximizeMode(bShow, bShow ? pChild : nullptr, TRUE);
}

void CQMXPMDIFrameWnd::EnableMDITabs(BOOL bEnable) {
    m_bMDITabs = bEnable;
    m_wndClientArea.EnableMDITabs(bEnable);
    RecalcLayout(TRUE);
}

void CQMXPMDIFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) {
    // The preview takes the client's place; its tabs go with it.
    CQMXPTabWnd& wndTab = m_wndClientArea.GetTabWnd();
    if (m_bMDITabs && wndTab.GetSafeHwnd() != nullptr)
        wndTab.ShowWindow(bPreview ? SW_HIDE : SW_SHOWNOACTIVATE);
    m_dockManager.SetPrintPreviewMode(bPreview, pState);
    CMDIFrameWnd::OnSetPreviewMode(bPreview, pState);
    AdjustDockingLayout(nullptr);
    RecalcLayout(TRUE);
}

void CQMXPMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
    CMDIFrameWnd::OnUpdateFrameMenu(hMenuAlt);
    m_Impl.UpdateFrameMenu(hMenuAlt, GetInPlaceActiveItem());
}

BOOL CQMXPMDIFrameWnd::OnSetMenu(HMENU hMenu) {
    CQMXPMenuBar* pMenuBar = GetLibraryMenuBar();
    if (pMenuBar == nullptr || pMenuBar->GetSafeHwnd() == nullptr || GetInPlaceActiveItem() != nullptr)
        return FALSE;
    if (::GetMenu(m_hWnd) != nullptr)
        ::SetMenu(m_hWnd, nullptr);
    pMenuBar->ShowFrameMenu(hMenu != nullptr ? hMenu : m_Impl.m_hDefaultMenu);
    return TRUE;
}

void CQMXPMDIFrameWnd::ShowControlBars(BOOL bShow) {
    m_dockManager.ShowAllBars(bShow);
    AdjustDockingLayout(nullptr);
}

// --- Popup menus ---------------------------------------------------------------------------------

BOOL CQMXPMDIFrameWnd::ShowPopupMenu(CQMXPPopupMenu* pMenuPopup) {
    m_Impl.OnShowPopupMenu(pMenuPopup);
    // The list is added once: a popup is told again when a sub-menu of it closes.
    if (pMenuPopup != nullptr && !pMenuPopup->bShown && !CQMXPToolBar::m_bCustomizeMode &&
        m_hmenuWindow != nullptr && ::IsMenu(m_hmenuWindow)) {
        CQMXPPopupMenuBar* pBar = pMenuPopup->GetMenuBar();
        BOOL bWindowMenu = FALSE;
        for (int i = 0; i < pBar->GetCount() && !bWindowMenu; ++i) {
            const UINT uiCmd = pBar->GetButton(i)->m_nID;
            bWindowMenu = uiCmd >= AFX_IDM_WINDOW_FIRST && uiCmd <= AFX_IDM_WINDOW_LAST;
        }
        if (bWindowMenu) {
            // The document windows, as the MDI client lists them in the Window menu.
            ::SendMessageW(m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
            BOOL bFirst = TRUE;
            BOOL bMoreWindows = FALSE;
            const int nItems = ::GetMenuItemCount(m_hmenuWindow);
            for (int i = 0; i < nItems; ++i) {
                const UINT uiCmd = ::GetMenuItemID(m_hmenuWindow, i);
                if (uiCmd < AFX_IDM_FIRST_MDICHILD || uiCmd == static_cast<UINT>(-1))
                    continue;
                if (m_uiWindowsDlgMenuId != 0 && uiCmd == kMoreWindowsId) {
                    bMoreWindows = TRUE;
                    continue;
                }
                if (bFirst) {
                    pMenuPopup->InsertSeparator();
                    bFirst = FALSE;
                }
                wchar_t szText[256] = {};
                ::GetMenuStringW(m_hmenuWindow, static_cast<UINT>(i), szText, 256, MF_BYPOSITION);
                CQMXPToolbarMenuButton button(uiCmd, nullptr, -1, szText);
                if (::GetMenuState(m_hmenuWindow, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED)
                    button.m_nStyle |= TBBS_CHECKED;
                pMenuPopup->InsertItem(button);
            }
            if (m_uiWindowsDlgMenuId != 0 && (bMoreWindows || m_bShowWindowsDlgAlways)) {
                pMenuPopup->InsertItem(CQMXPToolbarMenuButton(m_uiWindowsDlgMenuId, nullptr, -1,
                                                              m_strWindowsDlgMenuText));
                CQMXPToolBar::AddAlwaysShownCommand(m_uiWindowsDlgMenuId);
            }
        }
    }
    if (pMenuPopup != nullptr && pMenuPopup->bShown)
        return TRUE;
    return OnShowPopupMenu(pMenuPopup);
}

void CQMXPMDIFrameWnd::OnClosePopupMenu(CQMXPPopupMenu* pMenuPopup) {
    if (CQMXPPopupMenu::activePopupMenu == pMenuPopup)
        CQMXPPopupMenu::activePopupMenu = nullptr;
}

void CQMXPMDIFrameWnd::AddTearOffToolbar(CQMXPBaseControlBar* pToolBar) { m_Impl.AddTearOffToolbar(pToolBar); }

void CQMXPMDIFrameWnd::RemoveTearOffToolbar(CQMXPBaseControlBar* pToolBar) {
    m_Impl.RemoveTearOffToolbar(pToolBar);
}

// --- Keys, clicks and commands -------------------------------------------------------------------

BOOL CQMXPMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
    // A click on the frame, active already, raises it on a display without a
    // window manager: the windows it owns go back above it afterwards.
    if ((pMsg->message == WM_LBUTTONDOWN || pMsg->message == WM_RBUTTONDOWN || pMsg->message == WM_NCLBUTTONDOWN) &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)))
        PostMessage(QMXPMSG_KEEPOWNEDABOVE);
    switch (m_Impl.RouteFrameMessage(pMsg, QMXP_ROUTE_SYSKEYS)) {
    case QMXPRoute::Consumed:
        return TRUE;
    case QMXPRoute::NoTranslate:
        return FALSE;
    default:
        return CMDIFrameWnd::PreTranslateMessage(pMsg);
    }
}

BOOL CQMXPMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    BOOL bResult = FALSE;
    if (m_Impl.PreCommand(wParam, bResult))
        return bResult;
    return CMDIFrameWnd::OnCommand(wParam, lParam);
}

LRESULT CQMXPMDIFrameWnd::OnMenuChar(WPARAM wParam, LPARAM lParam) {
    if (m_Impl.OnMenuChar(LOWORD(wParam)))
        return QMXP_MENUCHAR_TAKEN;
    return DefWindowProc(WM_MENUCHAR, wParam, lParam);
}

LRESULT CQMXPMDIFrameWnd::OnToolbarCreateNew(WPARAM, LPARAM lParam) {
    return reinterpret_cast<LRESULT>(m_Impl.CreateNewToolbar(reinterpret_cast<LPCWSTR>(lParam)));
}

LRESULT CQMXPMDIFrameWnd::OnKeepOwnedAbove(WPARAM, LPARAM) {
    m_Impl.KeepOwnedWindowsAbove();
    SetTimer(kKeepOwnedTimer, kKeepOwnedDelayMs, nullptr);
    return 0;
}

void CQMXPMDIFrameWnd::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kKeepOwnedTimer) {
        CMDIFrameWnd::OnTimer(nIDEvent);
        return;
    }
    KillTimer(kKeepOwnedTimer);
    m_Impl.KeepOwnedWindowsAbove();
}

LRESULT CQMXPMDIFrameWnd::OnToolbarDelete(WPARAM, LPARAM lParam) {
    return m_Impl.DeleteToolbar(reinterpret_cast<CQMXPToolBar*>(lParam));
}

void CQMXPMDIFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) { m_Impl.UpdateBarCommand(pCmdUI, FALSE); }

BOOL CQMXPMDIFrameWnd::OnBarCheck(UINT nID) { return m_Impl.ToggleBarCommand(nID, FALSE); }

void CQMXPMDIFrameWnd::OnWindowNew() {
    BOOL bMaximized = FALSE;
    CMDIChildWnd* pChild = MDIGetActive(&bMaximized);
    if (pChild != nullptr && bMaximized)
        pChild->ShowWindow(SW_RESTORE);
    CMDIFrameWnd::OnWindowNew();
    if (pChild != nullptr && bMaximized) {
        if (CMDIChildWnd* pNew = MDIGetActive())
            pNew->ShowWindow(SW_MAXIMIZE);
    }
}

// --- The dock manager's operations ---------------------------------------------------------------

BOOL CQMXPMDIFrameWnd::OnMoveMiniFrame(CQMXPMiniFrameWnd* pFrame) { return m_dockManager.OnMoveMiniFrame(pFrame); }

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

void CQMXPMDIFrameWnd::OnContextHelp() { m_Impl.OnContextHelp(m_bContextHelp); }

void CQMXPMDIFrameWnd::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    if (!m_Impl.RepeatContextHelp(dwData, m_bContextHelp))
        CMDIFrameWnd::WinHelp(dwData, nCmd);
}
