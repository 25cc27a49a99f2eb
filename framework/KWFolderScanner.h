#pragma once
// One level of a recursive file search: lists the sub-folders of one folder,
// one per call, in the order in which the file system gives them.
#include "platform/classlib/String.h"

#include <cstdint>
#include <io.h>

class CKWFolderScanner {
public:
    CKWFolderScanner();
    ~CKWFolderScanner();
    CKWFolderScanner(const CKWFolderScanner&) = delete;
    CKWFolderScanner& operator=(const CKWFolderScanner&) = delete;

    // Keeps the folder (a trailing backslash is added when missing); the
    // search itself opens on the first FindNext.
    void Start(const wchar_t* folder);

    // True for each sub-folder other than "." and "..", one per call.
    bool FindNext();

    // The current entry's name.
    CString GetFilePath() const { return CString(m_entry.name); }
    const CString& GetFolder() const { return m_folder; }

private:
    void Close();

    intptr_t m_handle;  // -1 while no search is open
    _wfinddata_t m_entry;
    CString m_folder;
};

// The user's local application-data folder (created when missing) with a
// trailing backslash; when the shell cannot give it, the "TEMP" folder; empty
// when neither is known.
CString GetAppDataFolder();
