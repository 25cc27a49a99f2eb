#pragma once
// CQMXPControlBar: the dockable and floatable bar, base of the tool bars,
// menu bars, docking panes and the status bar. It adds borders, its own
// window class, the full-size rectangle that dock-bar rows work with, mouse
// dragging (immediate, or with an outline), floating into a mini frame,
// docking into a dock bar, and the places where it was last docked and
// floated, kept in the registry.
#include "docking/bars/QMXPBaseControlBar.h"
#include "docking/bars/QMXPDragFrameImpl.h"
#include "docking/bars/QMXPRecentDockInfo.h"

class CQMXPDockManager;

// Dock methods of the dock and float operations: by mouse, back to the
// recent place (double click), at a given rectangle, and the end of an
// outline drag over no target.
constexpr int QMXP_DM_MOUSE = 1;
constexpr int QMXP_DM_DBL_CLICK = 2;
constexpr int QMXP_DM_RECT = 4;
constexpr int QMXP_DM_STANDARD = 5;

// Bar-style bits: the bar floats; its four border lines.
constexpr DWORD QMXP_CBRS_FLOATING = 0x1;
constexpr DWORD QMXP_CBRS_BORDER_ANY = 0xF00;

class CQMXPControlBar : public CQMXPBaseControlBar {
    DECLARE_DYNCREATE(CQMXPControlBar)
public:
    CQMXPControlBar();
    ~CQMXPControlBar() override;

    // In a tab window of a tabbed bar or tabbed tool bar, or wrapped in one.
    BOOL IsTabbed() const override;
    BOOL DocksToFrameEdge() const override;
    // The dock bar's side is one the bar may dock to.
    BOOL CanBeDocked(CQMXPBaseControlBar* pDockBar) const override;
    // TRUE only when OnBeforeDock and Dock succeed.
    BOOL DockControlBar(CQMXPBaseControlBar* pDockBar, LPCRECT lpRect, int dockMethod) override;
    // A bar that floats already or may not float stays as it is (TRUE).
    BOOL FloatControlBar(CRect rectFloat, int dockMethod, bool bShow = true) override;
    void AdjustLayout() override;
    // An object of the mini-frame class, created as a popup under the owner frame.
    CQMXPMiniFrameWnd* CreateMiniFrame(CRect rectInitial) override;
    void OnBeforeChangeParent(CWnd* pWndNewParent, BOOL bDelay = FALSE) override;
    void OnAfterChangeParent(CWnd* pWndOldParent) override;
    BOOL LoadState(LPCWSTR lpszProfileName = nullptr, UINT uiID = static_cast<UINT>(-1), int nIndex = -1) override;
    BOOL SaveState(LPCWSTR lpszProfileName = nullptr, UINT uiID = static_cast<UINT>(-1), int nIndex = -1) override;
    void UndockControlBar(BOOL bDelay = FALSE) override;
    void DoPaint(CDC* pDC) override;

    virtual BOOL IsDragMode() const { return m_bDragMode; }
    virtual void GetMinSize(CSize& size) const { size = CSize(1, 1); }
    virtual int GetResizeStep() const { return 10; }
    // How much longer the full-size rectangle is than the window along the bar's axis.
    virtual int GetAvailableExpandSize() const;
    // The window's length along the axis less the minimum length.
    virtual int GetAvailableStretchSize() const;
    virtual BOOL CanShareRow() const { return !m_bExclusiveRow; }
    virtual void SetExclusiveRow(BOOL bExclusive = TRUE) { m_bExclusiveRow = bExclusive; }
    virtual BOOL IsExclusiveRow() const { return m_bExclusiveRow; }
    // The bar's dock bar and parent become the dock bar, its style the dock bar's side with all borders.
    virtual void AttachToDockBar(CQMXPDockBar* pDockBar, int dockMethod);
    virtual BOOL DockToDockBar(CQMXPDockBar* pDockBar);
    // Moves the window to rect (screen), raised to the minimum size unless
    // bNoMinimum; the change of width and height (new minus old).
    virtual CSize ResizeBar(CRect rect, BOOL bNoMinimum = FALSE);
    // Lengthens (delta > 0) or shortens the bar along its axis within what
    // it may; the change made.
    virtual int StretchBar(int nDelta, HDWP& hdwp);
    // The target of an outline drop; the bar itself when there is none to take it.
    virtual CQMXPBaseControlBar* DropTargetFromPoint(BOOL& bDone);
    // The drag rule: whether a move tears the bar out of its dock bar or
    // docks a floating one; pDockBar receives the dock bar under the cursor.
    virtual BOOL IsChangeState(int nOffset, CQMXPBaseControlBar** ppDockBar);
    virtual void RestoreDockState(CQMXPDockManager* pDockManager);
    // Ends a drag and keeps the recent place before a programmatic change.
    virtual void PrepareToChangeState();
    virtual BOOL OnBeforeFloat(CRect& rectFloat, int dockMethod) { return TRUE; }
    virtual void OnAfterFloat();
    virtual BOOL Create(LPCWSTR lpszClassName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                        DWORD dwControlBarStyle = QMXP_CBRS_FLOAT, CCreateContext* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwStyleEx, LPCWSTR lpszClassName, DWORD dwStyle, const RECT& rect,
                          CWnd* pParentWnd, UINT nID, DWORD dwControlBarStyle = QMXP_CBRS_FLOAT,
                          CCreateContext* pContext = nullptr);
    using CQMXPBaseControlBar::CreateEx;
    // Raises the proposed rectangle to the minimum size; the proposed size less the window's.
    virtual CSize AdjustSizeToMin(CRect& rect);
    virtual void UpdateSize(BOOL bRecalcLayout = TRUE);
    virtual void ResumeDrag() { EnterDragMode(FALSE); }
    virtual BOOL OnBeforeDock(CQMXPBaseControlBar** ppDockBar, LPCRECT lpRect, int dockMethod);
    virtual void OnAfterDock(CQMXPBaseControlBar* pDockBar, LPCRECT lpRect, int dockMethod) {}
    // Called by StretchBar around the move; nDelta may be narrowed.
    virtual void OnBeforeStretch(int& nDelta) {}
    virtual void OnAfterStretch(int nDelta) {}
    virtual void ChangeParent(CWnd* pNewParent, int dockMethod);
    virtual void SetDragMode(BOOL bDragMode) { m_bDragMode = bDragMode; }
    virtual BOOL Dock(CQMXPBaseControlBar* pDockBar, LPCRECT lpRect, int dockMethod);
    virtual void EnterDragMode(BOOL bChangeHotPoint);
    virtual UINT GetID() const { return m_nID; }
    virtual void StoreRecentDockInfo();
    // The third group flag (auto-hide strips: active in its group).
    virtual void SetActiveInGroup(BOOL bActive) { m_dwReserved[2] = bActive ? 1 : 0; }

    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    void SetBorders(LPCRECT lpRect) { SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
    CRect GetBorders() const { return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder); }
    int GetDefaultGap() const { return m_cxDefaultGap; }
    // Shrinks the rectangle by the border lines, the borders and a docked bar's gripper.
    void CalcInsideRect(CRect& rect, BOOL bHorz) const;
    // A zeroed block of nElements of cbElement bytes replaces the element storage.
    BOOL AllocElements(int nElements, int cbElement);
    void UpdateFullSizeRect();
    void UpdateFullSizeRect(CSize size);
    void OffsetFullSizeRect(int dx, int dy) { m_rectVirtualFull.OffsetRect(dx, dy); }
    // In screen coordinates.
    void GetFullSizeRect(CRect& rect) const;
    // In the parent's client coordinates.
    CRect GetFullSizeClientRect() const { return m_rectVirtualFull; }
    void MoveByAlignment(DWORD dwAlignment, int nOffset);
    // Whether the point lies before the bar's near edge along its dock bar.
    BOOL IsLeftOf(CPoint pt, BOOL bWindowRect = TRUE) const;

