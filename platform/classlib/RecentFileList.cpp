#include "platform/classlib/RecentFileList.h"

#include "platform/classlib/CmdUI.h"
#include "platform/classlib/Document.h"
#include "platform/classlib/Menu.h"
#include "platform/classlib/WinApp.h"

#include <vector>

namespace {
// The folder part of a path, with its final backslash.
CString FolderOf(const CString& strPath) {
    int nSlash = strPath.ReverseFind(L'\\');
    return nSlash < 0 ? CString() : strPath.Left(nSlash + 1);
}

// The length of the root: "C:\" or "\\server\share\".
int RootLength(const CString& strPath) {
    if (strPath.GetLength() >= 3 && strPath[1] == L':' && strPath[2] == L'\\')
        return 3;
    if (strPath.GetLength() >= 2 && strPath[0] == L'\\' && strPath[1] == L'\\') {
        int nServerEnd = strPath.Find(L'\\', 2);
        if (nServerEnd < 0)
            return strPath.GetLength();
        int nShareEnd = strPath.Find(L'\\', nServerEnd + 1);
        return nShareEnd < 0 ? strPath.GetLength() : nShareEnd + 1;
    }
    return 0;
}
}  // namespace

CString AfxAbbreviateName(LPCWSTR lpszCanon, int nMaxLength, BOOL bAtLeastName) {
    CString strPath(lpszCanon);
    if (strPath.GetLength() <= nMaxLength)
        return strPath;
    int nSlash = strPath.ReverseFind(L'\\');
    CString strName = strPath.Mid(nSlash + 1);
    CString strFallback = bAtLeastName ? strName : CString();
    if (nSlash < 0)
        return strFallback;
    int nRoot = RootLength(strPath);
    CString strRoot = strPath.Left(nRoot);
    // "root...\name", then as many of the last folders as fit.
    CString strBest = strRoot + L"..." + strPath.Mid(nSlash);
    if (strBest.GetLength() > nMaxLength)
        return strFallback;
    int nCut = nSlash;
    for (;;) {
        int nPrev = strPath.Left(nCut).ReverseFind(L'\\');
        if (nPrev <= nRoot - 1 || nPrev < 0)
            break;
        CString strCandidate = strRoot + L"..." + strPath.Mid(nPrev);
        if (strCandidate.GetLength() > nMaxLength)
            break;
        strBest = strCandidate;
        nCut = nPrev;
    }
    return strBest;
}

CRecentFileList::CRecentFileList(UINT nStart, LPCWSTR lpszSection, LPCWSTR lpszEntryFormat, int nSize,
                                 int nMaxDispLen)
    : m_nSize(nSize > 0 ? nSize : 1), m_arrNames(static_cast<size_t>(nSize > 0 ? nSize : 1)),
      m_strSectionName(lpszSection), m_strEntryFormat(lpszEntryFormat), m_nStart(nStart),
      m_nMaxDisplayLength(nMaxDispLen) {}

void CRecentFileList::Add(LPCWSTR lpszPathName) {
    if (lpszPathName == nullptr || *lpszPathName == L'\0')
        return;
    CString strPath = AfxFullPath(lpszPathName);
    // The entry itself (in any letter case), or else the oldest, makes room.
    int nFound = m_nSize - 1;
    for (int i = 0; i < m_nSize; ++i) {
        if (!m_arrNames[static_cast<size_t>(i)].IsEmpty() && AfxComparePath(m_arrNames[static_cast<size_t>(i)], strPath)) {
            nFound = i;
            break;
        }
    }
    for (int i = nFound; i > 0; --i)
        m_arrNames[static_cast<size_t>(i)] = m_arrNames[static_cast<size_t>(i - 1)];
    m_arrNames[0] = strPath;
}

