#pragma once
// CRecentFileList: the most recently used files, newest first, kept in the
// application's profile (one string per entry, named by the entry format)
// and shown in the menu in place of its first MRU command.
#include "platform/classlib/String.h"

#include <windows.h>

#include <vector>

class CCmdUI;

// The MRU menu commands, one per entry.
constexpr UINT ID_FILE_MRU_FILE1 = 0xE110;
constexpr UINT ID_FILE_MRU_FILE16 = 0xE11F;
constexpr UINT ID_FILE_MRU_FIRST = ID_FILE_MRU_FILE1;
constexpr UINT ID_FILE_MRU_LAST = ID_FILE_MRU_FILE16;
// The display length of entries that are not in the current folder.
constexpr int AFX_ABBREV_FILENAME_LEN = 30;

class CRecentFileList {
public:
    // nStart: the number of the first entry less one in the menu ("&1 ...").
    CRecentFileList(UINT nStart, LPCWSTR lpszSection, LPCWSTR lpszEntryFormat, int nSize,
                    int nMaxDispLen = AFX_ABBREV_FILENAME_LEN);
    virtual ~CRecentFileList() = default;
    CRecentFileList(const CRecentFileList&) = delete;
    CRecentFileList& operator=(const CRecentFileList&) = delete;

    int GetSize() const { return m_nSize; }
    CString& operator[](int nIndex) { return m_arrNames[static_cast<size_t>(nIndex)]; }

    // Moves the file (its full path) to the front; a file already listed,
    // in any letter case, is not listed twice; the oldest entry drops out.
    virtual void Add(LPCWSTR lpszPathName);
    virtual void Remove(int nIndex);
    // The entry as the menu shows it: the file name alone when the file is
    // in the folder lpszCurDir (nCurDir characters), else the path shortened
    // to the display length ("C:\...\folder\name"); with bAtLeastName at
    // least the file name. FALSE for an empty entry.
    virtual BOOL GetDisplayName(CString& strName, int nIndex, LPCWSTR lpszCurDir, int nCurDir,
                                BOOL bAtLeastName = TRUE) const;
    // Replaces the menu item of the first MRU command by one item per entry
    // ("&1 name", ...); with no entries, the item keeps its text, disabled.
    virtual void UpdateMenu(CCmdUI* pCmdUI);
    virtual void ReadList();
    virtual void WriteList();

    int m_nSize;
    std::vector<CString> m_arrNames;
    CString m_strSectionName;
    CString m_strEntryFormat;
    UINT m_nStart;
    int m_nMaxDisplayLength;
    // The menu item's text before the list replaced it.
    CString m_strOriginal;
};

// The path shortened to nMaxLength characters by replacing folders in the
// middle with "..."; the file name alone (bAtLeastName) or nothing when even
// that is too long.
CString AfxAbbreviateName(LPCWSTR lpszCanon, int nMaxLength, BOOL bAtLeastName);
