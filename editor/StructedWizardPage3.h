#pragma once
// CStructedWizardPage3, "Section Properties": the sections' images. The user
// picks a section in the tree and adds image files to it, removes them and
// edits their titles; every change goes straight into the wizard document.
#include "controls/KWButtonControl.h"
#include "controls/KWImageControl.h"
#include "controls/KWListImagesView.h"
#include "controls/KWTreeControl.h"
#include "controls/ThemeHelperST.h"
#include "controls/XPStyleButtonST.h"
#include "framework/KWRefPtr.h"
#include "appwindows/KWPropertyPage.h"
#include "model/TalSection.h"

#include <cstdint>
#include <map>
#include <vector>

class CStructedWizard;

class CStructedWizardPage3 : public CKWPropertyPage {
public:
    CStructedWizardPage3();
    ~CStructedWizardPage3() override;

    BOOL OnInitDialog() override;
    // The section's pictures as thumbnails.
    CKWListImagesView& GetImageList() { return m_images; }
    BOOL OnSetActive() override;
    LRESULT OnWizardBack() override;
    BOOL OnWizardFinish() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // The section's pictures from these files, titled by their file names.
    void AddImages(const std::vector<CString>& paths);
    // The selected pictures of the section out.
    void RemoveSelectedImages();

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg void OnAddImages();
    afx_msg void OnRemoveImages();
    DECLARE_MESSAGE_MAP()

private:
    CStructedWizard* Sheet() const;
    CTalSection* SectionOf(HTREEITEM item) const;
    void InsertSubtree(CTalSection* section, HTREEITEM parent);
    void ShowImages();
    void UpdateRemoveButton();

    CKWTreeControl m_tree;
    CKWListImagesView m_images;
    CKWImageControl m_picture;
    CThemeHelperST m_theme;
    CXPStyleButtonST m_addButton;
    CXPStyleButtonST m_removeButton;
    CKWButtonControl m_addFacade;
    CKWButtonControl m_removeFacade;
    std::map<HTREEITEM, CKWRefPtr<CTalSection>> m_sections;
    std::map<HTREEITEM, std::vector<uint32_t>> m_pictureIds;
    std::map<uint32_t, CString> m_titles;
    HTREEITEM m_current = nullptr;
    CString m_lastFolder;
    bool m_notify = true;
};
