#pragma once
// CQMXPDockBar: the dock site along one edge of a frame, as long as the
// edge and as thick as its rows of bars. Tool bars and the menu bar dock
// into its rows (CQMXPDockBarRow), from the frame edge inwards; it grows and
// shrinks with its rows and asks its frame to lay itself out again.
#include "docking/bars/QMXPBaseControlBar.h"
#include "platform/classlib/ObList.h"

class CQMXPControlBar;

// The dock bars of the four sides.
constexpr UINT AFX_IDW_DOCKBAR_TOP = 0xE81B;
constexpr UINT AFX_IDW_DOCKBAR_LEFT = 0xE81C;
constexpr UINT AFX_IDW_DOCKBAR_RIGHT = 0xE81D;
constexpr UINT AFX_IDW_DOCKBAR_BOTTOM = 0xE81E;

class CQMXPDockBar : public CQMXPBaseControlBar {
    DECLARE_DYNCREATE(CQMXPDockBar)
public:
    CQMXPDockBar();
    // Deletes its rows.
    ~CQMXPDockBar() override;

    BOOL DocksToFrameEdge() const override { return FALSE; }
    BOOL IsInsertTarget() const override { return FALSE; }
    BOOL CanAcceptBar(const CQMXPBaseControlBar* pBar) const override { return pBar != nullptr; }
    void RefreshLayout() override;
    // The rows are refitted to what they need; the window's size.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

    virtual BOOL IsDragMode() const;
    virtual CQMXPDockBarRow* CreateRow(int nOffset, int nHeight);
    // Method 1 at the cursor, 2 at the bar's recent place, 4 at the rectangle
    // (dock-bar client coordinates) or the recent row, else in a new row;
    // TRUE when the bar was docked here already.
    virtual BOOL DockControlBar(CQMXPControlBar* pWnd, int dockMethod, LPCRECT lpRect = nullptr);
    // Docks the bar 10 pixels before a bar docked here; FALSE when the target is not.
    virtual BOOL DockControlBarLeftOf(CQMXPControlBar* pBarToDock, CQMXPControlBar* pTargetBar);
    virtual void RemoveControlBar(CQMXPBaseControlBar* pWnd);
    // Drops the pointers to a bar object that is being deleted (here and in
    // its row), without laying out: the program may be ending.
    void ForgetControlBar(CQMXPBaseControlBar* pWnd);
    // Immediate drag by a cursor delta; TRUE when the bar left the dock bar.
    virtual BOOL MoveControlBar(CQMXPControlBar* pControlBar, CPoint ptMouse, int dx, int dy);
    virtual void OnInsertRow(POSITION pos);
    virtual void OnRemoveRow(POSITION pos, BOOL bByShow = FALSE);
    virtual int ResizeRowBy(CQMXPDockBarRow* pRow, int nOffset);
    virtual void OnShowRow(POSITION pos, BOOL bShow);
    // Re-fits the rows after the window got a new rectangle (client coordinates).
    virtual void OnSizeChanged(CRect rectNew);
    virtual void UpdateBarRects();
    virtual BOOL ShowControlBar(CQMXPBaseControlBar* pBar, BOOL bShow, BOOL bDelay, BOOL bActivate);
    using CQMXPBaseControlBar::ShowControlBar;
    virtual CQMXPControlBar* ControlBarFromPoint(CPoint pt);
    // The parent frame's layout; in a dialog the library's dialog flag.
    virtual void AdjustFrameLayout();
    virtual UINT GetDockBarID() const { return m_nDockBarID; }
    virtual HDWP MoveWindowNoActivate(HDWP hdwp, CRect rect, UINT nFlags);
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, DWORD dwControlBarStyle = 0,
                        CCreateContext* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwStyleEx, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                          DWORD dwControlBarStyle = 0, CCreateContext* pContext = nullptr);
    using CQMXPBaseControlBar::CreateEx;

    CQMXPDockBarRow* FindRowByBar(const CQMXPBaseControlBar* pBar) const;
    // Zero-based; 0 when the row is not here.
    int GetRowIndex(const CQMXPDockBarRow* pRow) const;
    CQMXPControlBar* FindBarByID(UINT nID) const;
    // The visible row whose screen rectangle holds the point; without one,
    // bOutBeforeFirst tells whether the point lies before the first row.
    CQMXPDockBarRow* RowFromPoint(CPoint pt, BOOL& bOutBeforeFirst) const;
    CQMXPDockBarRow* RowFromClientRect(const CRect& rect) const;
    void ResizeDockBarWindow(int nOffset, BOOL bAdjustLayout = TRUE);
    // A new row before pos (at the end for none).
    CQMXPDockBarRow* AddRow(POSITION posRowBefore, int nHeight);
    void RemoveRow(CQMXPDockBarRow* pRow);
    void ShowRow(CQMXPDockBarRow* pRow, BOOL bShow, BOOL bAdjustLayout);
    // The change made; 0 when the bars need more than nNewSize.
    int ResizeRow(CQMXPDockBarRow* pRow, int nNewSize, BOOL bAdjustLayout = TRUE);
    void SwapRows(CQMXPDockBarRow* pFirstRow, CQMXPDockBarRow* pSecondRow);

    const CObList& GetControlBars() const { return m_lstControlBars; }
    const CObList& GetRows() const { return m_lstDockBarRows; }
    // The sum of the extents of the visible rows before pos (all of them for none).
    int RowsOffset(POSITION posStop) const;

    // The current message's default processing; a text panel's strips call it.
    afx_msg void OnSize(UINT nType, int cx, int cy);

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnDestroy();
    afx_msg void OnNcDestroy();
    afx_msg void OnPaint();

    // The row a docked bar goes to when the chosen one cannot take it.
    CQMXPDockBarRow* RowForBar(CQMXPControlBar* pBar, CQMXPDockBarRow* pRow, BOOL bBeforeFirst, int nHeight);
    // The row of method 4 or 2 (also during a restore); bRectFromRecent tells
    // that the placement comes from the bar's recent docked rectangle.
    CQMXPDockBarRow* RowForRestore(CQMXPControlBar* pBar, int dockMethod, LPCRECT lpRect, int nHeight);

    CObList m_lstControlBars;
    CObList m_lstDockBarRows;
    UINT m_nDockBarID;

    DECLARE_MESSAGE_MAP()
};
