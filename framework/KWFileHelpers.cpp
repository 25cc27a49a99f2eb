#include "framework/KWFileHelpers.h"

#include <windows.h>

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
