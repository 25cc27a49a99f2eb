#pragma once
// CTalTemplatesWnd: the page-template pane of a report window: the page
// templates as thumbnails, with the one the current section uses selected,
// and the box "Use Native Template" that switches the section between its
// own template and its parent's. Choosing a thumbnail gives the current
// section that template as one step of the report's history.
//
// The thumbnails are those of the thumbnail list facade (128 x 128 cells),
// filled at once from the thumbnail cache; each item's data names its
// preview picture and the template it shows.
#include "controls/KWButtonControl.h"
#include "controls/KWListImagesView.h"
#include "editor/TalPaneWnd.h"

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

    // The thumbnail list over the dialog's list and the check box's facade.
    void InitControls() override;
    void TakeFocus() override;

    // One thumbnail per page template of the template manager, in its
    // order; each item holds its template.
    void LoadTemplates();
    // The box and the selection as the section has them.
    void UpdateForSection(CTalSection* section);
    int GetSelectedIndex() const { return m_selected; }
    // The template an item shows; null for no item.
    const CTalTemplate* TemplateOfItem(int item);
    // The item showing the template; -1 when the list has none.
    int FindTemplateItem(const CTalTemplate* tmpl);
    HWND GetList() const { return GetItemHwnd(kListId); }
    CKWListImagesView& GetThumbnails() { return m_list; }

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnOwnTemplate();
    DECLARE_MESSAGE_MAP()

private:
    CTalDocument* m_document;
    CKWListImagesView m_list;
    CKWButtonControl m_ownTemplate;
    int m_selected = -1;
};
