#pragma once
// CStructedWizardPage2, "Structure of Report": the wizard document's tree of
// sections, edited directly in the model: sections added, removed, renamed
// and moved by eight buttons or their keys, and each section's comment (its
// text note) written as it is typed.
#include "controls/KWButtonControl.h"
#include "controls/KWImageControl.h"
#include "controls/KWTreeControl.h"
#include "controls/ThemeHelperST.h"
#include "controls/XPStyleButtonST.h"
#include "framework/KWRefPtr.h"
#include "appwindows/KWPropertyPage.h"
#include "model/TalSection.h"

#include <map>

class CStructedWizard;

class CStructedWizardPage2 : public CKWPropertyPage {
public:
    static constexpr int kButtonCount = 8;

    CStructedWizardPage2();
    ~CStructedWizardPage2() override;

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // The commands of the buttons and keys.
    void AddSection();
    void AddSubsection();
    void RemoveSection();
    void MoveSection(UINT command);
    void EditSectionName();

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg void OnButton(UINT id);
    afx_msg void OnCommentChanged();
    DECLARE_MESSAGE_MAP()

private:
    CStructedWizard* Sheet() const;
    CTalSection* SectionOf(HTREEITEM item) const;
    // The tree made anew from the heading section, the section's item selected
    // (the root's when it has none).
    void FillTree(CTalSection* show);
    HTREEITEM InsertSubtree(CTalSection* section, HTREEITEM parent);
    void SelectAndEdit(HTREEITEM item, CKWRefPtr<CTalSection> section);
    void UpdateButtons();
    void ShowComment();
    void EndLabelEdit();

    CKWTreeControl m_tree;
    CKWControl m_comment;
    CKWImageControl m_picture;
    CThemeHelperST m_theme;
    CXPStyleButtonST m_buttons[kButtonCount];
    CKWButtonControl m_buttonFacades[kButtonCount];
    std::map<HTREEITEM, HTREEITEM> m_parents;
    std::map<HTREEITEM, CKWRefPtr<CTalSection>> m_sections;
    HTREEITEM m_current = nullptr;
    bool m_editingLabel = false;
    bool m_notify = true;
    // The comment shown by the page itself is not an edit of the user's.
    bool m_fillingComment = false;
};
