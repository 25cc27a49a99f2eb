#pragma once
// CQMXPDockingControlBar: the docking pane. A resizable child window with a
// caption of its own and close and auto-hide caption buttons, which docks
// straight to a frame edge beside other panes (a slider and a tree of bar
// containers share the edge), floats alone or with other panes in a
// floating frame, and comes back to its recent places. The image gallery
// and every framework drag bar are panes.
#include "docking/bars/QMXPCaptionButton.h"
#include "docking/bars/QMXPControlBar.h"
#include "platform/classlib/ToolTipCtrl.h"

class CQMXPAutoHideButton;
class CQMXPAutoHideToolBar;
class CQMXPBarContainerManager;
class CQMXPSlider;

// Caption-button hit codes of a pane: close and auto hide.
constexpr UINT QMXP_HTCLOSE_PANE = 19;
constexpr UINT QMXP_HTAUTOHIDE = 9;
// A pane created with this bar-style bit floats in a frame of several panes.
constexpr DWORD QMXP_CBRS_FLOAT_MULTI = 0x40;
// Hit-test results of a pane besides the caption-button codes.
constexpr int QMXP_HT_UNDECIDED = -2;

class CQMXPDockingControlBar : public CQMXPControlBar {
    DECLARE_SERIAL(CQMXPDockingControlBar)
public:
    CQMXPDockingControlBar();
    ~CQMXPDockingControlBar() override;

    // The base bar's fields, then the recent floating and docked
    // rectangles and the floating flag.
    void Serialize(CArchive& ar) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    virtual BOOL Create(LPCWSTR lpszCaption, CWnd* pParentWnd, const CSize& sizeDefault, BOOL bHasCaption, UINT nID,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | 0x1000, DWORD dwTabbedStyle = 0,
                        DWORD dwControlBarStyle = QMXP_CBRS_FLOAT | QMXP_CBRS_CLOSE);
    virtual BOOL Create(LPCWSTR lpszCaption, CWnd* pParentWnd, const CRect& rect, BOOL bHasCaption, UINT nID,
                        DWORD dwStyle, DWORD dwTabbedStyle = 0,
                        DWORD dwControlBarStyle = QMXP_CBRS_FLOAT | QMXP_CBRS_CLOSE,
                        CCreateContext* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwStyleEx, LPCWSTR lpszCaption, CWnd* pParentWnd, const CRect& rect,
                          BOOL bHasCaption, UINT nID, DWORD dwStyle, DWORD dwTabbedStyle, DWORD dwControlBarStyle,
                          CCreateContext* pContext = nullptr);
    using CQMXPControlBar::Create;
    using CQMXPControlBar::CreateEx;
    // The tab strips of a tabbed bar (screen); none for a plain pane.
    virtual void GetTabArea(CRect& rectTabAreaTop, CRect& rectTabAreaBottom) const;
    virtual BOOL IsTabLocationBottom() const { return TRUE; }
    // Screen point: 0 outside, HTCLIENT, HTCAPTION (bDetectCaption) or a
    // caption button's code; QMXP_HT_UNDECIDED leaves it to the default.
    virtual int HitTest(CPoint point, BOOL bDetectCaption = FALSE);
    // Whether the floating frame may dock beside this pane.
    virtual BOOL QueryMiniFrame(CQMXPMiniFrameWnd* pMiniFrame);
    virtual BOOL IsAutoHideMode() const { return m_bIsAutoHideMode; }
    // How a pane dragged over this one docks at the point: 0 not, 2 beside
    // it, 3 as a tab.
    virtual int GetDockingStatus(CPoint point, int nSensitivity);
    // The tabbed bar or the pane that holds this pane as a tab; none when refused.
    virtual CQMXPDockingControlBar* AttachToTabWnd(CQMXPDockingControlBar* pTabControlBarAttachTo, int dockMethod,
                                                   BOOL bSetActive = TRUE,
                                                   CQMXPDockingControlBar** ppTabbedControlBar = nullptr);
    virtual CQMXPDockingControlBar* CreateTabbedControlBar();
    // A tab leaves its group for pNewParent with its caption back and shown;
    // FALSE when the pane is no tab.
    BOOL LeaveTabGroup(CWnd* pNewParent);
    virtual BOOL DockToWindow(CQMXPDockingControlBar* pTargetWindow, DWORD dwAlignment, LPCRECT lpRect = nullptr);
    virtual BOOL DockContainer(CQMXPBarContainerManager& barContainerManager, DWORD dwAlignment, int dockMethod);
    // Entering gives the strip that holds the pane's button (none when the
    // side has no strip), leaving the strip given.
    virtual CQMXPAutoHideToolBar* SetAutoHideMode(BOOL bMode, DWORD dwAlignment,
                                                  CQMXPAutoHideToolBar* pCurrAutoHideBar = nullptr,
                                                  BOOL bUseTimer = TRUE);
    // FALSE only while the pane slides back in.
    virtual BOOL IsSlidingOutOrShown() const { return !(m_bIsSliding && m_bIsHiding); }
    virtual int GetAutoHideSlideMode() const { return m_nAutoHideSlideMode; }
    // The tabbed bar that holds the pane remembers it in its place.
    virtual void UpdateTabbedBarRecentInfo();
    virtual void OnPressCloseButton();
    virtual void DrawCaption(CDC* pDC, CRect rectCaption);
    // The watch timer: TRUE when it started a slide back in.
    virtual BOOL CheckAutoHideCondition();
    virtual BOOL CheckStopSlideCondition(BOOL bShow);
    virtual void OnSlide(BOOL bShow);
    // The pane's return from auto hide: docked back, or a tab of the group's first pane.
    virtual void UnSetAutoHideMode(CQMXPDockingControlBar* pFirstBarInGroup);
    // A slide out (bShow) or in; without the timer at once.
    virtual void Slide(BOOL bShow, BOOL bUseTimer = TRUE);

