#pragma once
// CQMXPToolbarSystemMenuButton: the first item of the menu bar while an MDI
// child is maximised: the child's icon, opening the child's system menu;
// a double click closes the child.
#include "docking/toolbars/QMXPToolbarMenuButton.h"

class CQMXPToolbarSystemMenuButton : public CQMXPToolbarMenuButton {
    DECLARE_SERIAL(CQMXPToolbarSystemMenuButton)
public:
    CQMXPToolbarSystemMenuButton();
    // Neither the menu nor the icon is owned.
    CQMXPToolbarSystemMenuButton(HMENU hSystemMenu, HICON hSystemIcon);
    ~CQMXPToolbarSystemMenuButton() override;

    void AssignFrom(const CQMXPToolbarButton& src) override;
    // The icon at the left, SM_CXMENUSIZE x SM_CYMENUSIZE; nothing without one.
    void OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages, BOOL bHorz = TRUE,
                BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
                BOOL bGrayDisabledButtons = TRUE) override;
    SIZE OnCalcSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
    // Closes the child unless its Close item is greyed.
    BOOL OnDblClick(CWnd* pWnd) override;
    void OnCancelMode() override;
    void BuildFromMenuHandle(HMENU hMenu) override;
    // The sub-items' menu with the states of the system menu.
    HMENU CreateMenuHandle() const override;
    BOOL CanBeStored() const override { return FALSE; }

    HICON m_hSysMenuIcon;
    HMENU m_hSystemMenu;
};
