#include "platform/classlib/DocManager.h"

#include "platform/classlib/CommandLineInfo.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/Document.h"
#include "platform/classlib/FileDialog.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/View.h"
#include "platform/classlib/WinApp.h"

#include <shlwapi.h>

#include <vector>

IMPLEMENT_DYNAMIC(CDocManager, CObject)

namespace {
// Names chosen with multi-select fill a buffer this large.
constexpr DWORD kMultiSelectBuffer = 0x10000;

BOOL SetRegKey(LPCWSTR lpszKey, LPCWSTR lpszValue, LPCWSTR lpszValueName = nullptr) {
    HKEY hKey = nullptr;
    if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, lpszKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                          &hKey, nullptr) != ERROR_SUCCESS)
        return FALSE;
    DWORD cb = static_cast<DWORD>((::lstrlenW(lpszValue) + 1) * sizeof(wchar_t));
    LONG lResult = ::RegSetValueExW(hKey, lpszValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue), cb);
    ::RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

// The default value of a key under HKEY_CLASSES_ROOT; empty when there is none.
CString GetRegKey(LPCWSTR lpszKey) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, lpszKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return CString();
    DWORD dwType = 0;
    DWORD cb = 0;
    CString strValue;
    if (::RegQueryValueExW(hKey, nullptr, nullptr, &dwType, nullptr, &cb) == ERROR_SUCCESS && dwType == REG_SZ) {
        std::vector<wchar_t> buffer(cb / sizeof(wchar_t) + 1, L'\0');
        if (::RegQueryValueExW(hKey, nullptr, nullptr, &dwType, reinterpret_cast<BYTE*>(buffer.data()), &cb) ==
            ERROR_SUCCESS)
            strValue = buffer.data();
    }
    ::RegCloseKey(hKey);
    return strValue;
}

CString ModulePath() {
    std::vector<wchar_t> buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = ::GetModuleFileNameW(AfxGetInstanceHandle(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size())
            return CString(buffer.data(), static_cast<int>(n));
        buffer.resize(buffer.size() * 2);
    }
}

// The first extension of a template's filter ("*.a;*.b" or ".a;.b"), with its dot.
CString FirstExtension(const CString& strFilterExt) {
    int nSemicolon = strFilterExt.Find(L';');
    CString strExt = nSemicolon >= 0 ? strFilterExt.Left(nSemicolon) : strFilterExt;
    strExt.Trim();
    if (strExt.Left(1) == L"*")
        strExt = strExt.Mid(1);
    return strExt;
}

// Appends the template's entry to a filter of NUL-separated pairs.
void AppendFilter(CString& strFilter, OPENFILENAMEW& ofn, CDocTemplate* pTemplate, CString* pstrDefaultExt) {
    CString strFilterExt;
    CString strFilterName;
    if (!pTemplate->GetDocString(strFilterExt, CDocTemplate::filterExt) || strFilterExt.IsEmpty() ||
        !pTemplate->GetDocString(strFilterName, CDocTemplate::filterName) || strFilterName.IsEmpty())
        return;
    CString strPatterns;
    int nStart = 0;
    while (nStart <= strFilterExt.GetLength()) {
        int nEnd = strFilterExt.Find(L';', nStart);
        CString strOne = nEnd < 0 ? strFilterExt.Mid(nStart) : strFilterExt.Mid(nStart, nEnd - nStart);
        strOne.Trim();
        if (!strOne.IsEmpty()) {
            if (!strPatterns.IsEmpty())
                strPatterns += L';';
            strPatterns += strOne.Left(1) == L"*" ? strOne : L"*" + strOne;
        }
        if (nEnd < 0)
            break;
        nStart = nEnd + 1;
    }
    if (pstrDefaultExt != nullptr) {
        CString strExt = FirstExtension(strFilterExt);
        *pstrDefaultExt = strExt.Left(1) == L"." ? strExt.Mid(1) : strExt;
        ofn.nFilterIndex = ofn.nMaxCustFilter + 1;
    }
    strFilter += strFilterName;
    strFilter += L'\0';
    strFilter += strPatterns;
    strFilter += L'\0';
    ++ofn.nMaxCustFilter;
}

CString LoadText(UINT nID, LPCWSTR lpszDefault) {
    CString str;
    if (!AfxLoadStringResource(nID, str))
        str = lpszDefault;
    return str;
}
}  // namespace

