#pragma once
// CQMXPMiniFrameWnd: the small popup window that holds one floating bar. It
// draws its own caption, borders and caption buttons, moves itself or an
// outline when dragged, rolls up to its caption, and leaves the drop decision
// to its bar and to the dock manager of the frame it belongs to. The class
// keeps the list of all floating frames and the map from control id to
// floating bar.
#include "docking/bars/QMXPDragFrameImpl.h"
#include "platform/classlib/List.h"
#include "platform/classlib/ObList.h"
#include "platform/classlib/Wnd.h"

class CQMXPBaseControlBar;
class CQMXPCaptionButton;
class CQMXPControlBar;
class CQMXPDockManager;
class CQMXPDockingControlBar;
class CQMXPPopupMenu;

// The class library's window style bit that keeps a floating frame's caption
// in step with its owner's activation.
constexpr DWORD QMXP_MINIFRAME_SYNCACTIVE = 0x100;

// Caption buttons wanted (SetCaptionButtons).
constexpr DWORD QMXP_CAPTION_BTN_PIN = 0x01;
constexpr DWORD QMXP_CAPTION_BTN_CLOSE = 0x02;
constexpr DWORD QMXP_CAPTION_BTN_MINIMIZE = 0x04;

// Timers of a floating frame: docking while dragged, roll-up.
constexpr UINT_PTR QMXP_DOCK_EVENT = 4;
constexpr UINT_PTR QMXP_CHECK_ROLL_STATE = 5;

// Docking modes of a pending drop: none, at the found place, as a tab.
constexpr int QMXP_DOCK_NONE = 0;
constexpr int QMXP_DOCK_PLACE = 1;
constexpr int QMXP_DOCK_TAB = 2;

class CQMXPMiniFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CQMXPMiniFrameWnd)
public:
    CQMXPMiniFrameWnd();
    // Deletes the caption buttons.
    ~CQMXPMiniFrameWnd() override;

    // Style, window rectangle (a rolled-up frame with its full height),
    // visibility, the bar's control id, caption buttons and pin state. A
    // loaded frame is created under the frame the dock manager loads for.
    void Serialize(CArchive& ar) override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

    // Whether the bar may take this frame's bar (the multi frame: any of its panes).
    virtual BOOL CanBeDockedToBar(const CQMXPBaseControlBar* pDockBar) const;
    virtual BOOL IsRollDown() const;
    virtual BOOL IsRollUp() const;
    virtual int GetCaptionHeight() const { return m_nCaptionHeight; }
    virtual void AddControlBar(CQMXPBaseControlBar* pWnd);
    // The frame is destroyed at once when it is left empty and bDestroy, or
    // later by its empty-check message (hidden with bNoDelayedDestroy).
    virtual void RemoveControlBar(CQMXPBaseControlBar* pWnd, BOOL bDestroy = FALSE, BOOL bNoDelayedDestroy = FALSE);
    virtual void ReplaceControlBar(CQMXPBaseControlBar* pBarOrg, CQMXPBaseControlBar* pBarReplaceWith);
    // The pending drop; the bar it docked, and whether it docked.
    virtual CQMXPBaseControlBar* DockFrame(BOOL& bWasDocked);
    // Docks the held pane at the target by the mode (1 beside it, 2 as a
    // tab); TRUE while the frame goes on floating.
    virtual BOOL DockFrame(int nMode, CQMXPDockingControlBar* pTargetBar, int nDockMethod);
    // The dock manager's decision: docks at once (FALSE), or refuses (TRUE).
    virtual BOOL SetDockingMode(int nDockMode, CQMXPBaseControlBar* pTargetBar);
    virtual void MoveMiniFrame(int dx, int dy);
    virtual int GetControlBarCount() const;
    virtual BOOL IsControlBarVisible() const;
    virtual CQMXPBaseControlBar* GetControlBar() const;
    virtual CQMXPBaseControlBar* GetFirstVisibleBar() const;
    // Sizes the frame to its bar's fixed layout without moving it.
    virtual void SizeToContent();
    virtual CString GetCaptionText() const;
    // Border widths: 3 for a tool bar, the sizing frame for other bars.
    virtual void CalcBorderSize(CRect& rectBorderSize) const;
    virtual CQMXPBaseControlBar* ControlBarFromPoint(CPoint point, int nSensitivity, BOOL bCheckVisibility) const;
    // In window coordinates.
    virtual void GetCaptionRect(CRect& rectCaption) const;
    // Stretches the bar over the client area and repaints it.
    virtual void OnBarRecalcLayout();
    virtual void OnBarSizeChanged();
    virtual BOOL SaveState(LPCWSTR lpszProfileName = nullptr, UINT uiID = static_cast<UINT>(-1));
    virtual BOOL LoadState(LPCWSTR lpszProfileName = nullptr, UINT uiID = static_cast<UINT>(-1));
    // Just before the layout blob is written: panes that are gone leave the record.
    virtual void PrepareToSave() {}
    // After the layout blob was read: the frame takes the bars its record names
    // from wherever the code put them; a frame left without a bar goes.
    virtual void RestoreAfterLoad(CQMXPDockManager* pDockManager);
    // Non-client hit test (screen point); the caption answers HTCLIENT
    // unless bDetectCaption.
    virtual LRESULT HitTest(CPoint point, BOOL bDetectCaption) const;
    virtual UINT GetBarID() const;
    virtual BOOL Create(LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd = nullptr);
    // FALSE also when the parent is a window without dock manager; a frame
    // that cannot be made has deleted itself (PostNcDestroy).
    virtual BOOL CreateEx(DWORD dwStyleEx, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CWnd* pParentWnd = nullptr);
    using CWnd::CreateEx;
    virtual void OnCapture(BOOL bOnOff);
    // Starts a move: the mouse is captured and the cursor kept as the hot point.
    virtual void EnterDragMode(HWND hWndToDestroyOnRelease = nullptr);
    virtual void DrawBorders(CDC* pDC, CRect rectWindow);
    virtual void StoreRecentFloatingRect();
    // A held bar was shown or hidden: the frame shows or hides with it.
    virtual void OnShowControlBar(CQMXPBaseControlBar* pBar, BOOL bShow);
    // The held pane remembers this frame as its floating place.
    virtual void StoreRecentDockInfo(CQMXPControlBar* pBar);
    virtual BOOL CanCloseFrame() const { return TRUE; }
    // Hides the frame and its bar.
    virtual void CloseMiniFrame();
    virtual int GetDockingMode() const;
    virtual BOOL DockControlBar(CQMXPControlBar* pBar, BOOL& bWasDocked);
    virtual void CalcMinSize(CSize& sizeBase, MINMAXINFO* lpMMI);
    virtual void CheckRollState();
    virtual void SetRollUpTimer();
    virtual void KillRollUpTimer();

    // The drag that follows a tear-off: the menu hides and the frame follows
    // the mouse until the left button goes up (TRUE: placed, the menus
    // close). Escape or the right button destroy the torn-off bar and show
    // the menu again (FALSE). While another window holds the capture no drag
    // starts (FALSE): the bar stays where it floats and the menus close.
    BOOL StartTearOff(CQMXPPopupMenu* pMenu);
    void SetDockingTimer(UINT nTimeOut);
    void KillDockingTimer();
    void SetCaptionButtons(DWORD dwButtons);
    void ArrangeCaptionButtons();
    void EndDrawDragFrame(BOOL bClearInternalRects = TRUE) { m_dragFrameImpl.EndDrawDragFrame(bClearInternalRects); }
    // The dock manager of the frame the floating frame belongs to.
    CQMXPDockManager* GetDockManager() const;
    CWnd* GetParentFrame() const { return CWnd::FromHandle(m_hParentWnd); }
    HWND GetParentHandle() const { return m_hParentWnd; }
    CRect GetRecentFloatingRect() const { return m_rectRecentFloatingRect; }
    void SetRecentFloatingRect(const CRect& rect) { m_rectRecentFloatingRect = rect; }
    CQMXPDragFrameImpl& GetDragFrame() { return m_dragFrameImpl; }
    const CObList& GetCaptionButtons() const { return m_lstCaptionButtons; }
    BOOL IsRolledUp() const { return m_bRolledUp; }
    BOOL IsPinned() const { return m_bPinned; }
    void Pin(BOOL bPinned) { m_bPinned = bPinned; }
    BOOL IsCaptured() const { return m_bCaptured; }
    int GetPendingDockMode() const { return m_nDockMode; }
    // Set by a bar that floated itself and started the frame's move.
    void BlockMove(BOOL bBlock) { m_bBlockMove = bBlock; }
    BOOL IsMoveBlocked() const { return m_bBlockMove; }

    // The frame whose floating frames a layout load creates.
    static CWnd* m_pParentWndForSerialize;

    static BOOL AddRemoveBarFromGlobalList(CQMXPBaseControlBar* pBar, BOOL bAdd);
    static CQMXPBaseControlBar* FindFloatingBarByID(UINT nID);
    static void RedrawAll();
    static const CList<HWND, HWND>& GetFloatingFrames();

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMoving(UINT fwSide, LPRECT pRect);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnSizing(UINT fwSide, LPRECT pRect);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    // With the sync-active style the caption starts active when the owner is.
    afx_msg BOOL OnNcCreate(LPCREATESTRUCTW lpCreateStruct);
    // Show, hide, enable, disable and the active look from the owner.
    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    // A double click on the caption docks the bar back at its recent place.
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcDestroy();
    afx_msg void OnCancelMode();
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnDestroy();
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnClose();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg LRESULT OnCheckEmptyMiniFrame(WPARAM wParam, LPARAM lParam);
    afx_msg void OnExitSizeMove();

    void PostNcDestroy() override;
    // Ends a move: capture released, OnCapture(FALSE).
    void ReleaseMove();
    CQMXPCaptionButton* FindButton(UINT nHit) const;
    CQMXPCaptionButton* ButtonFromPoint(CPoint ptScreen) const;
    // Tracks the caption button under the cursor (screen point).
    void TrackHotButton(CPoint ptScreen);
    void RedrawButton(const CQMXPCaptionButton* pButton);
    CRect ClientRectInWindow() const;
    // The held bar as a control bar, or none.
    CQMXPControlBar* HeldControlBar() const;
    // A loaded pane leaves its tab group, auto hide, slider or other floating frame for this one.
    void TakeIntoFrame(CQMXPDockingControlBar* pPane);
    BOOL HoldsToolBar() const;

    BOOL m_bActive;
    int m_nCaptionHeight;
    CObList m_lstCaptionButtons;
    DWORD m_dwCaptionButtons;
    CQMXPDockingControlBar* m_pDockBarTarget;
    HWND m_hEmbeddedBar;
    BOOL m_bCaptured;
    BOOL m_bBlockMove;
    int m_nDockMode;
    int m_nMinTrackWidth;
    int m_nMinTrackHeight;
    UINT m_nPressedButton;
    UINT m_nHotButton;
    CRect m_rectRedraw;
    UINT_PTR m_nDockTimerID;
    UINT_PTR m_nRollTimerID;
    BOOL m_bRolledUp;
    int m_nHeightBeforeRollUp;
    BOOL m_bPinned;
    CQMXPDragFrameImpl m_dragFrameImpl;
    BOOL m_bHostsToolbar;
    BOOL m_bNoDelayedDestroy;
    HWND m_hParentWnd;
    HWND m_hWndToDestroyOnRelease;
    HWND m_hLastFocusWnd;
    UINT m_nRestoredEmbeddedBarID;
    CRect m_rectRecentFloatingRect;

    DECLARE_MESSAGE_MAP()
};
