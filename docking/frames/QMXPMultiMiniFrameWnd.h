#pragma once
// CQMXPMultiMiniFrameWnd: the floating frame that holds several docking
// panes at once, side by side or one above the other, in a tree of bar
// containers of its own. Its caption shows the title of its only visible
// pane, or nothing when several are visible (the panes then show their own
// captions). Panes dock into it, whole groups dock out of it to a frame
// edge or beside a docked pane, and a double click on its caption sends
// every pane back to its recent place.
#include "docking/bars/QMXPBarContainerManager.h"
#include "docking/frames/QMXPMiniFrameWnd.h"

class CQMXPMultiMiniFrameWnd : public CQMXPMiniFrameWnd {
    DECLARE_SERIAL(CQMXPMultiMiniFrameWnd)
public:
    CQMXPMultiMiniFrameWnd();
    ~CQMXPMultiMiniFrameWnd() override;

    // The floating frame's record, then its tree's.
    void Serialize(CArchive& ar) override;

    BOOL CanBeDockedToBar(const CQMXPBaseControlBar* pDockBar) const override;
    void AddControlBar(CQMXPBaseControlBar* pWnd) override;
    // The frame is never destroyed at once: its emptiness check decides.
    void RemoveControlBar(CQMXPBaseControlBar* pWnd, BOOL bDestroy = FALSE, BOOL bNoDelayedDestroy = FALSE) override;
    void ReplaceControlBar(CQMXPBaseControlBar* pBarOrg, CQMXPBaseControlBar* pBarReplaceWith) override;
    // Docks the whole group: at a frame edge (no target) or beside a docked pane.
    BOOL DockFrame(int nMode, CQMXPDockingControlBar* pTargetBar, int nDockMethod) override;
    using CQMXPMiniFrameWnd::DockFrame;
    int GetControlBarCount() const override;
    CQMXPBaseControlBar* GetControlBar() const override;
    CQMXPBaseControlBar* GetFirstVisibleBar() const override;
    CString GetCaptionText() const override;
    CQMXPBaseControlBar* ControlBarFromPoint(CPoint point, int nSensitivity, BOOL bCheckVisibility) const override;
    void OnBarRecalcLayout() override {}
    BOOL SaveState(LPCWSTR lpszProfileName = nullptr, UINT uiID = static_cast<UINT>(-1)) override;
    BOOL LoadState(LPCWSTR lpszProfileName = nullptr, UINT uiID = static_cast<UINT>(-1)) override;
    void StoreRecentFloatingRect() override;
    void CloseMiniFrame() override;
    void OnShowControlBar(CQMXPBaseControlBar* pBar, BOOL bShow) override;
    void StoreRecentDockInfo(CQMXPControlBar* pBar) override;
    void PrepareToSave() override { RemoveNonValidBars(); }
    void RestoreAfterLoad(CQMXPDockManager* pDockManager) override;

    // Docks another floating frame's panes into this one; TRUE when nothing docked.
    virtual BOOL DockMiniFrame(CQMXPMiniFrameWnd* pOther, int nDockMethod);
    // Docks a pane beside the pane under the cursor; TRUE when nothing docked.
    virtual BOOL DockControlBarToMiniFrame(CQMXPDockingControlBar* pBar);
    // Puts a pane back at its remembered place in this frame.
    virtual BOOL AddRecentControlBar(CQMXPDockingControlBar* pBar);
    virtual void DockBarToRecentPlace(CQMXPDockingControlBar* pBar);
    virtual BOOL AddFloatingBar(CQMXPDockingControlBar* pBar);

    // With one visible pane the frame shows its title; with several the panes show theirs.
    void UpdateBarCaptions();
    int GetVisibleBarCount() const { return m_barContainerManager.GetVisibleBarCount(); }
    void CalcExpectedDockedRect(CWnd* pWndToDock, CPoint ptMouse, CRect& rectResult, BOOL& bDrawTab,
                                CQMXPDockingControlBar** ppTargetBar);
    // Lays the panes out in the client area.
    void AdjustLayout();
    void RemoveNonValidBars() { m_barContainerManager.RemoveNonValidBars(); }
    void StartRollUpTimerIfNeeded();
    void StopRollUpTimerIfNeeded();
    // At the end of a drag: the group docks where the outline showed.
    void DockFrameToTarget(BOOL& bDocked);
    CQMXPBarContainerManager& GetContainerManager() { return m_barContainerManager; }

protected:
    BOOL DockControlBar(CQMXPControlBar* pBar, BOOL& bWasDocked) override;

    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSizing(UINT fwSide, LPRECT pRect);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCheckEmptyMiniFrame(WPARAM wParam, LPARAM lParam);

    // Any visible pane rolls up.
    BOOL HasRollUpPane() const;

    CQMXPBarContainerManager m_barContainerManager;

    DECLARE_MESSAGE_MAP()
};
