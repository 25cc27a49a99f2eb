#pragma once
// CQMXPCustomizePage: the "Commands" page of the customisation sheet: the
// categories, and the commands of the chosen one as buttons that are
// dragged onto tool bars and menus, with the chosen command's description.
#include "docking/frames/ButtonsTextList.h"
#include "platform/classlib/PropertyPage.h"

class CQMXPToolbarButton;

class CQMXPCustomizePage : public CPropertyPage {
    DECLARE_DYNAMIC(CQMXPCustomizePage)
public:
    enum { IDD = 16104 };
    CQMXPCustomizePage();

    void SetAllCategory(LPCWSTR lpszCategory) { m_strAllCategory = lpszCategory; }
    // The description of the button (its status prompt, else its text).
    void OnChangeSelButton(CQMXPToolbarButton* pSelButton);

    CListBox m_wndCategory;
    CButtonsTextList m_wndTools;
    CString m_strButtonDescription;
    CQMXPToolbarButton* m_pSelButton;
    CString m_strDummy;
    CString m_strAllCategory;

protected:
    BOOL OnInitDialog() override;
    // The description shown as the members say.
    void ShowDescription();
    afx_msg void OnSelchangeCategory();
    afx_msg void OnSelchangeUserTools();

    DECLARE_MESSAGE_MAP()
};