CDocManager::CDocManager() = default;

CDocManager::~CDocManager() {
    while (!m_templateList.IsEmpty()) {
        CDocTemplate* pTemplate = m_templateList.RemoveHead();
        if (pTemplate->m_bAutoDelete)
            delete pTemplate;
    }
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate) {
    if (pTemplate == nullptr || m_templateList.Find(pTemplate) != nullptr)
        return;
    pTemplate->LoadTemplate();
    m_templateList.AddTail(pTemplate);
}

POSITION CDocManager::GetFirstDocTemplatePosition() const { return m_templateList.GetHeadPosition(); }

CDocTemplate* CDocManager::GetNextDocTemplate(POSITION& pos) const { return m_templateList.GetNext(pos); }

void CDocManager::RegisterShellFileTypes(BOOL bCompat) {
    CString strPathName = ModulePath();
    POSITION pos = GetFirstDocTemplatePosition();
    for (int nTemplateIndex = 1; pos != nullptr; ++nTemplateIndex) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        CString strFileTypeId;
        if (!pTemplate->GetDocString(strFileTypeId, CDocTemplate::regFileTypeId) || strFileTypeId.IsEmpty())
            continue;
        CString strFileTypeName;
        if (!pTemplate->GetDocString(strFileTypeName, CDocTemplate::regFileTypeName) || strFileTypeName.IsEmpty())
            strFileTypeName = strFileTypeId;
        if (!SetRegKey(strFileTypeId, strFileTypeName))
            continue;
        CString strTemp;
        if (bCompat) {
            // The template's icon when the program has that many, else the first.
            HICON hIcon = ::ExtractIconW(AfxGetInstanceHandle(), strPathName, static_cast<UINT>(nTemplateIndex));
            int nIcon = 0;
            if (hIcon != nullptr && hIcon != reinterpret_cast<HICON>(1)) {
                nIcon = nTemplateIndex;
                ::DestroyIcon(hIcon);
            }
            strTemp.Format(L"%ls\\DefaultIcon", static_cast<LPCWSTR>(strFileTypeId));
            CString strIcon;
            strIcon.Format(L"%ls,%d", static_cast<LPCWSTR>(strPathName), nIcon);
            SetRegKey(strTemp, strIcon);
        }
        // Documents open in the running program through DDE.
        CString strOpenCommand = strPathName;
        CString strPrintCommand = strPathName;
        CString strPrintToCommand = strPathName;
        strTemp.Format(L"%ls\\shell\\open\\ddeexec", static_cast<LPCWSTR>(strFileTypeId));
        SetRegKey(strTemp, L"[open(\"%1\")]");
        if (bCompat) {
            strTemp.Format(L"%ls\\shell\\print\\ddeexec", static_cast<LPCWSTR>(strFileTypeId));
            SetRegKey(strTemp, L"[print(\"%1\")]");
            strTemp.Format(L"%ls\\shell\\printto\\ddeexec", static_cast<LPCWSTR>(strFileTypeId));
            SetRegKey(strTemp, L"[printto(\"%1\",\"%2\",\"%3\",\"%4\")]");
            strOpenCommand += L" /dde";
            strPrintCommand += L" /dde";
            strPrintToCommand += L" /dde";
        } else {
            strOpenCommand += L" \"%1\"";
        }
        strTemp.Format(L"%ls\\shell\\open\\command", static_cast<LPCWSTR>(strFileTypeId));
        SetRegKey(strTemp, strOpenCommand);
        if (bCompat) {
            strTemp.Format(L"%ls\\shell\\print\\command", static_cast<LPCWSTR>(strFileTypeId));
            SetRegKey(strTemp, strPrintCommand);
            strTemp.Format(L"%ls\\shell\\printto\\command", static_cast<LPCWSTR>(strFileTypeId));
            SetRegKey(strTemp, strPrintToCommand);
        }
        CString strFilterExt;
        pTemplate->GetDocString(strFilterExt, CDocTemplate::filterExt);
        CString strExt = FirstExtension(strFilterExt);
        if (strExt.GetLength() < 2 || strExt[0] != L'.')
            continue;
        // An extension that belongs to another program is left to it.
        CString strOwner = GetRegKey(strExt);
        if (strOwner.IsEmpty() || strOwner == strFileTypeId) {
            if (SetRegKey(strExt, strFileTypeId) && bCompat) {
                strTemp.Format(L"%ls\\ShellNew", static_cast<LPCWSTR>(strExt));
                SetRegKey(strTemp, L"", L"NullFile");
            }
        }
    }
}

