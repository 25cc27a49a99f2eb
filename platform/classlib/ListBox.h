#pragma once
// CListBox: a list-box control; owner-drawn list boxes answer the drawing,
// measuring and comparing their parent reflects back to them.
#include "platform/classlib/Wnd.h"

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
public:
    CListBox() = default;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
        return CWnd::Create(L"LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID);
    }

    int GetCount() const { return Send(LB_GETCOUNT); }
    int GetCurSel() const { return Send(LB_GETCURSEL); }
    int SetCurSel(int nSelect) { return Send(LB_SETCURSEL, static_cast<WPARAM>(nSelect)); }
    int GetCaretIndex() const { return Send(LB_GETCARETINDEX); }
    int GetTopIndex() const { return Send(LB_GETTOPINDEX); }
    int GetTextLen(int nIndex) const { return Send(LB_GETTEXTLEN, static_cast<WPARAM>(nIndex)); }
    // Empty when there is no such item.
    void GetText(int nIndex, CString& rString) const;
    DWORD_PTR GetItemData(int nIndex) const {
        return static_cast<DWORD_PTR>(::SendMessageW(m_hWnd, LB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0));
    }
    int SetItemData(int nIndex, DWORD_PTR dwItemData) {
        return Send(LB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData));
    }
    int GetItemRect(int nIndex, LPRECT lpRect) const {
        return Send(LB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect));
    }
    int GetItemHeight(int nIndex) const { return Send(LB_GETITEMHEIGHT, static_cast<WPARAM>(nIndex)); }
    int SetItemHeight(int nIndex, UINT cyItemHeight) {
        return Send(LB_SETITEMHEIGHT, static_cast<WPARAM>(nIndex), MAKELPARAM(cyItemHeight, 0));
    }
    // The item at the client point; bOutside is set when the point is below the last item.
    UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const;
    int AddString(LPCWSTR lpszItem) { return Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszItem)); }
    int InsertString(int nIndex, LPCWSTR lpszItem) {
        return Send(LB_INSERTSTRING, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszItem));
    }
    int DeleteString(UINT nIndex) { return Send(LB_DELETESTRING, nIndex); }
    void ResetContent() { Send(LB_RESETCONTENT); }
    int FindStringExact(int nIndexStart, LPCWSTR lpszFind) const {
        return Send(LB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), reinterpret_cast<LPARAM>(lpszFind));
    }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    int Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return static_cast<int>(::SendMessageW(m_hWnd, message, wParam, lParam));
    }
};
