#include "docking/frames/QMXPWorkspace.h"

#include "platform/classlib/WinApp.h"

namespace {
CQMXPWorkspace* g_pWorkspace = nullptr;
}  // namespace

CQMXPWorkspace* QMXPGetWorkspace() { return g_pWorkspace; }

CQMXPWorkspace::CQMXPWorkspace(BOOL bResourceSmartUpdate)
    : m_strRegSection(L"QMXWorkspace"), m_bResourceSmartUpdate(bResourceSmartUpdate) {
    g_pWorkspace = this;
}

CQMXPWorkspace::~CQMXPWorkspace() {
    if (g_pWorkspace == this)
        g_pWorkspace = nullptr;
}

void CQMXPWorkspace::SetRegistryBase(LPCWSTR lpszSectionName) {
    m_strRegSection = lpszSectionName != nullptr ? lpszSectionName : L"";
}

CString CQMXPWorkspace::GetRegSectionPath(LPCWSTR lpszSectionName) {
    CString strPath = L"SOFTWARE\\";
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr) {
        // No empty component when the application has no registry key.
        if (pApp->m_pszRegistryKey != nullptr && *pApp->m_pszRegistryKey != L'\0')
            strPath = strPath + pApp->m_pszRegistryKey + L"\\";
        if (pApp->m_pszProfileName != nullptr)
            strPath += pApp->m_pszProfileName;
        strPath += L"\\";
    }
    strPath = strPath + m_strRegSection + L"\\";
    if (lpszSectionName != nullptr && *lpszSectionName != L'\0')
        strPath = strPath + lpszSectionName + L"\\";
    return strPath;
}

BOOL CQMXPWorkspace::LoadState(LPCWSTR lpszSectionName) {
    if (lpszSectionName != nullptr)
        m_strRegSection = lpszSectionName;
    PreLoadState();
    PostLoadState();
    return TRUE;
}

void CQMXPWorkspace::PreLoadState() {}

void CQMXPWorkspace::PostLoadState() {}
