#pragma once
// CQMXPDockManager: the one object of a library frame that knows every bar
// of the frame. It keeps them in one ordered list (earlier bars sit nearer
// the frame's edge), makes the dock bars of the edges, docks bars, finds the
// bar or edge under a point, lays the bars out around the client area, hides
// and shows them for print preview and on request, and tracks floating
// frames that are dragged over the frame.
#include "platform/classlib/List.h"
#include "platform/classlib/ObList.h"
#include "platform/classlib/Rect.h"

class CArchive;
class CDockState;
class CFrameWnd;
class CQMXPAutoHideToolBar;
class CQMXPBaseControlBar;
class CQMXPDockBar;
class CQMXPDockingControlBar;
class CQMXPMiniFrameWnd;
class CQMXPSlider;
class CRuntimeClass;
class CWnd;
struct CPrintPreviewState;

// Docking status of a point while a bar is dragged: nothing, beside a pane
// or at a frame edge, as a tab.
constexpr int QMXP_CS_NOTHING = 0;
constexpr int QMXP_CS_DOCK_IMMEDIATELY = 1;
constexpr int QMXP_CS_DELAY_DOCK = 2;
constexpr int QMXP_CS_DELAY_DOCK_TO_TAB = 3;

// The stored record of one auto-hidden pane: its id and side, whether it
// shows, the panes of its group, where it lies, and its strip's group flags.
struct QMXP_AUTOHIDEBAR_SAVE_INFO {
    QMXP_AUTOHIDEBAR_SAVE_INFO();
    // The record from the pane's state (storing) or into this one (loading).
    void Serialize(CArchive& ar);

    UINT m_nBarID;
    DWORD m_dwBarAlignment;
    BOOL m_bIsVisible;
    CList<UINT, UINT> m_lstSiblingBars;
    CRect m_rectBar;
    BOOL m_bFirstInGroup;
    BOOL m_bLastInGroup;
    BOOL m_bActiveInGroup;
    // Set when the layout is applied.
    CQMXPDockingControlBar* m_pSavedBar;
};

class CQMXPDockManager : public CObject {
    DECLARE_DYNAMIC(CQMXPDockManager)
public:
    CQMXPDockManager();
    ~CQMXPDockManager() override;

    // The milliseconds that the drag tracking measures its waits with (the
    // C run-time clock); a test may set another clock.
    using ClockFunction = long (*)();
    static ClockFunction m_pfnClock;
    // Waits before a dragged floating frame docks a tool bar into a dock
    // bar, and a pane at a pane or frame edge.
    static int m_nTimeOutBeforeToolBarDock;
    static int m_nTimeOutBeforeDockingBarDock;

