#pragma once
// CQMXPMDIFrameWnd: the docking library's MDI main frame. It lays itself out
// through its dock manager (the docked bars first, then the MDI client in
// the area they leave), hands its menu to the library menu bar, routes keys
// and clicks to an open library popup menu, and saves and restores the
// workspace with the window placement.
#include "docking/bars/QMXPDockBar.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/frames/QMXPFrameImpl.h"
#include "docking/frames/QMXPMainClientAreaWnd.h"
#include "platform/classlib/MDIFrameWnd.h"

class CDC;
class CQMXPBaseControlBar;
class CQMXPMenuBar;
class CQMXPMiniFrameWnd;
class CQMXPPopupMenu;
class CQMXPToolbarMenuButton;

class CQMXPMDIFrameWnd : public CMDIFrameWnd {
    DECLARE_DYNCREATE(CQMXPMDIFrameWnd)
public:
    CQMXPMDIFrameWnd();
    ~CQMXPMDIFrameWnd() override;

    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL CreateClient(LPCREATESTRUCTW lpCreateStruct, CMenu* pWindowMenu) override;
    HMENU GetWindowMenuPopup(HMENU hMenuBar) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override;
    void OnUpdateFrameMenu(HMENU hMenuAlt) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Context help with the tool bars following the pointer; WinHelp with
    // data 0 during it starts the mode again.
    void OnContextHelp() override;
    BOOL NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder) override {
        return m_Impl.NegotiateBorderSpace(nBorderCmd, lpRectBorder);
    }
    // The in-place active item of the active view's document, or none.
    virtual COleClientItem* GetInPlaceActiveItem() { return m_Impl.GetInPlaceActiveItem(); }
    void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT) override;

    // The docked bars, then the client area.
    virtual void AdjustDockingLayout(HDWP hdwp = nullptr);
    // TRUE while the dragged floating frame goes on floating.
    virtual BOOL OnMoveMiniFrame(CQMXPMiniFrameWnd* pFrame);
    // A document frame's shared menu (NULL: the default) goes to the menu
    // bar; FALSE leaves it to the MDI client (no menu bar).
    virtual BOOL OnSetMenu(HMENU hMenu);
    // Called before a popup of the frame opens; FALSE stops it.
    virtual BOOL OnShowPopupMenu(CQMXPPopupMenu* pMenuPopup) { return TRUE; }
    // A popup closed.
    virtual void OnClosePopupMenu(CQMXPPopupMenu* pMenuPopup);
    // TRUE: the frame painted the MDI client's background.
    virtual BOOL OnEraseMDIClientBackground(CDC* pDC) { return FALSE; }
    // Paints the strip along one edge of a popup that has a logo; nothing here.
    virtual void OnDrawMenuLogo(CDC* pDC, CQMXPPopupMenu* pMenuPopup, const CRect& rectLogo) {}
    // Draws the image of a menu item that has none of its own; FALSE: none.
    virtual BOOL OnDrawMenuImage(CDC* pDC, const CQMXPToolbarMenuButton* pMenuButton, const CRect& rectImage) {
        return FALSE;
    }
    // Hides every bar but panes and status bars (FALSE) or shows them again.
    virtual void ShowControlBars(BOOL bShow);
    // The MDI client in the area the docked bars leave.
    virtual void AdjustClientArea();

    // The dock manager's operations.
    BOOL EnableDocking(DWORD dwDockStyle);
    BOOL EnableAutoHideBars(DWORD dwDockStyle);
    BOOL AddControlBar(CQMXPBaseControlBar* pControlBar, BOOL bTail = TRUE);
    BOOL InsertControlBar(CQMXPBaseControlBar* pControlBar, CQMXPBaseControlBar* pTarget, BOOL bAfter = TRUE);
    void RemoveControlBarFromDockManager(CQMXPBaseControlBar* pControlBar, BOOL bDestroy = TRUE,
                                         BOOL bAdjustLayout = FALSE, BOOL bAutoHide = FALSE);
    void DockControlBar(CQMXPBaseControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    // The bar with the id, floating bars included; none when there is none.
    CQMXPBaseControlBar* GetControlBar(UINT nID);
    void ShowControlBar(CQMXPBaseControlBar* pBar, BOOL bShow, BOOL bDelay, BOOL bActivate = FALSE);
    CQMXPBaseControlBar* ControlBarFromPoint(CPoint point, int nSensitivity, bool bExactBar,
                                             CRuntimeClass* pRTCBarType) const;
    BOOL IsPointNearDockBar(CPoint point, DWORD& dwBarAlignment, BOOL& bOuterEdge) const;
    CQMXPDockManager* GetDockManager() { return &m_dockManager; }
    void GetClientAreaBounds(CRect& rect) const { m_dockManager.GetClientAreaBounds(rect); }

    // The frame is told of each popup that opens (none: no menu is open);
    // the Window popup gets the list of document windows. FALSE refuses it.
    BOOL ShowPopupMenu(CQMXPPopupMenu* pMenuPopup);
    // A tool bar torn off a menu, kept (and deleted) by the frame.
    void AddTearOffToolbar(CQMXPBaseControlBar* pToolBar);
    void RemoveTearOffToolbar(CQMXPBaseControlBar* pToolBar);
    // The menu bar takes the frame's menu; the frame shows no Windows menu.
    void SetMenuBar(CQMXPMenuBar* pMenuBar) { m_Impl.SetMenuBar(pMenuBar); }
    CQMXPMenuBar* GetLibraryMenuBar() const { return m_Impl.m_pMenuBar; }
    // The menu bar shows the system menu and window buttons of the active
    // document window while it is maximised; pGoing, a document window being
    // destroyed, has its buttons taken off.
    void UpdateMenuBarChild(CWnd* pGoing = nullptr);
    CQMXPFrameImpl& GetFrameImpl() { return m_Impl; }
    CQMXPMainClientAreaWnd& GetClientArea() { return m_wndClientArea; }
    // The Window popup of the menu bar's current menu, found again after the
    // MDI client refreshed its window list.
    void RefreshWindowMenu();
    // The document windows as tabs along the client area (this program
    // shows none); the frame is redrawn while a document window is destroyed.
    void EnableMDITabs(BOOL bEnable = TRUE);
    BOOL AreMDITabs() const { return m_bMDITabs; }
    BOOL IsNoRedrawOnDestroy() const { return m_bNoRedrawOnDestroy; }

    // The entry for a dialog of all windows in the Window popup (none when 0).
    UINT m_uiWindowsDlgMenuId = 0;
    CString m_strWindowsDlgMenuText;
    BOOL m_bShowWindowsDlgAlways = FALSE;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSizing(UINT fwSide, LPRECT pRect);
    afx_msg void OnExitSizeMove();
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMenuChar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnToolbarCreateNew(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnToolbarDelete(WPARAM wParam, LPARAM lParam);
    // Puts the windows the frame owns back above it, now and once more a
    // moment later: a display without a window manager restacks the
    // windows of a click or of a closing window after the program has seen
    // the event.
    afx_msg LRESULT OnKeepOwnedAbove(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    afx_msg BOOL OnBarCheck(UINT nID);
    afx_msg void OnWindowNew();

    CQMXPMainClientAreaWnd m_wndClientArea;
    HMENU m_hmenuWindow = nullptr;
    CQMXPFrameImpl m_Impl;
    CQMXPDockManager m_dockManager;
    BOOL m_bDoSubclass = TRUE;
    BOOL m_bWasMaximized = FALSE;
    BOOL m_bIsMinimized = FALSE;
    BOOL m_bClosing = FALSE;
    BOOL m_bMDITabs = FALSE;
    BOOL m_bNoRedrawOnDestroy = FALSE;
    BOOL m_bContextHelp = FALSE;

    DECLARE_MESSAGE_MAP()
};
