#pragma once
// CQMXPPopupMenuBar: the tool bar that fills a popup menu. It turns a menu
// handle into a column (or several) of menu items, hides rarely used
// commands when short menus are on, opens and closes sub-menus after the
// system's menu delay, moves by keys and mnemonics, passes mouse messages
// to the other menus of the open chain, and runs the chosen command.
#include "docking/toolbars/QMXPToolBar.h"

#include <vector>

class CQMXPPopupMenu;
class CQMXPToolbarMenuButton;

// Timers of the bar: a sub-menu opens, an open one closes.
constexpr UINT_PTR QMXP_TIMER_DELAYED_OPEN = 1;
constexpr UINT_PTR QMXP_TIMER_DELAYED_CLOSE = 2;

class CQMXPPopupMenuBar : public CQMXPToolBar {
    DECLARE_SERIAL(CQMXPPopupMenuBar)
public:
    CQMXPPopupMenuBar();
    ~CQMXPPopupMenuBar() override;

    // The items of the menu; FALSE (and an empty bar) for a bad handle.
    virtual BOOL BuildFromMenu(HMENU hMenu, BOOL bShowAll = FALSE);
    // A new popup menu of the items.
    virtual HMENU ExportToMenu() const;
    // Runs the command (0: none) and closes the chain.
    virtual void InvokeMenuCommand(UINT uiCmdId);
    // The button's sub-menu opens after the delay times the factor.
    void SetDelayedOpen(CQMXPToolbarMenuButton* pButton, int nFactor = 1);
    // The sub-menu that waits to close closes now.
    void CancelDelayedSubMenu();
    // The open sub-menu stays open after all.
    void CancelPendingClose();
    // Marks this bar and every parent menu's bar.
    void MarkCommandInProgress(BOOL bMark);
    // The menu bar of the chain (or the tool bar that opened it) under the
    // point (client coordinates); none.
    CQMXPToolBar* FindBarUnderPoint(CPoint point);
    // Rows scrolled off the top; a change lays the items out again.
    void SetOffset(int iOffset);
    int GetOffset() const { return m_iOffset; }
    // The popup that holds the bar; none before it is created.
    CQMXPPopupMenu* GetParentPopup() const;
    BOOL AreAllCommandsShown() const { return m_bAreAllCommandsShown; }
    UINT GetDefaultMenuId() const { return m_uiDefaultMenuCmdId; }
    void SetMaxWidth(int iMaxWidth) { m_iMaxWidth = iMaxWidth; }
    const std::vector<UINT>& GetColumns() const { return m_arColumns; }
    // The command of a hidden item with the mnemonic; 0 when none.
    UINT GetHiddenMnemonicCommand(UINT uiChar) const;

    BOOL ProcessKey(UINT nChar) override;
    BOOL OnItemClicked(CQMXPToolbarButton* pButton) override;
    BOOL SetHot(int iHot) override;
    void AdjustLocations() override;
    CSize CalcSize(BOOL bVertDock) override;
    void AdjustLayout() override;
    void DrawSeparator(CDC* pDC, const CRect& rect, BOOL bHorz) override;
    void OnFillBackground(CDC* pDC) override;
    BOOL SetDefaultButtonText(CQMXPToolbarButton* pButton) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOW* pTI) const override;
    CWnd* GetCommandTarget() const override;
    CRect GetSeparatorRect(const CQMXPToolbarButton* pButton, BOOL bHorz) const override;
    BOOL ShowsButtonAsMenuItem(const CQMXPToolbarButton*) const override { return TRUE; }
    BOOL AllowShowTextLabels() const override { return FALSE; }
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    UINT m_uiDefaultMenuCmdId;
    CQMXPToolbarMenuButton* m_pDelayedPopupMenuButton;
    CQMXPToolbarMenuButton* m_pDelayedClosePopupMenuButton;
    BOOL m_bFirstClick;
    // Where the pointer rested when the menu opened; the moves the system
    // gives a window that comes under it are no moves of the user's.
    CPoint m_ptRestAtOpen;
    BOOL m_bPointerResting;
    int m_iOffset;
    int m_xSeparatorOffsetLeft;
    int m_xSeparatorOffsetRight;
    BOOL m_bAreAllCommandsShown;
    int m_iMaxWidth;
    std::vector<UINT> m_arColumns;
    CMap<UINT, UINT, UINT, UINT> m_HiddenItemsAccel;
    // Opened by the context-menu manager: the command is returned, not sent.
    BOOL m_bTrackMode;
    BOOL m_bIsClickOutsideItem;
    // Keeps the menu open while the application is inactive.
    BOOL m_bKeepOpen;
    BOOL m_bCommandInProgress;

    // The sub-menu delay in milliseconds ("MenuShowDelay", read once; -1 before).
    static int m_uiPopupTimerDelay;
    // Reads the delay now (the first bar does it once per process).
    static void ReadPopupTimerDelay();

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnNcPaint();
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

    // Highlights the item (by key): the old one repainted, the prompt shown.
    void MoveHighlight(int iNew);
    // Sends the mouse message to the bar under the point (client coordinates).
    BOOL ForwardMouse(UINT message, UINT nFlags, CPoint point);
    // Whether the item is drawn as rarely used (a short menu of a menu button).
    BOOL IsRarelyUsedItem(const CQMXPToolbarButton* pButton) const;

    DECLARE_MESSAGE_MAP()
};
