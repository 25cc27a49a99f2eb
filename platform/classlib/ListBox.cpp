#include "platform/classlib/ListBox.h"

#include "platform/classlib/OwnerDrawItems.h"

#include <string>

IMPLEMENT_DYNAMIC(CListBox, CWnd)

void CListBox::GetText(int nIndex, CString& rString) const {
    const int nLength = GetTextLen(nIndex);
    if (nLength <= 0) {
        rString.Empty();
        return;
    }
    std::wstring buffer(static_cast<size_t>(nLength) + 1, L'\0');
    ::SendMessageW(m_hWnd, LB_GETTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&buffer[0]));
    rString = buffer.c_str();
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const {
    const DWORD dwResult = static_cast<DWORD>(::SendMessageW(m_hWnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y)));
    bOutside = HIWORD(dwResult) != 0;
    return LOWORD(dwResult);
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}

void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

int CListBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return ReflectOwnerDrawItem(*this, message, lParam, pResult) ||
           CWnd::OnChildNotify(message, wParam, lParam, pResult);
}
