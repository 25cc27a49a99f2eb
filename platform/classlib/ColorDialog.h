#pragma once
// CColorDialog: the common colour dialog over CHOOSECOLOR, with the sixteen
// custom colours kept for the whole run.
#include "platform/classlib/Dialog.h"

#include <commdlg.h>

class CColorDialog : public CDialog {
    DECLARE_DYNAMIC(CColorDialog)
public:
    // The dialog opens on the initial colour.
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);

    CHOOSECOLORW m_cc;

    // IDOK or IDCANCEL (also on failure).
    INT_PTR DoModal() override;
    COLORREF GetColor() const { return m_cc.rgbResult; }
    static COLORREF* GetSavedCustomColors();
};