void CRecentFileList::Remove(int nIndex) {
    if (nIndex < 0 || nIndex >= m_nSize)
        return;
    for (int i = nIndex; i < m_nSize - 1; ++i)
        m_arrNames[static_cast<size_t>(i)] = m_arrNames[static_cast<size_t>(i + 1)];
    m_arrNames[static_cast<size_t>(m_nSize - 1)].Empty();
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCWSTR lpszCurDir, int nCurDir,
                                     BOOL bAtLeastName) const {
    if (nIndex < 0 || nIndex >= m_nSize || m_arrNames[static_cast<size_t>(nIndex)].IsEmpty())
        return FALSE;
    const CString& strPath = m_arrNames[static_cast<size_t>(nIndex)];
    CString strFolder = FolderOf(strPath);
    CString strCurDir = lpszCurDir != nullptr ? CString(lpszCurDir, nCurDir) : CString();
    if (!strCurDir.IsEmpty() && strCurDir[strCurDir.GetLength() - 1] != L'\\')
        strCurDir += L'\\';
    if (!strCurDir.IsEmpty() && strFolder.CompareNoCase(strCurDir) == 0) {
        strName = strPath.Mid(strFolder.GetLength());
        return TRUE;
    }
    strName = AfxAbbreviateName(strPath, m_nMaxDisplayLength, bAtLeastName);
    return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI) {
    if (m_strOriginal.IsEmpty() && pCmdUI->m_pMenu != nullptr)
        pCmdUI->m_pMenu->GetMenuString(pCmdUI->m_nID, m_strOriginal, MF_BYCOMMAND);
    if (m_arrNames[0].IsEmpty()) {
        // No files: the first item shows its own text, disabled.
        if (!m_strOriginal.IsEmpty())
            pCmdUI->SetText(m_strOriginal);
        pCmdUI->Enable(FALSE);
        return;
    }
    if (pCmdUI->m_pMenu == nullptr)
        return;
    for (int i = 0; i < m_nSize; ++i)
        pCmdUI->m_pMenu->DeleteMenu(pCmdUI->m_nID + static_cast<UINT>(i), MF_BYCOMMAND);

    wchar_t szCurDir[MAX_PATH + 1] = {0};
    DWORD nCurDir = ::GetCurrentDirectoryW(MAX_PATH, szCurDir);
    if (nCurDir > MAX_PATH)
        nCurDir = 0;
    for (int i = 0; i < m_nSize; ++i) {
        CString strName;
        if (!GetDisplayName(strName, i, szCurDir, static_cast<int>(nCurDir)))
            break;
        // An '&' of the name is no mnemonic.
        strName.Replace(L"&", L"&&");
        CString strText;
        strText.Format(L"&%u %ls", (static_cast<UINT>(i) + 1 + m_nStart) % 10, static_cast<LPCWSTR>(strName));
        pCmdUI->m_pMenu->InsertMenu(pCmdUI->m_nIndex++, MF_STRING | MF_BYPOSITION, pCmdUI->m_nID++, strText);
    }
    // The loop of the menu update continues after the last item added.
    pCmdUI->m_nIndex--;
    pCmdUI->m_nIndexMax = pCmdUI->m_pMenu->GetMenuItemCount();
    pCmdUI->m_bEnableChanged = TRUE;
}

void CRecentFileList::ReadList() {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    for (int i = 0; i < m_nSize; ++i) {
        CString strEntry;
        strEntry.Format(m_strEntryFormat, i + 1);
        m_arrNames[static_cast<size_t>(i)] = pApp->GetProfileString(m_strSectionName, strEntry);
    }
}

void CRecentFileList::WriteList() {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    // The section holds exactly the current entries.
    pApp->WriteProfileString(m_strSectionName, nullptr, nullptr);
    for (int i = 0; i < m_nSize; ++i) {
        const CString& strName = m_arrNames[static_cast<size_t>(i)];
        if (strName.IsEmpty())
            continue;
        CString strEntry;
        strEntry.Format(m_strEntryFormat, i + 1);
        pApp->WriteProfileString(m_strSectionName, strEntry, strName);
    }
}
