#pragma once
// CQMXPTabWnd: the tab strip of the tabbed panes. It places the tab row at
// the top or bottom and the tab windows in the rest, measures the tabs and
// cuts their labels when the row is short (style 0, with tool tips for cut
// labels) or scrolls the row with buttons (styles 1 to 3), closes the
// active window with its close button, draws 3D (0, 3) or flat slanted
// tabs (1, 2; style 2 shares a horizontal scroll bar with the active
// window) through the visual manager, and cycles the tabs with Ctrl+Page
// Up / Page Down.
#include "docking/bars/QMXPBaseTabWnd.h"
#include "docking/bars/QMXPTabButton.h"
#include "platform/classlib/List.h"
#include "platform/classlib/ScrollBar.h"

class CDC;

// Looks of Create.
constexpr int QMXP_STYLE_3D = 0;
constexpr int QMXP_STYLE_FLAT = 1;
constexpr int QMXP_STYLE_FLAT_SHARED_HORZ_SCROLL = 2;
constexpr int QMXP_STYLE_3D_SCROLLED = 3;

class CQMXPTabWnd : public CQMXPBaseTabWnd {
    DECLARE_DYNCREATE(CQMXPTabWnd)
public:
    CQMXPTabWnd();
    ~CQMXPTabWnd() override;

    virtual BOOL Create(int style, const RECT& rect, CWnd* pParentWnd, UINT nID,
                        int location = QMXP_LOCATION_BOTTOM, BOOL bCloseBtn = FALSE);
    void HideNoTabs(BOOL bHide = TRUE);
    void SetActiveTabBoldFont(BOOL bIsBold = TRUE);
    // The tabs show windows the strip does not own (the document windows of
    // an MDI client): it neither hides, sizes nor destroys them, and draws
    // a flat frame with a top edge round them.
    void SetForeignTabWindows();
    // Style 2: the active window's (or the given) horizontal scroll state in the shared bar.
    BOOL SynchronizeScrollBar(SCROLLINFO* pScrollInfo = nullptr);

    BOOL IsPtInTabArea(CPoint point) const override;
    void GetTabArea(CRect& rectTabAreaTop, CRect& rectTabAreaBottom) const override;
    BOOL SetImageList(HIMAGELIST hImageList) override;
    BOOL SetImageList(UINT uiID, int cx = 15, COLORREF clrTransp = RGB(255, 0, 255)) override;
    void SetTabsHeight() override;
    int GetTabsHeight() const override;
    void RecalcLayout() override;
    void EnableInPlaceEdit(BOOL bEnable) override;
    void AdjustEditRect(CRect& rect) const override;
    BOOL SetActiveTab(int iTab) override;
    BOOL EnsureVisible(int iTab) override;
    void HideSingleTab(BOOL bHide = TRUE) override;
    CWnd* IsPtInTabsAreaGap(CPoint point) override;
    BOOL IsFlatTab() const override { return m_bFlat; }
    BOOL IsFlatFrame() const override { return m_bFlatFrame; }
    virtual void DrawTab(CDC* pDC, CQMXPTabInfo* pTab, BOOL bIsActive);
    // A tool-bar button dragged over a tabbed tool bar opens the tab under
    // the point, so that it can be dropped on that tab's bar: copied with
    // Ctrl, else moved. Nothing for any other parent or data.
    DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    CRect GetTabsAreaRect() const { return m_rectTabsArea; }
    CRect GetWndArea() const { return m_rectWndArea; }
    int GetTabsOffset() const { return m_nTabsHorzOffset; }
    int GetTabsOffsetMax() const { return m_nTabsHorzOffsetMax; }
    int GetTabsTotalWidth() const { return m_nTabsTotalWidth; }
    BOOL IsActiveTabBold() const { return m_bIsActiveTabBold; }
    // The buttons in layout order.
    CQMXTabButton& GetScrollLeftButton() { return m_btnScrollLeft; }
    CQMXTabButton& GetScrollRightButton() { return m_btnScrollRight; }
    CQMXTabButton& GetScrollFirstButton() { return m_btnScrollFirst; }
    CQMXTabButton& GetScrollLastButton() { return m_btnScrollLast; }
    CQMXTabButton& GetCloseButton() { return m_btnClose; }
    CScrollBar& GetSharedScrollBar() { return m_wndScrollWnd; }
    // The width of the buttons (menu glyph + 4, + 2 more in 3D), at most row height - 4, never below 0.
    int GetButtonSize(int nRowHeight) const;

    // The strip's flat fonts: Arial of DEFAULT_GUI_FONT's height, shrunk to fit the row.
    CFont& GetTabsFont() { return m_fntTabs; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnCancelMode();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnSysColorChange();
    afx_msg void OnSettingChange(UINT uFlags, LPCWSTR lpszSection);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // The row is left out (single tab hidden, or no visible tab).
    BOOL IsRowHidden() const;
    void RecalcTabRects();
    // Keeps the offset within [0, max]; recomputes and repaints when it changed.
    void ClampScrollOffset();
    void ScrollTo(int nOffset);
    void LayoutSharedScrollBar(BOOL bRowHidden);
    void CreateTabFonts();
    void StopSplitterTrack();
    // The next or previous visible tab from the active one, round the row.
    int NextVisibleTab(BOOL bForward) const;

    BOOL m_bFlat;
    BOOL m_bSharedScroll;
    BOOL m_bScroll;
    BOOL m_bCloseBtn;
    int m_nScrollBarRight;
    CRect m_rectTabsArea;
    CRect m_rectWndArea;
    CScrollBar m_wndScrollWnd;
    CQMXTabButton m_btnScrollLeft;
    CQMXTabButton m_btnScrollRight;
    CQMXTabButton m_btnScrollFirst;
    CQMXTabButton m_btnScrollLast;
    CQMXTabButton m_btnClose;
    CList<HWND, HWND> m_lstButtons;
    int m_nTabsHorzOffset;
    int m_nTabsHorzOffsetMax;
    int m_nTabsTotalWidth;
    int m_nHorzScrollWidth;
    CRect m_rectTabSplitter;
    BOOL m_bTrackSplitter;
    BOOL m_bFlatFrame;
    BOOL m_bAutoSizeWindow;
    BOOL m_bNoEraseBkgnd;
    BOOL m_bTopEdge;
    BOOL m_bDrawFrame;
    BOOL m_bHideNoTabs;
    BOOL m_bIsActiveTabBold;
    // A shared-scroll-bar scroll is under way.
    BOOL m_bInHScroll;

    DECLARE_MESSAGE_MAP()
};