    int GetMRUWidth() const { return m_nMRUWidth; }
    void SetMRUWidth(int nWidth) { m_nMRUWidth = nWidth; }
    CPoint GetHotPoint() const { return m_ptHot; }
    BOOL IsCaptured() const { return m_bCaptured; }
    int GetPinState() const { return m_nPinState; }
    void SetPinState(int nPinState) { m_nPinState = nPinState; }
    CQMXPRecentDockInfo& GetRecentDockInfo() { return m_recentDockInfo; }
    CRect GetRecentFloatingRect() const { return m_recentDockInfo.m_rectRecentFloatingRect; }
    void SetRecentFloatingRect(const CRect& rect) { m_recentDockInfo.m_rectRecentFloatingRect = rect; }
    BOOL IsRestoredFloating() const { return m_bRestoredFloating; }
    CRect GetRestoredDockedRect() const { return m_rectRestoredDocked; }
    void SetRestoredDockedRect(const CRect& rect) { m_rectRestoredDocked = rect; }
    void SetMiniFrameRTC(CRuntimeClass* pRTC) { m_pMiniFrameRTC = pRTC; }
    CQMXPDragFrameImpl& GetDragFrame() { return m_dragFrame; }
    // The group flags of the bars laid out end to end (auto-hide strips):
    // first, last and active in their group; all set when built.
    BOOL IsFirstInGroup() const { return m_dwReserved[0] != 0; }
    BOOL IsLastInGroup() const { return m_dwReserved[1] != 0; }
    BOOL IsActiveInGroup() const { return m_dwReserved[2] != 0; }
    void SetFirstInGroup(BOOL bFirst) { m_dwReserved[0] = bFirst ? 1 : 0; }
    void SetLastInGroup(BOOL bLast) { m_dwReserved[1] = bLast ? 1 : 0; }
    // Set while the bar moves in a row exchange; the rows read it.
    BOOL m_bMoving;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnNcDestroy();
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnCancelMode();
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnDestroy();

    // Releases the capture and leaves drag mode; the temporary mini frame
    // goes unless bKeepTempMiniFrame.
    void EndCapture(BOOL bKeepTempMiniFrame);

    DWORD m_dwReserved[3];
    int m_nCount;
    BYTE* m_pData;
    int m_cxLeftBorder;
    int m_cxRightBorder;
    int m_cyTopBorder;
    int m_cyBottomBorder;
    int m_cxDefaultGap;
    int m_nMRUWidth;
    CRect m_rectVirtualFull;
    CRect m_rectDragStart;
    BOOL m_bCaptured;
    UINT m_nID;
    CPoint m_ptHot;
    BOOL m_bIgnoreButtonUp;
    BOOL m_bDragMode;
    CRuntimeClass* m_pMiniFrameRTC;
    CQMXPDragFrameImpl m_dragFrame;
    HWND m_hwndTempMiniFrame;
    BOOL m_bExclusiveRow;
    int m_nPinState;
    CQMXPRecentDockInfo m_recentDockInfo;
    CRect m_rectRestoredDocked;
    BOOL m_bRestoredFloating;
    BOOL m_bPassedToMiniFrame;

    DECLARE_MESSAGE_MAP()
};
