#pragma once
// The edit kind: a platform edit box, with its selection and clipboard
// operations. CKWEditCtrlImp is an interface beside CKWCtrlImp: a kind that
// holds an edit part offers the same operations.
#include "controls/KWCtrlImpWin.h"

class CKWEditCtrlImp {
public:
    virtual ~CKWEditCtrlImp() = default;
    // True when the edit box took the state.
    virtual bool SetReadOnly(bool readOnly) = 0;
    virtual void SetModify(bool modified) = 0;
    virtual bool GetModify() = 0;
    virtual void SetSel(int start, int end) = 0;
    virtual void GetSel(int& start, int& end) = 0;
    virtual void LimitText(int count) = 0;
    virtual int GetLimitText() = 0;
    // False with an empty selection.
    virtual bool Cut() = 0;
    virtual bool Copy() = 0;
    // With an empty selection, the character after the caret.
    virtual bool Clear() = 0;
    // False unless text is on the clipboard.
    virtual bool Paste() = 0;
    virtual bool CanCut() = 0;
    virtual bool CanCopy() = 0;
    virtual bool CanClear() = 0;
    virtual bool CanPaste() = 0;
    // An option the platform edit box has no use for.
    virtual void SetEditOption(int option) = 0;
};

class CKWEditCtrlImpWin : public CKWCtrlImpWin, public CKWEditCtrlImp {
public:
    explicit CKWEditCtrlImpWin(HWND hWnd = nullptr) : CKWCtrlImpWin(hWnd) {}

    // An "Edit" window with the control id.
    bool Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) override;

    bool SetReadOnly(bool readOnly) override;
    void SetModify(bool modified) override;
    bool GetModify() override;
    void SetSel(int start, int end) override;
    void GetSel(int& start, int& end) override;
    void LimitText(int count) override;
    int GetLimitText() override;
    bool Cut() override;
    bool Copy() override;
    bool Clear() override;
    bool Paste() override;
    bool CanCut() override;
    bool CanCopy() override { return true; }
    bool CanClear() override;
    bool CanPaste() override;
    void SetEditOption(int) override {}

private:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    bool HasSelection();
};
