// The document side of CWinApp: templates and documents through the
// document manager, the recent-file list, the command line and the shell's
// commands, the printer setup, message boxes and OLE.
#include "platform/classlib/WinApp.h"

#include "platform/classlib/CmdUI.h"
#include "platform/classlib/CommandLineInfo.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/DocManager.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/Document.h"
#include "platform/classlib/PrintDialog.h"
#include "platform/classlib/RecentFileList.h"
#include "platform/classlib/View.h"

#include <objbase.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlwapi.h>

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
    ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

namespace {
int g_nOleInitCount = 0;

// The DC of the printer that DEVNAMES and DEVMODE blocks describe.
HDC CreateDCFromBlocks(HGLOBAL hDevNames, HGLOBAL hDevMode) {
    if (hDevNames == nullptr)
        return nullptr;
    auto* pNames = static_cast<LPDEVNAMES>(::GlobalLock(hDevNames));
    if (pNames == nullptr)
        return nullptr;
    auto* pBase = reinterpret_cast<const wchar_t*>(pNames);
    auto* pMode = hDevMode != nullptr ? static_cast<const DEVMODEW*>(::GlobalLock(hDevMode)) : nullptr;
    HDC hDC = ::CreateDCW(pBase + pNames->wDriverOffset, pBase + pNames->wDeviceOffset, nullptr, pMode);
    if (pMode != nullptr)
        ::GlobalUnlock(hDevMode);
    ::GlobalUnlock(hDevNames);
    return hDC;
}
}  // namespace

BOOL AfxOleInit() {
    HRESULT hr = ::OleInitialize(nullptr);
    if (FAILED(hr))
        return FALSE;
    ++g_nOleInitCount;
    return TRUE;
}

BOOL AfxOleIsInitialized() { return g_nOleInitCount > 0; }

void AfxOleTerm() {
    if (g_nOleInitCount == 0)
        return;
    --g_nOleInitCount;
    ::OleUninitialize();
}

int AfxMessageBox(LPCWSTR lpszText, UINT nType, UINT nIDHelp) {
    if (CWinApp* pApp = AfxGetApp())
        return pApp->DoMessageBox(lpszText, nType, nIDHelp);
    return ::MessageBoxW(nullptr, lpszText, nullptr, nType);
}

