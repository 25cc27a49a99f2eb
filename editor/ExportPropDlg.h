#pragma once
// CExportPropDlg: the "Report Properties" dialog shown before a report is
// generated. It edits the report's main export options in place and whether
// it is to be shown again (the preference "ShowExpDlg"); after OK the caller
// reads whether an option, and whether the grey-scale default, changed.
#include "controls/KWButtonControl.h"
#include "appwindows/KWDialog.h"

#include <cstdint>

class CTalDocProperties;

class CExportPropDlg : public CKWDialog {
public:
    // The properties stay the caller's.
    explicit CExportPropDlg(CTalDocProperties* properties, CWnd* pParentWnd = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;

    bool OptionsChanged() const { return m_changed != 0; }
    bool GrayscaleChanged() const { return m_grayscaleChanged != 0; }

private:
    // The check boxes of the report's options, in the order OnOK takes them.
    static constexpr int kOptionCount = 6;

    uint8_t* OptionField(int index) const;

    CTalDocProperties* m_properties;
    CKWButtonControl m_options[kOptionCount];
    CKWButtonControl m_showAgain;
    uint8_t m_changed = 0;
    uint8_t m_grayscaleChanged = 0;
};
