#pragma once
// CKWOutputRecord: what one generation of a report wrote, and the first file
// it could not write. A failed generation takes away every file and folder it
// made, so that no half-written report is left to be taken for a whole one,
// and the user is told once which file failed and why.
#include <windows.h>

#include <vector>

#include "platform/classlib/String.h"

class CKWOutputRecord {
public:
    // Forgets what an earlier generation wrote and how it ended.
    void Clear();

    // A file this generation created (or replaced) in full.
    void AddFile(const wchar_t* path);
    // A folder this generation created; one that was there already is not added.
    void AddFolder(const wchar_t* path);
    // The file that could not be written and the system's error code (0 when
    // the system named none), or a reason of the writer's own; only the
    // first failure is kept.
    void Fail(const wchar_t* path, DWORD error, const wchar_t* reason = nullptr);

    bool HasFailed() const { return m_failed; }
    const CString& GetFailedPath() const { return m_failedPath; }
    DWORD GetError() const { return m_error; }

    // Deletes every added file, then every added folder that is left empty,
    // the newest first; the record then holds none.
    void Discard();

    // The message for the user: the failed file and the reason, and that the
    // report was not written. Empty before a failure.
    CString FailureMessage() const;

    // The Win32 error that a failed COM call stands for (a storage or Win32
    // facility code carries one); 0 for others.
    static DWORD ErrorFromResult(HRESULT result);

private:
    std::vector<CString> m_files;
    std::vector<CString> m_folders;
    CString m_failedPath;
    CString m_reason;
    DWORD m_error = 0;
    bool m_failed = false;
};

// The reason text for a system error met while writing the file: the folder
// is missing, cannot be written, the disk is full, the file is in use, or the
// system's own text.
CString KWWriteFailureReason(const wchar_t* path, DWORD error);
