#pragma once
// The edit facade: an edit box of a dialog, or one it makes.
#include "controls/KWControl.h"

class CKWEditControl : public CKWControl {
public:
    // An edit implementation over the dialog's edit box.
    void CreateImp(HWND hWnd) override;
    // An edit implementation with its own edit box; false (and nothing made)
    // when the facade has an implementation already.
    bool Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) override;

    void SetSel(int start, int end);
    // The clipboard operations; false without an implementation.
    bool Cut();
    bool Copy();
    bool Clear();
    bool Paste();
    bool CanCut();
    bool CanCopy();
    bool CanClear();
    bool CanPaste();
    void SetEditOption(int option);
};
