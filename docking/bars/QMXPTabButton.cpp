#include "docking/bars/QMXPTabButton.h"

#include "docking/bars/QMXPBaseTabWnd.h"
#include "docking/toolbars/QMXPVisualManager.h"

IMPLEMENT_DYNAMIC(CQMXTabButton, CQMXPButton)

void CQMXTabButton::OnFillBackground(CDC* pDC, const CRect& rectClient) {
    CQMXPVisualManager::GetInstance()->OnFillTab(pDC, rectClient, this,
                                                 DYNAMIC_DOWNCAST(CQMXPBaseTabWnd, GetParent()));
}

void CQMXTabButton::OnDrawBorder(CDC* pDC, CRect& rectClient, UINT uiState) {
    CQMXPVisualManager::GetInstance()->OnDrawTabButtonBorder(pDC, rectClient, this, static_cast<int>(uiState),
                                                             DYNAMIC_DOWNCAST(CQMXPBaseTabWnd, GetParent()));
}
