#pragma once
// The spin button kind: the platform's up-down control, with 32-bit
// positions. It makes its own window.
#include "controls/KWCtrlImpWin.h"

class CKWSpinButtonCtrlImp : public virtual CKWCtrlImp {
public:
    // -1 without a window.
    virtual int GetPos() = 0;
    virtual void GetRange(int& lower, int& upper) = 0;
    // The previous position; -1 without a window.
    virtual int SetPos(int position) = 0;
    virtual void SetRange(int lower, int upper) = 0;
};

class CKWSpinButtonCtrlImpWin : public CKWCtrlImpWin, public CKWSpinButtonCtrlImp {
public:
    explicit CKWSpinButtonCtrlImpWin(HWND hWnd = nullptr) : CKWCtrlImpWin(hWnd) {}

    // An "msctls_updown32" window with the control id.
    bool Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) override;

    int GetPos() override;
    void GetRange(int& lower, int& upper) override;
    int SetPos(int position) override;
    void SetRange(int lower, int upper) override;
    // The other control's window becomes the buddy; nothing unless both have windows.
    void SetBuddy(CKWCtrlImp* buddy);
};
