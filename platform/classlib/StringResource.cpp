#include "platform/classlib/StringResource.h"

#include "platform/classlib/WinApp.h"

BOOL AfxLoadStringResource(UINT nID, CString& rString) {
    // With a zero buffer size the call gives a pointer into the resource itself.
    const wchar_t* pText = nullptr;
    int nLength = ::LoadStringW(AfxGetResourceHandle(), nID, reinterpret_cast<LPWSTR>(&pText), 0);
    if (nLength <= 0 || pText == nullptr) {
        rString.Empty();
        return FALSE;
    }
    rString = CString(pText, nLength);
    return TRUE;
}

CString AfxExtractStringField(const CString& strFull, int nField) {
    int nStart = 0;
    for (int i = 0; i < nField; ++i) {
        int nNext = strFull.Find(L'\n', nStart);
        if (nNext < 0)
            return CString();
        nStart = nNext + 1;
    }
    int nEnd = strFull.Find(L'\n', nStart);
    if (nEnd < 0)
        nEnd = strFull.GetLength();
    return strFull.Mid(nStart, nEnd - nStart);
}
