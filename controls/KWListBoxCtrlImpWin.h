#pragma once
// The list box kind over a dialog's list box. Each operation is one list-box
// message; without a window it answers as noted and sends nothing.
#include "controls/KWCtrlImpWin.h"

class CKWListBoxCtrlImp : public virtual CKWCtrlImp {
public:
    virtual int GetCount() = 0;  // 0 without a window
    virtual int ResetContent() = 0;  // 0 without a window
    // The item's text; an index out of the items leaves the text as it was.
    virtual void GetText(int index, CString& text) = 0;
    // The rest answer -1 without a window.
    virtual int GetTextLen(int index) = 0;
    virtual int AddString(const wchar_t* text) = 0;
    virtual int InsertString(int index, const wchar_t* text) = 0;
    virtual int DeleteString(int index) = 0;
    virtual int FindString(int start, const wchar_t* text) = 0;
    virtual int FindStringExact(int start, const wchar_t* text) = 0;
    virtual int SelectString(int start, const wchar_t* text) = 0;
    virtual int GetSelCount() = 0;
    virtual int GetSel(int index) = 0;
    virtual int SetSel(int index, bool select) = 0;
    virtual int GetCurSel() = 0;
    virtual int SetCurSel(int index) = 0;
};

class CKWListBoxCtrlImpWin : public CKWCtrlImpWin, public CKWListBoxCtrlImp {
public:
    explicit CKWListBoxCtrlImpWin(HWND hWnd = nullptr) : CKWCtrlImpWin(hWnd) {}

    // Bound to an existing list box only.
    bool Create(DWORD, DWORD, const RECT&, CWnd*, UINT) override { return false; }

    int GetCount() override;
    int ResetContent() override;
    void GetText(int index, CString& text) override;
    int GetTextLen(int index) override;
    int AddString(const wchar_t* text) override;
    int InsertString(int index, const wchar_t* text) override;
    int DeleteString(int index) override;
    int FindString(int start, const wchar_t* text) override;
    int FindStringExact(int start, const wchar_t* text) override;
    int SelectString(int start, const wchar_t* text) override;
    int GetSelCount() override;
    int GetSel(int index) override;
    int SetSel(int index, bool select) override;
    int GetCurSel() override;
    int SetCurSel(int index) override;

private:
    // The message's result; the given answer without a window.
    int Send(UINT message, WPARAM wParam, LPARAM lParam, int without = -1);
};

// Reads an item text of a list through the length and text messages: the
// text is cut at its first terminating zero. False (text untouched) when the
// length message fails.
bool KWReadItemText(HWND hWnd, UINT lengthMessage, UINT textMessage, int index, CString& text, LRESULT* copied);
