#include "docking/frames/QMXPPropertyPage.h"

IMPLEMENT_DYNCREATE(CQMXPPropertyPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CQMXPPropertyPage, CPropertyPage)
    ON_WM_ACTIVATE()
    ON_WM_NCACTIVATE()
END_MESSAGE_MAP()

BOOL CQMXPPropertyPage::PreTranslateMessage(MSG* pMsg) {
    return m_Impl.PreTranslateMessage(pMsg) || CPropertyPage::PreTranslateMessage(pMsg);
}

BOOL CQMXPPropertyPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    return m_Impl.OnCommand(wParam, lParam) || CPropertyPage::OnCommand(wParam, lParam);
}

void CQMXPPropertyPage::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    m_Impl.OnActivate(nState, pWndOther);
    CPropertyPage::OnActivate(nState, pWndOther, bMinimized);
}

BOOL CQMXPPropertyPage::OnNcActivate(BOOL bActive) {
    m_Impl.OnNcActivate(bActive);
    return static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, bActive, 0));
}
