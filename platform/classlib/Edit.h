#pragma once
// CEdit: an edit control.
#include "platform/classlib/Wnd.h"

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit() = default;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
        return CWnd::Create(L"EDIT", nullptr, dwStyle, rect, pParentWnd, nID);
    }
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE) {
        ::SendMessageW(m_hWnd, EM_SETSEL, static_cast<WPARAM>(nStartChar), static_cast<LPARAM>(nEndChar));
        if (!bNoScroll)
            ::SendMessageW(m_hWnd, EM_SCROLLCARET, 0, 0);
    }
    void GetSel(int& nStartChar, int& nEndChar) const {
        ::SendMessageW(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&nStartChar), reinterpret_cast<LPARAM>(&nEndChar));
    }
    void ReplaceSel(LPCWSTR lpszNewText, BOOL bCanUndo = FALSE) {
        ::SendMessageW(m_hWnd, EM_REPLACESEL, static_cast<WPARAM>(bCanUndo), reinterpret_cast<LPARAM>(lpszNewText));
    }
    void SetLimitText(UINT nMax) { ::SendMessageW(m_hWnd, EM_SETLIMITTEXT, nMax, 0); }
};
