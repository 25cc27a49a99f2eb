#pragma once
// CQMXPToolbarMenuButtonsButton: a minimise, restore or close button of a
// maximised MDI child at the menu bar's end; the visual manager draws it.
#include "docking/toolbars/QMXPToolbarButton.h"

class CQMXPToolbarMenuButtonsButton : public CQMXPToolbarButton {
    DECLARE_DYNCREATE(CQMXPToolbarMenuButtonsButton)
public:
    CQMXPToolbarMenuButtonsButton();
    explicit CQMXPToolbarMenuButtonsButton(UINT uiSysCmd);
    ~CQMXPToolbarMenuButtonsButton() override;

    void AssignFrom(const CQMXPToolbarButton& src) override;
    void OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages, BOOL bHorz = TRUE,
                BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
                BOOL bGrayDisabledButtons = TRUE) override;
    // SM_CXMENUSIZE x SM_CYMENUSIZE, whatever the bar.
    SIZE OnCalcSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
    BOOL CanBeStored() const override { return FALSE; }

    UINT m_uiSystemCommand;
};