int CWinApp::DoMessageBox(LPCWSTR lpszPrompt, UINT nType, UINT) {
    HWND hWndTop = nullptr;
    HWND hWndOwner = CWnd::GetSafeOwner(nullptr, &hWndTop)->GetSafeHwnd();
    if (hWndOwner == nullptr)
        nType |= MB_TASKMODAL;
    int nResult = ::MessageBoxW(hWndOwner, lpszPrompt, m_pszAppName, nType);
    if (hWndTop != nullptr)
        ::EnableWindow(hWndTop, TRUE);
    return nResult;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    if (m_pDocManager == nullptr)
        m_pDocManager = new CDocManager;
    m_pDocManager->AddDocTemplate(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const {
    return m_pDocManager != nullptr ? m_pDocManager->GetFirstDocTemplatePosition() : nullptr;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const {
    return m_pDocManager != nullptr ? m_pDocManager->GetNextDocTemplate(pos) : nullptr;
}

CDocument* CWinApp::OpenDocumentFile(LPCWSTR lpszFileName) {
    return m_pDocManager != nullptr ? m_pDocManager->OpenDocumentFile(lpszFileName) : nullptr;
}

void CWinApp::AddToRecentFileList(LPCWSTR lpszPathName) {
    if (m_pRecentFileList != nullptr)
        m_pRecentFileList->Add(lpszPathName);
}

BOOL CWinApp::SaveAllModified() { return m_pDocManager == nullptr || m_pDocManager->SaveAllModified(); }

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
    if (m_pDocManager != nullptr)
        m_pDocManager->CloseAllDocuments(bEndSession);
}

int CWinApp::GetOpenDocumentCount() {
    return m_pDocManager != nullptr ? m_pDocManager->GetOpenDocumentCount() : 0;
}

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                               CDocTemplate* pTemplate) {
    if (m_pDocManager == nullptr)
        m_pDocManager = new CDocManager;
    return m_pDocManager->DoPromptFileName(fileName, nIDSTitle, lFlags, bOpenFileDialog, pTemplate);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
    if (nMaxMRU != 0) {
        delete m_pRecentFileList;
        m_pRecentFileList = new CRecentFileList(0, L"Recent File List", L"File%d", static_cast<int>(nMaxMRU));
        m_pRecentFileList->ReadList();
    }
    m_nNumPreviewPages = GetProfileInt(L"Settings", L"PreviewPages", 0);
}

void CWinApp::SaveStdProfileSettings() {
    if (m_pRecentFileList != nullptr)
        m_pRecentFileList->WriteList();
    if (m_nNumPreviewPages != 0)
        WriteProfileInt(L"Settings", L"PreviewPages", static_cast<int>(m_nNumPreviewPages));
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
    // CommandLineToArgvW takes the first word as the program: a dummy word goes first.
    CString strLine = m_lpCmdLine != nullptr ? CString(L"x ") + m_lpCmdLine : CString(::GetCommandLineW());
    int nArgs = 0;
    LPWSTR* pArgs = ::CommandLineToArgvW(strLine, &nArgs);
    if (pArgs == nullptr)
        return;
    for (int i = 1; i < nArgs; ++i) {
        LPCWSTR pszParam = pArgs[i];
        BOOL bFlag = FALSE;
        if (pszParam[0] == L'-' || pszParam[0] == L'/') {
            bFlag = TRUE;
            ++pszParam;
        }
        rCmdInfo.ParseParam(pszParam, bFlag, i == nArgs - 1);
    }
    ::LocalFree(pArgs);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    BOOL bResult = TRUE;
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr))
            OnFileNew();
        if (m_pMainWnd == nullptr)
            bResult = FALSE;
        break;
    case CCommandLineInfo::FileOpen:
        if (OpenDocumentFile(rCmdInfo.m_strFileName) == nullptr)
            bResult = FALSE;
        break;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
        // The program prints and ends without showing itself.
        m_nCmdShow = SW_HIDE;
        if (OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr && m_pMainWnd != nullptr) {
            m_pCmdInfo = &rCmdInfo;
            m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT, 0);
            m_pCmdInfo = nullptr;
        }
        bResult = FALSE;
        break;
    case CCommandLineInfo::FileDDE:
        // The shell's DDE command shows the window (CDocManager::OnDDECommand).
        m_nCmdShow = SW_HIDE;
        break;
    case CCommandLineInfo::AppRegister:
        RegisterShellFileTypes(TRUE);
        bResult = FALSE;
        break;
    case CCommandLineInfo::AppUnregister: {
        BOOL bUnregistered = Unregister();
        if (!rCmdInfo.m_bRunEmbedded) {
            if (bUnregistered)
                AfxMessageBoxText(AFX_IDP_UNREG_DONE,
                                  L"System registry entries have been removed and the INI file (if any) was deleted.",
                                  MB_OK);
            else
                AfxMessageBoxText(AFX_IDP_UNREG_FAILURE,
                                  L"Not all of the system registry entries (or INI file) were removed.", MB_OK);
        }
        bResult = FALSE;
        break;
    }
    default:
        break;
    }
    return bResult;
}

void CWinApp::EnableShellOpen() {
    if (m_atomApp != 0 || m_atomSystemTopic != 0)
        return;
    m_atomApp = ::GlobalAddAtomW(m_pszExeName != nullptr ? m_pszExeName : L"");
    m_atomSystemTopic = ::GlobalAddAtomW(L"system");
}

void CWinApp::RegisterShellFileTypes(BOOL bCompat) {
    if (m_pDocManager != nullptr)
        m_pDocManager->RegisterShellFileTypes(bCompat);
}

void CWinApp::UnregisterShellFileTypes() {
    if (m_pDocManager != nullptr)
        m_pDocManager->UnregisterShellFileTypes();
}

BOOL CWinApp::Unregister() {
    BOOL bResult = TRUE;
    if (m_pDocManager != nullptr)
        bResult = m_pDocManager->UnregisterShellFileTypes();
    if (m_pszRegistryKey != nullptr && m_pszProfileName != nullptr) {
        CString strCompany;
        strCompany.Format(L"Software\\%ls", m_pszRegistryKey);
        HKEY hCompany = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, strCompany, 0, KEY_ALL_ACCESS, &hCompany) == ERROR_SUCCESS) {
            LSTATUS lResult = ::SHDeleteKeyW(hCompany, m_pszProfileName);
            bResult = bResult && (lResult == ERROR_SUCCESS || lResult == ERROR_FILE_NOT_FOUND);
            // The maker's key goes too when nothing else is left in it.
            DWORD nSubKeys = 0;
            DWORD nValues = 0;
            if (::RegQueryInfoKeyW(hCompany, nullptr, nullptr, nullptr, &nSubKeys, nullptr, nullptr, &nValues,
                                   nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                nSubKeys == 0 && nValues == 0) {
                ::RegCloseKey(hCompany);
                hCompany = nullptr;
                ::RegDeleteKeyW(HKEY_CURRENT_USER, strCompany);
            }
            if (hCompany != nullptr)
                ::RegCloseKey(hCompany);
        }
    }
    return bResult;
}