    BOOL CanAcceptBar(const CQMXPBaseControlBar* pBar) const override;
    int GetCaptionHeight() const override;
    BOOL IsInMultiMiniFrame() const override;
    BOOL CanBeAttached() const override { return TRUE; }
    BOOL IsVisible() const override;
    BOOL DocksToFrameEdge() const override { return TRUE; }
    void ShowCaption(BOOL bShow) override;
    BOOL DockToFrameWindow(DWORD dwAlignment, LPCRECT lpRect = nullptr, DWORD dwDockFlags = 0,
                           CQMXPBaseControlBar* pTargetBar = nullptr, int nMRUWidth = -1,
                           BOOL bOuterEdge = FALSE) override;
    void OnBeforeChangeParent(CWnd* pWndNewParent, BOOL bDelay = FALSE) override;
    void OnAfterChangeParent(CWnd* pWndOldParent) override;
    void ShowControlBar(BOOL bShow, BOOL bDelay, BOOL bActivate) override;
    void UndockControlBar(BOOL bDelay = FALSE) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CQMXPBaseControlBar* DropTargetFromPoint(BOOL& bDone) override;
    // The docking status at the cursor (0, 2, 3) and the pane or edge there.
    BOOL IsChangeState(int nOffset, CQMXPBaseControlBar** ppTargetBar) override;
    void OnAfterDock(CQMXPBaseControlBar* pDockBar, LPCRECT lpRect, int dockMethod) override;
    BOOL Dock(CQMXPBaseControlBar* pDockBar, LPCRECT lpRect, int dockMethod) override;
    void EnterDragMode(BOOL bChangeHotPoint) override;
    BOOL OnBeforeFloat(CRect& rectFloat, int dockMethod) override;
    void StoreRecentDockInfo() override;

    // The pane's slider, none when floating.
    CQMXPSlider* GetDefaultSlider() const;
    void SetDefaultSlider(HWND hSlider) { m_hDefaultSlider = hSlider; }
    HWND GetRestoredDefaultSlider() const { return m_hRestoredDefaultSlider; }
    void SetRestoredDefaultSlider(HWND hSlider) { m_hRestoredDefaultSlider = hSlider; }
    int GetPercentInContainer() const { return m_nPercentInContainer; }
    void SetPercentInContainer(int nPercent) { m_nPercentInContainer = nPercent; }
    DWORD GetDockState() const { return m_dwDockState; }
    void SetDockState(DWORD dwValue) { m_dwDockState = dwValue; }
    // The slider's side; the pane's own while it has none.
    DWORD GetSliderAlignment() const;
    BOOL HasCaption() const { return m_bHasCaption; }
    BOOL IsActive() const { return m_bActive; }
    const CQMXPCaptionButton& GetCaptionButton(int nIndex) const { return m_arrButtons[nIndex]; }
    UINT GetHotButton() const { return m_nHotButton; }
    UINT GetPressedButton() const { return m_nPressedButton; }
    CToolTipCtrl& GetToolTip() { return m_ToolTip; }
    CQMXPAutoHideToolBar* GetAutoHideToolBar() const { return m_pAutoHideBar; }
    CQMXPAutoHideButton* GetAutoHideButton() const { return m_pAutoHideButton; }
    void SetAutoHideParents(CQMXPAutoHideToolBar* pToolBar, CQMXPAutoHideButton* pButton) {
        m_pAutoHideBar = pToolBar;
        m_pAutoHideButton = pButton;
    }
    // The rectangle of the fully shown pane.
    CRect GetRestoredRect() const { return m_rectRestored; }
    void SetRestoredRect(const CRect& rect) { m_rectRestored = rect; }
    void SetAutoHideSlideMode(int nMode) { m_nAutoHideSlideMode = nMode; }
    int GetSlideDelta() const { return m_nSlideDelta; }
    int GetSlideStepsNum() const { return m_nSlideStepsNum; }
    UINT_PTR GetSlideTimer() const { return m_nSlideTimer; }
    UINT_PTR GetAutoHideWatchTimer() const { return m_nAutoHideWatchTimer; }
    void SetTabbedControlBarRTC(CRuntimeClass* pRTC) { m_pTabbedControlBarRTC = pRTC; }
    // Puts pNewBar in this pane's place (its floating frame or its slider's
    // container); with bAddToManager the new bar joins the dock manager.
    BOOL ReplaceControlBar(CQMXPDockingControlBar* pNewBar, BOOL bAddToManager);
    // A new slider for a frame edge: style 2 for left and right, 1 for
    // top and bottom, the default width; none when it cannot be made.
    static CQMXPSlider* CreateDefaultSlider(DWORD dwAlignment, CWnd* pDockSite);

