#include "appwindows/KWDialog.h"

#include "platform/classlib/WndMessages.h"

IMPLEMENT_DYNAMIC(CKWDialog, CDialog)

BEGIN_MESSAGE_MAP(CKWDialog, CDialog)
    ON_WM_HELPINFO()
    ON_REGISTERED_MESSAGE(g_msgShowContextHelp, OnShowContextHelpMessage)
    ON_WM_RBUTTONUP()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CKWDialog::CKWDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) {}

BOOL CKWDialog::OnInitDialog()
{
    return CDialog::OnInitDialog() != FALSE;
}

bool CKWDialog::OnRButtonUpHook(CPoint)
{
    return false;
}

bool CKWDialog::OnLButtonDownHook(CPoint)
{
    return false;
}

bool CKWDialog::OnLButtonDblClkHook(CPoint)
{
    return false;
}

HWND CKWDialog::GetItemWindow(int nID) const
{
    return m_hWnd ? ::GetDlgItem(m_hWnd, nID) : nullptr;
}

BOOL CKWDialog::OnHelpInfo(HELPINFO*)
{
    ShowContextHelp();
    return TRUE;
}

LRESULT CKWDialog::OnShowContextHelpMessage(WPARAM, LPARAM)
{
    ShowContextHelp();
    return 1;
}

BOOL CKWDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == KWGetHelpCommandId()) {
        ShowContextHelp();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CKWDialog::OnRButtonUp(UINT nFlags, CPoint point)
{
    if (!OnRButtonUpHook(point))
        CDialog::OnRButtonUp(nFlags, point);
}

void CKWDialog::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!OnLButtonDownHook(point))
        CDialog::OnLButtonDown(nFlags, point);
}

void CKWDialog::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (!OnLButtonDblClkHook(point))
        CDialog::OnLButtonDblClk(nFlags, point);
}
