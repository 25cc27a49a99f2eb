#include "platform/classlib/PrintDialog.h"

#include <cstddef>

IMPLEMENT_DYNAMIC(CPrintDialog, CDialog)

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd) : m_pd() {
    m_pParentWnd = pParentWnd;
    m_pd.lStructSize = sizeof(m_pd);
    m_pd.Flags = dwFlags | (bPrintSetupOnly ? PD_PRINTSETUP : PD_RETURNDC);
    m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog() {
    if (m_pd.hDC != nullptr) {
        ::DeleteDC(m_pd.hDC);
        m_pd.hDC = nullptr;
    }
}

INT_PTR CPrintDialog::DoModal() {
    HWND hWndTop = nullptr;
    CWnd* pOwner = CWnd::GetSafeOwner(m_pParentWnd, &hWndTop);
    m_pd.hwndOwner = CWnd::SafeHwndOf(pOwner);
    // The dialog returns a new DC; the one it replaces is ours to free.
    if ((m_pd.Flags & PD_RETURNDC) && m_pd.hDC != nullptr) {
        ::DeleteDC(m_pd.hDC);
        m_pd.hDC = nullptr;
    }
    BOOL bResult = ::PrintDlgW(&m_pd);
    if (hWndTop != nullptr)
        ::EnableWindow(hWndTop, TRUE);
    return bResult ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults() {
    // PD_RETURNDEFAULT wants no handles on entry; the ones found are the caller's.
    m_pd.hDevMode = nullptr;
    m_pd.hDevNames = nullptr;
    if (m_pd.hDC != nullptr) {
        ::DeleteDC(m_pd.hDC);
        m_pd.hDC = nullptr;
    }
    DWORD dwOldFlags = m_pd.Flags;
    m_pd.Flags |= PD_RETURNDEFAULT;
    m_pd.Flags &= ~PD_RETURNDC;
    m_pd.hwndOwner = nullptr;
    BOOL bResult = ::PrintDlgW(&m_pd);
    m_pd.Flags = dwOldFlags;
    return bResult;
}

HDC CPrintDialog::CreatePrinterDC(HGLOBAL hDevNames, HGLOBAL hDevMode) {
    if (hDevNames == nullptr)
        return nullptr;
    auto* pNames = static_cast<LPDEVNAMES>(::GlobalLock(hDevNames));
    if (pNames == nullptr)
        return nullptr;
    const auto* pBase = reinterpret_cast<const wchar_t*>(pNames);
    DEVMODEW* pMode = hDevMode != nullptr ? static_cast<DEVMODEW*>(::GlobalLock(hDevMode)) : nullptr;
    HDC hDC = ::CreateDCW(pBase + pNames->wDriverOffset, pBase + pNames->wDeviceOffset, nullptr, pMode);
    if (pMode != nullptr)
        ::GlobalUnlock(hDevMode);
    ::GlobalUnlock(hDevNames);
    return hDC;
}

HDC CPrintDialog::CreateNamedPrinterDC(LPCWSTR lpszDriver, LPCWSTR lpszDevice, HGLOBAL hDevMode) {
    // Another printer's mode is no concern of this one's driver but for its
    // public paper and orientation fields; the driver fills in the rest.
    const DWORD kPaperFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_FORMNAME;
    DEVMODEW mode = {};
    mode.dmSpecVersion = DM_SPECVERSION;
    mode.dmSize = sizeof(mode);
    ::lstrcpynW(mode.dmDeviceName, lpszDevice, CCHDEVICENAME);
    const DEVMODEW* pGiven = nullptr;
    const DEVMODEW* pMode = &mode;
    // A mode of any version that holds the form's name.
    const size_t kLeast = offsetof(DEVMODEW, dmLogPixels);
    if (hDevMode != nullptr && ::GlobalSize(hDevMode) >= kLeast)
        pGiven = static_cast<const DEVMODEW*>(::GlobalLock(hDevMode));
    if (pGiven != nullptr && pGiven->dmSize >= kLeast) {
        if (::lstrcmpiW(pGiven->dmDeviceName, mode.dmDeviceName) == 0) {
            pMode = pGiven;
        } else {
            mode.dmFields = pGiven->dmFields & kPaperFields;
            mode.dmOrientation = pGiven->dmOrientation;
            mode.dmPaperSize = pGiven->dmPaperSize;
            mode.dmPaperLength = pGiven->dmPaperLength;
            mode.dmPaperWidth = pGiven->dmPaperWidth;
            ::lstrcpynW(mode.dmFormName, pGiven->dmFormName, CCHFORMNAME);
        }
    }
    HDC hDC = ::CreateDCW(lpszDriver != nullptr && *lpszDriver != L'\0' ? lpszDriver : nullptr, lpszDevice, nullptr,
                          pMode);
    if (pGiven != nullptr)
        ::GlobalUnlock(hDevMode);
    return hDC;
}

HDC CPrintDialog::CreatePrinterDC() {
    if (m_pd.hDC != nullptr)
        ::DeleteDC(m_pd.hDC);
    m_pd.hDC = CreatePrinterDC(m_pd.hDevNames, m_pd.hDevMode);
    return m_pd.hDC;
}

HDC CPrintDialog::GetPrinterDC() const { return m_pd.hDC; }

CString CPrintDialog::DevNamesField(int nField) const {
    if (m_pd.hDevNames == nullptr)
        return CString();
    auto* pNames = static_cast<LPDEVNAMES>(::GlobalLock(m_pd.hDevNames));
    if (pNames == nullptr)
        return CString();
    const auto* pBase = reinterpret_cast<const wchar_t*>(pNames);
    WORD wOffset = nField == 0 ? pNames->wDriverOffset : nField == 1 ? pNames->wDeviceOffset : pNames->wOutputOffset;
    CString strResult(pBase + wOffset);
    ::GlobalUnlock(m_pd.hDevNames);
    return strResult;
}

CString CPrintDialog::GetDriverName() const { return DevNamesField(0); }

CString CPrintDialog::GetDeviceName() const { return DevNamesField(1); }

CString CPrintDialog::GetPortName() const { return DevNamesField(2); }

LPDEVMODEW CPrintDialog::GetDevMode() const {
    if (m_pd.hDevMode == nullptr)
        return nullptr;
    return static_cast<LPDEVMODEW>(::GlobalLock(m_pd.hDevMode));
}

int CPrintDialog::GetCopies() const {
    if (m_pd.Flags & PD_USEDEVMODECOPIES) {
        LPDEVMODEW pMode = GetDevMode();
        if (pMode != nullptr) {
            int nCopies = pMode->dmCopies;
            ::GlobalUnlock(m_pd.hDevMode);
            return nCopies;
        }
    }
    return m_pd.nCopies;
}
