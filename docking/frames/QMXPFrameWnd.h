#pragma once
// CQMXPFrameWnd: the docking library's single-document frame: the same
// docking frame as the MDI main frame without an MDI client. Its view pane
// takes the area the docked bars leave; without a view that area stays empty.
#include "docking/bars/QMXPDockManager.h"
#include "docking/frames/QMXPFrameImpl.h"
#include "platform/classlib/FrameWnd.h"

class CQMXPBaseControlBar;
class CQMXPMenuBar;
class CQMXPMiniFrameWnd;
class CQMXPPopupMenu;

class CQMXPFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CQMXPFrameWnd)
public:
    CQMXPFrameWnd();
    ~CQMXPFrameWnd() override;

    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Context help with the tool bars following the pointer; WinHelp with
    // data 0 during it starts the mode again.
    void OnContextHelp() override;
    BOOL NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder) override {
        return m_Impl.NegotiateBorderSpace(nBorderCmd, lpRectBorder);
    }
    void OnUpdateFrameMenu(HMENU hMenuAlt) override;
    void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT) override;

    virtual void AdjustDockingLayout(HDWP hdwp = nullptr);
    virtual BOOL OnMoveMiniFrame(CQMXPMiniFrameWnd* pFrame);
    // The view pane on the area the docked bars leave.
    virtual void AdjustClientArea();
    virtual BOOL OnShowPopupMenu(CQMXPPopupMenu* pMenuPopup) { return TRUE; }
    virtual void OnClosePopupMenu(CQMXPPopupMenu* pMenuPopup);
    virtual void ShowControlBars(BOOL bShow);

    BOOL EnableDocking(DWORD dwDockStyle) { return m_dockManager.EnableDocking(dwDockStyle); }
    BOOL AddControlBar(CQMXPBaseControlBar* pControlBar, BOOL bTail = TRUE);
    BOOL InsertControlBar(CQMXPBaseControlBar* pControlBar, CQMXPBaseControlBar* pTarget, BOOL bAfter = TRUE);
    void RemoveControlBarFromDockManager(CQMXPBaseControlBar* pControlBar, BOOL bDestroy = TRUE,
                                         BOOL bAdjustLayout = FALSE, BOOL bAutoHide = FALSE);
    void DockControlBar(CQMXPBaseControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    CQMXPBaseControlBar* GetControlBar(UINT nID) { return m_dockManager.FindBarByID(nID, TRUE); }
    CQMXPBaseControlBar* ControlBarFromPoint(CPoint point, int nSensitivity, bool bExactBar,
                                             CRuntimeClass* pRTCBarType) const;
    BOOL IsPointNearDockBar(CPoint point, DWORD& dwBarAlignment, BOOL& bOuterEdge) const;
    CQMXPDockManager* GetDockManager() { return &m_dockManager; }
    // The frame is told of each popup that opens; FALSE refuses it.
    BOOL ShowPopupMenu(CQMXPPopupMenu* pMenuPopup);
    void SetMenuBar(CQMXPMenuBar* pMenuBar) { m_Impl.SetMenuBar(pMenuBar); }
    CQMXPMenuBar* GetLibraryMenuBar() const { return m_Impl.m_pMenuBar; }
    CQMXPFrameImpl& GetFrameImpl() { return m_Impl; }

protected:
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSizing(UINT fwSide, LPRECT pRect);
    afx_msg void OnExitSizeMove();
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg LRESULT OnMenuChar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnToolbarCreateNew(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnToolbarDelete(WPARAM wParam, LPARAM lParam);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    afx_msg BOOL OnBarCheck(UINT nID);

    CQMXPFrameImpl m_Impl;
    CQMXPDockManager m_dockManager;
    BOOL m_bContextHelp = FALSE;
    BOOL m_bWasMaximized = FALSE;
    BOOL m_bIsMinimized = FALSE;

    DECLARE_MESSAGE_MAP()
};
