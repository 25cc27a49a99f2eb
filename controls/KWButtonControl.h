#pragma once
// The button facades: a push button, check box or radio button of a dialog,
// and the colour button that shows a colour swatch.
#include "controls/KWControl.h"

class CKWButtonControl : public CKWControl {
public:
    // A button implementation over the dialog's button.
    void CreateImp(HWND hWnd) override;

    // The pressed state of a push button, else the check; 0 without an implementation.
    LRESULT SetCheck(int value);
    LRESULT GetCheck();
};

class CKWColorButtonControl : public CKWButtonControl {
public:
    // A colour button over the dialog's owner-drawn button.
    void CreateImp(HWND hWnd) override;

    // Shown at the next drawing.
    void SetColor(COLORREF colour);
    // 0 without an implementation.
    COLORREF GetColor();
};
