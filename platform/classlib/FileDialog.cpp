#include "platform/classlib/FileDialog.h"

#include "platform/classlib/WinApp.h"

#include <cwchar>

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

namespace {
constexpr DWORD kFileBufferSize = MAX_PATH;
constexpr DWORD kTitleBufferSize = 64;
// The common dialog's name box: the combo box (cmb13) or the plain edit (edt1).
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;
}  // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCWSTR lpszDefExt, LPCWSTR lpszFileName, DWORD dwFlags,
                         LPCWSTR lpszFilter, CWnd* pParentWnd)
    : CDialog(static_cast<LPCWSTR>(nullptr), pParentWnd), m_pofnTemp(nullptr), m_bOpenFileDialog(bOpenFileDialog),
      m_fileBuffer(kFileBufferSize + 1, L'\0'), m_titleBuffer(kTitleBufferSize, L'\0') {
    ZeroMemory(&m_ofn, sizeof(m_ofn));
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_fileBuffer.data();
    m_ofn.nMaxFile = kFileBufferSize;
    m_ofn.lpstrFileTitle = m_titleBuffer.data();
    m_ofn.nMaxFileTitle = kTitleBufferSize;
    m_ofn.Flags = dwFlags | OFN_ENABLEHOOK | OFN_EXPLORER;
    m_ofn.lpfnHook = &CFileDialog::ExplorerHook;
    if (lpszFileName != nullptr)
        ::lstrcpynW(m_fileBuffer.data(), lpszFileName, static_cast<int>(kFileBufferSize));
    if (lpszDefExt != nullptr) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (lpszFilter != nullptr) {
        m_strFilter = lpszFilter;
        // The buffer of a string that is copied nowhere else may be changed in place.
        int nLength = m_strFilter.GetLength();
        wchar_t* pch = m_strFilter.GetBuffer(nLength);
        for (int i = 0; i < nLength; ++i) {
            if (pch[i] == L'|')
                pch[i] = L'\0';
        }
        m_strFilter.ReleaseBuffer(nLength);
        m_ofn.lpstrFilter = m_strFilter;
    }
}

INT_PTR CFileDialog::DoModal() {
    HWND hWndTop = nullptr;
    m_ofn.hwndOwner = CWnd::GetSafeOwner(m_pParentWnd, &hWndTop)->GetSafeHwnd();
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
    m_ofn.Flags |= OFN_ENABLEHOOK | OFN_EXPLORER;
    m_ofn.lpfnHook = &CFileDialog::ExplorerHook;
    if ((m_ofn.Flags & OFN_ENABLETEMPLATE) && m_ofn.hInstance == nullptr)
        m_ofn.hInstance = AfxGetResourceHandle();
    m_lpszTemplateName = (m_ofn.Flags & OFN_ENABLETEMPLATE) ? m_ofn.lpTemplateName : nullptr;
    if (m_ofn.lpstrFile != nullptr && m_ofn.nMaxFile > 0)
        m_ofn.lpstrFile[m_ofn.nMaxFile - 1] = L'\0';

    BOOL bResult = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);

    // The child window is gone with the dialog; the object is detached at its WM_NCDESTROY.
    if (m_hWnd != nullptr)
        Detach();
    m_pofnTemp = nullptr;
    if (hWndTop != nullptr)
        ::EnableWindow(hWndTop, TRUE);
    return bResult ? IDOK : IDCANCEL;
}

UINT_PTR CALLBACK CFileDialog::ExplorerHook(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG)
        return 0;  // everything else reaches the object through its window procedure
    auto* pofn = reinterpret_cast<OPENFILENAMEW*>(lParam);
    auto* pDlg = reinterpret_cast<CFileDialog*>(pofn->lCustData);
    if (pDlg == nullptr || pDlg->m_hWnd != nullptr || !pDlg->SubclassWindow(hWnd))
        return 0;
    BOOL bResult = FALSE;
    try {
        bResult = pDlg->OnInitDialog();
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    return bResult;
}

BOOL CFileDialog::OnInitDialog() {
    // Only a custom template has initialisation data and controls to exchange.
    if (m_lpszTemplateName != nullptr)
        return CDialog::OnInitDialog();
    return TRUE;
}

BOOL CFileDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    auto* pNotify = reinterpret_cast<OFNOTIFYW*>(lParam);
    // Notifications of the template's own controls go the ordinary way.
    if (pNotify->hdr.code > CDN_FIRST || pNotify->hdr.code < CDN_LAST)
        return CDialog::OnNotify(wParam, lParam, pResult);
    m_pofnTemp = pNotify;
    *pResult = 0;
    switch (pNotify->hdr.code) {
    case CDN_INITDONE:
        FocusFileName();
        OnInitDone();
        break;
    case CDN_SELCHANGE:
        OnFileNameChange();
        break;
    case CDN_FOLDERCHANGE:
        OnFolderChange();
        break;
    case CDN_TYPECHANGE:
        OnTypeChange();
        break;
    case CDN_FILEOK:
        *pResult = OnFileNameOK() ? 1 : 0;
        break;
    case CDN_SHAREVIOLATION:
        *pResult = OnShareViolation(pNotify->pszFile);
        break;
    default:
        break;
    }
    ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, *pResult);
    return TRUE;
}

