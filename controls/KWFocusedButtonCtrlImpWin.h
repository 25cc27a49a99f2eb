#pragma once
// The focused bitmap button kind: a dialog button shown by bitmaps that
// takes the keyboard focus as soon as the mouse moves over it. Bound to an
// existing button only (subclassed at once, let go when destroyed).
#include "controls/KWCtrlImpWin.h"
#include "platform/classlib/Button.h"

class CKWFocusedButtonCtrlImp : public virtual CKWCtrlImp {
public:
    // Loads the bitmaps (no disabled one) and sizes the button to them.
    virtual void SetBitmaps(UINT normalId, UINT focusId, UINT selectedId) = 0;
};

class CFBitmapButton : public CBitmapButton {
protected:
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()
};

class CKWFocusedButtonCtrlImpWin : public CKWCtrlImpWin, public CKWFocusedButtonCtrlImp {
public:
    explicit CKWFocusedButtonCtrlImpWin(HWND hWnd);
    ~CKWFocusedButtonCtrlImpWin() override;

    bool Create(DWORD, DWORD, const RECT&, CWnd*, UINT) override { return false; }
    void SetBitmaps(UINT normalId, UINT focusId, UINT selectedId) override;

private:
    CFBitmapButton m_wnd;
};