    BOOL Create(CFrameWnd* pFrame);
    // Makes a dock bar for each side asked for that has none (top, bottom,
    // left, right in that order).
    BOOL EnableDocking(DWORD dwDockStyle);
    // Makes an auto-hide dock bar for each side asked for that has none
    // (with the side's dock bar first when there is none).
    BOOL EnableAutoHideBars(DWORD dwDockStyle);
    // The strip of an auto-hidden pane on its side, a new one without pStrip;
    // none when the side has no auto-hide dock bar.
    CQMXPAutoHideToolBar* CreateAutoHideStrip(CQMXPDockingControlBar* pBar, CQMXPAutoHideToolBar* pStrip);
    // An auto-hidden pane and its slider against the outer docking rectangle:
    // fully out (bShown), or just behind the side's edge.
    void PlaceAutoHidePane(CQMXPSlider* pSlider, BOOL bShown);
    // Every slid-out auto-hidden pane but pExclude slides back in.
    void SlideInAutoHidePanes(CQMXPDockingControlBar* pExclude, BOOL bImmediately);
    const CObList& GetAutoHideSliders() const { return m_lstAutoHideSliders; }
    BOOL AddControlBar(CQMXPBaseControlBar* pWnd, BOOL bTail = TRUE, BOOL bAutoHide = FALSE,
                       BOOL bInsertForOuterEdge = FALSE);
    BOOL InsertControlBar(CQMXPBaseControlBar* pControlBar, CQMXPBaseControlBar* pTarget, BOOL bAfter = TRUE);
    void RemoveControlBarFromDockManager(CQMXPBaseControlBar* pWnd, BOOL bDestroy = TRUE, BOOL bAdjustLayout = FALSE,
                                         BOOL bAutoHide = FALSE);
    void DockControlBar(CQMXPBaseControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    // TRUE near a docking edge: the outer docking rectangle first.
    BOOL IsPointNearDockBar(CPoint point, DWORD& dwBarAlignment, BOOL& bOuterEdge) const;

    virtual CQMXPBaseControlBar* ControlBarFromPoint(CPoint point, int nSensitivity, DWORD& dwAlignment,
                                                     CRuntimeClass* pRTCBarType = nullptr,
                                                     const CQMXPBaseControlBar* pBarToIgnore = nullptr) const;
    virtual CQMXPBaseControlBar* ControlBarFromPoint(CPoint point, int nSensitivity, bool bExactBar = false,
                                                     CRuntimeClass* pRTCBarType = nullptr,
                                                     BOOL bCheckVisibility = FALSE,
                                                     const CQMXPBaseControlBar* pBarToIgnore = nullptr) const;
    virtual CQMXPMiniFrameWnd* FloatingFrameFromPoint(CPoint point, CQMXPMiniFrameWnd* pFrameToIgnore,
                                                      BOOL bMultiMiniFrameOnly) const;
    virtual int QueryDockStatus(CPoint point, int nSensitivity, DWORD dwEnabledAlignment,
                                CQMXPBaseControlBar** ppTargetBar, const CQMXPBaseControlBar* pBarToIgnore,
                                CQMXPBaseControlBar* pBarToDock);
    virtual BOOL RegisterFloatingFrame(CQMXPMiniFrameWnd* pWnd);
    virtual BOOL UnregisterFloatingFrame(CQMXPMiniFrameWnd* pWnd);
    virtual CQMXPBaseControlBar* FindBarByID(UINT uBarID, BOOL bSearchMiniFrames = FALSE);
    // The first dock bar of that side from the head (outer) or from the tail.
    virtual CQMXPDockBar* DockBarForSide(DWORD dwAlignment, BOOL bOuter = FALSE) const;
    virtual CQMXPDockBar* DockBarHoldingBar(CQMXPBaseControlBar* pBar) const;
    virtual void RelayoutAllBars(BOOL bNotify = TRUE);
    virtual void AdjustDockingLayout(HDWP hdwp = nullptr);
    // A move or size of the frame ended: every dock bar fits its rows into
    // its length, then the layout follows.
    virtual void OnExitSizeMove();
    // TRUE while the dragged floating frame should go on floating.
    virtual BOOL OnMoveMiniFrame(CQMXPMiniFrameWnd* pFrame);
    // The panes' and bars' own states, then the layout blob "DockingCBAndSliders"
    // under the section "QMXPDockManagers" and the key "QMXPDockManager-<id>".
    virtual BOOL SaveState(LPCWSTR lpszProfileName, UINT uiID);
    // FALSE without a stored layout or when it cannot be read; the code's
    // layout stays then.
    virtual BOOL LoadState(LPCWSTR lpszProfileName, UINT uiID);
    // Rebuilds the loaded layout; nothing after a failed load.
    virtual void ApplyLoadedLayout();
    virtual BOOL ShowAllBars(BOOL bShow = TRUE);
    virtual void OnFrameActivation(BOOL bActivate);
    // Cuts a docked outline to the library's share of the client area.
    virtual BOOL LimitDockedRect(CRect& rect, DWORD dwAlignment);

    void SetPrintPreviewMode(BOOL bPreview, CPrintPreviewState* pState);
    BOOL SendMessageToMiniFrames(UINT uMessage, WPARAM wParam = 0, LPARAM lParam = 0);
    void GetClientAreaBounds(CRect& rectClient) const { rectClient = m_rectClientArea; }
    CRect GetClientAreaBounds() const { return m_rectClientArea; }
    CRect GetOuterDockArea() const { return m_rectOuterDockArea; }
    void LockRedraw(BOOL bLock);
    // While held, the layout is not made but remembered as asked for: many
    // bars changing at once cost one layout (see CQMXPLayoutHold).
    void HoldLayout() { ++m_nLayoutHolds; }
    // TRUE while held: the layout asked for (the frame's client area too) is
    // remembered and made when the last hold ends.
    BOOL DeferLayout() {
        if (m_nLayoutHolds == 0)
            return FALSE;
        m_bLayoutAsked = TRUE;
        return TRUE;
    }
    // TRUE when the last hold goes and a layout was asked for meanwhile.
    BOOL ReleaseLayout();
    BOOL IsLayoutHeld() const { return m_nLayoutHolds > 0; }
    // The outline a dragged window would take when dropped at the point.
    void ExpectedDockRect(CWnd* pWnd, CPoint point, CRect& rectResult, BOOL& bDrawTab,
                          CQMXPDockingControlBar** ppTargetBar);
    void RaiseBarsOfSide(DWORD dwAlignment, BOOL bExcludeDocked);
    // Places a bar's rectangle along one side of the bounds.
    static void PlaceAlongSide(const CRect& rectBounds, CRect& rect, DWORD dwAlignment, BOOL bHorizontal,
                               BOOL bResizable);
    // The class library's dock state is applied by the frames' workspace
    // loading; the dock manager keeps its own layout instead.
    void SetDockState(const CDockState& state);
    // The arrangement of the panes: counts and records of the layout blob.
    void Serialize(CArchive& ar) override;
    BOOL IsLoadFailed() const { return m_bLoadFailed; }
    const CList<QMXP_AUTOHIDEBAR_SAVE_INFO*, QMXP_AUTOHIDEBAR_SAVE_INFO*>& GetLoadedAutoHideRecords() const {
        return m_lstLoadedAutoHideRecords;
    }

    CFrameWnd* GetDockSiteFrameWnd() const { return m_pFrame; }
    const CObList& GetBars() const { return m_lstBars; }
    const CObList& GetFloatingFrames() const { return m_lstFloatingFrames; }
    BOOL IsPrintPreviewValid() const { return m_bPrintPreview; }
    BOOL IsAllBarsHidden() const { return m_bAllBarsHidden; }
    DWORD GetEnabledAlignment() const { return m_dwDockBarSides; }
    DWORD GetAutoHideSides() const { return m_dwAutoHideSides; }

    BOOL m_bLayoutEnabled;
    int m_nLayoutHolds = 0;
    BOOL m_bLayoutAsked = FALSE;
    BOOL m_bRedrawLocked;
    BOOL m_bRelayoutBlocked;
    // Cleared by the frames when their window goes.
    CFrameWnd* m_pFrame;

protected:
    // Hides each visible bar of the list and remembers it; status bars stay
    // for print preview, panes and status bars when all bars are hidden.
    void HideBarsOf(CObList& lstBars, BOOL bForPreview);
    void ShowHiddenBars(int nShowCommand);
    BOOL IsBarListed(CQMXPBaseControlBar* pBar) const;
    // The mini frame's drop by the tracked status; the frame's answer.
    BOOL DockTrackedFrame(CQMXPMiniFrameWnd* pFrame, CQMXPBaseControlBar* pBar, CQMXPBaseControlBar* pTarget,
                          int nStatus);
    // The corner rule: strips begin past perpendicular auto-hide dock bars.
    void AdjustAutoHideCorners();
    // The layout blob's two directions.
    void StoreLayout(CArchive& ar);
    void LoadLayout(CArchive& ar);
    // Undoes what a failed load read: sliders and floating frames go, bars
    // forget that they wait for a restore, the loaded lists empty.
    void DiscardLoadedLayout();
    void ClearLoadedAutoHideRecords();

    CObList m_lstBars;
    CObList m_lstAutoHideSliders;
    CObList m_lstLoadedItems;
    CObList m_lstLoadedTabGroups;
    CObList m_lstLoadedFloatingFrames;
    CList<QMXP_AUTOHIDEBAR_SAVE_INFO*, QMXP_AUTOHIDEBAR_SAVE_INFO*> m_lstLoadedAutoHideRecords;
    CObList m_lstFloatingFrames;
    CRect m_rectClientArea;
    CRect m_rectOuterDockArea;
    DWORD m_dwDockBarSides;
    DWORD m_dwAutoHideSides;
    // Drag tracking of a floating frame: the last target and status, when they were noted.
    CQMXPBaseControlBar* m_pLastTargetBar;
    CQMXPMiniFrameWnd* m_pLastMultiMiniFrame;
    long m_clkLastTime;
    int m_nLastStatus;
    BOOL m_bPrintPreview;
    // Windows by handle: a hidden bar may be destroyed before it is shown again.
    CList<HWND, HWND> m_lstHiddenBars;
    BOOL m_bAllBarsHidden;
    BOOL m_bInLayout;
    BOOL m_bInRelayout;
    BOOL m_bLoadFailed;
    CList<HWND, HWND> m_lstDeactivatedFrames;
};

// Holds the frame's layout for the life of the object, then lays the frame
// out once if anything asked for it meanwhile (each bar's row resize lays
// out the whole frame otherwise).
class CQMXPLayoutHold {
public:
    explicit CQMXPLayoutHold(CFrameWnd* pFrame);
    ~CQMXPLayoutHold();
    CQMXPLayoutHold(const CQMXPLayoutHold&) = delete;
    CQMXPLayoutHold& operator=(const CQMXPLayoutHold&) = delete;

private:
    CFrameWnd* m_pFrame;
    CQMXPDockManager* m_pDockManager;
};
