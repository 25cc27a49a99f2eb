#include "framework/KWFileHelpers.h"

#include "framework/KWPathUtils.h"

#include <windows.h>

#include <atomic>
#include <cerrno>
#include <direct.h>

bool KWIsRegularFile(const wchar_t* path)
{
    if (!path || !*path)
        return false;
    DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool KWIsFolder(const wchar_t* path)
{
    if (!path || !*path)
        return false;
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool KWDeleteFile(const wchar_t* path)
{
    return path && ::DeleteFileW(path) != FALSE;
}

int KWMakeDirectory(const wchar_t* path, int mode)
{
    if (!path || mode < 1)
        return -1;
    if (::_wmkdir(path) == 0)
        return 0;
    return errno;
}

bool KWCopyFile(const wchar_t* destination, const wchar_t* source)
{
    return destination && source && ::CopyFileW(source, destination, FALSE) != FALSE;
}

int64_t KWGetFileSize(const wchar_t* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path || !::GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        return 0;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return 0;
    return static_cast<int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

CString KWCreateTemporaryFile(const wchar_t* folder)
{
    CString base = folder ? folder : L"";
    if (base.IsEmpty())
        base = L".";
    if (!IsPathSeparator(base[base.GetLength() - 1]))
        base += L'\\';
    // Names start at a number of this process and this moment, so that running
    // copies seldom meet; a name taken is passed over.
    static std::atomic<uint32_t> next{::GetTickCount() * 2654435761u ^ ::GetCurrentProcessId() << 16};
    const int kTries = 4096;
    DWORD error = ERROR_FILE_EXISTS;
    for (int i = 0; i < kTries; ++i) {
        CString path;
        path.Format(L"%ls~ot%08X.tmp", base.GetString(), static_cast<unsigned>(next++));
        HANDLE file =
            ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            ::CloseHandle(file);
            return path;
        }
        error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    ::SetLastError(error);
    return CString();
}
