#include "platform/classlib/ComboBox.h"

#include "platform/classlib/OwnerDrawItems.h"

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

void CComboBox::GetLBText(int nIndex, CString& rString) const {
    rString.Empty();
    const int nLength = GetLBTextLen(nIndex);
    if (nLength == CB_ERR)
        return;
    LPWSTR lpszBuffer = rString.GetBuffer(nLength + 1);
    const int nCopied = Send(CB_GETLBTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszBuffer));
    rString.ReleaseBuffer(nCopied == CB_ERR ? 0 : nCopied);
}

void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}

void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return ReflectOwnerDrawItem(*this, message, lParam, pResult) ||
           CWnd::OnChildNotify(message, wParam, lParam, pResult);
}