BOOL CDocManager::UnregisterShellFileTypes() {
    BOOL bResult = TRUE;
    POSITION pos = GetFirstDocTemplatePosition();
    while (pos != nullptr) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        CString strFileTypeId;
        if (!pTemplate->GetDocString(strFileTypeId, CDocTemplate::regFileTypeId) || strFileTypeId.IsEmpty())
            continue;
        CString strFilterExt;
        pTemplate->GetDocString(strFilterExt, CDocTemplate::filterExt);
        CString strExt = FirstExtension(strFilterExt);
        if (strExt.GetLength() >= 2 && strExt[0] == L'.' && GetRegKey(strExt) == strFileTypeId) {
            LSTATUS lResult = ::SHDeleteKeyW(HKEY_CLASSES_ROOT, strExt);
            bResult = bResult && (lResult == ERROR_SUCCESS || lResult == ERROR_FILE_NOT_FOUND);
        }
        LSTATUS lResult = ::SHDeleteKeyW(HKEY_CLASSES_ROOT, strFileTypeId);
        bResult = bResult && (lResult == ERROR_SUCCESS || lResult == ERROR_FILE_NOT_FOUND);
    }
    return bResult;
}

CDocument* CDocManager::OpenDocumentFile(LPCWSTR lpszFileName) {
    if (lpszFileName == nullptr || *lpszFileName == L'\0')
        return nullptr;
    CString strName(lpszFileName);
    strName.Trim();
    // A name given in quotes (from the shell) is the name without them.
    if (strName.GetLength() >= 2 && strName[0] == L'"' && strName[strName.GetLength() - 1] == L'"')
        strName = strName.Mid(1, strName.GetLength() - 2);
    CString strPath = AfxFullPath(strName);

    CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
    CDocTemplate* pBestTemplate = nullptr;
    CDocument* pOpenDocument = nullptr;
    POSITION pos = GetFirstDocTemplatePosition();
    while (pos != nullptr) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        CDocument* pMatch = nullptr;
        CDocTemplate::Confidence match = pTemplate->MatchDocType(strPath, pMatch);
        if (match > bestMatch) {
            bestMatch = match;
            pBestTemplate = pTemplate;
        }
        if (match == CDocTemplate::yesAlreadyOpen) {
            pOpenDocument = pMatch;
            break;
        }
    }

    if (pOpenDocument != nullptr) {
        // The document is open already: its first frame comes to the front.
        POSITION posView = pOpenDocument->GetFirstViewPosition();
        if (posView != nullptr) {
            CView* pView = pOpenDocument->GetNextView(posView);
            CFrameWnd* pFrame = pView->m_hWnd != nullptr ? pView->GetParentFrame() : nullptr;
            if (pFrame != nullptr) {
                pFrame->ActivateFrame();
                CWinApp* pApp = AfxGetApp();
                CWnd* pMainWnd = pApp != nullptr ? pApp->m_pMainWnd : nullptr;
                if (pMainWnd != nullptr && pMainWnd != pFrame && pMainWnd->IsFrameWnd())
                    static_cast<CFrameWnd*>(pMainWnd)->ActivateFrame();
            }
        }
        return pOpenDocument;
    }
    if (pBestTemplate == nullptr) {
        AfxMessageBoxText(AFX_IDP_FAILED_TO_OPEN_DOC, L"Failed to open document.", MB_ICONEXCLAMATION);
        return nullptr;
    }
    return pBestTemplate->OpenDocumentFile(strPath);
}

