#include "appwindows/KWPropertySheet.h"

IMPLEMENT_DYNAMIC(CKWPropertySheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CKWPropertySheet, CPropertySheet)
    ON_REGISTERED_MESSAGE(g_msgShowContextHelp, OnShowContextHelpMessage)
END_MESSAGE_MAP()

CKWPropertySheet::CKWPropertySheet(LPCWSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
}

BOOL CKWPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == KWGetHelpCommandId()) {
        ShowContextHelp();
        return TRUE;
    }
    return CPropertySheet::OnCommand(wParam, lParam);
}

LRESULT CKWPropertySheet::OnShowContextHelpMessage(WPARAM, LPARAM)
{
    ShowContextHelp();
    return 1;
}
