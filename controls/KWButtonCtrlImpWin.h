#pragma once
// The button kind of the controls: the check state of a push button, check
// box or radio button bound to a dialog item. A push button's "check" is its
// pressed state; the other types carry a check mark.
#include "controls/KWCtrlImpWin.h"

class CKWButtonCtrlImp : public virtual CKWCtrlImp {
public:
    // The message's result; nothing without a window.
    virtual LRESULT SetCheck(int value) = 0;
    virtual LRESULT GetCheck() = 0;
};

class CKWButtonCtrlImpWin : public CKWCtrlImpWin, public CKWButtonCtrlImp {
public:
    explicit CKWButtonCtrlImpWin(HWND hWnd = nullptr) : CKWCtrlImpWin(hWnd) {}

    LRESULT SetCheck(int value) override;
    LRESULT GetCheck() override;
};

// BM_SETSTATE for the push-button types (0, 1 and 8), BM_SETCHECK for the
// others; 0 without a window.
LRESULT KWSetButtonCheck(HWND hWnd, int value);
// BM_GETSTATE or BM_GETCHECK by the same test.
LRESULT KWGetButtonCheck(HWND hWnd);
