#pragma once
// CDocPropertiesPage3: the "Watermarks" page of the report properties. It
// edits a working copy of the report's watermarks, each one through the
// watermark properties dialog, and previews the page with the selected one
// or with all of them; Apply replaces the document's list by the copy.
#include "controls/KWButtonControl.h"
#include "controls/KWImageControl.h"
#include "controls/KWListBoxControl.h"
#include "editor/DocProperties.h"

#include <memory>
#include <vector>

class CKWImageControlImp;
class CTalWatermark;
class IKWGraphics;

class CDocPropertiesPage3 : public CTalPropertiesPage {
public:
    CDocPropertiesPage3();
    ~CDocPropertiesPage3() override;

    BOOL OnInitDialog() override;
    BOOL OnKillActive() override { return TRUE; }
    BOOL OnApply() override;

    void DrawPreview(IKWGraphics* graphics, CKWImageControlImp* control);
    const std::vector<std::unique_ptr<CTalWatermark>>& GetWorkingList() const { return m_watermarks; }

protected:
    // The watermark dialog over the watermark; true on OK. A test answers it.
    virtual bool EditWatermark(CTalWatermark& watermark);
    // "Delete selected watermark?"; true on Yes. A test answers it.
    virtual bool ConfirmRemove();

    afx_msg void OnAdd();
    afx_msg void OnProperties();
    afx_msg void OnRemove();
    afx_msg void OnShowAll();
    afx_msg void OnSelectionChanged();
    DECLARE_MESSAGE_MAP()

private:
    void RefillList(int select);
    void EnableButtons();

    CKWListBoxControl m_list;
    CKWButtonControl m_showAll;
    CKWButtonControl m_properties;
    CKWButtonControl m_remove;
    CKWImageControl m_preview;
    std::vector<std::unique_ptr<CTalWatermark>> m_watermarks;
};
