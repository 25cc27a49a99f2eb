#pragma once
// CFileFindEx: the class library's file search with an optional depth-first
// descent into sub-folders, for the gallery and the exports.
#include "framework/KWFolderScanner.h"
#include "platform/classlib/FileFind.h"

#include <deque>
#include <memory>

class CFileFindEx : public CFileFind {
public:
    explicit CFileFindEx(bool recursive = false);
    ~CFileFindEx() override;

    BOOL FindFile(LPCWSTR pattern = nullptr, DWORD flags = 0) override;
    BOOL FindNextFile() override;

private:
    // The next folder of the depth-first walk (with a trailing backslash), or
    // false when every folder below the root has been visited.
    bool AdvanceFolder(CString& folder);
    // Searches the folders after the current one until one holds a match,
    // keeping the entry handed out last.
    BOOL SearchNextFolders();

    bool m_recursive;
    std::deque<std::unique_ptr<CKWFolderScanner>> m_scanners;
    CString m_rootFolder;
    CString m_namePattern;
};
