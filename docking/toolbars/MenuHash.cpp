#include "docking/toolbars/MenuHash.h"

#include "docking/toolbars/QMXPToolBar.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/File.h"

namespace {

constexpr UINT kArchiveBuffer = 4096;

}  // namespace

CMenuHash::CMenuHash() : m_StoredMenues(17) {}

CMenuHash::~CMenuHash() {
    for (POSITION pos = m_StoredMenues.GetStartPosition(); pos != nullptr;) {
        HMENU hMenu = nullptr;
        HANDLE hFile = nullptr;
        m_StoredMenues.GetNextAssoc(pos, hMenu, hFile);
        ::CloseHandle(hFile);
    }
    m_StoredMenues.RemoveAll();
}

BOOL CMenuHash::StoreBarButtons(HMENU hMenu, CQMXPToolBar* pBar) {
    if (pBar == nullptr || pBar->GetCount() == 0)
        return FALSE;
    HANDLE hOld = nullptr;
    if (m_StoredMenues.Lookup(hMenu, hOld))
        ::CloseHandle(hOld);
    wchar_t szTempPath[MAX_PATH + 1] = {0};
    wchar_t szFileName[MAX_PATH + 1] = {0};
    ::GetTempPathW(MAX_PATH, szTempPath);
    HANDLE hFile = INVALID_HANDLE_VALUE;
    if (::GetTempFileNameW(szTempPath, L"QMX", 0, szFileName) != 0)
        hFile = ::CreateFileW(szFileName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        m_StoredMenues.RemoveKey(hMenu);
        return FALSE;
    }
    try {
        CFile file(hFile);
        CArchive ar(&file, CArchive::store, kArchiveBuffer);
        pBar->Serialize(ar);
        ar.Flush();
        ar.Close();
    } catch (CException* pException) {
        pException->Delete();
        ::CloseHandle(hFile);
        m_StoredMenues.RemoveKey(hMenu);
        return FALSE;
    }
    m_StoredMenues.SetAt(hMenu, hFile);
    return TRUE;
}

BOOL CMenuHash::RestoreBarButtons(HMENU hMenu, CQMXPToolBar* pBar) {
    HANDLE hFile = nullptr;
    if (pBar == nullptr || !m_StoredMenues.Lookup(hMenu, hFile))
        return FALSE;
    if (::SetFilePointer(hFile, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return FALSE;
    try {
        CFile file(hFile);
        CArchive ar(&file, CArchive::load, kArchiveBuffer);
        pBar->Serialize(ar);
        ar.Close();
    } catch (CException* pException) {
        pException->Delete();
    }
    return TRUE;
}

BOOL CMenuHash::RemoveBarButtons(HMENU hMenu) {
    HANDLE hFile = nullptr;
    if (!m_StoredMenues.Lookup(hMenu, hFile))
        return FALSE;
    ::CloseHandle(hFile);
    m_StoredMenues.RemoveKey(hMenu);
    return TRUE;
}
