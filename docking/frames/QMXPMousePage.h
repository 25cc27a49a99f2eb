#pragma once
// CQMXPMousePage: the "Mouse" page of the customisation sheet: the views
// the program declared to the mouse manager, in name order, and for the
// chosen view whether a double click does nothing or runs a command picked
// from all commands. Each choice reaches the mouse manager at once.
#include "platform/classlib/ImageList.h"
#include "platform/classlib/ListBox.h"
#include "platform/classlib/ListCtrl.h"
#include "platform/classlib/PropertyPage.h"

class CQMXPMousePage : public CPropertyPage {
    DECLARE_DYNAMIC(CQMXPMousePage)
public:
    enum { IDD = 16135 };
    CQMXPMousePage();

    int m_iCurrViewId;
    CImageList m_ViewsImages;
    CListCtrl m_wndListOfViews;
    CListBox m_wndListOfCommands;
    CString m_strCommandDescription;

protected:
    BOOL OnInitDialog() override;
    // The command's line selected and scrolled to the top, its description
    // shown; FALSE when no line has the command.
    BOOL SelectCommand(UINT uiCmd);
    // The commands list and description on or off; off clears both.
    void EnableCommands(BOOL bEnable);
    void SetDescription(UINT uiCmd);
    afx_msg void OnItemChangedListOfViews(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSelchangeListOfCommands();
    afx_msg void OnNoDblClick();
    afx_msg void OnUseDblClick();

    DECLARE_MESSAGE_MAP()
};
