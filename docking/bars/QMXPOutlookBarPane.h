#pragma once
// CQMXPOutlookBarPane: a page of an outlook bar, a tool bar that stacks
// large-image buttons one under the other, centred, each with its text
// under the image. Buttons that do not fit scroll one at a time with two
// small buttons in the pane's right corners, repeating while held. The
// pane may tile a background bitmap.
#include "docking/toolbars/QMXPButton.h"
#include "docking/toolbars/QMXPToolBar.h"

class CQMXPOutlookBarPane : public CQMXPToolBar {
    DECLARE_SERIAL(CQMXPOutlookBarPane)
public:
    CQMXPOutlookBarPane();
    ~CQMXPOutlookBarPane() override;

    // A vertical pane with the given bar style (the gripper never shows).
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT uiID, DWORD dwControlBarStyle = 0);

    void AdjustLocations() override;
    // The page's size is its outlook window's: only the buttons move.
    void AdjustLayout() override;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    DWORD GetCurrentAlignment() const override;
    void DoPaint(CDC* pDC) override;
    void RemoveAllButtons() override;
    // Only an outlook button may arrive; others are refused.
    CQMXPToolbarButton* CreateDroppedButton(COleDataObject* pDataObject) override;
    // A drop on a scroll button scrolls instead of inserting.
    BOOL OnDrop(COleDataObject* pDataObject, DWORD dropEffect, CPoint point) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // In customise mode the look and the image of a page's buttons stay as
    // the page made them: their items of the button menu are greyed.
    BOOL PrepareCustomizeMenu(CQMXPToolbarButton* pButton, CMenu* pMenu) override;

    // The background bitmap, tiled; 0 removes it. A bitmap that fails to load leaves none.
    void SetBackImage(UINT uiImageID);
    void SetBackColor(COLORREF clr) { m_clrBackColor = clr; }
    COLORREF GetBackColor() const { return m_clrBackColor; }
    // -1: the visual manager's button text colour.
    void SetTextColor(COLORREF clr) { m_clrTextColor = clr; }
    COLORREF GetTextColor() const { return m_clrTextColor; }
    // The page's own colours rather than the look's: its background colour
    // or bitmap in every look, and system text colours for its buttons.
    void SetOwnColors(BOOL bOwn) { m_bOwnColors = bOwn; }
    BOOL HasOwnColors() const { return m_bOwnColors; }
    // Flat look: a hot button is shaded round its image rather than its
    // interior filled by the look.
    void SetFlatLook(BOOL bFlat) { m_bFlatLook = bFlat; }
    BOOL IsFlatLook() const { return m_bFlatLook; }
    virtual void FillBackground(CDC* pDC, CRect rectFill);
    // The strip the buttons' images come from.
    CQMXPToolBarImages& GetOutlookImages() { return m_OutlookImages; }

    // The buttons the pane was built with, kept as copies. A later list that
    // differs from the kept one (count, or a pair that compares unequal)
    // becomes the kept one and the pane is put back to it.
    void SetInitialButtons(const CObList& lstButtons);
    BOOL CanBeRestored() const override { return !m_lstInitialButtons.IsEmpty(); }
    // Fresh copies of the kept buttons replace the pane's; FALSE when none were kept.
    BOOL RestoreInitialState();

    void ScrollUp();
    void ScrollDown();
    int GetFirstVisibleButton() const { return m_iFirstVisibleButton; }
    int GetScrollOffset() const { return m_nScrollOffset; }
    CQMXPButton& GetScrollUpButton() { return m_btnUp; }
    CQMXPButton& GetScrollDownButton() { return m_btnDown; }

    // Private timer ids: the popup menu bar's 1 and 2 and the mouse-leave tracking's 0xE000 stay free.
    static constexpr UINT_PTR kTimerScrollUp = 0xE002;
    static constexpr UINT_PTR kTimerScrollDown = 0xE003;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnSysColorChange();

    void RelayoutAndRedraw();
    void StopScrollTimers();
    // The scroll button (up, down) the screen point lies on; none elsewhere.
    CQMXPButton* ScrollButtonAt(CPoint ptScreen);

    // Copies of the buttons in the list (new objects of the same classes).
    static void CopyButtons(const CObList& lstFrom, CObList& lstTo);
    void ClearInitialButtons();

    CQMXPToolBarImages m_OutlookImages;
    CObList m_lstInitialButtons;
    UINT m_uiBackImageId;
    HBITMAP m_hbmpBack;
    CSize m_sizeBackImage;
    COLORREF m_clrBackColor;
    COLORREF m_clrTextColor;
    CQMXPButton m_btnUp;
    CQMXPButton m_btnDown;
    int m_nScrollOffset;
    int m_iFirstVisibleButton;
    BOOL m_bScrollDown;
    int m_nExtraSpace;
    BOOL m_bOwnColors;
    BOOL m_bFlatLook;
    // The scroll timer running while a scroll button is held; 0 when none.
    UINT_PTR m_uiScrollTimer;

    DECLARE_MESSAGE_MAP()
};
