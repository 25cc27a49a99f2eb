#pragma once
// CQMXPOutlookWnd: the tab window of an outlook bar. Its pages are stacked
// as full-width page buttons: the active page's button and those above it
// at the top, the buttons of the pages below it at the bottom, the active
// page's window between them.
#include "docking/bars/QMXPBaseTabWnd.h"
#include "docking/toolbars/QMXPButton.h"

class CQMXPOutlookWnd : public CQMXPBaseTabWnd {
    DECLARE_DYNCREATE(CQMXPOutlookWnd)
public:
    CQMXPOutlookWnd();
    ~CQMXPOutlookWnd() override;

    virtual BOOL Create(const CRect& rect, CWnd* pParentWnd, UINT nID);

    // In screen coordinates: the point on a page button.
    BOOL IsPtInTabArea(CPoint point) const override;
    // The page buttons above the window area and those below it (screen).
    void GetTabArea(CRect& rectTabAreaTop, CRect& rectTabAreaBottom) const override;
    void RecalcLayout() override;
    void EnableInPlaceEdit(BOOL bEnable) override { m_bIsInPlaceEdit = bEnable; }
    void AdjustEditRect(CRect& rect) const override { rect.DeflateRect(1, 1); }
    BOOL SetActiveTab(int iTab) override;
    // The parent when the point is on no page button.
    CWnd* IsPtInTabsAreaGap(CPoint point) override;
    // -1: the pressed page.
    int GetTabIndex(int iTab) const override { return iTab == -1 ? m_iPressed : iTab; }
    DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;

    void SetBorderSize(int nBorderSize) { m_nBorderSize = nBorderSize; }
    int GetBorderSize() const { return m_nBorderSize; }
    void EnableScrollButtons(BOOL bEnable = TRUE) { m_bScrollButtons = bEnable; }
    CRect GetWndArea() const { return m_rectWndArea; }
    CQMXPButton& GetScrollUpButton() { return m_btnUp; }
    CQMXPButton& GetScrollDownButton() { return m_btnDown; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    BOOL PageButtonsHidden() const { return GetVisibleTabsNum() < 2 && IsHideSingleTab(); }
    void DrawPageButton(CDC* pDC, int iTab);

    CRect m_rectWndArea;
    int m_nBorderSize;
    BOOL m_bScrollButtons;
    CQMXPButton m_btnUp;
    CQMXPButton m_btnDown;

    DECLARE_MESSAGE_MAP()
};