    // The docking sensitivity passed to the dock manager while a pane is dragged.
    static const int m_nDockingSensitivity = 15;
    // Panes in auto hide: hiding or showing one hides or shows its strip
    // button. Off until the application turns it on.
    static BOOL IsHideInAutoHideMode() { return m_bHideInAutoHideMode; }
    static void SetHideInAutoHideMode(BOOL bHide) { m_bHideInAutoHideMode = bHide; }
    // The slide mode new panes take: 1 moves the whole pane, 2 its free edge.
    static int m_nAutoHideSlideModeDefault;
    // Timers of a pane in auto hide and their periods.
    static const UINT_PTR kSlideInTimer = 1;
    static const UINT_PTR kSlideOutTimer = 2;
    static const UINT_PTR kWatchTimer = 3;
    static const UINT kWatchPeriod = 700;
    static const UINT kSlidePeriod = 1;
    static const int kSlideSteps = 12;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnPaint();
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnCancelMode();
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);

    // Caption buttons: the one under a screen point, their tracking and repainting.
    CQMXPCaptionButton* FindButton(UINT nHit);
    CQMXPCaptionButton* ButtonFromPoint(CPoint ptScreen);
    void TrackCaptionButtons(CPoint ptScreen);
    void StopCaptionButtonsTracking();
    void RedrawButton(const CQMXPCaptionButton* pButton);
    // Auto hide is possible on the slider's side of the frame.
    BOOL CanAutoHide() const;
    CQMXPDockManager* FrameDockManager() const;
    // Back to the slider or the frame edge it was last docked at.
    BOOL DockToRecentPlace(LPCRECT lpRect, int dockMethod);

    BYTE m_bPrepareToFloat;
    BYTE m_bReadyToFloat;
    int m_nCaptionHeight;
    BOOL m_bHasCaption;
    BOOL m_bActive;
    CRect m_rectRedraw;
    BOOL m_bIsAutoHideMode;
    CRect m_rectRestored;
    UINT_PTR m_nAutoHideWatchTimer;
    UINT_PTR m_nSlideTimer;
    int m_nSlideStepsNum;
    int m_nSlideDelta;
    BOOL m_bIsSliding;
    BOOL m_bIsHiding;
    int m_nAutoHideSlideMode;
    CQMXPAutoHideButton* m_pAutoHideButton;
    CQMXPAutoHideToolBar* m_pAutoHideBar;
    CQMXPCaptionButton m_arrButtons[2];
    CRuntimeClass* m_pTabbedControlBarRTC;
    HWND m_hDefaultSlider;
    HWND m_hRestoredDefaultSlider;
    UINT m_nHotButton;
    UINT m_nPressedButton;
    CToolTipCtrl m_ToolTip;
    int m_nPercentInContainer;
    DWORD m_dwDockState;

    static BOOL m_bHideInAutoHideMode;

    DECLARE_MESSAGE_MAP()
};

// The placeholder tab of outline dragging: one hidden global instance.
class CQMXPDummyDockingControlBar : public CQMXPDockingControlBar {
    DECLARE_DYNCREATE(CQMXPDummyDockingControlBar)
};

extern CQMXPDummyDockingControlBar qmxDummyDockingBar;
