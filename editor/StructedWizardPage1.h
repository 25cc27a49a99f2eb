#pragma once
// CStructedWizardPage1, "Choose Template": the user's list of report
// templates (kept in the preferences), the report's title, author and
// company, and whether the wizard opens at start. Next loads the chosen
// template into the wizard document.
#include "controls/KWButtonControl.h"
#include "controls/KWImageControl.h"
#include "controls/KWListBoxControl.h"
#include "appwindows/KWPropertyPage.h"

#include <vector>

class CStructedWizard;

class CStructedWizardPage1 : public CKWPropertyPage {
public:
    CStructedWizardPage1();
    ~CStructedWizardPage1() override;

    // A template's line in the list: inside the templates folder (given
    // lower-cased, with its final backslash) the lower-cased path without the
    // folder, else the path as stored.
    static CString EntryText(const CString& folderLower, const CString& path);

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    LRESULT OnWizardNext() override;

protected:
    afx_msg void OnAddTemplate();
    afx_msg void OnRemoveTemplate();
    afx_msg void OnGeneralInfoChanged();
    DECLARE_MESSAGE_MAP()

private:
    CStructedWizard* Sheet() const;
    void SetStartUpModeFromBox();
    void UpdateRemoveButton();
    // Loads the template into a fresh wizard document; false (the page
    // stays) when it did not load.
    bool LoadTemplate(const CString& resolved);

    CKWListBoxControl m_list;
    CKWControl m_author;
    CKWControl m_title;
    CKWControl m_company;
    CKWControl m_removeButton;
    CKWButtonControl m_showAtStart;
    CKWImageControl m_picture;
    std::vector<CString> m_templates;
    CString m_folderLower;
    // While the page fills its own boxes their change notices are not the user's.
    bool m_filling = false;
};
