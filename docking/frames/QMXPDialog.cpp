#include "docking/frames/QMXPDialog.h"

IMPLEMENT_DYNAMIC(CQMXPDialog, CDialog)

BEGIN_MESSAGE_MAP(CQMXPDialog, CDialog)
    ON_WM_ACTIVATE()
    ON_WM_NCACTIVATE()
END_MESSAGE_MAP()

BOOL CQMXPDialog::PreTranslateMessage(MSG* pMsg) {
    return m_Impl.PreTranslateMessage(pMsg) || CDialog::PreTranslateMessage(pMsg);
}

BOOL CQMXPDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    return m_Impl.OnCommand(wParam, lParam) || CDialog::OnCommand(wParam, lParam);
}

void CQMXPDialog::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    m_Impl.OnActivate(nState, pWndOther);
    CDialog::OnActivate(nState, pWndOther, bMinimized);
}

BOOL CQMXPDialog::OnNcActivate(BOOL bActive) {
    m_Impl.OnNcActivate(bActive);
    return static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, bActive, 0));
}
