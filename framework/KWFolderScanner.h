#pragma once
// One level of a recursive file search: lists the sub-folders of one folder,
// one per call, in the order in which the file system gives them.
#include "platform/classlib/String.h"

#include <cstdint>
#include <functional>
#include <io.h>

// Sub-folders deeper than this are not visited: a file system may nest
// without end (loops through links, generated trees).
constexpr int kMaxScanDepth = 32;

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
// The user's temporary folder ("TEMP") with a trailing backslash; empty when
// it is not known.
CString GetTempFolder();

// Visits every sub-folder below the folder depth first, each before its own
// sub-folders, in the order in which the file system gives them, with its
// path (ending in a backslash), its name and its depth (1 for the folder's
// own sub-folders). Junctions and symbolic links are not followed, and
// nothing lies deeper than kMaxScanDepth.
void KWWalkSubfolders(const wchar_t* folder,
                      const std::function<void(const CString& path, const CString& name, int depth)>& visit);
