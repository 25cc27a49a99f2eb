#include "platform/classlib/DataExchange.h"

#include "platform/classlib/Exception.h"
#include "platform/classlib/WinApp.h"
#include "platform/classlib/Wnd.h"

#include <cwchar>
#include <cwctype>

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND hWndCtrl = nullptr;
    m_pDlgWnd->GetDlgItem(nIDC, &hWndCtrl);
    if (hWndCtrl == nullptr)
        Fail();
    m_hWndLastControl = hWndCtrl;
    return hWndCtrl;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_hWndLastControl != nullptr)
        ::SetFocus(m_hWndLastControl);
    AfxThrowUserException();
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd != nullptr)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl))
        pDX->Fail();
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        wchar_t szText[16];
        swprintf(szText, 16, L"%d", value);
        ::SetWindowTextW(hWndCtrl, szText);
        return;
    }
    wchar_t szText[64] = {0};
    ::GetWindowTextW(hWndCtrl, szText, 64);
    // Surrounding blanks are allowed; anything else after the number is not.
    const wchar_t* p = szText;
    while (std::iswspace(*p))
        ++p;
    wchar_t* pEnd = nullptr;
    const long n = std::wcstol(p, &pEnd, 10);
    const bool bDigits = pEnd != p;
    while (pEnd != nullptr && std::iswspace(*pEnd))
        ++pEnd;
    if (!bDigits || *pEnd != 0 || n < INT_MIN || n > INT_MAX) {
        AfxMessageBox(L"Please enter an integer.", MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
    value = static_cast<int>(n);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    wchar_t szText[96];
    swprintf(szText, 96, L"Please enter an integer between %d and %d.", minVal, maxVal);
    AfxMessageBox(szText, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}
