#include "framework/KWOutputRecord.h"

#include <winerror.h>

#include "framework/KWPathUtils.h"

namespace {

CString SystemText(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    CString result;
    if (length > 0 && text) {
        result = text;
        result.TrimRight();
    }
    if (text)
        ::LocalFree(text);
    if (result.IsEmpty())
        result.Format(L"Windows error %lu.", static_cast<unsigned long>(error));
    return result;
}

}  // namespace

void CKWOutputRecord::Clear()
{
    m_files.clear();
    m_folders.clear();
    m_failedPath.Empty();
    m_reason.Empty();
    m_error = 0;
    m_failed = false;
}

void CKWOutputRecord::AddFile(const wchar_t* path)
{
    if (path && *path)
        m_files.emplace_back(path);
}

void CKWOutputRecord::AddFolder(const wchar_t* path)
{
    if (path && *path)
        m_folders.emplace_back(path);
}

void CKWOutputRecord::Fail(const wchar_t* path, DWORD error, const wchar_t* reason)
{
    if (m_failed)
        return;
    m_failed = true;
    m_failedPath = path ? path : L"";
    m_error = error;
    m_reason = reason ? reason : L"";
}

void CKWOutputRecord::Discard()
{
    for (auto file = m_files.rbegin(); file != m_files.rend(); ++file)
        ::DeleteFileW(*file);
    // A folder that holds anything this generation did not write stays.
    for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder)
        ::RemoveDirectoryW(*folder);
    m_files.clear();
    m_folders.clear();
}

CString CKWOutputRecord::FailureMessage() const
{
    if (!m_failed)
        return CString();
    CString text;
    const CString reason = m_reason.IsEmpty() ? KWWriteFailureReason(m_failedPath, m_error) : m_reason;
    text.Format(L"Cannot write the file \"%ls\".\n%ls\nThe report was not generated.", m_failedPath.GetString(),
                reason.GetString());
    return text;
}

DWORD CKWOutputRecord::ErrorFromResult(HRESULT result)
{
    if (!FAILED(result))
        return 0;
    const DWORD facility = HRESULT_FACILITY(result);
    return facility == FACILITY_STORAGE || facility == FACILITY_WIN32 ? HRESULT_CODE(result) : 0;
}

CString KWWriteFailureReason(const wchar_t* path, DWORD error)
{
    CString text;
    switch (error) {
    case 0:
        text = L"It could not be written in full.";
        break;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY:
        text.Format(L"The folder \"%ls\" does not exist.", GetPathDirectory(path).GetString());
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED:
        text.Format(L"The folder \"%ls\" or the file is read-only: it cannot be written there.",
                    GetPathDirectory(path).GetString());
        break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        text = L"The file is open in another program.";
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        text = L"The disk is full.";
        break;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        text = L"A file of this name is in the way: the folder cannot be made.";
        break;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
        text = L"The name is not a valid file name.";
        break;
    default:
        text = SystemText(error);
        break;
    }
    return text;
}
