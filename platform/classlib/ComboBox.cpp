#include "platform/classlib/ComboBox.h"

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
