#pragma once
// CComboBox: a combo-box control.
#include "platform/classlib/Wnd.h"

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    CComboBox() = default;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
        return CWnd::Create(L"COMBOBOX", nullptr, dwStyle, rect, pParentWnd, nID);
    }

    int GetCount() const { return Send(CB_GETCOUNT); }
    int GetCurSel() const { return Send(CB_GETCURSEL); }
    int SetCurSel(int nSelect) { return Send(CB_SETCURSEL, static_cast<WPARAM>(nSelect)); }
    int GetLBTextLen(int nIndex) const { return Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex)); }
    // Empty when there is no such item.
    void GetLBText(int nIndex, CString& rString) const;
    DWORD_PTR GetItemData(int nIndex) const {
        return static_cast<DWORD_PTR>(::SendMessageW(m_hWnd, CB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0));
    }
    int SetItemData(int nIndex, DWORD_PTR dwItemData) {
        return Send(CB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData));
    }
    int AddString(LPCWSTR lpszString) { return Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszString)); }
    int InsertString(int nIndex, LPCWSTR lpszString) {
        return Send(CB_INSERTSTRING, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszString));
    }
    int DeleteString(UINT nIndex) { return Send(CB_DELETESTRING, nIndex); }
    void ResetContent() { Send(CB_RESETCONTENT); }
    int FindStringExact(int nIndexStart, LPCWSTR lpszFind) const {
        return Send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), reinterpret_cast<LPARAM>(lpszFind));
    }
    BOOL GetDroppedState() const { return Send(CB_GETDROPPEDSTATE) != 0; }
    void ShowDropDown(BOOL bShowIt = TRUE) { Send(CB_SHOWDROPDOWN, static_cast<WPARAM>(bShowIt)); }
    BOOL SetEditSel(int nStartChar, int nEndChar) {
        return Send(CB_SETEDITSEL, 0, MAKELPARAM(nStartChar, nEndChar)) == TRUE;
    }

    // Owner-drawn combo boxes: the parent reflects WM_DRAWITEM, WM_MEASUREITEM
    // and WM_COMPAREITEM back to the combo box object, which answers them here.
    // Draws an item; nothing in the base.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    // Sets the height of an item; the base leaves the system's value.
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    // -1, 0 or 1 as the first item sorts before, with or after the second
    // (sorted combo boxes without strings); 0 in the base.
    virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    int Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return static_cast<int>(::SendMessageW(m_hWnd, message, wParam, lParam));
    }
};
