#pragma once
// CTextProperties: the modal sheet "Text Properties..." for the selected
// text of a note: page 1 "Font" (face, size, colour, bold, italic,
// underline), page 2 "Paragraph" (alignment and three indents). The pages
// edit two plain records of the caller's; each field has a changed flag, so
// that the caller applies only what the user touched.
#include "controls/KWButtonControl.h"
#include "controls/KWComboBoxControl.h"
#include "controls/KWEditControl.h"
#include "controls/KWFontComboBox.h"
#include "controls/KWFontLists.h"
#include "appwindows/KWPropertyPage.h"
#include "appwindows/KWPropertySheet.h"

#include <cstdint>

struct CTextFontRecord {
    COLORREF color = 0;
    CString face;
    int32_t size = 0;  // points
    uint8_t bold = 0;
    uint8_t italic = 0;
    uint8_t underline = 0;
    uint8_t colorChanged = 0;
    uint8_t faceChanged = 0;
    uint8_t sizeChanged = 0;
    uint8_t boldChanged = 0;
    uint8_t italicChanged = 0;
    uint8_t underlineChanged = 0;
};

struct CTextParagraphRecord {
    uint8_t alignment = 0;  // 0 left, 1 centre, 2 right
    // Tenths of a millimetre.
    double firstLine = 0.0;
    double left = 0.0;
    double right = 0.0;
    uint8_t alignmentChanged = 0;
    uint8_t firstLineChanged = 0;
    uint8_t leftChanged = 0;
    uint8_t rightChanged = 0;
};

class CTextPropertiesPage1 : public CKWPropertyPage {
public:
    explicit CTextPropertiesPage1(CTextFontRecord* record);
    ~CTextPropertiesPage1() override;

    BOOL OnInitDialog() override;
    // Takes face, size and styles into the record; always succeeds.
    BOOL OnKillActive() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnFaceChanged();
    afx_msg void OnSizeChanged();
    afx_msg void OnBoldClicked();
    afx_msg void OnItalicClicked();
    afx_msg void OnUnderlineClicked();
    afx_msg void OnColorClicked();
    DECLARE_MESSAGE_MAP()

private:
    void MarkChanged(uint8_t& flag);

    CTextFontRecord* m_record;
    FCOMMBO_DATA_ARRAY m_fonts;
    CKWFontNameComboBox* m_fontBox;
    CKWComboBoxControl m_size;
    CKWColorButtonControl m_color;
    CKWButtonControl m_bold;
    CKWButtonControl m_italic;
    CKWButtonControl m_underline;
    bool m_initialised = false;
};

class CTextPropertiesPage2 : public CKWPropertyPage {
public:
    explicit CTextPropertiesPage2(CTextParagraphRecord* record);

    BOOL OnInitDialog() override;
    // Takes the alignment and the indents; a field that is no number shows
    // its old value again, has the focus and keeps the page (after a message).
    BOOL OnKillActive() override;

protected:
    afx_msg void OnAlignmentClicked(UINT id);
    afx_msg void OnFirstLineChanged();
    afx_msg void OnLeftChanged();
    afx_msg void OnRightChanged();
    DECLARE_MESSAGE_MAP()

private:
    void MarkChanged(uint8_t& flag);

    CTextParagraphRecord* m_record;
    CKWButtonControl m_alignments[3];
    CKWEditControl m_indents[3];
    bool m_initialised = false;
};

class CTextProperties : public CKWPropertySheet {
public:
    CTextProperties(CTextFontRecord* font, CTextParagraphRecord* paragraph, LPCWSTR caption, CWnd* parent,
                    UINT selectPage = 0);
    ~CTextProperties() override;

private:
    CTextPropertiesPage1* m_page1;
    CTextPropertiesPage2* m_page2;
};
