#pragma once
// CDocPropertiesPage5: the "Page" page of the report properties: the paper
// (the printer's, a row of the paper-size table or a custom size) and its
// orientation, kept in step with the printer's orientation. While the user
// edits, it gives the sheet the page size in millimetres for the previews.
#include "controls/KWButtonControl.h"
#include "controls/KWComboBoxControl.h"
#include "controls/KWEditControl.h"
#include "editor/DocProperties.h"

class CDocPropertiesPage5 : public CTalPropertiesPage {
public:
    CDocPropertiesPage5();

    BOOL OnInitDialog() override;
    // Reads the page; a size that is not a positive number is refused (with
    // a message while the guard is on) and keeps the page.
    BOOL OnKillActive() override;
    BOOL OnApply() override;
    // The printer's orientation goes back to the document's.
    void OnCancel() override;
    // Only digits, "." and control characters reach the size edits.
    BOOL PreTranslateMessage(MSG* msg) override;

    // A size text as millimetres: a number, then optionally a unit after
    // blanks; inches when asked, or when the unit starts with exactly "in".
    // Not above 0 (or no number): 0 and false.
    static bool ParsePageLength(const CString& text, bool inches, bool customSize, double& millimetres);

protected:
    afx_msg void OnPrinterSize();
    afx_msg void OnPredefinedSize();
    afx_msg void OnCustomSize();
    afx_msg void OnSizeChosen();
    afx_msg void OnWidthChanged();
    afx_msg void OnHeightChanged();
    afx_msg void OnOrientation();
    afx_msg void OnPrintSetup();
    DECLARE_MESSAGE_MAP()

private:
    enum { kPrinter, kPredefined, kCustom, kPortrait, kLandscape, kRadioCount };

    void SwapEditTexts();
    // The printer defaults' orientation becomes portrait (1) or landscape (2);
    // nothing without printer defaults.
    static void SetPrinterOrientation(bool portrait);
    // 1 portrait, 2 landscape; 0 without printer defaults.
    static int GetPrinterOrientation();

    CKWButtonControl m_radios[kRadioCount];
    CKWEditControl m_width;
    CKWEditControl m_height;
    CKWComboBoxControl m_sizes;
    bool m_checked[kRadioCount] = {};
    int m_row = 0;
    CString m_widthText;
    CString m_heightText;
    // Off while the page rewrites its own edits.
    bool m_guard = true;
};
