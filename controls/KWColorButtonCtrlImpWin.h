#pragma once
// The colour button kind: an owner-drawn dialog button that shows a colour
// swatch. The implementation takes over (subclasses) the dialog's button at
// once and lets it go again when destroyed; it never makes a window.
#include "controls/KWButtonCtrlImpWin.h"
#include "platform/classlib/Button.h"

class CKWColorButtonCtrlImp : public CKWButtonCtrlImp {
public:
    // Kept for the next drawing; the button is not redrawn.
    virtual void SetColor(COLORREF colour) = 0;
    virtual COLORREF GetColor() = 0;
};

// The button window: the swatch in a 3D frame, grey with a light outline
// while disabled, the frame sunk while pressed.
class CKWColorButtonCtrlWnd : public CButton {
public:
    COLORREF m_colour = 0;

    void DrawItem(LPDRAWITEMSTRUCT item) override;
};

class CKWColorButtonCtrlImpWin : public CKWCtrlImpWin, public CKWColorButtonCtrlImp {
public:
    // Subclasses the dialog item of the window's id in its parent.
    explicit CKWColorButtonCtrlImpWin(HWND hWnd);
    // Restores the button's window procedure; the button stays.
    ~CKWColorButtonCtrlImpWin() override;

    // Bound to a dialog button only: false, no window.
    bool Create(DWORD, DWORD, const RECT&, CWnd*, UINT) override { return false; }

    LRESULT SetCheck(int value) override;
    LRESULT GetCheck() override;
    void SetColor(COLORREF colour) override { m_wnd.m_colour = colour; }
    COLORREF GetColor() override { return m_wnd.m_colour; }

private:
    CKWColorButtonCtrlWnd m_wnd;
};
