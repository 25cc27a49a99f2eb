#pragma once
// CDocPropertiesPage2: the "Title page" page of the report properties:
// whether the title page shows a logo and the current date, the logo image
// with its preview, and the title-page template, chosen among thumbnails.
#include "controls/KWButtonControl.h"
#include "controls/KWImageControl.h"
#include "controls/KWListImagesView.h"
#include "editor/DocProperties.h"

class CKWImageControlImp;
class IKWGraphics;

class CDocPropertiesPage2 : public CTalPropertiesPage {
public:
    // Side of the templates' thumbnails.
    static constexpr int kThumbnailSide = 128;

    CDocPropertiesPage2();

    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;
    BOOL OnApply() override;

    void DrawPreview(IKWGraphics* graphics, CKWImageControlImp* control);
    const CString& GetLogoPath() const { return m_logoPath; }
    int GetTemplateIndex() const { return m_templateIndex; }
    CKWListImagesView& GetTemplateList() { return m_list; }

    // A template's label: its title, else its name up to the first "." (the
    // whole name when it has none).
    static CString TemplateLabel(const CString& title, const CString& name);

protected:
    // The picture-open dialog; a test answers it.
    virtual bool BrowseImage(CString& path);

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg void OnInsertLogo();
    afx_msg void OnInsertDate();
    afx_msg void OnBrowse();
    DECLARE_MESSAGE_MAP()

private:
    void FillTemplates();

    CKWButtonControl m_insertLogo;
    CKWButtonControl m_insertDate;
    CKWImageControl m_preview;
    // The title-page templates' thumbnails.
    CKWListImagesView m_list;
    bool m_logoChecked = false;
    bool m_dateChecked = false;
    CString m_logoPath;
    bool m_logoChanged = false;
    int m_templateIndex = 0;
};