BOOL CDocManager::SaveAllModified() {
    POSITION pos = GetFirstDocTemplatePosition();
    while (pos != nullptr) {
        if (!GetNextDocTemplate(pos)->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession) {
    POSITION pos = GetFirstDocTemplatePosition();
    while (pos != nullptr)
        GetNextDocTemplate(pos)->CloseAllDocuments(bEndSession);
}

int CDocManager::GetOpenDocumentCount() {
    int nCount = 0;
    POSITION pos = GetFirstDocTemplatePosition();
    while (pos != nullptr) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        POSITION posDoc = pTemplate->GetFirstDocPosition();
        while (posDoc != nullptr) {
            pTemplate->GetNextDoc(posDoc);
            ++nCount;
        }
    }
    return nCount;
}

BOOL CDocManager::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                   CDocTemplate* pTemplate) {
    CFileDialog dlgFile(bOpenFileDialog, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr, nullptr);
    CString strTitle = LoadText(nIDSTitle, bOpenFileDialog ? L"Open" : L"Save As");
    dlgFile.m_ofn.Flags |= lFlags;

    CString strFilter;
    CString strDefault;
    if (pTemplate != nullptr) {
        AppendFilter(strFilter, dlgFile.m_ofn, pTemplate, &strDefault);
    } else {
        BOOL bFirst = TRUE;
        POSITION pos = GetFirstDocTemplatePosition();
        while (pos != nullptr) {
            AppendFilter(strFilter, dlgFile.m_ofn, GetNextDocTemplate(pos), bFirst ? &strDefault : nullptr);
            bFirst = FALSE;
        }
    }
    strFilter += LoadText(AFX_IDS_ALLFILTER, L"All Files (*.*)");
    strFilter += L'\0';
    strFilter += L"*.*";
    strFilter += L'\0';
    strFilter += L'\0';
    ++dlgFile.m_ofn.nMaxCustFilter;
    dlgFile.m_ofn.lpstrFilter = strFilter;
    dlgFile.m_ofn.lpstrTitle = strTitle;
    if (!bOpenFileDialog && !strDefault.IsEmpty())
        dlgFile.m_ofn.lpstrDefExt = strDefault;

    DWORD nBuffer = (lFlags & OFN_ALLOWMULTISELECT) ? kMultiSelectBuffer : static_cast<DWORD>(MAX_PATH);
    std::vector<wchar_t> buffer(static_cast<size_t>(nBuffer) + 2, L'\0');
    ::lstrcpynW(buffer.data(), fileName, static_cast<int>(nBuffer));
    dlgFile.m_ofn.lpstrFile = buffer.data();
    dlgFile.m_ofn.nMaxFile = nBuffer;

    if (dlgFile.DoModal() != IDOK)
        return FALSE;
    // Several names are NUL-separated and end with an empty one.
    size_t nLength = 0;
    while (nLength < nBuffer && !(buffer[nLength] == L'\0' && (nLength + 1 >= nBuffer || buffer[nLength + 1] == L'\0')))
        ++nLength;
    if (!(lFlags & OFN_ALLOWMULTISELECT))
        nLength = ::lstrlenW(buffer.data());
    fileName = CString(buffer.data(), static_cast<int>(nLength));
    return TRUE;
}

BOOL AfxParseDDECommand(LPCWSTR lpszCommand, CString& rVerb, CString* pArgs, int nMaxArgs, int& rnArgs) {
    rnArgs = 0;
    rVerb.Empty();
    if (lpszCommand == nullptr)
        return FALSE;
    const wchar_t* p = lpszCommand;
    auto skipBlanks = [&p]() {
        while (*p == L' ' || *p == L'\t' || *p == L'\r' || *p == L'\n')
            ++p;
    };
    skipBlanks();
    if (*p != L'[')
        return FALSE;
    ++p;
    skipBlanks();
    const wchar_t* pVerb = p;
    while (*p != L'\0' && *p != L'(' && *p != L']' && *p != L' ')
        ++p;
    rVerb = CString(pVerb, static_cast<int>(p - pVerb));
    if (rVerb.IsEmpty())
        return FALSE;
    skipBlanks();
    if (*p == L'(') {
        ++p;
        skipBlanks();
        if (*p == L')') {
            ++p;
        } else {
            for (;;) {
                skipBlanks();
                CString strArg;
                if (*p == L'"') {
                    const wchar_t* pStart = ++p;
                    while (*p != L'\0' && *p != L'"')
                        ++p;
                    if (*p != L'"')
                        return FALSE;  // an unterminated quote
                    strArg = CString(pStart, static_cast<int>(p - pStart));
                    ++p;
                } else {
                    const wchar_t* pStart = p;
                    while (*p != L'\0' && *p != L',' && *p != L')')
                        ++p;
                    strArg = CString(pStart, static_cast<int>(p - pStart));
                    strArg.Trim();
                }
                if (rnArgs >= nMaxArgs)
                    return FALSE;
                pArgs[rnArgs++] = strArg;
                skipBlanks();
                if (*p == L',') {
                    ++p;
                    continue;
                }
                if (*p == L')') {
                    ++p;
                    break;
                }
                return FALSE;
            }
        }
    }
    skipBlanks();
    if (*p != L']')
        return FALSE;
    ++p;
    skipBlanks();
    return *p == L'\0';
}

