#pragma once
// CTalTemplatesWnd: the page-template pane of a report window: the page
// templates as thumbnails, with the one the current section uses selected,
// and the box "Use Native Template" that switches the section between its
// own template and its parent's. Choosing a thumbnail gives the current
// section that template as one step of the report's history.
//
// The thumbnails are shown by a list view in icon mode with an image list of
// its own (128 x 128 cells), filled at once from the thumbnail cache.
#include "controls/KWButtonControl.h"
#include "editor/TalPaneWnd.h"

#include <commctrl.h>

class CTalDocument;
class CTalSection;
class CTalTemplate;

class CTalTemplatesWnd : public CTalPaneWnd {
public:
    enum : UINT { kLabelId = 1142, kListId = 1135, kOwnTemplateId = 1136 };
    static constexpr int kThumbnailSize = 128;
    // Under this height the label hides and the box goes to the top.
    static constexpr int kFullHeight = 40;

    explicit CTalTemplatesWnd(CTalDocument* document = nullptr);
    ~CTalTemplatesWnd() override;

    // The list's image list and the check box's facade.
    void InitControls() override;
    void TakeFocus() override;

    // One thumbnail per page template of the template manager, in its
    // order; each item holds its template.
    void LoadTemplates();
    // The box and the selection as the section has them.
    void UpdateForSection(CTalSection* section);
    int GetSelectedIndex() const { return m_selected; }
    // The template an item shows; null for no item.
    const CTalTemplate* TemplateOfItem(int item) const;
    // The item showing the template; -1 when the list has none.
    int FindTemplateItem(const CTalTemplate* tmpl) const;
    HWND GetList() const { return GetItemHwnd(kListId); }

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnOwnTemplate();
    DECLARE_MESSAGE_MAP()

private:
    CTalDocument* m_document;
    CKWButtonControl m_ownTemplate;
    HIMAGELIST m_images = nullptr;
    int m_selected = -1;
};
