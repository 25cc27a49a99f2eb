#pragma once
// CKWPropertySheet: the base of the program's property sheets, with context
// help on the registered message "show_ContextHelp" and on the command whose
// id is that message's low word.
#include "appwindows/KWHelpShow.h"
#include "platform/classlib/PropertySheet.h"

class CKWPropertySheet : public CPropertySheet, public CKWHelpShow {
    DECLARE_DYNAMIC(CKWPropertySheet)
public:
    CKWPropertySheet(LPCWSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg LRESULT OnShowContextHelpMessage(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
