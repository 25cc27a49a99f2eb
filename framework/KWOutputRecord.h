#pragma once
// CKWOutputRecord: the files of one generation of a report. Every file is
// written under a temporary name beside its target and the whole set is put
// in place only when complete, so that a generation that fails (a full disk,
// a file in use) leaves the earlier output byte for byte and no part of its
// own; the user is told once which file failed and why.
#include <windows.h>

#include <vector>

#include "platform/classlib/String.h"

class CKWOutputRecord {
public:
    CKWOutputRecord() = default;
    // An unfinished generation takes its files away.
    ~CKWOutputRecord();
    CKWOutputRecord(const CKWOutputRecord&) = delete;
    CKWOutputRecord& operator=(const CKWOutputRecord&) = delete;

    // Takes away what an unfinished generation wrote and forgets how an
    // earlier one ended.
    void Clear();

    // A new, empty file beside target, under a name no other file has, for
    // this generation to write what goes to target; empty, with the failure
    // recorded against target, when no such file can be made (the folder is
    // missing or cannot be written, the disk is full).
    CString Stage(const wchar_t* target);
    // A staged file its writer left empty (a picture that gave no file) is
    // deleted and put in place of nothing.
    void UnstageIfEmpty(const wchar_t* temporary);
    // A folder this generation created; one that was there already is not added.
    void AddFolder(const wchar_t* path);
    // The file that could not be written and the system's error code (0 when
    // the system named none), or a reason of the writer's own; only the
    // first failure is kept. Fail: the write of the file staged for it (or
    // the memory) failed, whatever stands at path; FailTarget: the target
    // itself (a folder of the output made, a file put in place) failed.
    void Fail(const wchar_t* path, DWORD error, const wchar_t* reason = nullptr);
    void FailTarget(const wchar_t* path, DWORD error);

    bool HasFailed() const { return m_failed; }
    const CString& GetFailedPath() const { return m_failedPath; }
    DWORD GetError() const { return m_error; }
    // The temporary files staged and not yet put in place or taken away.
    size_t GetStagedCount() const { return m_staged.size(); }

    // Puts every staged file in place of its target, all of them or none: an
    // earlier file of a target's name is set aside first and deleted only once
    // every new file stands in its place. False, with every earlier file as it
    // was and the failure recorded, after an earlier failure or when a target
    // cannot be replaced (read-only, in use, a folder of that name).
    bool Commit();
    // Deletes every staged file, then every added folder that is left empty,
    // the newest first; the record then holds none.
    void Discard();

    // The message for the user: the failed file and the reason, and that the
    // report was not generated. Empty before a failure.
    CString FailureMessage() const;

    // The Win32 error that a failed COM call stands for (a storage or Win32
    // facility code carries one); a fault that names no cause (a storage's
    // read or write fault, or a code of no system error) gives lastError, the
    // system's error of the moment it failed, when there is one. 0 for success.
    static DWORD ErrorFromResult(HRESULT result, DWORD lastError = 0);

private:
    struct Staged {
        CString temporary;
        CString target;
        CString earlier;  // the earlier file set aside while the set is put in place
    };

    // The earlier files of the targets set aside; false (the failure recorded,
    // those set aside put back) when one cannot be.
    bool SetEarlierAside();
    void PutEarlierBack();
    void Record(const wchar_t* path, DWORD error, const CString& reason);

    std::vector<Staged> m_staged;
    std::vector<CString> m_folders;
    CString m_failedPath;
    CString m_reason;
    DWORD m_error = 0;
    bool m_failed = false;
};
