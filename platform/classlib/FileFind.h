#pragma once
// CFileFind: the file search over FindFirstFileW/FindNextFileW. FindNextFile
// steps to the next entry and answers whether one more follows, so the entry
// it steps to stays valid when it returns FALSE.
#include "platform/classlib/Object.h"
#include "platform/classlib/String.h"

class CFileFind : public CObject {
public:
    CFileFind();
    ~CFileFind() override;

    // Starts a search; no pattern means "*.*". Nonzero when a first entry exists;
    // the entry becomes current with the first FindNextFile.
    virtual BOOL FindFile(LPCWSTR pattern = nullptr, DWORD unused = 0);
    virtual BOOL FindNextFile();
    void Close();

    CString GetFileName() const;
    CString GetFilePath() const;
    CString GetRoot() const { return m_root; }
    ULONGLONG GetLength() const;
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsDots() const;
    BOOL MatchesMask(DWORD mask) const;

protected:
    // Starts a search for the pattern but keeps the current entry, so that a
    // search can move on to another folder and still answer for the entry it
    // handed out last.
    BOOL ContinueWith(LPCWSTR pattern);

private:
    HANDLE m_find;
    bool m_hasNext;   // m_next holds an entry not handed out yet
    bool m_hasFound;  // m_found is the current entry
    WIN32_FIND_DATAW m_next;
    WIN32_FIND_DATAW m_found;
    CString m_root;   // the pattern's folder, with its trailing separator
    CString m_foundRoot;  // the folder of the current entry
};
