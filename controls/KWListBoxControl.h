#pragma once
// The list box facade over a dialog's list box. Without an implementation
// every operation answers 0.
#include "controls/KWControl.h"

class CKWListBoxControl : public CKWControl {
public:
    // A list box implementation over the dialog's list box.
    void CreateImp(HWND hWnd) override;

    int GetCount();
    int ResetContent();
    int AddString(const wchar_t* text);
    int DeleteString(int index);
    int GetCurSel();
    int SetCurSel(int index);
};
