#pragma once
// CColorDialog: the system's colour chooser (ChooseColor) started with a
// colour; DoModal answers IDOK or IDCANCEL and GetColor the colour chosen.
// The sixteen custom colours are shared by every dialog of the process.
#include "platform/classlib/Wnd.h"

#include <commdlg.h>

class CColorDialog {
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);

    virtual ~CColorDialog() = default;
    virtual INT_PTR DoModal();
    COLORREF GetColor() const { return m_cc.rgbResult; }
    static COLORREF* GetSavedCustomColors();

    CHOOSECOLORW m_cc;
};
