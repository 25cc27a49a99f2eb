#pragma once
// CQMXPShowAllButton: the last item of a short menu (one that shows only
// the recently used commands): a double down-arrow that expands the menu
// to all its items, by a click, by the keyboard or after a hover.
#include "docking/toolbars/QMXPToolbarMenuButton.h"

class CQMXPShowAllButton : public CQMXPToolbarMenuButton {
    DECLARE_DYNCREATE(CQMXPShowAllButton)
public:
    CQMXPShowAllButton();
    ~CQMXPShowAllButton() override;

    void OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages, BOOL bHorz = TRUE,
                BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
                BOOL bGrayDisabledButtons = TRUE) override;
    // 50 wide, the glyph height + 6 high.
    SIZE OnCalcSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
    // Expands the popup at once, or after twice the menu delay.
    BOOL OnClick(CWnd* pWnd, BOOL bDelay = TRUE) override;
    // The tip "Expand (<Ctrl+Down>)".
    BOOL OnToolHitTest(const CWnd* pWnd, struct tagTOOLINFOW* pTI) override;
    BOOL OpenPopupMenu(CWnd* pWnd = nullptr) override;
    BOOL CanBeStored() const override { return TRUE; }
};