BOOL CWinApp::OnDDECommand(LPWSTR lpszCommand) {
    return m_pDocManager != nullptr && m_pDocManager->OnDDECommand(lpszCommand);
}

void CWinApp::SelectPrinter(HGLOBAL hDevNames, HGLOBAL hDevMode, BOOL bFreeOld) {
    if (bFreeOld) {
        if (m_hDevNames != nullptr && m_hDevNames != hDevNames)
            ::GlobalFree(m_hDevNames);
        if (m_hDevMode != nullptr && m_hDevMode != hDevMode)
            ::GlobalFree(m_hDevMode);
    }
    m_hDevNames = hDevNames;
    m_hDevMode = hDevMode;
}

void CWinApp::UpdatePrinterSelection(BOOL bForceDefaults) {
    if (!bForceDefaults && m_hDevNames != nullptr)
        return;
    PRINTDLGW pd;
    ZeroMemory(&pd, sizeof(pd));
    pd.lStructSize = sizeof(pd);
    pd.Flags = PD_RETURNDEFAULT;
    if (::PrintDlgW(&pd))
        SelectPrinter(pd.hDevNames, pd.hDevMode);
}

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLGW* pPrintDlg) {
    UpdatePrinterSelection(m_hDevNames == nullptr);
    if (m_hDevNames == nullptr)
        return FALSE;
    pPrintDlg->hDevNames = m_hDevNames;
    pPrintDlg->hDevMode = m_hDevMode;
    return TRUE;
}

BOOL CWinApp::CreatePrinterDC(CDC& dc) {
    UpdatePrinterSelection(FALSE);
    HDC hDC = CreateDCFromBlocks(m_hDevNames, m_hDevMode);
    if (hDC == nullptr)
        return FALSE;
    dc.DeleteDC();
    return dc.Attach(hDC);
}

INT_PTR CWinApp::DoPrintDialog(CPrintDialog* pPD) {
    UpdatePrinterSelection(FALSE);
    pPD->m_pd.hDevMode = m_hDevMode;
    pPD->m_pd.hDevNames = m_hDevNames;
    INT_PTR nResponse = pPD->DoModal();
    if (nResponse != IDOK) {
        // A stored printer that is gone or changed: once more with the default one.
        DWORD dwError = ::CommDlgExtendedError();
        if (dwError == PDERR_PRINTERNOTFOUND || dwError == PDERR_DNDMMISMATCH || dwError == PDERR_DEFAULTDIFFERENT) {
            SelectPrinter(nullptr, nullptr);
            UpdatePrinterSelection(TRUE);
            pPD->m_pd.hDevMode = m_hDevMode;
            pPD->m_pd.hDevNames = m_hDevNames;
            nResponse = pPD->DoModal();
        }
    }
    // The dialog may have replaced the blocks.
    m_hDevMode = pPD->m_pd.hDevMode;
    m_hDevNames = pPD->m_pd.hDevNames;
    return nResponse;
}

void CWinApp::OnFileNew() {
    if (m_pDocManager != nullptr)
        m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen() {
    if (m_pDocManager != nullptr)
        m_pDocManager->OnFileOpen();
}

void CWinApp::OnFilePrintSetup() {
    CPrintDialog pd(TRUE);
    DoPrintDialog(&pd);
}

BOOL CWinApp::OnOpenRecentFile(UINT nID) {
    if (m_pRecentFileList == nullptr)
        return FALSE;
    int nIndex = static_cast<int>(nID - ID_FILE_MRU_FILE1);
    if (nIndex < 0 || nIndex >= m_pRecentFileList->GetSize() || (*m_pRecentFileList)[nIndex].IsEmpty())
        return FALSE;
    CString strPath = (*m_pRecentFileList)[nIndex];
    // A file that cannot be opened any more leaves the list.
    if (OpenDocumentFile(strPath) == nullptr)
        m_pRecentFileList->Remove(nIndex);
    return TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI) {
    if (m_pRecentFileList == nullptr)
        pCmdUI->Enable(FALSE);
    else
        m_pRecentFileList->UpdateMenu(pCmdUI);
}

void CWinApp::ExitDocuments() {
    SaveStdProfileSettings();
    if (m_atomApp != 0)
        ::GlobalDeleteAtom(m_atomApp);
    if (m_atomSystemTopic != 0)
        ::GlobalDeleteAtom(m_atomSystemTopic);
    m_atomApp = m_atomSystemTopic = 0;
    while (g_nOleInitCount > 0)
        AfxOleTerm();
}

void CWinApp::DeleteDocuments() {
    delete m_pDocManager;
    m_pDocManager = nullptr;
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    SelectPrinter(nullptr, nullptr);
}
