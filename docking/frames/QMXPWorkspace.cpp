#include "docking/frames/QMXPWorkspace.h"

#include "docking/frames/QMXPRegistry.h"

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
    CString strPath = QMXPGetRegPath(m_strRegSection);
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
