#include "platform/classlib/PropertyPage.h"

#include "platform/classlib/WinApp.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption, DWORD dwSize) {
    CommonConstruct(MAKEINTRESOURCEW(nIDTemplate), nIDCaption, dwSize);
}

CPropertyPage::CPropertyPage(LPCWSTR lpszTemplateName, UINT nIDCaption, DWORD dwSize) {
    CommonConstruct(lpszTemplateName, nIDCaption, dwSize);
}

void CPropertyPage::CommonConstruct(LPCWSTR lpszTemplateName, UINT nIDCaption, DWORD dwSize) {
    std::memset(&m_psp, 0, sizeof(m_psp));
    m_psp.dwSize = dwSize <= sizeof(PROPSHEETPAGEW) ? dwSize : sizeof(PROPSHEETPAGEW);
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.pszTemplate = lpszTemplateName;
    m_lpszTemplateName = lpszTemplateName;
    m_bFirstSetActive = TRUE;
    if (nIDCaption != 0) {
        const wchar_t* pText = nullptr;
        int nLength = ::LoadStringW(AfxGetResourceHandle(), nIDCaption, reinterpret_cast<LPWSTR>(&pText), 0);
        if (nLength > 0) {
            m_strCaption = CString(pText, nLength);
            m_psp.pszTitle = m_strCaption;
            m_psp.dwFlags |= PSP_USETITLE;
        }
    }
}

void CPropertyPage::SetModified(BOOL bChanged) {
    HWND hWndSheet = ::GetParent(m_hWnd);
    if (hWndSheet != nullptr)
        ::SendMessageW(hWndSheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CPropertyPage::CancelToClose() {
    HWND hWndSheet = ::GetParent(m_hWnd);
    if (hWndSheet != nullptr)
        ::SendMessageW(hWndSheet, PSM_CANCELTOCLOSE, 0, 0);
}

BOOL CPropertyPage::OnSetActive() {
    if (m_bFirstSetActive)
        m_bFirstSetActive = FALSE;  // OnInitDialog has just filled the controls
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply() {
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }

void CPropertyPage::OnOK() {}

void CPropertyPage::OnCancel() {}

BOOL CPropertyPage::OnQueryCancel() { return TRUE; }

LRESULT CPropertyPage::OnWizardBack() { return 0; }

LRESULT CPropertyPage::OnWizardNext() { return 0; }

BOOL CPropertyPage::OnWizardFinish() { return TRUE; }

BOOL CPropertyPage::PreTranslateMessage(MSG* pMsg) { return CWnd::PreTranslateMessage(pMsg); }

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    // Only the sheet's own notifications; those of the page's controls go the usual way.
    if (pNMHDR->hwndFrom != ::GetParent(m_hWnd))
        return CDialog::OnNotify(wParam, lParam, pResult);
    LRESULT lResult = 0;
    switch (pNMHDR->code) {
    case PSN_SETACTIVE:
        lResult = OnSetActive() ? 0 : -1;
        break;
    case PSN_KILLACTIVE:
        lResult = !OnKillActive();
        break;
    case PSN_APPLY:
        lResult = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        break;
    case PSN_RESET:
        OnReset();
        break;
    case PSN_QUERYCANCEL:
        lResult = !OnQueryCancel();
        break;
    case PSN_WIZBACK:
        lResult = OnWizardBack();
        break;
    case PSN_WIZNEXT:
        lResult = OnWizardNext();
        break;
    case PSN_WIZFINISH:
        lResult = !OnWizardFinish();
        break;
    default:
        return CDialog::OnNotify(wParam, lParam, pResult);
    }
    *pResult = lResult;
    // The answer of a dialog is also kept in its result slot, where the sheet may read it.
    ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}
