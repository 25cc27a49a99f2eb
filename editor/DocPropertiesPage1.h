#pragma once
// CDocPropertiesPage1: the "General" page of the report properties: the
// report's descriptive texts and whether its images are stored inside its
// file or as links.
#include "controls/KWButtonControl.h"
#include "controls/KWEditControl.h"
#include "editor/DocProperties.h"

class CDocPropertiesPage1 : public CTalPropertiesPage {
public:
    CDocPropertiesPage1();

    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;
    BOOL OnApply() override;

protected:
    afx_msg void OnChanged();
    DECLARE_MESSAGE_MAP()

private:
    enum { kTitle, kSubject, kAuthor, kCompany, kDescription, kTextCount };

    CKWEditControl m_edits[kTextCount];
    CKWButtonControl m_imagesInside;
    CKWButtonControl m_imageLinks;
    CString m_texts[kTextCount];
    bool m_insideChecked = false;
    bool m_linksChecked = false;
};
