#include "docking/frames/QMXPRegistry.h"

IMPLEMENT_DYNCREATE(CQMXPRegistry, CObject)

namespace {
bool IsRootKey(HKEY hKey) { return hKey == HKEY_CURRENT_USER || hKey == HKEY_LOCAL_MACHINE; }
}  // namespace

CQMXPRegistry::CQMXPRegistry(BOOL bAdmin, BOOL bReadOnly)
    : m_hKey(bAdmin ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER), m_bAdmin(bAdmin), m_bReadOnly(bReadOnly) {}

CQMXPRegistry::~CQMXPRegistry() { Close(); }

BOOL CQMXPRegistry::Open(LPCWSTR lpszPath) {
    m_strKeyPath = lpszPath != nullptr ? lpszPath : L"";
    CString strPath = m_strKeyPath;
    if (!strPath.IsEmpty() && strPath[strPath.GetLength() - 1] == L'\\')
        strPath = strPath.Left(strPath.GetLength() - 1);
    HKEY hKeyNew = nullptr;
    if (::RegOpenKeyExW(m_hKey, strPath, 0, m_bReadOnly ? KEY_READ : KEY_ALL_ACCESS, &hKeyNew) != ERROR_SUCCESS)
        return FALSE;
    if (!IsRootKey(m_hKey))
        ::RegCloseKey(m_hKey);
    m_hKey = hKeyNew;
    return TRUE;
}

void CQMXPRegistry::Close() {
    if (m_hKey != nullptr && !IsRootKey(m_hKey))
        ::RegCloseKey(m_hKey);
    m_hKey = nullptr;
}