BOOL CDocManager::OnDDECommand(LPWSTR lpszCommand) {
    CString strVerb;
    CString args[4];
    int nArgs = 0;
    if (!AfxParseDDECommand(lpszCommand, strVerb, args, 4, nArgs))
        return FALSE;
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return FALSE;

    if (strVerb.CompareNoCase(L"open") == 0) {
        if (nArgs != 1 || pApp->OpenDocumentFile(args[0]) == nullptr)
            return FALSE;
        // The program may have been started hidden for the command ("/dde").
        CWnd* pMainWnd = pApp->m_pMainWnd;
        if (pMainWnd != nullptr && pMainWnd->m_hWnd != nullptr && !pMainWnd->IsWindowVisible()) {
            pMainWnd->ShowWindow(SW_SHOWNORMAL);
            pMainWnd->SetForegroundWindow();
        }
        return TRUE;
    }

    BOOL bPrintTo = strVerb.CompareNoCase(L"printto") == 0;
    if (!bPrintTo && strVerb.CompareNoCase(L"print") != 0)
        return FALSE;
    if (nArgs != (bPrintTo ? 4 : 1))
        return FALSE;
    CCommandLineInfo cmdInfo;
    cmdInfo.m_nShellCommand = bPrintTo ? CCommandLineInfo::FilePrintTo : CCommandLineInfo::FilePrint;
    cmdInfo.m_strFileName = args[0];
    if (bPrintTo) {
        cmdInfo.m_strPrinterName = args[1];
        cmdInfo.m_strDriverName = args[2];
        cmdInfo.m_strPortName = args[3];
    }
    // A document that was open already stays open after printing.
    BOOL bWasOpen = FALSE;
    CString strPath = AfxFullPath(args[0]);
    POSITION pos = GetFirstDocTemplatePosition();
    while (pos != nullptr && !bWasOpen) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        CDocument* pMatch = nullptr;
        bWasOpen = pTemplate->MatchDocType(strPath, pMatch) == CDocTemplate::yesAlreadyOpen;
    }
    CDocument* pDoc = pApp->OpenDocumentFile(args[0]);
    if (pDoc == nullptr)
        return FALSE;
    POSITION posView = pDoc->GetFirstViewPosition();
    CView* pView = posView != nullptr ? pDoc->GetNextView(posView) : nullptr;
    if (pView != nullptr && pView->m_hWnd != nullptr) {
        CCommandLineInfo* pOldInfo = pApp->m_pCmdInfo;
        pApp->m_pCmdInfo = &cmdInfo;
        pView->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT, 0);
        pApp->m_pCmdInfo = pOldInfo;
    }
    if (!bWasOpen)
        pDoc->OnCloseDocument();
    // A program started only for this command ends after it.
    CWnd* pMainWnd = pApp->m_pMainWnd;
    if (pMainWnd != nullptr && pMainWnd->m_hWnd != nullptr && !pMainWnd->IsWindowVisible() &&
        GetOpenDocumentCount() == 0)
        pMainWnd->PostMessage(WM_CLOSE);
    return TRUE;
}

void CDocManager::OnFileNew() {
    POSITION pos = GetFirstDocTemplatePosition();
    if (pos == nullptr) {
        AfxMessageBoxText(AFX_IDP_FAILED_TO_CREATE_DOC, L"Failed to create empty document.", MB_ICONEXCLAMATION);
        return;
    }
    GetNextDocTemplate(pos)->OpenDocumentFile(nullptr);
}

void CDocManager::OnFileOpen() {
    CString strName;
    if (!DoPromptFileName(strName, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr))
        return;
    if (CWinApp* pApp = AfxGetApp())
        pApp->OpenDocumentFile(strName);
}