void CFileDialog::FocusFileName() {
    // The name box takes the keys first, whatever control a template adds.
    HWND hParent = ::GetParent(m_hWnd);
    // The dialog is not shown yet: the box's own style says which one it has.
    HWND hName = ::GetDlgItem(hParent, kFileNameCombo);
    if (hName == nullptr || !(::GetWindowLongW(hName, GWL_STYLE) & WS_VISIBLE))
        hName = ::GetDlgItem(hParent, kFileNameEdit);
    // Posted, so that it comes after the dialog has given the focus to the
    // first control of its own and of the template.
    if (hName != nullptr)
        ::PostMessageW(hParent, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hName), TRUE);
}

void CFileDialog::OnInitDone() {}
void CFileDialog::OnFileNameChange() {}
void CFileDialog::OnFolderChange() {}
void CFileDialog::OnTypeChange() {}
BOOL CFileDialog::OnFileNameOK() { return FALSE; }
UINT CFileDialog::OnShareViolation(LPCWSTR) { return OFN_SHAREWARN; }

CString CFileDialog::AskDialog(UINT message) const {
    HWND hParent = ::GetParent(m_hWnd);
    int nLength = static_cast<int>(::SendMessageW(hParent, message, 0, 0));
    if (nLength <= 0)
        return CString();
    CString strResult;
    wchar_t* pBuffer = strResult.GetBuffer(nLength + 1);
    ::SendMessageW(hParent, message, static_cast<WPARAM>(nLength + 1), reinterpret_cast<LPARAM>(pBuffer));
    strResult.ReleaseBuffer();
    return strResult;
}

CString CFileDialog::GetPathName() const {
    if (m_hWnd != nullptr)
        return AskDialog(CDM_GETFILEPATH);
    POSITION pos = GetStartPosition();
    return pos != nullptr ? GetNextPathName(pos) : CString();
}

CString CFileDialog::GetFolderPath() const { return m_hWnd != nullptr ? AskDialog(CDM_GETFOLDERPATH) : CString(); }

CString CFileDialog::GetFileName() const {
    CString strPath = GetPathName();
    int nSlash = strPath.ReverseFind(L'\\');
    return strPath.Mid(nSlash + 1);
}

CString CFileDialog::GetFileExt() const {
    CString strName = GetFileName();
    int nDot = strName.ReverseFind(L'.');
    return nDot < 0 ? CString() : strName.Mid(nDot + 1);
}

CString CFileDialog::GetFileTitle() const {
    CString strName = GetFileName();
    int nDot = strName.ReverseFind(L'.');
    return nDot < 0 ? strName : strName.Left(nDot);
}

POSITION CFileDialog::GetStartPosition() const {
    if (m_ofn.lpstrFile == nullptr || m_ofn.nMaxFile == 0 || m_ofn.lpstrFile[0] == L'\0')
        return nullptr;
    return reinterpret_cast<POSITION>(m_ofn.lpstrFile);
}

CString CFileDialog::GetNextPathName(POSITION& pos) const {
    const wchar_t* pBegin = m_ofn.lpstrFile;
    const wchar_t* pEnd = pBegin + m_ofn.nMaxFile;
    const wchar_t* psz = reinterpret_cast<const wchar_t*>(pos);
    pos = nullptr;
    if (psz == nullptr || psz < pBegin || psz >= pEnd)
        return CString();
    // One string within the buffer, whether or not it is terminated.
    auto readString = [pEnd](const wchar_t*& p) {
        const wchar_t* pStart = p;
        while (p < pEnd && *p != L'\0')
            ++p;
        CString str(pStart, static_cast<int>(p - pStart));
        if (p < pEnd)
            ++p;
        return str;
    };
    if (psz == pBegin) {
        CString strFirst = readString(psz);
        // A single selection is the whole path; several start with the folder.
        if (!(m_ofn.Flags & OFN_ALLOWMULTISELECT) || psz >= pEnd || *psz == L'\0')
            return strFirst;
    }
    CString strFolder(pBegin);
    CString strName = readString(psz);
    if (psz < pEnd && *psz != L'\0')
        pos = reinterpret_cast<POSITION>(const_cast<wchar_t*>(psz));
    // A name the shell gave with its own path stays as it is.
    if (strName.GetLength() >= 2 && (strName[1] == L':' || (strName[0] == L'\\' && strName[1] == L'\\')))
        return strName;
    if (!strFolder.IsEmpty() && strFolder[strFolder.GetLength() - 1] != L'\\')
        strFolder += L'\\';
    return strFolder + strName;
}

void CFileDialog::SetControlText(int nID, LPCWSTR lpsz) {
    ::SendMessageW(::GetParent(m_hWnd), CDM_SETCONTROLTEXT, static_cast<WPARAM>(nID), reinterpret_cast<LPARAM>(lpsz));
}

void CFileDialog::HideControl(int nID) {
    ::SendMessageW(::GetParent(m_hWnd), CDM_HIDECONTROL, static_cast<WPARAM>(nID), 0);
}

void CFileDialog::SetDefExt(LPCWSTR lpsz) {
    ::SendMessageW(::GetParent(m_hWnd), CDM_SETDEFEXT, 0, reinterpret_cast<LPARAM>(lpsz));
}
