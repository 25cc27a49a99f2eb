#pragma once
// The combo box facade: a drop-down list combo box of a dialog, or one it
// makes in a container of its own. The facade is the combo box's owner: the
// keys typed into a combo box it made reach OnComboBoxKey first.
#include "controls/KWComboBoxCtrlImpWin.h"
#include "controls/KWControl.h"

class CKWComboBoxControl : public CKWControl, public CKWComboBoxOwner {
public:
    // A combo box implementation over the dialog's combo box.
    void CreateImp(HWND hWnd) override;
    // A combo box implementation with its own windows; false (and nothing
    // made) when the facade has an implementation already.
    bool Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) override;

    // Not consumed here: the combo box handles the key.
    bool OnComboBoxKey(UINT) override { return false; }

    // 0 without an implementation.
    int SetCurSel(int index);
    int GetCurSel();
    int AddString(const wchar_t* text);
    int FindStringExact(int start, const wchar_t* text);
    int GetLBText(int index, CString& text);
    // The first item equal to the text (with regard to case) is selected and
    // its index returned; -1, the selection kept, when none is.
    int FindString(const wchar_t* text);
};
