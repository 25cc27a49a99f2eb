#pragma once
// CQMXPMDIFrameWnd: the docking library's MDI main frame. It embeds the
// frame's dock manager, hands the bars' docking calls to it, and lays the
// frame out through it: the docked bars first, then the MDI client (and any
// class-library bars) in the area they leave. It loads the workspace's
// layout when the frame is loaded. Stand-in: the frame implementation, the
// menu bar and the MDI client area come with the library frames.
#include "docking/bars/QMXPDockBar.h"
#include "docking/bars/QMXPDockManager.h"
#include "platform/classlib/MDIFrameWnd.h"
#include "platform/classlib/ObList.h"

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
    void RecalcLayout(BOOL bNotify = TRUE) override;
    void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override;

    // The docked bars, then the client area.
    virtual void AdjustDockingLayout(HDWP hdwp = nullptr);
    // TRUE while the dragged floating frame goes on floating.
    virtual BOOL OnMoveMiniFrame(CQMXPMiniFrameWnd* pFrame);
    // Hides every bar but panes and status bars (FALSE) or shows them again.
    virtual void ShowControlBars(BOOL bShow);
    // The view pane and class-library bars in the area the docked bars leave.
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

    // Popup menus. The frame is told of each popup that opens (none: no
    // menu is open) and records it as the open menu; FALSE refuses it.
    virtual BOOL ShowPopupMenu(CQMXPPopupMenu* pMenuPopup);
    // A popup closed.
    virtual void OnClosePopupMenu(CQMXPPopupMenu* pMenuPopup);
    // Paints the strip along one edge of a popup that has a logo; nothing here.
    virtual void OnDrawMenuLogo(CDC* pDC, CQMXPPopupMenu* pMenuPopup, const CRect& rectLogo) {}
    // Draws the image of a menu item that has none of its own; FALSE: none.
    virtual BOOL OnDrawMenuImage(CDC* pDC, const CQMXPToolbarMenuButton* pMenuButton, const CRect& rectImage) {
        return FALSE;
    }
    // A tool bar torn off a menu, kept (and deleted) by the frame.
    void AddTearOffToolbar(CQMXPBaseControlBar* pToolBar);
    // The menu bar of the frame (it takes the frame's menu once the
    // library frames hand it over).
    void SetMenuBar(CQMXPMenuBar* pMenuBar) { m_pMenuBar = pMenuBar; }
    CQMXPMenuBar* GetLibraryMenuBar() const { return m_pMenuBar; }
    // Keys and clicks go to the open popup menu first.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);

    CQMXPDockManager m_dockManager;
    CQMXPMenuBar* m_pMenuBar = nullptr;
    CObList m_lstTearOffToolbars;

    DECLARE_MESSAGE_MAP()
};
