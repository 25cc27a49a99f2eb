#pragma once
// CDocPropertiesPage4: the "Generate Report" page of the report properties:
// what a generated report contains and the nine text styles of its
// generated texts (font, size, colour, bold, italic, underline, alignment).
#include "controls/KWButtonControl.h"
#include "controls/KWComboBoxControl.h"
#include "controls/KWFontComboBox.h"
#include "controls/KWFontLists.h"
#include "controls/KWListBoxControl.h"
#include "editor/DocProperties.h"
#include "model/TalTextFormat.h"

class CDocPropertiesPage4 : public CTalPropertiesPage {
public:
    enum { kStyleCount = 9 };

    CDocPropertiesPage4();
    ~CDocPropertiesPage4() override;

    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;
    BOOL OnApply() override;
    // Only digits (three at most) and control characters reach the size box.
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    afx_msg void OnOptionClicked();
    afx_msg void OnUseStyles();
    afx_msg void OnStyleBits();
    afx_msg void OnColor();
    afx_msg void OnStyleChosen();
    afx_msg void OnFontOrTypedSize();
    afx_msg void OnSizeChosen();
    DECLARE_MESSAGE_MAP()

private:
    // The flags in the order of their boxes: title page, contents,
    // numbering, grey-scale, descriptions, watermarks, text styles, bold,
    // italic, underline, left, centre, right.
    enum { kFlagCount = 13, kOptionCount = 7 };

    void ShowStyle();
    void EnableStyleControls();
    CTalTextFormat* SelectedStyle();

    CKWButtonControl m_boxes[kFlagCount];
    CKWListBoxControl m_styles;
    // The owner-drawn font names over the dialog's box, filled from the
    // page's own picker data.
    CKWFontNameComboBox m_font;
    FCOMMBO_DATA_ARRAY m_fontEntries;
    CKWComboBoxControl m_size;
    CKWColorButtonControl m_color;
    bool m_flags[kFlagCount] = {};
    CTalTextFormat m_formats[kStyleCount];
    // Off while a style is being shown.
    bool m_guard = true;
};
