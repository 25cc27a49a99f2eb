#pragma once
// CQMXPMenuButton: a library push button with an arrow that drops a popup
// menu and tells its parent the command chosen.
#include "docking/toolbars/QMXPButton.h"

class CQMXPMenuButton : public CQMXPButton {
    DECLARE_DYNCREATE(CQMXPMenuButton)
public:
    CQMXPMenuButton();
    ~CQMXPMenuButton() override;

    // The base size and the arrow's width.
    CSize SizeToContent(BOOL bCalcOnly = FALSE) override;

    BOOL m_bRightArrow;
    // Not owned.
    HMENU m_hMenu;
    // The command chosen in the last menu; 0 for none.
    int m_nMenuResult;
    BOOL m_bStayPressed;
    BOOL m_bOSMenu;

protected:
    // Shows the menu below the button (right of it with the right arrow).
    virtual void OnShowMenu();
    void OnDraw(CDC* pDC, const CRect& rect, UINT uiState) override;

    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnKillFocus(CWnd* pNewWnd);

    // The press ends without a click while the menu shows; FALSE otherwise.
    BOOL EndPressWhileMenuShows();

    BOOL m_bMenuIsActive;

    DECLARE_MESSAGE_MAP()
};
