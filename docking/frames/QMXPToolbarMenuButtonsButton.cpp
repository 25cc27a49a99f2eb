#include "docking/frames/QMXPToolbarMenuButtonsButton.h"

#include "docking/toolbars/QMXPVisualManager.h"

IMPLEMENT_DYNCREATE(CQMXPToolbarMenuButtonsButton, CQMXPToolbarButton)

CQMXPToolbarMenuButtonsButton::CQMXPToolbarMenuButtonsButton() : m_uiSystemCommand(0) {}

CQMXPToolbarMenuButtonsButton::CQMXPToolbarMenuButtonsButton(UINT uiSysCmd) : m_uiSystemCommand(uiSysCmd) {}

CQMXPToolbarMenuButtonsButton::~CQMXPToolbarMenuButtonsButton() = default;

void CQMXPToolbarMenuButtonsButton::AssignFrom(const CQMXPToolbarButton& src) {
    CQMXPToolbarButton::AssignFrom(src);
    if (const auto* pSrc = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButtonsButton, const_cast<CQMXPToolbarButton*>(&src)))
        m_uiSystemCommand = pSrc->m_uiSystemCommand;
}

void CQMXPToolbarMenuButtonsButton::OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages*, BOOL, BOOL,
                                           BOOL bHighlight, BOOL, BOOL) {
    CQMXPVisualManager::GetInstance()->OnDrawMenuSystemButton(pDC, rect, m_uiSystemCommand, m_nStyle, bHighlight);
}

SIZE CQMXPToolbarMenuButtonsButton::OnCalcSize(CDC*, const CSize&, BOOL) {
    return CSize(::GetSystemMetrics(SM_CXMENUSIZE), ::GetSystemMetrics(SM_CYMENUSIZE));
}
