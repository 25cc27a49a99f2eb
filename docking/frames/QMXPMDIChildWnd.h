#pragma once
// CQMXPMDIChildWnd: the docking library's MDI child frame, with a dock
// manager of its own so that bars can dock inside a document window; the
// view takes the area its bars leave. Bars floated out of it go with it.
#include "docking/bars/QMXPDockManager.h"
#include "platform/classlib/MDIChildWnd.h"

class CQMXPBaseControlBar;
class CQMXPMDIFrameWnd;
class CQMXPMiniFrameWnd;

// Bars docked in a document window may float out of it.
extern BOOL qmxFloatingBarsInMDIChild;

class CQMXPMDIChildWnd : public CMDIChildWnd {
    DECLARE_DYNCREATE(CQMXPMDIChildWnd)
public:
    CQMXPMDIChildWnd();
    ~CQMXPMDIChildWnd() override;

    // Binds the dock manager to the frame; FALSE stops the creation.
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    // Activates without flicker: the MDI client is not redrawn until the
    // frame is in place, then it is redrawn whole.
    void ActivateFrame(int nCmdShow = -1) override;
    // Called by ActivateFrame once the frame is active and before the MDI
    // client draws again: what changes the frame's place here costs no
    // drawing of its own.
    virtual void AdjustActivatedFrame() {}
    void RecalcLayout(BOOL bNotify = TRUE) override;
    // Keys are not the child's accelerators while a library popup menu is open.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The main frame's MDI tabs follow the title.
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;

    virtual void AdjustDockingLayout(HDWP hdwp = nullptr);
    virtual BOOL OnMoveMiniFrame(CQMXPMiniFrameWnd* pFrame);

    // The dock manager's operations.
    BOOL EnableDocking(DWORD dwDockStyle);
    BOOL AddControlBar(CQMXPBaseControlBar* pControlBar, BOOL bTail = TRUE);
    BOOL InsertControlBar(CQMXPBaseControlBar* pControlBar, CQMXPBaseControlBar* pTarget, BOOL bAfter = TRUE);
    void RemoveControlBarFromDockManager(CQMXPBaseControlBar* pControlBar, BOOL bDestroy = TRUE,
                                         BOOL bAdjustLayout = FALSE, BOOL bAutoHide = FALSE);
    // A bar that can neither dock nor float is only listed; any other docks on every side.
    void DockControlBar(CQMXPBaseControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    CQMXPBaseControlBar* ControlBarFromPoint(CPoint point, int nSensitivity, bool bExactBar,
                                             CRuntimeClass* pRTCBarType) const;
    BOOL IsPointNearDockBar(CPoint point, DWORD& dwBarAlignment, BOOL& bOuterEdge) const;
    CQMXPDockManager* GetDockManager() { return &m_dockManager; }
    // The main frame, when it is a library frame.
    CQMXPMDIFrameWnd* GetLibraryMDIFrame() const { return m_pMDIFrame; }
    // The caption and the small icon of the window.
    virtual CString GetFrameText() const;
    virtual HICON GetFrameIcon() const;
    void GetClientAreaBounds(CRect& rect) const { m_dockManager.GetClientAreaBounds(rect); }
    // Set when the window's MDI tab went with its destruction: it gets none again.
    void SetDestroyPending() { m_bToBeDestroyed = TRUE; }
    BOOL IsDestroyPending() const { return m_bToBeDestroyed; }

protected:
    // The view pane (or the print preview) in the area the bars leave.
    void AdjustClientArea();

    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnSizing(UINT fwSide, LPRECT pRect);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetIcon(WPARAM wParam, LPARAM lParam);
    // The main frame's MDI tabs follow the document windows.
    void UpdateMDITabs();

    CQMXPDockManager m_dockManager;
    CQMXPMDIFrameWnd* m_pMDIFrame = nullptr;
    BOOL m_bToBeDestroyed = FALSE;

    DECLARE_MESSAGE_MAP()
};
