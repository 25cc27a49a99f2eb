#include "framework/KWOutputRecord.h"

#include <winerror.h>

#include <cstdint>

#include "framework/KWFileHelpers.h"
#include "framework/KWPathUtils.h"
#include "framework/KWWriteFailureReason.h"

CKWOutputRecord::~CKWOutputRecord()
{
    Discard();
}

void CKWOutputRecord::Clear()
{
    Discard();
    m_failedPath.Empty();
    m_reason.Empty();
    m_error = 0;
    m_failed = false;
}

CString CKWOutputRecord::Stage(const wchar_t* target)
{
    if (!target || !*target) {
        Fail(L"", ERROR_INVALID_NAME);
        return CString();
    }
    CString folder = GetPathDirectory(target);
    if (folder.IsEmpty())
        folder = L".";
    const CString temporary = KWCreateTemporaryFile(folder);
    if (temporary.IsEmpty()) {
        Fail(target, ::GetLastError());
        return CString();
    }
    m_staged.push_back(Staged{temporary, target, CString()});
    return temporary;
}

void CKWOutputRecord::UnstageIfEmpty(const wchar_t* temporary)
{
    for (auto file = m_staged.begin(); file != m_staged.end(); ++file) {
        if (file->temporary.Compare(temporary ? temporary : L"") != 0)
            continue;
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (::GetFileAttributesExW(temporary, GetFileExInfoStandard, &data) &&
            (data.nFileSizeLow != 0 || data.nFileSizeHigh != 0))
            return;
        ::DeleteFileW(temporary);
        m_staged.erase(file);
        return;
    }
}

void CKWOutputRecord::AddFolder(const wchar_t* path)
{
    if (path && *path)
        m_folders.emplace_back(path);
}

void CKWOutputRecord::Fail(const wchar_t* path, DWORD error, const wchar_t* reason)
{
    if (!m_failed)
        Record(path, error, reason ? CString(reason) : KWWriteFailureReason(path, error, KWWriteStep::Staged));
}

void CKWOutputRecord::FailTarget(const wchar_t* path, DWORD error)
{
    if (!m_failed)
        Record(path, error, KWWriteFailureReason(path, error, KWWriteStep::Target));
}

// The reason is told at once, while what made the write fail (a part written
// on a full disk, another program's hold) is still there to be seen.
void CKWOutputRecord::Record(const wchar_t* path, DWORD error, const CString& reason)
{
    m_failed = true;
    m_failedPath = path ? path : L"";
    m_error = error;
    m_reason = reason;
}

bool CKWOutputRecord::SetEarlierAside()
{
    for (Staged& file : m_staged) {
        const DWORD attributes = ::GetFileAttributesW(file.target);
        if (attributes == INVALID_FILE_ATTRIBUTES)
            continue;
        // A read-only file is not to be replaced (not every system refuses),
        // nor is a folder of the name moved away.
        DWORD error = (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) ? ERROR_ACCESS_DENIED : 0;
        if (error == 0) {
            file.earlier = KWCreateTemporaryFile(GetPathDirectory(file.target));
            if (file.earlier.IsEmpty() ||
                !::MoveFileExW(file.target, file.earlier, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
                error = ::GetLastError();
                if (!file.earlier.IsEmpty())
                    ::DeleteFileW(file.earlier);
                file.earlier.Empty();
            }
        }
        if (error != 0) {
            FailTarget(file.target, error);
            PutEarlierBack();
            return false;
        }
    }
    return true;
}

void CKWOutputRecord::PutEarlierBack()
{
    for (Staged& file : m_staged) {
        if (file.earlier.IsEmpty())
            continue;
        ::MoveFileExW(file.earlier, file.target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        file.earlier.Empty();
    }
}

bool CKWOutputRecord::Commit()
{
    if (m_failed)
        return false;
    if (m_staged.size() == 1) {
        // One file takes its target's place in one step, as a document's save does.
        const Staged& file = m_staged.front();
        const DWORD attributes = ::GetFileAttributesW(file.target);
        DWORD error = attributes != INVALID_FILE_ATTRIBUTES &&
                              (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
                          ? ERROR_ACCESS_DENIED
                          : 0;
        if (error == 0 &&
            !::MoveFileExW(file.temporary, file.target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            error = ::GetLastError();
        if (error != 0) {
            FailTarget(file.target, error);
            return false;
        }
        m_staged.clear();
        m_folders.clear();
        return true;
    }
    if (!SetEarlierAside())
        return false;
    // The files a set's first file refers to are in place before it.
    for (auto file = m_staged.rbegin(); file != m_staged.rend(); ++file) {
        if (::MoveFileExW(file->temporary, file->target, MOVEFILE_WRITE_THROUGH))
            continue;
        FailTarget(file->target, ::GetLastError());
        // The new files already in place go, and the earlier ones come back.
        for (auto placed = m_staged.rbegin(); placed != file; ++placed) {
            if (!::MoveFileExW(placed->target, placed->temporary, MOVEFILE_REPLACE_EXISTING))
                ::DeleteFileW(placed->target);
        }
        PutEarlierBack();
        return false;
    }
    for (const Staged& file : m_staged) {
        if (!file.earlier.IsEmpty())
            ::DeleteFileW(file.earlier);
    }
    m_staged.clear();
    m_folders.clear();
    return true;
}

void CKWOutputRecord::Discard()
{
    for (auto file = m_staged.rbegin(); file != m_staged.rend(); ++file)
        ::DeleteFileW(file->temporary);
    // A folder that holds anything this generation did not write stays.
    for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder)
        ::RemoveDirectoryW(*folder);
    m_staged.clear();
    m_folders.clear();
}

CString CKWOutputRecord::FailureMessage() const
{
    if (!m_failed)
        return CString();
    CString text;
    text.Format(L"Cannot write the file \"%ls\".\n%ls\nThe report was not generated.", m_failedPath.GetString(),
                m_reason.GetString());
    return text;
}

DWORD CKWOutputRecord::ErrorFromResult(HRESULT result, DWORD lastError)
{
    if (!FAILED(result))
        return 0;
    const DWORD facility = HRESULT_FACILITY(result);
    const DWORD code = facility == FACILITY_STORAGE || facility == FACILITY_WIN32 ? HRESULT_CODE(result) : 0;
    // A structured storage answers a write the disk refused with a write
    // fault; the system's own error of that moment says why.
    if ((code == 0 || code == ERROR_WRITE_FAULT || code == ERROR_READ_FAULT) && lastError != 0)
        return lastError;
    return code;
}
